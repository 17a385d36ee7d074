#include "FileLabelWindow.h"

#include "CategoryFilter.h"
#include "LabelEditor.h"

#include <FileMacLabelWidget.h>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using VarnelQt5::FileMacLabelWidget;

FileLabelWindow::FileLabelWindow(const QStringList &paths, const QSet<QString> &unnameable, QWidget *parent)
    : QWidget(parent)
    , paths(paths)
    , unnameable(unnameable)
    , pages(paths.size())
    , pathLabel(new QLabel(this))
    , stack(new QStackedWidget(this))
    , messageLabel(new QLabel(this))
    , previousButton(new QPushButton(QStringLiteral("&Previous"), this))
    , nextButton(new QPushButton(QStringLiteral("&Next"), this))
    , revertButton(new QPushButton(QStringLiteral("&Revert"), this))
    , applyButton(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("File labels"));
    pathLabel->setObjectName(QStringLiteral("_pathLabel"));
    pathLabel->setTextFormat(Qt::PlainText);
    pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel->setWordWrap(true);
    stack->setObjectName(QStringLiteral("_labelStack"));
    messageLabel->setObjectName(QStringLiteral("_messageLabel"));
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    previousButton->setObjectName(QStringLiteral("_previousButton"));
    nextButton->setObjectName(QStringLiteral("_nextButton"));
    revertButton->setObjectName(QStringLiteral("_revertButton"));
    applyButton->setObjectName(QStringLiteral("_applyButton"));
    applyButton->setDefault(true);

    connect(previousButton, &QPushButton::clicked, this, [this] { showPath(current() - 1); });
    connect(nextButton, &QPushButton::clicked, this, [this] { showPath(current() + 1); });
    connect(revertButton, &QPushButton::clicked, this, &FileLabelWindow::revert);
    connect(applyButton, &QPushButton::clicked, this, &FileLabelWindow::apply);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(previousButton);
    buttons->addWidget(nextButton);
    buttons->addStretch(1);
    buttons->addWidget(revertButton);
    buttons->addWidget(applyButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel);
    layout->addWidget(stack, 1);
    layout->addWidget(messageLabel);
    layout->addLayout(buttons);

    showPath(0);
    // Room for all eight categories of the built-in policy.
    resize(sizeHint().expandedTo(QSize(480, 600)));
}

FileLabelWindow::~FileLabelWindow() = default;

int FileLabelWindow::current() const
{
    for (int index = 0; index < pages.size(); ++index) {
        if (pages.at(index).form && pages.at(index).form == stack->currentWidget())
            return index;
    }
    return -1;
}

void FileLabelWindow::showPath(int index)
{
    if (index < 0 || index >= pages.size())
        return;
    // Each path keeps its own form, so that edits survive Previous and Next.
    Page &page = pages[index];
    if (!page.form) {
        page.form = new FileMacLabelWidget(stack);
        addCategoryFilter(page.form);
        // The form's own size, so that the checklists are not squeezed.
        page.form->setMinimumHeight(page.form->height());
        stack->addWidget(page.form);
        stack->setCurrentWidget(page.form);
        revert();
        return;
    }
    stack->setCurrentWidget(page.form);
    update();
}

void FileLabelWindow::revert()
{
    const int index = current();
    if (index < 0)
        return;
    Page &page = pages[index];
    if (unnameable.contains(paths.at(index))) {
        page.loaded = false;
        report(QStringLiteral("Could not read the label of %1: its name is not valid in the locale's encoding.")
                   .arg(paths.at(index)),
               true);
        return;
    }
    QString reason;
    LabelEditor editor(page.form);
    page.loaded = editor.load(paths.at(index), &reason);
    if (page.loaded && !editor.showsStored(paths.at(index), &reason))
        report(QStringLiteral("The form cannot show the label of %1 as it is: %2.").arg(paths.at(index), reason), true);
    else if (page.loaded)
        report(QStringLiteral("Read the label of %1.").arg(paths.at(index)), false);
    else
        report(QStringLiteral("Could not read the label of %1: %2.").arg(paths.at(index), reason), true);
}

void FileLabelWindow::apply()
{
    const int index = current();
    if (index < 0 || !pages.at(index).loaded)
        return;
    LabelEditor editor(pages.at(index).form);
    QString reason;
    if (!editor.write(paths.at(index), &reason)) {
        report(QStringLiteral("Could not write the label to %1: %2.").arg(paths.at(index), reason), true);
        return;
    }
    // The form then shows what the object holds now.
    const QString &path = paths.at(index);
    if (!editor.load(path, &reason))
        report(QStringLiteral("Wrote the label to %1, but could not read it back: %2.").arg(path, reason), true);
    else if (!editor.showsStored(path, &reason))
        report(QStringLiteral("Wrote the label to %1, but the form cannot show it as it is: %2.").arg(path, reason),
               true);
    else
        report(QStringLiteral("Wrote the label to %1.").arg(path), false);
}

void FileLabelWindow::report(const QString &message, bool failed)
{
    const int index = current();
    if (index < 0)
        return;
    pages[index].message = message;
    pages[index].failed = failed;
    update();
}

void FileLabelWindow::update()
{
    const int index = current();
    if (index < 0)
        return;
    const Page &page = pages.at(index);
    const QFileInfo info(paths.at(index));
    const QString kind = !info.exists() ? QStringLiteral("Path")
        : info.isDir()                  ? QStringLiteral("Directory")
                                        : QStringLiteral("File");
    pathLabel->setText(QStringLiteral("%1 %2 of %3: %4")
                           .arg(kind, QString::number(index + 1), QString::number(paths.size()), paths.at(index)));
    messageLabel->setText(page.message);
    messageLabel->setStyleSheet(page.failed ? QStringLiteral("color: #b00020; font-weight: bold") : QString());
    previousButton->setEnabled(index > 0);
    nextButton->setEnabled(index + 1 < pages.size());
    // Without a label read from the object the form holds nothing of its own
    // to write.
    applyButton->setEnabled(page.loaded);
}
