// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileLabelWindow.h"

#include "CategoryFilter.h"
#include "LabelEditor.h"
#include "PathReason.h"

#include <FileMacLabelWidget.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using VarnelQt5::FileMacLabelWidget;

namespace {

// The label library's names of the special attributes with a bit of their
// own: attribute n is bit 1 << n.
const char *const attributeNames[] = {"ccnr", "ccnri", "ehole", "whole", "silev", "irelax"};

// The special attributes that held has and the form cannot show, by name;
// empty when the two differ elsewhere too.
QStringList unshownAttributes(const FileLabel &held, const FileLabel &shown)
{
    FileLabel rest = held;
    rest.type = shown.type;
    if (!(rest == shown) || (shown.type & ~held.type))
        return {};
    QStringList names;
    const uint16_t missing = held.type & ~shown.type;
    for (int bit = 0; bit < 16; ++bit) {
        if (!(missing & (1u << bit)))
            continue;
        names << (bit < 6 ? QLatin1String(attributeNames[bit])
                          : QStringLiteral("0x%1").arg(1u << bit, 0, 16));
    }
    return names;
}

// The last of widget's descendants in the focus chain, or widget itself.
QWidget *lastInFocusChain(QWidget *widget)
{
    QWidget *last = widget;
    for (QWidget *next = widget->nextInFocusChain(); next != widget && widget->isAncestorOf(next);
         next = next->nextInFocusChain())
        last = next;
    return last;
}

// The first of widget's descendants a person can reach with Tab.
QWidget *firstField(QWidget *widget)
{
    for (QWidget *next = widget->nextInFocusChain(); next != widget && widget->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(widget))
            return next;
    }
    return nullptr;
}

// Remembers the field of the shown form that last had the focus, and gives
// it back after Apply or Revert, which leave it on a button that may be
// disabled by then, or on nothing; a field that is gone yields to the
// form's first.
class FieldFocus : public QObject
{
public:
    explicit FieldFocus(QStackedWidget *stack) : QObject(stack), m_stack(stack)
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
            if (now && m_stack->currentWidget() && m_stack->currentWidget()->isAncestorOf(now))
                m_field = now;
        });
    }

    void restore()
    {
        QWidget *form = m_stack->currentWidget();
        if (!form)
            return;
        QWidget *field = m_field && form->isAncestorOf(m_field) && m_field->isEnabled() && m_field->isVisibleTo(form)
            ? m_field.data()
            : firstField(form);
        if (field)
            field->setFocus(Qt::OtherFocusReason);
    }

private:
    QStackedWidget *m_stack;
    QPointer<QWidget> m_field;
};

// Shows form in stack and takes the form shown before out of it: a hidden
// page stays a child that assistive tools read, and the stack keeps no
// reason to hold it. It stays the stack's child, ready to come back.
void showOnly(QStackedWidget *stack, QWidget *form)
{
    QWidget *shown = stack->currentWidget();
    if (stack->indexOf(form) < 0)
        stack->addWidget(form);
    stack->setCurrentWidget(form);
    if (shown && shown != form)
        stack->removeWidget(shown);
}

} // namespace

FileLabelWindow::FileLabelWindow(const QStringList &paths, const QSet<QString> &unnameable, QWidget *parent)
    : QWidget(parent)
    , paths(paths)
    , unnameable(unnameable)
    , pages(size_t(paths.size()))
    , pathLabel(new QLabel(this))
    , stack(new QStackedWidget(this))
    , messageLabel(new QLabel(this))
    , reactionLabel(new QLabel(this))
    , changedLabel(new QLabel(tr("Changed, not written yet."), this))
    , previousButton(new QPushButton(tr("&Previous"), this))
    , nextButton(new QPushButton(tr("&Next"), this))
    , revertButton(new QPushButton(tr("&Revert"), this))
    , applyButton(new QPushButton(tr("&Apply"), this))
    , formArea(new QScrollArea(this))
{
    setWindowTitle(tr("File labels") + QLatin1String("[*]"));
    pathLabel->setObjectName(QStringLiteral("_pathLabel"));
    pathLabel->setTextFormat(Qt::PlainText);
    pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel->setWordWrap(true);
    stack->setObjectName(QStringLiteral("_labelStack"));
    messageLabel->setObjectName(QStringLiteral("_messageLabel"));
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    reactionLabel->setObjectName(QStringLiteral("_formReactionLabel"));
    reactionLabel->setTextFormat(Qt::PlainText);
    reactionLabel->setWordWrap(true);
    reactionLabel->setVisible(false);
    changedLabel->setObjectName(QStringLiteral("_changedLabel"));
    changedLabel->setTextFormat(Qt::PlainText);
    changedLabel->setWordWrap(true);
    changedLabel->setStyleSheet(QStringLiteral("font-weight: bold"));
    changedLabel->setVisible(false);
    previousButton->setObjectName(QStringLiteral("_previousButton"));
    nextButton->setObjectName(QStringLiteral("_nextButton"));
    revertButton->setObjectName(QStringLiteral("_revertButton"));
    applyButton->setObjectName(QStringLiteral("_applyButton"));
    applyButton->setDefault(true);

    connect(previousButton, &QPushButton::clicked, this, [this] { showPath(current() - 1); });
    connect(nextButton, &QPushButton::clicked, this, [this] { showPath(current() + 1); });
    connect(revertButton, &QPushButton::clicked, this, &FileLabelWindow::revert);
    connect(applyButton, &QPushButton::clicked, this, &FileLabelWindow::apply);

    // On a small screen the form scrolls, so that the path, the status and
    // the buttons stay in sight; on a large one its lists take what is left.
    formArea->setObjectName(QStringLiteral("_formArea"));
    formArea->setFrameShape(QFrame::NoFrame);
    formArea->setFocusPolicy(Qt::NoFocus);
    formArea->setWidgetResizable(true);
    formArea->setWidget(stack);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(previousButton);
    buttons->addWidget(nextButton);
    buttons->addStretch(1);
    buttons->addWidget(revertButton);
    buttons->addWidget(applyButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel);
    layout->addWidget(formArea, 1);
    layout->addWidget(messageLabel);
    layout->addWidget(reactionLabel);
    layout->addWidget(changedLabel);
    layout->addLayout(buttons);

    // Apply and Revert give the focus back to the form where it was.
    auto *fieldFocus = new FieldFocus(stack);
    connect(revertButton, &QPushButton::clicked, fieldFocus, &FieldFocus::restore);
    connect(applyButton, &QPushButton::clicked, fieldFocus, &FieldFocus::restore);

    showPath(0);
    // The window opens on the form's first field, not on a button an early
    // Space would press.
    if (QWidget *form = stack->currentWidget()) {
        if (QWidget *field = firstField(form))
            field->setFocus(Qt::OtherFocusReason);
    }
}

FileLabelWindow::~FileLabelWindow() = default;

int FileLabelWindow::current() const
{
    for (int index = 0; index < paths.size(); ++index) {
        if (pages.at(size_t(index)).form && pages.at(size_t(index)).form == stack->currentWidget())
            return index;
    }
    return -1;
}

bool FileLabelWindow::showPath(int index)
{
    if (index < 0 || index >= paths.size())
        return false;
    if (index == current())
        return true;
    carried.clear();
    if (!settle())
        return false;
    // Each path keeps its own form, read once when first shown.
    Page &page = pages[size_t(index)];
    if (!page.form) {
        page.form = new FileMacLabelWidget(stack);
        addCategoryFilter(page.form);
        connect(page.form, &FileMacLabelWidget::changed, this, &FileLabelWindow::refresh);
        connect(page.form, &FileMacLabelWidget::reactionMessageChanged, this, &FileLabelWindow::refresh);
        // The keyboard goes down the form first, then to Revert and Apply.
        QWidget::setTabOrder(lastInFocusChain(page.form), revertButton);
        QWidget::setTabOrder(revertButton, applyButton);
        QWidget::setTabOrder(applyButton, previousButton);
        QWidget::setTabOrder(previousButton, nextButton);
        showOnly(stack, page.form);
        load(index, false);
        return true;
    }
    showOnly(stack, page.form);
    readAgainIfChanged(index);
    return true;
}

bool FileLabelWindow::isEdited() const
{
    const int index = current();
    return index >= 0 && edited(index);
}

QStringList FileLabelWindow::failures() const
{
    QStringList lines;
    for (int index = 0; index < paths.size(); ++index) {
        const QString &path = paths.at(index);
        QString failure = pages.at(size_t(index)).failure;
        if (!pages.at(size_t(index)).form) {
            FileLabel label;
            QString reason;
            if (unnameable.contains(path))
                failure = failedTo(LabelStep::Read, PathReason(PathReason::NameUnnameable).text());
            else if (!LabelEditor::stored(path, &label, &reason))
                failure = failedTo(LabelStep::Read, reason);
        }
        if (!failure.isEmpty())
            lines << path + QLatin1String(": ") + failure;
    }
    return lines;
}

bool FileLabelWindow::apply()
{
    const int index = current();
    if (index < 0 || !edited(index))
        return false;
    carried.clear();
    Page &page = pages[size_t(index)];
    const QString &path = paths.at(index);
    QString reason;
    const auto couldNotWrite = [&] {
        report(index, Outcome::Failed, tr("Could not write the label to %1: %2.").arg(path, reason),
               failedTo(LabelStep::Write, reason));
        return false;
    };

    // The form was read from one object; written to another it would give
    // that object a label nobody chose for it.
    Object now;
    if (!identify(path, &now, &reason))
        return couldNotWrite();
    if (!(now == page.object)) {
        report(index, Outcome::Failed,
               tr("Did not write the label to %1: the path now names another object than the one whose label "
                  "was read. Revert reads the label of the object it names now.")
                   .arg(path),
               failedTo(LabelStep::Write, QStringLiteral("the path names another object than the one read")));
        return false;
    }

    LabelEditor editor(page.form);
    if (!editor.write(path, &reason)) {
        // Another writer's label is never overwritten unseen: the person
        // sees it with Revert, and the edits wait.
        if (page.form->lastWriteFailure() == FileMacLabelWidget::LabelChangedSinceRead) {
            report(index, Outcome::Failed,
                   tr("Did not write the label to %1: its label was changed since it was read. The edits are "
                      "kept; Revert shows the new label.")
                       .arg(path),
                   failedTo(LabelStep::Write, QStringLiteral("it was changed since it was read")));
            return false;
        }
        return couldNotWrite();
    }
    // The edits reached the object: an earlier failure of this path is
    // mended. The form then shows what the object holds now.
    page.failure.clear();
    load(index, true);
    return true;
}

void FileLabelWindow::revert()
{
    const int index = current();
    carried.clear();
    if (index >= 0)
        load(index, false);
}

void FileLabelWindow::closeEvent(QCloseEvent *event)
{
    if (settle())
        event->accept();
    else
        event->ignore();
}

bool FileLabelWindow::identify(const QString &path, Object *object, QString *reason)
{
    const QByteArray encoded = path.toLocal8Bit();
    struct statx status;
    if (statx(AT_FDCWD, encoded.constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) == 0) {
        *object = Object();
        object->device = makedev(status.stx_dev_major, status.stx_dev_minor);
        object->inode = status.stx_ino;
        object->kind = status.stx_mode & S_IFMT;
        object->hasBirth = (status.stx_mask & STATX_BTIME) != 0;
        if (object->hasBirth) {
            object->birthSeconds = status.stx_btime.tv_sec;
            object->birthNanoseconds = status.stx_btime.tv_nsec;
        }
        return true;
    }
    // A kernel without statx still tells device and inode.
    struct stat plain;
    if (errno != ENOSYS || stat(encoded.constData(), &plain) != 0) {
        *reason = PathReason::system(errno).text();
        return false;
    }
    *object = Object();
    object->device = plain.st_dev;
    object->inode = plain.st_ino;
    object->kind = plain.st_mode & S_IFMT;
    return true;
}

void FileLabelWindow::load(int index, bool written)
{
    Page &page = pages[size_t(index)];
    const QString &path = paths.at(index);
    LabelEditor editor(page.form);
    QString reason;
    // Identified before its label is read: an object put in its place
    // meanwhile makes Apply refuse rather than write this form onto it.
    page.loaded = false;
    if (unnameable.contains(path)) {
        report(index, Outcome::Failed,
               tr("Could not read the label of %1: its name is not valid in the locale's encoding.").arg(path),
               failedTo(LabelStep::Read, PathReason(PathReason::NameUnnameable).text()));
        return;
    }
    if (identify(path, &page.object, &reason) && editor.load(path, &reason)
        && LabelEditor::stored(path, &page.stored, &reason)) {
        page.shown = editor.shown();
        page.loaded = true;
    }

    if (!page.loaded) {
        const QString message =
            written ? tr("Wrote the label to %1, but could not read it back: %2.") : tr("Could not read the label of %1: %2.");
        report(index, Outcome::Failed, message.arg(path, reason), failedTo(LabelStep::Read, reason));
        return;
    }
    QString difference;
    if (!editor.showsStored(path, &difference)) {
        // Named rather than given as two numbers.
        const QStringList unshown = unshownAttributes(page.stored, page.shown);
        if (unshown.size() == 1)
            difference = tr("the form has no row for its special attribute %1").arg(unshown.constFirst());
        else if (!unshown.isEmpty())
            difference =
                tr("the form has no rows for its special attributes %1").arg(unshown.join(QLatin1String(", ")));
        const QString message = written ? tr("Wrote the label to %1, but the form cannot show it as it is: %2.")
                                        : tr("The form cannot show the label of %1 as it is: %2.");
        report(index, Outcome::Warning, message.arg(path, difference));
    } else {
        report(index, Outcome::Fine, (written ? tr("Wrote the label to %1.") : tr("Read the label of %1.")).arg(path));
    }
}

// Showing a path again reads its label again: another form or another
// program may have written it meanwhile. An unedited form then shows the
// new label; one with edits keeps them and says so.
void FileLabelWindow::readAgainIfChanged(int index)
{
    Page &page = pages[size_t(index)];
    const QString &path = paths.at(index);
    Object now;
    FileLabel held;
    QString reason;
    if (!page.loaded
        || (identify(path, &now, &reason) && now == page.object && LabelEditor::stored(path, &held, &reason)
            && held == page.stored)) {
        refresh();
        return;
    }
    if (edited(index)) {
        report(index, Outcome::Warning,
               tr("The label of %1 was changed since it was read. The edits are kept, but Apply does not write "
                  "them over the new label; Revert shows it.")
                   .arg(path));
        return;
    }
    load(index, false);
    if (page.loaded && page.outcome == Outcome::Fine)
        report(index, Outcome::Fine, tr("Read the label of %1 again: it was changed since it was shown.").arg(path));
}

// Edited means that writing the form would change the object's label, and
// that the person changed the form since it was read: a form that cannot
// show the label as it is holds no edit until the person makes one.
bool FileLabelWindow::edited(int index) const
{
    const Page &page = pages.at(size_t(index));
    if (!page.loaded)
        return false;
    const FileLabel now = LabelEditor(page.form).shown();
    return !(now == page.stored) && !(now == page.shown);
}

// With edits on the shown path, asks whether to write or drop them; true
// when the window may go on.
bool FileLabelWindow::settle()
{
    const int index = current();
    if (index < 0 || !edited(index))
        return true;
    QMessageBox question(QMessageBox::Question, tr("File labels"),
                         tr("The label of %1 has changes that are not written.").arg(paths.at(index)),
                         QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, this);
    question.setTextFormat(Qt::PlainText);
    // Each answer has its key, and words of its own in every language.
    question.button(QMessageBox::Apply)->setText(tr("&Apply"));
    question.button(QMessageBox::Discard)->setText(tr("&Discard"));
    question.button(QMessageBox::Cancel)->setText(tr("&Cancel"));
    question.setInformativeText(tr("Apply writes them, Discard drops them, Cancel goes back to them."));
    // A reflex Return writes nothing and loses nothing.
    question.setDefaultButton(QMessageBox::Cancel);
    switch (question.exec()) {
    case QMessageBox::Apply:
        if (!apply())
            return false;
        // The next path's message would hide that this one was written.
        carried = pages.at(size_t(index)).message;
        return true;
    case QMessageBox::Discard:
        load(index, false);
        return true;
    default:
        return false;
    }
}

// Combo boxes and lists know how wide their names are only once shown, and
// the window is shown only after this event: that is when it takes its size.
void FileLabelWindow::showEvent(QShowEvent *event)
{
    if (!fitted && !event->spontaneous()) {
        fitted = true;
        fitToScreen();
    }
    QWidget::showEvent(event);
}

void FileLabelWindow::report(int index, Outcome outcome, const QString &message, const QString &failure)
{
    Page &page = pages[size_t(index)];
    page.message = message;
    page.outcome = outcome;
    // A failure stays for the exit status until a later Apply writes.
    if (outcome == Outcome::Failed)
        page.failure = failure;
    refresh();
}

void FileLabelWindow::refresh()
{
    const int index = current();
    if (index < 0)
        return;
    const Page &page = pages.at(size_t(index));
    const QString &path = paths.at(index);
    const QFileInfo info(path);
    const QString place = !info.exists() ? tr("Path %1 of %2: %3")
        : info.isDir()                   ? tr("Directory %1 of %2: %3")
                                         : tr("File %1 of %2: %3");
    pathLabel->setText(place.arg(QString::number(index + 1), QString::number(paths.size()), path));
    messageLabel->setText(carried.isEmpty() ? page.message : carried + QLatin1Char('\n') + page.message);
    messageLabel->setStyleSheet(page.outcome == Outcome::Fine ? QString()
                                                              : QStringLiteral("color: #b00020; font-weight: bold"));
    // Said under the status rather than at the foot of the form, which may
    // be scrolled out of sight.
    if (auto *formLine = page.form->findChild<QLabel *>(QStringLiteral("_reactionLabel")))
        formLine->setVisible(false);
    reactionLabel->setText(page.form->reactionMessage());
    reactionLabel->setVisible(!page.form->reactionMessage().isEmpty());
    const bool isEdited = edited(index);
    changedLabel->setVisible(isEdited);
    setWindowModified(isEdited);
    // Without a label read from the object the form holds nothing of the
    // object's to edit or write.
    page.form->setEnabled(page.loaded);
    previousButton->setEnabled(index > 0);
    nextButton->setEnabled(index + 1 < paths.size());
    applyButton->setEnabled(isEdited);
    // Reading again is also how a path that failed is tried once more.
    revertButton->setEnabled(isEdited || !page.loaded);
}

// Opens within the screen's available area, centred, with room left for the
// window manager's title bar; the form scrolls only where the screen is too
// small for it.
void FileLabelWindow::fitToScreen()
{
    // The scroll area's own hint is capped at a few dozen characters, which
    // would cut long level and category names on any screen: the window asks
    // for what the shown form wants, and room for a scroll bar beside it.
    QSize size = sizeHint();
    if (const QWidget *form = stack->currentWidget()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, formArea);
        const QSize wanted = form->sizeHint().expandedTo(form->minimumSizeHint()) + QSize(bar, 0);
        size += (wanted - formArea->sizeHint()).expandedTo(QSize(0, 0));
    }
    // Room for all eight categories of the built-in policy where there is room.
    size = size.expandedTo(QSize(480, 600));
    const QScreen *screen = this->screen();
    if (!screen || parentWidget()) {
        resize(size);
        return;
    }
    const QRect area = screen->availableGeometry();
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const QSize frame(2 * border, titleBar + 2 * border);
    size = size.boundedTo(area.size() - frame).expandedTo(minimumSizeHint());
    resize(size);
    move(area.x() + qMax(0, (area.width() - frame.width() - size.width()) / 2),
         area.y() + qMax(0, (area.height() - frame.height() - size.height()) / 2));
}
