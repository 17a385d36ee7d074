// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacLabelPage.h"

#include "ErrorText.h"
#include "FormCategoryFilter.h"

#include <FileMacLabelWidget.h>

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cerrno>
#include <sys/stat.h>

using VarnelQt5::FileMacLabelWidget;

MacLabelPage::MacLabelPage(QWidget *parent)
    : QWidget(parent)
    , form(new FileMacLabelWidget)
    , messageLabel(new QLabel(this))
    , readAgainButton(new QPushButton(tr("&Read the label again"), this))
{
    setObjectName(QStringLiteral("_macLabelPage"));
    form->setObjectName(QStringLiteral("_fileMacLabelWidget"));
    placeCategoryFilter(form);
    messageLabel->setObjectName(QStringLiteral("_pageMessageLabel"));
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    messageLabel->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold"));
    messageLabel->setVisible(false);
    readAgainButton->setObjectName(QStringLiteral("_readAgainButton"));
    readAgainButton->setVisible(false);

    // The dialog may be smaller than the form: the form scrolls, the
    // message stays in sight.
    auto *area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("_formArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(form);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(readAgainButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(area, 1);
    layout->addWidget(messageLabel);
    layout->addLayout(buttonRow);

    connect(form, &FileMacLabelWidget::changed, this, [this] {
        if (!loading)
            Q_EMIT edited();
    });
    connect(readAgainButton, &QPushButton::clicked, this, [this] { load(path); });
}

MacLabelPage::~MacLabelPage() = default;

bool MacLabelPage::load(const QString &objectPath)
{
    path = objectPath;
    // A load that reads a label announces itself with changed() once; one
    // that reads nothing is silent.
    bool read = false;
    const QMetaObject::Connection announced =
        connect(form, &FileMacLabelWidget::changed, this, [&read] { read = true; });
    loading = true;
    errno = 0;
    form->getfmac(path);
    const int error = errno;
    loading = false;
    disconnect(announced);

    loaded = read;
    form->setEnabled(loaded);
    readAgainButton->setVisible(false);
    if (loaded) {
        say(QString());
        return true;
    }
    // The system's reason where there is one: the object may be gone or
    // out of reach; a label the library could not make sense of leaves none.
    QString reason;
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        reason = errorText(errno);
    else if (error != 0 && error != ENOENT && error != ERANGE)
        reason = errorText(error);
    else
        reason = tr("the label library gave no label for it");
    say(tr("The label of this object cannot be read: %1. This page cannot change it.").arg(reason));
    return false;
}

bool MacLabelPage::write(const QString &objectPath)
{
    if (!loaded)
        return false;
    // Reading again reads where the dialog now has the object, renamed or not.
    path = objectPath;
    errno = 0;
    if (form->chmac(objectPath)) {
        say(QString());
        return true;
    }
    const int error = errno;
    switch (form->lastWriteFailure()) {
    case FileMacLabelWidget::LabelChangedSinceRead:
        // Another writer's label is never overwritten unseen: the person
        // sees it by reading again, and the edits wait until then.
        say(tr("The label was not written: another program changed it, or put another object at this path, "
               "since this page read it. Your changes are kept; \"Read the label again\" drops them and shows "
               "the label the object holds now."));
        readAgainButton->setVisible(true);
        break;
    default:
        say(tr("The label could not be written: %1. Nothing was changed.")
                .arg(error != 0 ? errorText(error) : tr("the label library refused it")));
        break;
    }
    return false;
}

bool MacLabelPage::isLoaded() const
{
    return loaded;
}

QString MacLabelPage::message() const
{
    return messageLabel->text();
}

void MacLabelPage::say(const QString &text)
{
    messageLabel->setText(text);
    messageLabel->setVisible(!text.isEmpty());
}
