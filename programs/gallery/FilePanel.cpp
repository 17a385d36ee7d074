// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FilePanel.h"

#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace VarnelQt5;

FilePanel::FilePanel(const QString &path, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_path(path)
    , m_label(new FileMacLabelWidget(this))
    , m_value(new QLabel(this))
    , m_message(new QLabel(this))
{
    setObjectName(QStringLiteral("filemaclabelwidget"));
    setWindowTitle(QStringLiteral("FileMacLabelWidget"));
    QString failure;
    if (m_path.isEmpty()) {
        m_scratch = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("varnel-gallery-XXXXXX")));
        m_path = m_scratch->filePath(QStringLiteral("labelled-file.txt"));
        QFile file(m_path);
        if (!m_scratch->isValid() || !file.open(QIODevice::WriteOnly))
            failure = tr("Could not create %1.").arg(m_path);
    }

    // The gallery's own file lies in a folder named afresh on each run;
    // its name alone keeps the window the same from run to run.
    const QString shownPath = m_scratch ? tr("%1 (made by the gallery)").arg(QFileInfo(m_path).fileName()) : m_path;
    auto *shown = new QLabel(QStringLiteral("<b>%1</b> %2")
                                 .arg(QFileInfo(m_path).isDir() ? tr("Directory")
                                                                : tr("File"),
                                      shownPath.toHtmlEscaped()),
                             this);
    shown->setToolTip(m_path);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shown->setWordWrap(true);
    m_value->setObjectName(QStringLiteral("value"));
    m_value->setTextFormat(Qt::PlainText);
    m_value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_value->setWordWrap(true);
    m_message->setWordWrap(true);

    auto *revertButton = new QPushButton(tr("Revert"), this);
    auto *applyButton = new QPushButton(tr("Apply"), this);
    connect(revertButton, &QPushButton::clicked, this, &FilePanel::revert);
    connect(applyButton, &QPushButton::clicked, this, &FilePanel::apply);
    connect(m_label, &FileMacLabelWidget::changed, this, [this] {
        m_value->setText(describe());
        report(tr("Changed: Apply writes the label, Revert reads it again."));
    });

    // The form's own size, so that the checklists are not squeezed.
    m_label->setMinimumHeight(m_label->height());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(revertButton);
    buttons->addWidget(applyButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(shown);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_value);
    layout->addWidget(m_message);
    layout->addLayout(buttons);

    m_value->setText(describe());
    if (!failure.isEmpty()) {
        report(failure, true);
        return;
    }
    if (m_scratch)
        labelOwnFile();
    else
        revert();
}

FilePanel::~FilePanel() = default;

void FilePanel::apply()
{
    if (m_label->chmac(m_path))
        report(tr("Wrote the label."));
    else
        report(tr("Could not write the label to %1.").arg(m_path), true);
}

void FilePanel::revert()
{
    // A load that succeeds announces itself; one that fails stays silent.
    bool loaded = false;
    const QMetaObject::Connection heard =
        connect(m_label, &FileMacLabelWidget::changed, this, [&loaded] { loaded = true; });
    m_label->getfmac(m_path);
    disconnect(heard);
    if (loaded)
        report(tr("Read the label."));
    else
        report(tr("Could not read the label of %1.").arg(m_path), true);
}

void FilePanel::labelOwnFile()
{
    m_label->getfmac(m_path);
    auto *level = m_label->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox"));
    auto *categories = m_label->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    if (level && level->count() > 1)
        level->setValue(level->allValues().at(1));
    if (categories)
        categories->setValue(categories->cat4Item(0) | categories->cat4Item(2));
    if (!m_label->chmac(m_path)) {
        report(tr("Could not label %1.").arg(m_path), true);
        return;
    }
    revert();
}

void FilePanel::report(const QString &text, bool failure)
{
    m_message->setStyleSheet(failure ? QStringLiteral("color: #b00020; font-weight: bold") : QString());
    m_message->setText(text);
}

QString FilePanel::describe() const
{
    const auto *type = m_label->findChild<MacTypeComboBox *>(QStringLiteral("_typeComboBox"));
    auto *level = m_label->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox"));
    const auto *integrity = m_label->findChild<ILevelComboBox *>(QStringLiteral("_integrityComboBox"));
    auto *categories = m_label->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    if (!type || !level || !integrity || !categories)
        return QString();
    return tr("%1; %2; integrity %3; type %4")
        .arg(m_words.level(level->value()), m_words.categories(categories->value()), integrity->currentText(),
             type->currentText());
}
