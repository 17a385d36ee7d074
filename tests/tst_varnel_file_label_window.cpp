// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label's window: one form a path, Apply, Revert, Previous and
// Next, the questions asked, and the labels it writes and keeps.

#include "FileLabelRun.h"
#include "FileLabelWindow.h"
#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "LabelEditor.h"
#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "StandinPolicy.h"
#include "TabWalk.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using VarnelQt5::FileMacLabelWidget;
using VarnelQt5::ILevelComboBox;
using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacLevelComboBox;

namespace {

// The parts of the window that a person reads and works.
struct WindowParts {
    explicit WindowParts(FileLabelWindow &window)
        : window(window)
        , message(window.findChild<QLabel *>(QStringLiteral("_messageLabel")))
        , changed(window.findChild<QLabel *>(QStringLiteral("_changedLabel")))
        , previous(window.findChild<QPushButton *>(QStringLiteral("_previousButton")))
        , next(window.findChild<QPushButton *>(QStringLiteral("_nextButton")))
        , revert(window.findChild<QPushButton *>(QStringLiteral("_revertButton")))
        , apply(window.findChild<QPushButton *>(QStringLiteral("_applyButton")))
        , stack(window.findChild<QStackedWidget *>(QStringLiteral("_labelStack")))
    {
    }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    FileMacLabelWidget *form() const { return qobject_cast<FileMacLabelWidget *>(stack->currentWidget()); }

    // The label the shown form holds, as the object would keep it.
    QByteArray shown() const { return LabelEditor(form()).shown().text().toLatin1(); }

    // Which of the signs of unsaved edits are on: the status line's marker,
    // the title's [*], an enabled Apply and an enabled Revert.
    QString editSigns() const
    {
        QStringList signs;
        if (changed->isVisibleTo(&window))
            signs << QStringLiteral("marker");
        if (window.isWindowModified())
            signs << QStringLiteral("[*]");
        if (apply->isEnabled())
            signs << QStringLiteral("Apply");
        if (revert->isEnabled())
            signs << QStringLiteral("Revert");
        return signs.join(QLatin1Char(' '));
    }

    // Leaves the shown path as a person does, by "previous", "next" or
    // "close", clicking answer if asked; gives the question's text, empty
    // when none was asked.
    QString leave(const QString &way, QMessageBox::StandardButton answer)
    {
        auto asked = std::make_shared<QString>();
        QTimer::singleShot(0, qApp, [asked, answer] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget *widget : windows) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (box && box->isVisible()) {
                    *asked = box->text();
                    // A reflex Return must neither write nor lose anything.
                    if (box->defaultButton() != box->button(QMessageBox::Cancel))
                        *asked += QLatin1String(" (Return does not cancel)");
                    QTest::mouseClick(box->button(answer), Qt::LeftButton);
                    return;
                }
            }
        });
        if (way == QLatin1String("close"))
            window.close();
        else
            QTest::mouseClick(way == QLatin1String("next") ? next : previous, Qt::LeftButton);
        QCoreApplication::processEvents();
        return *asked;
    }

    FileLabelWindow &window;
    QLabel *message;
    QLabel *changed;
    QPushButton *previous;
    QPushButton *next;
    QPushButton *revert;
    QPushButton *apply;
    QStackedWidget *stack;
};

const QString allEditSigns = QStringLiteral("marker [*] Apply Revert");

QString question(const QString &path)
{
    return QStringLiteral("The label of %1 has changes that are not written.").arg(path);
}

// Works a form as a person does, one step a word: "level=N", "integrity=N",
// "category=ROW" and "attribute=NAME" (the special attribute shown as NAME)
// toggle what they name.
void edit(FileMacLabelWidget *form, const QString &steps)
{
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString what = step.section(QLatin1Char('='), 0, 0);
        const QString value = step.section(QLatin1Char('='), 1);
        if (what == QLatin1String("level")) {
            form->findChild<MacLevelComboBox *>()->setValue(mac_lev_t(value.toUInt()));
        } else if (what == QLatin1String("integrity")) {
            form->findChild<ILevelComboBox *>()->setValue(value.toUInt(), true);
        } else if (what == QLatin1String("category")) {
            QListWidgetItem *item = form->findChild<MacCategoryListWidget *>()->item(value.toInt());
            QVERIFY(item);
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        } else if (what == QLatin1String("attribute")) {
            QAbstractItemModel *rows = form->findChild<QListView *>(QStringLiteral("_specialListView"))->model();
            int row = 0;
            while (row < rows->rowCount() && rows->index(row, 0).data().toString() != value)
                ++row;
            const QModelIndex found = rows->index(row, 0);
            QVERIFY2(found.isValid(), qPrintable(value));
            const bool checked = found.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            QVERIFY(rows->setData(found, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
}

// What another program does to the object at path: "relabel" writes
// label, "rename" moves a new file with label over it, "recreate" removes it
// and makes a new one, on the old inode number where the file system gives
// it out again, labelled with label (none when empty).
bool actOutside(const QString &how, const QString &path, const QByteArray &label)
{
    if (how == QLatin1String("relabel"))
        return store(path, label);
    if (how == QLatin1String("rename")) {
        const QString made = path + QLatin1String(".new");
        QFile file(made);
        return file.open(QIODevice::WriteOnly) && (label.isEmpty() || store(made, label))
            && ::rename(QFile::encodeName(made).constData(), QFile::encodeName(path).constData()) == 0;
    }
    if (how != QLatin1String("recreate"))
        return false;
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !QFile::remove(path))
        return false;
    // While another name keeps the old inode, its number is not free.
    for (int attempt = 0; attempt < (status.st_nlink > 1 ? 1 : 200); ++attempt) {
        QFile file(path);
        struct stat made;
        if (!file.open(QIODevice::WriteOnly) || ::stat(QFile::encodeName(path).constData(), &made) != 0)
            return false;
        file.close();
        if (made.st_ino == status.st_ino || status.st_nlink > 1)
            break;
        // Kept aside, so that the next file gets another number.
        if (!QFile::rename(path, path + QStringLiteral(".aside%1").arg(qulonglong(made.st_ino))))
            return false;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && (label.isEmpty() || store(path, label));
}

// The forms in the window's tree for assistive tools, and the widgets there
// that say they are showing while they are not.
void formsInTree(QAccessibleInterface *iface, QList<QObject *> &forms, QStringList &falselyShowing)
{
    auto *widget = qobject_cast<QWidget *>(iface->object());
    if (qobject_cast<FileMacLabelWidget *>(widget))
        forms << widget;
    // Qt's own closed combo box lists, in windows of their own, are left out.
    if (widget && !widget->isVisible() && !widget->window()->windowFlags().testFlag(Qt::Popup)
        && !iface->state().invisible)
        falselyShowing << QLatin1String(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            formsInTree(child, forms, falselyShowing);
    }
}


// A person's random walk through the window's paths, as a model of what each
// object and each form should hold: a form not yet shown shows its object.
// Each step says what went otherwise than the model has it.
class EditWalk
{
public:
    EditWalk(WindowParts &parts, const QStringList &paths, quint32 seed)
        : parts(parts)
        , paths(paths)
        , random(seed)
    {
        for (const QString &path : paths) {
            highs << 0;
            objects << asShown(stored(path), &highs.last());
        }
        forms = objects;
    }

    // Takes one step at random; empty when the window and the objects are
    // as the model has them after it, else what is not.
    QString step()
    {
        const int index = parts.window.current();
        const bool edited = !(forms.at(index) == objects.at(index));
        const int answer = int(random.bounded(3));
        QString fault;
        done.clear();
        switch (const int action = int(random.bounded(9))) {
        case 0:
        case 1:
        case 2:
        case 3:
            done = change(action, index);
            edit(parts.form(), done);
            break;
        case 4:
            done = QStringLiteral("Apply");
            if (parts.window.apply() != edited)
                fault = edited ? QStringLiteral("Apply wrote nothing") : QStringLiteral("Apply wrote an unedited form");
            objects[index] = forms.at(index);
            break;
        case 5:
            done = QStringLiteral("Revert");
            if (parts.revert->isEnabled() != edited)
                fault = QStringLiteral("Revert is %1").arg(edited ? QLatin1String("disabled") : QLatin1String("enabled"));
            parts.window.revert();
            forms[index] = objects.at(index);
            break;
        default:
            fault = leave(index, edited, answer);
            break;
        }
        return fault.isEmpty() ? mismatch() : fault;
    }

    // The step last taken: an edit ("level=2"), "Apply", "Revert", or a way
    // of leaving the form with the answer given.
    QString done;
    // The ways of leaving a form taken, each with its answer.
    QSet<QString> answered;

private:
    // Edits the form's model as action says; the step for edit().
    QString change(int action, int index)
    {
        FileLabel &form = forms[index];
        switch (action) {
        case 0:
            form.level = mac_lev_t(random.bounded(4));
            return QStringLiteral("level=%1").arg(uint(form.level));
        case 1:
            form.ilevel = random.bounded(2) ? 63 : 0;
            return QStringLiteral("integrity=%1").arg(form.ilevel);
        case 2: {
            const int row = int(random.bounded(8));
            form.categories ^= mac_cat_t(1) << row;
            return QStringLiteral("category=%1").arg(row);
        }
        default:
            // Attributes that leave the rest of the label alone.
            form.type ^= index == 1 ? 0x1 : 0x10;
            return index == 1 ? QStringLiteral("attribute=ccnr") : QStringLiteral("attribute=silev");
        }
    }

    // Leaves the form by a way taken at random, answering the question, if
    // one comes, with the answer-th of Apply, Discard and Cancel.
    QString leave(int index, bool edited, int answer)
    {
        const QString ways[] = {QStringLiteral("previous"), QStringLiteral("next"), QStringLiteral("close")};
        const QString names[] = {QStringLiteral(" Apply"), QStringLiteral(" Discard"), QStringLiteral(" Cancel")};
        const QMessageBox::StandardButton buttons[] = {QMessageBox::Apply, QMessageBox::Discard, QMessageBox::Cancel};
        const int way = int(random.bounded(3));
        const int to = way == 0 ? index - 1 : way == 1 ? index + 1 : index;
        if (to < 0 || to >= paths.size()) {
            done = ways[way] + QLatin1String(" past the end");
            return (way == 0 ? parts.previous : parts.next)->isEnabled() ? done + QLatin1String(" is enabled")
                                                                         : QString();
        }
        done = ways[way] + (edited ? names[answer] : QStringLiteral(" unedited"));
        const QString asked = parts.leave(ways[way], buttons[answer]);
        if (asked != (edited ? question(paths.at(index)) : QString()))
            return QStringLiteral("the question was \"%1\"").arg(asked);
        const bool moved = way < 2 ? parts.window.current() == to : !parts.window.isVisible();
        if (moved != (!edited || buttons[answer] != QMessageBox::Cancel))
            return moved ? QStringLiteral("the form was left") : QStringLiteral("the form stayed");
        answered.insert(done);
        if (edited && moved && buttons[answer] == QMessageBox::Apply)
            objects[index] = forms.at(index);
        else if (moved)
            forms[index] = objects.at(index);
        parts.window.show();
        return QString();
    }

    // What the objects, the shown form and the signs of edits hold that the
    // model does not; empty when nothing.
    QString mismatch() const
    {
        for (int path = 0; path < paths.size(); ++path) {
            quint32 high = 0;
            const QByteArray now = stored(paths.at(path));
            if (!(asShown(now, &high) == objects.at(path)) || high != highs.at(path))
                return QStringLiteral("path %1 holds %2, not %3").arg(path).arg(QLatin1String(now), objects.at(path).text());
        }
        const int now = parts.window.current();
        const FileLabel shown = LabelEditor(parts.form()).shown();
        if (!(shown == forms.at(now)))
            return QStringLiteral("the form shows %1, not %2").arg(shown.text(), forms.at(now).text());
        const QString signs = forms.at(now) == objects.at(now) ? QString() : allEditSigns;
        if (parts.editSigns() != signs)
            return QStringLiteral("the signs of edits are \"%1\", not \"%2\"").arg(parts.editSigns(), signs);
        return QString();
    }

    WindowParts &parts;
    const QStringList paths;
    QRandomGenerator random;
    // What each object holds, its type's high half apart, and what each form
    // holds, as the window should have them.
    QList<FileLabel> objects;
    QList<quint32> highs;
    QList<FileLabel> forms;
};


// A person's walk through edits, Apply, Revert, Previous and Next while
// another program relabels, renames over and recreates the first and last
// objects between the steps, as a model of what the window may write: what
// each page's form read, as far as the walk has seen it unedited.
class OutsideWalk
{
public:
    OutsideWalk(WindowParts &parts, const QStringList &paths, const QStringList &objects, quint32 seed)
        : parts(parts)
        , paths(paths)
        , objects(objects)
        , random(seed)
    {
        for (const QString &path : paths)
            read << asShown(stored(path));
    }

    // Takes one step at random; empty when the window wrote nothing, or
    // only onto the object of the page shown at the start of the step and
    // over the label its form read; else what it wrote.
    QString step()
    {
        const int index = parts.window.current();
        QList<QByteArray> disk;
        for (const QString &object : objects)
            disk << stored(object);
        QString fault;
        const bool byWindow = act(int(random.bounded(10)), index, &fault);
        if (done.contains(QLatin1Char('=')))
            edit(parts.form(), done);
        for (int object = 0; fault.isEmpty() && byWindow && object < objects.size(); ++object) {
            const QByteArray now = stored(objects.at(object));
            if (now != disk.at(object) && !(asShown(disk.at(object)) == read.at(index)))
                fault = QStringLiteral("%1 went from %2 to %3, which the form had not read")
                            .arg(objects.at(object), QLatin1String(disk.at(object)), QLatin1String(now));
        }
        const int shown = parts.window.current();
        if (!parts.window.isEdited() && parts.form()->isEnabled())
            read[shown] = LabelEditor(parts.form()).shown();
        return fault;
    }

    // The step last taken.
    QString done;
    int refused = 0;
    int outsideWrites = 0;

private:
    // Takes the step action says; whether it was the window's.
    bool act(int action, int index, QString *fault)
    {
        switch (action) {
        case 0:
            done = QStringLiteral("level=%1").arg(random.bounded(4));
            return true;
        case 1:
            done = QStringLiteral("integrity=%1").arg(random.bounded(2) ? 63 : 0);
            return true;
        case 2:
            done = QStringLiteral("category=%1").arg(random.bounded(8));
            return true;
        case 3:
            done = QStringLiteral("attribute=silev");
            return true;
        case 4:
            done = QStringLiteral("Apply");
            if (parts.window.isEdited() && !parts.window.apply())
                ++refused;
            return true;
        case 5:
            done = QStringLiteral("Revert");
            parts.window.revert();
            return true;
        case 6:
            leave(index);
            return true;
        default:
            if (!outside())
                *fault = QStringLiteral("the other program failed");
            return false;
        }
    }

    // To the next or previous page, answering a question, if one comes, at
    // random.
    void leave(int index)
    {
        const int to = random.bounded(2) ? index + 1 : index - 1;
        const QMessageBox::StandardButton answers[] = {QMessageBox::Apply, QMessageBox::Discard, QMessageBox::Cancel};
        const QMessageBox::StandardButton answer = answers[random.bounded(3)];
        done = QStringLiteral("%1 answering %2").arg(to).arg(int(answer));
        if (to >= 0 && to < paths.size())
            parts.leave(to > index ? QStringLiteral("next") : QStringLiteral("previous"), answer);
    }

    // Another program, on the first or the last object.
    bool outside()
    {
        const QString how[] = {QStringLiteral("relabel"), QStringLiteral("rename"), QStringLiteral("recreate")};
        const QString &what = how[random.bounded(3)];
        const QString &object = random.bounded(2) ? objects.constFirst() : objects.constLast();
        const QByteArray label = what == QLatin1String("relabel") || random.bounded(3) ? randomLabel() : QByteArray();
        done = QStringLiteral("%1 %2 %3").arg(what, QFileInfo(object).fileName(), QString::fromLatin1(label));
        ++outsideWrites;
        return actOutside(what, object, label);
    }

    QByteArray randomLabel()
    {
        return QStringLiteral("%1:%2:0x%3:0x%4")
            .arg(random.bounded(4))
            .arg(random.bounded(2) ? 63 : 0)
            .arg(random.bounded(256), 0, 16)
            .arg(random.bounded(2) ? (random.bounded(2) ? 0x10010 : 0x10) : 0, 0, 16)
            .toLatin1();
    }

    WindowParts &parts;
    const QStringList paths;
    const QStringList objects;
    QRandomGenerator random;
    QList<FileLabel> read;
};

} // namespace

class tst_VarnelFileLabelWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void windowSaysWhenTheFormDiffers();
    void windowAppliesRevertsAndReports();
    void windowFiltersAndNamesTheCategories();
    void windowTreeHoldsOnlyTheShownForm();
    void windowKeepsTheFocusOnTheForm_data();
    void windowKeepsTheFocusOnTheForm();
    void screenshotRendersTheWindow();
    void windowMarksEdits_data();
    void windowMarksEdits();
    void windowRefusesAReplacedObject_data();
    void windowRefusesAReplacedObject();
    void windowWithAFailedPath_data();
    void windowWithAFailedPath();
    void windowFitsTheScreenInTabOrder_data();
    void windowFitsTheScreenInTabOrder();
    void windowShowsLongNamesInFull();
    void windowWalkWritesOnlyEdits_data();
    void windowWalkWritesOnlyEdits();
    void windowUnderAnotherWriter_data();
    void windowUnderAnotherWriter();
    void windowWalkKeepsOutsideWrites_data();
    void windowWalkKeepsOutsideWrites();
    void windowQuestionSaysWhatItDid();

private:
    QTemporaryDir m_runtime;
    long m_liveBefore = 0;
};

void tst_VarnelFileLabelWindow::initTestCase()
{
    ProgramRun::quietRuntime(m_runtime);
}

void tst_VarnelFileLabelWindow::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_VarnelFileLabelWindow::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_VarnelFileLabelWindow::windowSaysWhenTheFormDiffers()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    // A file has no row for a directory's attribute.
    const QString odd = makeObject(dir, QStringLiteral("odd"), "1:0:0x1:0x1");
    const QString plain = makeObject(dir, QStringLiteral("plain"), before);
    {
        FileLabelWindow window({odd, plain});
        const auto *message = window.findChild<QLabel *>(QStringLiteral("_messageLabel"));
        // Named, not as two numbers.
        QCOMPARE(message->text(),
                 QStringLiteral("The form cannot show the label of %1 as it is: the form has no row for its special "
                                "attribute ccnr.")
                     .arg(odd));
        QCOMPARE(stored(odd), QByteArray("1:0:0x1:0x1"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("_nextButton")), Qt::LeftButton);
        QCOMPARE(message->text(), QStringLiteral("Read the label of %1.").arg(plain));
    }
}

void tst_VarnelFileLabelWindow::windowAppliesRevertsAndReports()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString unlabellable = QStringLiteral("/proc/version");
    {
        FileLabelWindow window({file, missing, unlabellable});
        const auto *message = window.findChild<QLabel *>(QStringLiteral("_messageLabel"));
        auto *apply = window.findChild<QPushButton *>(QStringLiteral("_applyButton"));
        auto *revert = window.findChild<QPushButton *>(QStringLiteral("_revertButton"));
        auto *next = window.findChild<QPushButton *>(QStringLiteral("_nextButton"));
        auto *previous = window.findChild<QPushButton *>(QStringLiteral("_previousButton"));
        const auto level = [&window] {
            return window.findChild<QStackedWidget *>(QStringLiteral("_labelStack"))
                ->currentWidget()
                ->findChild<MacLevelComboBox *>();
        };
        QCOMPARE(message->text(), QStringLiteral("Read the label of %1.").arg(file));
        QVERIFY(!previous->isEnabled());

        level()->setValue(2);
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(stored(file), QByteArray("2:0:0x1:0x0"));
        QCOMPARE(message->text(), QStringLiteral("Wrote the label to %1.").arg(file));

        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(message->text(), QStringLiteral("Could not read the label of %1: No such file or directory.").arg(missing));
        QVERIFY(!apply->isEnabled());

        QTest::mouseClick(next, Qt::LeftButton);
        QVERIFY(!next->isEnabled());
        // Only an edit gives Apply something to write.
        QVERIFY(!apply->isEnabled());
        level()->setValue(1);
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(message->text(),
                 QStringLiteral("Could not write the label to %1: Operation not supported.").arg(unlabellable));
        QTest::mouseClick(revert, Qt::LeftButton);

        // Each path keeps its form and its message; Revert reads the object again.
        QTest::mouseClick(previous, Qt::LeftButton);
        QTest::mouseClick(previous, Qt::LeftButton);
        QCOMPARE(window.current(), 0);
        QCOMPARE(message->text(), QStringLiteral("Wrote the label to %1.").arg(file));
        QVERIFY(store(file, "3:0:0x0:0x0"));
        level()->setValue(1);
        QTest::mouseClick(revert, Qt::LeftButton);
        QCOMPARE(level()->value(), mac_lev_t(3));
    }
}

void tst_VarnelFileLabelWindow::windowFiltersAndNamesTheCategories()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), "1:0:0x5:0x0");
    {
        FileLabelWindow window({file});
        QWidget *form = window.findChild<QStackedWidget *>(QStringLiteral("_labelStack"))->currentWidget();
        auto *filter = form->findChild<VarnelQt5::MacCategoryFilterEdit *>(QStringLiteral("_categoryFilterEdit"));
        auto *chosen = form->findChild<QLabel *>(QStringLiteral("_chosenCategoriesLabel"));
        QVERIFY(filter && chosen);
        auto *list = filter->categoryList();
        QCOMPARE(list, form->findChild<VarnelQt5::MacCategoryListWidget *>(QStringLiteral("_categoryListWidget")));
        QCOMPARE(chosen->toolTip(), QStringLiteral("Chosen: C0, C2"));

        // Narrowed to C7, the checked C0 and C2 stay; checking C7 names it.
        filter->setText(QStringLiteral("c7"));
        QStringList shown;
        for (int row = 0; row < list->count(); ++row) {
            if (!list->item(row)->isHidden())
                shown << list->item(row)->text();
        }
        QCOMPARE(shown, (QStringList{"0:C0", "2:C2", "7:C7"}));
        list->item(7)->setCheckState(Qt::Checked);
        QCOMPARE(chosen->toolTip(), QStringLiteral("Chosen: C0, C2, C7"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("_applyButton")), Qt::LeftButton);
        QCOMPARE(stored(file), QByteArray("1:0:0x85:0x0"));

        // Revert (enabled by an edit) reads another label: the line
        // follows, the filter stays.
        QVERIFY(store(file, "1:0:0x2:0x0"));
        list->item(0)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("_revertButton")), Qt::LeftButton);
        QCOMPARE(chosen->toolTip(), QStringLiteral("Chosen: C1"));
        QCOMPARE(filter->text(), QStringLiteral("c7"));
        QVERIFY(!list->item(1)->isHidden());
        list->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(chosen->toolTip(), QStringLiteral("No categories chosen"));
    }
}

void tst_VarnelFileLabelWindow::windowTreeHoldsOnlyTheShownForm()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString first = makeObject(dir, QStringLiteral("file"), "1:0:0x5:0x0");
    const QString second = makeObject(dir, QStringLiteral("dir"), "2:0:0x1:0x0");
    FileLabelWindow window({first, second});
    WindowParts parts(window);
    QVERIFY(parts.show());
    // There and back: each form read once stays, only the shown one is read.
    for (const char *way : {"", "next", "previous", "next"}) {
        if (*way)
            QCOMPARE(parts.leave(QLatin1String(way), QMessageBox::Cancel), QString());
        QList<QObject *> forms;
        QStringList falselyShowing;
        formsInTree(QAccessible::queryAccessibleInterface(&window), forms, falselyShowing);
        QCOMPARE(forms, QList<QObject *>{parts.form()});
        QCOMPARE(falselyShowing.join(QLatin1String(", ")), QString());
    }
    QCOMPARE(window.findChildren<FileMacLabelWidget *>().size(), 2);
}

void tst_VarnelFileLabelWindow::windowKeepsTheFocusOnTheForm_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("byKey");

    QTest::newRow("Apply") << "_applyButton" << false;
    QTest::newRow("Alt+A") << "_applyButton" << true;
    QTest::newRow("Revert") << "_revertButton" << false;
    QTest::newRow("Alt+R") << "_revertButton" << true;
}

// The window opens on the form's first field, not on a button an early Space
// presses; Apply and Revert give the focus back to the field that had it.
void tst_VarnelFileLabelWindow::windowKeepsTheFocusOnTheForm()
{
    QFETCH(QString, button);
    QFETCH(bool, byKey);

    StandinPolicy policy;
    QTemporaryDir dir;
    const QString first = makeObject(dir, QStringLiteral("first"), "1:0:0x5:0x0");
    const QString second = makeObject(dir, QStringLiteral("second"), "1:0:0x5:0x0");
    FileLabelWindow window({first, second});
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *form = window.findChild<QStackedWidget *>(QStringLiteral("_labelStack"))->currentWidget();
    QCOMPARE(QApplication::focusWidget(), form->findChild<QWidget *>(QStringLiteral("_levelComboBox")));

    auto *list = form->findChild<VarnelQt5::MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(list->item(3)->checkState(), Qt::Checked);
    if (byKey)
        QTest::keyClick(&window, button == QLatin1String("_applyButton") ? Qt::Key_A : Qt::Key_R, Qt::AltModifier);
    else
        QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);
    QTRY_COMPARE(stored(first), QByteArray(button == QLatin1String("_applyButton") ? "1:0:0xd:0x0" : "1:0:0x5:0x0"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list));
    QCOMPARE(stored(second), QByteArray("1:0:0x5:0x0"));
}

void tst_VarnelFileLabelWindow::screenshotRendersTheWindow()
{
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const QString picture = dir.filePath(QStringLiteral("window.png"));
    const ProgramRun run = fileLabel({QStringLiteral("--screenshot"), picture, file});
    QCOMPARE(run.status, 0);
    const QImage image(picture);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > 300 && image.height() > 300);
    QCOMPARE(stored(file), QByteArray(before));
}

void tst_VarnelFileLabelWindow::windowMarksEdits_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("steps");
    // What Apply writes; empty where the form holds no edit.
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("unedited") << "file" << QByteArray(before) << "" << QByteArray();
    QTest::newRow("every part of a file") << "file" << QByteArray("1:0:0x1:0x10010")
                                          << "level=2 integrity=63 category=2 attribute=silev"
                                          << QByteArray("2:63:0x5:0x10000");
    QTest::newRow("edits undone") << "file" << QByteArray(before)
                                  << "level=2 level=1 category=3 category=3 attribute=silev attribute=silev"
                                  << QByteArray();
    QTest::newRow("attributes of a directory") << "dir" << QByteArray("1:0:0x1:0x61")
                                               << "attribute=irelax attribute=ccnr level=3"
                                               << QByteArray("3:0:0x1:0x40");
    // A directory's attribute on a file: the form cannot show it, and that is
    // no edit of the person's; an edit changes only what it touches.
    QTest::newRow("form differs, unedited") << "file" << QByteArray("1:0:0x1:0x1") << "" << QByteArray();
    QTest::newRow("form differs, then an edit") << "file" << QByteArray("1:0:0x1:0x1") << "level=2"
                                                << QByteArray("2:0:0x1:0x1");
}

// The signs of unsaved edits follow the form against the label read, not the
// number of changes; Apply writes the form's label and clears them.
void tst_VarnelFileLabelWindow::windowMarksEdits()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, old);
    QFETCH(QString, steps);
    QFETCH(QByteArray, written);
    const bool edited = !written.isEmpty();
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, kind, old);
    {
        FileLabelWindow window({path});
        WindowParts parts(window);
        const QString read = parts.message->text();
        QCOMPARE(parts.editSigns(), QString());
        QCOMPARE(window.windowTitle(), QStringLiteral("File labels[*]"));

        edit(parts.form(), steps);
        QCOMPARE(parts.editSigns(), edited ? allEditSigns : QString());
        QCOMPARE(window.isEdited(), edited);
        QCOMPARE(parts.message->text(), read);
        QCOMPARE(stored(path), old);

        QCOMPARE(window.apply(), edited);
        QCOMPARE(stored(path), edited ? written : old);
        QCOMPARE(parts.editSigns(), QString());
        if (edited)
            QVERIFY2(parts.message->text().startsWith(QStringLiteral("Wrote the label to %1").arg(path)),
                     qPrintable(parts.message->text()));
        QVERIFY(window.failures().isEmpty());
    }
}

void tst_VarnelFileLabelWindow::windowRefusesAReplacedObject_data()
{
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QByteArray>("label");

    QTest::newRow("another file") << "file" << QByteArray("3:0:0x80:0x10");
    QTest::newRow("a directory") << "dir" << QByteArray("2:0:0x3:0x21");
    QTest::newRow("nothing") << "" << QByteArray("none");
}

// The form was read from one object: it is never written onto another one
// put in its place, and Revert reads the one the path names now.
void tst_VarnelFileLabelWindow::windowRefusesAReplacedObject()
{
    QFETCH(QString, replacement);
    QFETCH(QByteArray, label);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), before);
    const QString aside = dir.filePath(QStringLiteral("aside"));
    {
        FileLabelWindow window({path});
        WindowParts parts(window);
        QVERIFY(parts.show());
        edit(parts.form(), QStringLiteral("level=2"));
        QVERIFY(QFile::rename(path, aside));
        if (!replacement.isEmpty()) {
            const QString made = makeObject(dir, replacement, label);
            QVERIFY(made == path || QFile::rename(made, path));
        }

        QTest::mouseClick(parts.apply, Qt::LeftButton);
        QCOMPARE(stored(path), label);
        QCOMPARE(stored(aside), QByteArray(before));
        QCOMPARE(parts.message->text(),
                 replacement.isEmpty()
                     ? QStringLiteral("Could not write the label to %1: No such file or directory.").arg(path)
                     : QStringLiteral("Did not write the label to %1: the path now names another object than the "
                                      "one whose label was read. Revert reads the label of the object it names now.")
                           .arg(path));
        QCOMPARE(parts.editSigns(), allEditSigns);
        QCOMPARE(window.failures().size(), 1);
        QVERIFY2(window.failures().constFirst().startsWith(path + QLatin1String(": cannot write the label: ")),
                 qPrintable(window.failures().constFirst()));

        // Closing asks; Apply is refused again, so the window stays.
        QCOMPARE(parts.leave(QStringLiteral("close"), QMessageBox::Apply), question(path));
        QVERIFY(window.isVisible());
        QCOMPARE(stored(path), label);

        QTest::mouseClick(parts.revert, Qt::LeftButton);
        if (replacement.isEmpty()) {
            QVERIFY(!parts.form()->isEnabled());
            QCOMPARE(window.failures(),
                     QStringList{path + QStringLiteral(": cannot read the label: No such file or directory")});
        } else {
            QCOMPARE(parts.shown(), label);
            QCOMPARE(parts.editSigns(), QString());
            // The failed write counts until an Apply writes.
            QCOMPARE(window.failures().size(), 1);
            QVERIFY(window.findChild<QLabel *>(QStringLiteral("_pathLabel"))
                        ->text()
                        .startsWith(replacement == QLatin1String("dir") ? QLatin1String("Directory 1 of 1")
                                                                        : QLatin1String("File 1 of 1")));
            edit(parts.form(), QStringLiteral("level=1"));
            QVERIFY(window.apply());
            QCOMPARE(stored(path), QByteArray("1") + label.mid(1));
            QVERIFY(window.failures().isEmpty());
        }
        QCOMPARE(stored(aside), QByteArray(before));
    }
}

void tst_VarnelFileLabelWindow::windowWithAFailedPath_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("missing") << "missing" << QByteArray("cannot read the label: No such file or directory");
    QTest::newRow("unreadable label") << "malformed" << QByteArray("cannot read the label: its label cannot be read");
    QTest::newRow("unnameable") << "unnameable"
                                << QByteArray("cannot read the label: its name is not valid in the locale's encoding");
}

// A path whose label could not be read offers no form to edit, and makes the
// window's exit status 1 whether it was shown or not.
void tst_VarnelFileLabelWindow::windowWithAFailedPath()
{
    QFETCH(QString, failure);
    QFETCH(QByteArray, reason);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString good = makeObject(dir, QStringLiteral("good"), before);
    const QString bad = dir.filePath(QStringLiteral("bad"));
    if (failure == QLatin1String("malformed"))
        QVERIFY(store(makeObject(dir, QStringLiteral("bad"), QByteArray()), "3:zero:0x80:0x0"));
    if (failure == QLatin1String("unnameable"))
        makeObject(dir, QStringLiteral("bad"), "3:0:0x0:0x0");
    const QByteArray badBefore = stored(bad);
    const QString line = bad + QLatin1String(": ") + QString::fromLatin1(reason);
    {
        FileLabelWindow window({good, bad}, failure == QLatin1String("unnameable") ? QSet<QString>{bad}
                                                                                   : QSet<QString>());
        WindowParts parts(window);
        // Not yet shown, it is read for the exit status.
        QCOMPARE(window.failures(), QStringList{line});
        QVERIFY(parts.form()->isEnabled());

        QTest::mouseClick(parts.next, Qt::LeftButton);
        QCOMPARE(window.current(), 1);
        QVERIFY(!parts.form()->isEnabled());
        QCOMPARE(parts.editSigns(), QStringLiteral("Revert"));
        QCOMPARE(window.apply(), false);
        QCOMPARE(window.failures(), QStringList{line});
        QCOMPARE(stored(bad), badBefore);
        QCOMPARE(stored(good), QByteArray(before));

        // Once the object can be read, Revert reads it.
        if (failure == QLatin1String("missing")) {
            makeObject(dir, QStringLiteral("bad"), "2:0:0x2:0x0");
            QTest::mouseClick(parts.revert, Qt::LeftButton);
            QVERIFY(parts.form()->isEnabled());
            QCOMPARE(parts.shown(), QByteArray("2:0:0x2:0x0"));
            QCOMPARE(parts.editSigns(), QString());
            // A path that failed to load keeps the exit status at 1.
            QCOMPARE(window.failures(), QStringList{line});
            QVERIFY(QFile::remove(bad));
        }
    }

    // The program says which path failed, shown or not, and exits 1.
    if (failure != QLatin1String("unnameable")) {
        const QString picture = dir.filePath(QStringLiteral("window.png"));
        for (const QStringList &order : {QStringList{good, bad}, QStringList{bad, good}}) {
            const ProgramRun run = fileLabel(QStringList{QStringLiteral("--screenshot"), picture} << order);
            QCOMPARE(run.status, 1);
            // One line of its own among the stand-in's warnings.
            QCOMPARE(run.err.count("varnel-file-label: "), 1);
            QVERIFY2(run.err.contains(QByteArray("varnel-file-label: " + line.toLocal8Bit() + '\n')), run.err.constData());
            QVERIFY(!QImage(picture).isNull());
        }
    }
}

void tst_VarnelFileLabelWindow::windowFitsTheScreenInTabOrder_data()
{
    QTest::addColumn<QByteArray>("scale");
    QTest::addColumn<bool>("scrolls");

    // The headless screen is 800 by 600 pixels (Qt 6's is 800 by 800 unless
    // told, which the row at scale 2 does): at scale 2 it is smaller than a
    // 1000-pixel screen at that scale.
    QTest::newRow("scale 1") << QByteArray("1") << false;
    QTest::newRow("scale 2") << QByteArray("2") << true;
}

// Every part of the window opens on the screen, Apply included; the form
// scrolls only where the screen leaves it too little room. Tab goes down the
// form first, then to the buttons that act on it, whichever path's form is
// shown (each is made when first shown).
void tst_VarnelFileLabelWindow::windowFitsTheScreenInTabOrder()
{
    QFETCH(QByteArray, scale);
    QFETCH(bool, scrolls);
    const QByteArray ownScale = qgetenv("QT_SCALE_FACTOR");
    if (ownScale != scale && !(ownScale.isEmpty() && scale == "1")) {
        // The scale is fixed when the application starts: this row runs in
        // a process of its own.
        // Qt 5's headless platform takes no screen configuration and ignores
        // the file.
        QTemporaryDir screens;
        QFile configuration(screens.filePath(QStringLiteral("screens.json")));
        QVERIFY(configuration.open(QIODevice::WriteOnly)
                && configuration.write(R"({"screens": [{"name": "headless", "x": 0, "y": 0, "width": 800,
                    "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                    > 0);
        configuration.close();
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(configuration.fileName()));
        qputenv("QT_SCALE_FACTOR", scale);
        const ProgramRun run(QCoreApplication::applicationFilePath(),
                             {QStringLiteral("windowFitsTheScreenInTabOrder:")
                              + QString::fromLatin1(QTest::currentDataTag())});
        qunsetenv("QT_SCALE_FACTOR");
        qputenv("QT_QPA_PLATFORM", platform);
        QVERIFY2(run.status == 0, run.out.constData());
        return;
    }

    StandinPolicy policy;
    QTemporaryDir dir;
    {
        FileLabelWindow window({makeObject(dir, QStringLiteral("first"), before),
                                makeObject(dir, QStringLiteral("second"), before)});
        WindowParts parts(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QRect area = window.screen()->availableGeometry();
        QCOMPARE(area.intersected(window.frameGeometry()), window.frameGeometry());
        const QRect apply(parts.apply->mapToGlobal(QPoint(0, 0)), parts.apply->size());
        QCOMPARE(area.intersected(apply), apply);
        const auto *formArea = window.findChild<QScrollArea *>();
        QCOMPARE(formArea->verticalScrollBar()->maximum() > 0, scrolls);
        // Whatever the room, the whole form can be reached.
        formArea->verticalScrollBar()->setValue(formArea->verticalScrollBar()->maximum());
        const auto *specials = parts.form()->findChild<QListView *>(QStringLiteral("_specialListView"));
        const QPoint bottom = specials->mapTo(formArea->viewport(), QPoint(0, specials->height() - 1));
        QVERIFY(formArea->viewport()->rect().contains(bottom));

        const QString form = QStringLiteral(
            "_levelComboBox, _integrityComboBox, _categoryFilterEdit, _categoryListWidget, _specialListView, ");
        for (const QString &other : {QStringLiteral("&Next"), QStringLiteral("&Previous")}) {
            // Revert and Apply take part once there is an edit.
            edit(parts.form(), QStringLiteral("level=2"));
            QCOMPARE(tabWalk(parts.form()->findChild<MacLevelComboBox *>()),
                     form + QStringLiteral("&Revert, &Apply, ") + other);
            edit(parts.form(), QStringLiteral("level=1"));
            QVERIFY(window.showPath(1));
        }
    }
}

// The form area's own size hint is capped at a few dozen characters: the
// window asks for what its form wants, so that long level and category
// names are not cut while the screen has room for them.
void tst_VarnelFileLabelWindow::windowShowsLongNamesInFull()
{
    StandinPolicy policy;
    const QByteArray longName = "_of_the_departmental_compartment_register";
    QByteArray levels, categories;
    for (int bit = 0; bit < 4; ++bit)
        levels += QByteArray::number(bit) + ":Level_" + QByteArray::number(bit) + longName + '\n';
    for (int bit = 0; bit < 16; ++bit)
        categories += "0x" + QByteArray::number(1u << bit, 16) + ":Category_" + QByteArray::number(bit) + longName + '\n';
    policy.write("levels", levels);
    policy.write("categories", categories);
    QTemporaryDir dir;
    FileLabelWindow window({makeObject(dir, QStringLiteral("file"), "3:0:0x8001:0x0")});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = window.screen()->availableGeometry();
    QVERIFY2(area.width() >= 800, "the screen is too narrow for the long names");
    QCOMPARE(area.intersected(window.frameGeometry()), window.frameGeometry());
    const auto *formArea = window.findChild<QScrollArea *>(QStringLiteral("_formArea"));
    QCOMPARE(formArea->horizontalScrollBar()->maximum(), 0);
    const auto *level = window.findChild<MacLevelComboBox *>();
    QVERIFY(level->width() >= level->sizeHint().width());
    const auto *list = window.findChild<QListView *>(QStringLiteral("_categoryListWidget"));
    const QString widest = QStringLiteral("15:Category_15") + QString::fromLatin1(longName);
    QVERIFY(list->viewport()->width() > list->fontMetrics().horizontalAdvance(widest));
}

void tst_VarnelFileLabelWindow::windowWalkWritesOnlyEdits_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 17u, 2026u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// A person's random walk through edits, Apply, Revert, Previous, Next and
// closing, each question answered at random: the question comes exactly when
// a form with edits is left, names its path, and each answer does what it
// says; an object's label changes only by Apply, exactly in the parts
// edited; the signs of edits always say whether the form holds any.
void tst_VarnelFileLabelWindow::windowWalkWritesOnlyEdits()
{
    QFETCH(quint32, seed);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QStringList paths{makeObject(dir, QStringLiteral("file"), "1:0:0x1:0x10010"),
                            makeObject(dir, QStringLiteral("dir"), "2:63:0x6:0x41"),
                            makeObject(dir, QStringLiteral("other"), "0:0:0x0:0x0")};
    QSet<QString> answered;
    {
        FileLabelWindow window(paths);
        WindowParts parts(window);
        QVERIFY(parts.show());
        EditWalk walk(parts, paths, seed);
        for (int step = 0; step < 300; ++step) {
            const int index = window.current();
            const QString fault = walk.step();
            const QString where = QStringLiteral("step %1 (%2) on %3").arg(step).arg(walk.done).arg(index);
            // An edit the form has no row for has failed the test already.
            if (QTest::currentTestFailed()) {
                qWarning("at %s", qPrintable(where));
                return;
            }
            QVERIFY2(fault.isEmpty(), qPrintable(where + QLatin1String(": ") + fault));
        }
        answered = walk.answered;
    }
    // The walk left each form by each way, unedited and with each answer.
    QVERIFY2(answered.size() == 12, qPrintable(answered.values().join(QLatin1String(", "))));
}

void tst_VarnelFileLabelWindow::windowUnderAnotherWriter_data()
{
    QTest::addColumn<QStringList>("pages"); // names in the directory; "link" is a hard link to "file"
    QTest::addColumn<QString>("script"); // window actions and another program's, in order
    QTest::addColumn<QByteArray>("written"); // what "file" holds afterwards
    QTest::addColumn<QString>("says"); // the shown page's message, %1 its path
    QTest::addColumn<bool>("kept"); // whether the shown page still holds edits

    const QString changed = QStringLiteral("Did not write the label to %1: its label was changed since it was read. "
                                           "The edits are kept; Revert shows the new label.");
    const QString replaced = QStringLiteral("Did not write the label to %1: the path now names another object than "
                                            "the one whose label was read. Revert reads the label of the object it "
                                            "names now.");
    const QString readAgain = QStringLiteral("Read the label of %1 again: it was changed since it was shown.");
    const QStringList one{QStringLiteral("file")};
    QTest::newRow("nobody") << one << "edit:category=2 apply" << QByteArray("1:0:0x5:0x0")
                            << "Wrote the label to %1." << false;
    QTest::newRow("relabelled outside") << one << "edit:category=2 relabel apply" << QByteArray("3:63:0x80:0x10")
                                        << changed << true;
    QTest::newRow("replaced by rename") << one << "edit:category=2 rename apply" << QByteArray("3:63:0x80:0x10")
                                        << replaced << true;
    QTest::newRow("recreated with the same inode")
        << one << "edit:category=2 recreate apply" << QByteArray("3:63:0x80:0x10") << replaced << true;
    QTest::newRow("relabelled while another page is shown")
        << QStringList{"file", "other"} << "next relabel previous" << QByteArray("3:63:0x80:0x10") << readAgain
        << false;
    QTest::newRow("relabelled while another page is shown, then edited")
        << QStringList{"file", "other"} << "next relabel previous edit:category=2 apply"
        << QByteArray("3:63:0x84:0x10") << "Wrote the label to %1." << false;
    QTest::newRow("the same path on two pages")
        << QStringList{"file", "file"} << "next previous edit:level=2 apply next" << QByteArray("2:0:0x1:0x0")
        << readAgain << false;
    QTest::newRow("the same path on two pages, then edited")
        << QStringList{"file", "file"} << "next previous edit:level=2 apply next edit:category=2 apply"
        << QByteArray("2:0:0x5:0x0") << "Wrote the label to %1." << false;
    QTest::newRow("a hard link on the second page")
        << QStringList{"file", "link"} << "next previous edit:level=2 apply next" << QByteArray("2:0:0x1:0x0")
        << readAgain << false;
}

// The window writes a form only over the label it read: another program's
// label is neither overwritten unseen nor shown as the old one.
void tst_VarnelFileLabelWindow::windowUnderAnotherWriter()
{
    QFETCH(QStringList, pages);
    QFETCH(QString, script);
    QFETCH(QByteArray, written);
    QFETCH(QString, says);
    QFETCH(bool, kept);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    makeObject(dir, QStringLiteral("other"), "2:0:0x2:0x0");
    if (pages.contains(QStringLiteral("link")))
        QVERIFY(::link(QFile::encodeName(file).constData(),
                       QFile::encodeName(dir.filePath(QStringLiteral("link"))).constData())
                == 0);
    QStringList paths;
    for (const QString &name : pages)
        paths << dir.filePath(name);
    {
        FileLabelWindow window(paths);
        WindowParts parts(window);
        for (const QString &step : script.split(QLatin1Char(' '))) {
            if (step.startsWith(QLatin1String("edit:")))
                edit(parts.form(), step.mid(5));
            else if (step == QLatin1String("apply"))
                window.apply();
            else if (step == QLatin1String("next") || step == QLatin1String("previous"))
                QVERIFY(window.showPath(window.current() + (step == QLatin1String("next") ? 1 : -1)));
            else
                QVERIFY2(actOutside(step, file, "3:63:0x80:0x10"), qPrintable(step));
        }
        QCOMPARE(stored(file), written);
        QCOMPARE(parts.message->text(), says.arg(paths.at(window.current())));
        QCOMPARE(parts.editSigns(), kept ? allEditSigns : QString());
        QCOMPARE(window.failures().size(), kept ? 1 : 0);
        if (kept) {
            // Revert shows what the object holds now; Apply then writes.
            QTest::mouseClick(parts.revert, Qt::LeftButton);
            QCOMPARE(parts.shown(), asShown(stored(file)).text().toLatin1());
            edit(parts.form(), QStringLiteral("level=1"));
            QVERIFY(window.apply());
            QCOMPARE(asShown(stored(file)).level, mac_lev_t(1));
        } else {
            QCOMPARE(parts.shown(), asShown(written).text().toLatin1());
        }
    }
}

void tst_VarnelFileLabelWindow::windowWalkKeepsOutsideWrites_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {7u, 4242u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// A person's walk through edits, Apply, Revert, Previous and Next while
// another program relabels, renames over and recreates the objects between
// the steps: every label found on disk was written by that program or by an
// Apply of a form that had read the label it replaced.
void tst_VarnelFileLabelWindow::windowWalkKeepsOutsideWrites()
{
    QFETCH(quint32, seed);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString a = makeObject(dir, QStringLiteral("a"), before);
    const QString c = makeObject(dir, QStringLiteral("c"), "2:0:0x2:0x10");
    const QString b = dir.filePath(QStringLiteral("b"));
    QVERIFY(::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()) == 0);
    // The same object by two names and twice by one name.
    const QStringList paths{a, b, a, c};
    int refused = 0;
    int outsideWrites = 0;
    {
        FileLabelWindow window(paths);
        WindowParts parts(window);
        QVERIFY(parts.show());
        OutsideWalk walk(parts, paths, {a, b, c}, seed);
        QStringList steps;
        for (int step = 0; step < 150; ++step) {
            const int index = window.current();
            const QString fault = walk.step();
            steps << QStringLiteral("%1: %2 on page %3").arg(step).arg(walk.done).arg(index);
            const QString where = QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(steps.join(QLatin1String("; ")));
            // An edit the form has no row for has failed the test already.
            if (QTest::currentTestFailed()) {
                qWarning("at %s", qPrintable(where));
                return;
            }
            QVERIFY2(fault.isEmpty(), qPrintable(where + QLatin1String(": ") + fault));
        }
        refused = walk.refused;
        outsideWrites = walk.outsideWrites;
    }
    // The walk met refusals and the other program's writes.
    QVERIFY2(refused > 0 && outsideWrites > 10, qPrintable(QStringLiteral("%1 refused, %2 outside writes").arg(refused).arg(outsideWrites)));
}

// Leaving edits asks with a key for each answer; Apply there says that it
// wrote, beside the next path's message; a failed write the person then
// discards still counts for the exit status.
void tst_VarnelFileLabelWindow::windowQuestionSaysWhatItDid()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const QString unlabellable = QStringLiteral("/proc/version");
    const QString other = makeObject(dir, QStringLiteral("other"), "2:0:0x2:0x0");
    {
        FileLabelWindow window({file, unlabellable, other});
        WindowParts parts(window);
        QVERIFY(parts.show());
        auto buttons = std::make_shared<QStringList>();
        QTimer::singleShot(0, qApp, [buttons] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget *widget : windows) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (box && box->isVisible()) {
                    for (QAbstractButton *button : box->buttons())
                        *buttons << button->text();
                    QTest::mouseClick(box->button(QMessageBox::Apply), Qt::LeftButton);
                }
            }
        });
        edit(parts.form(), QStringLiteral("level=2"));
        QTest::mouseClick(parts.next, Qt::LeftButton);
        QCoreApplication::processEvents();
        buttons->sort();
        QCOMPARE(*buttons, (QStringList{QStringLiteral("&Apply"), QStringLiteral("&Cancel"), QStringLiteral("&Discard")}));
        QCOMPARE(window.current(), 1);
        QCOMPARE(stored(file), QByteArray("2:0:0x1:0x0"));
        QCOMPARE(parts.message->text(),
                 QStringLiteral("Wrote the label to %1.\nRead the label of %2.").arg(file, unlabellable));

        // Said once: the next action has its own message.
        edit(parts.form(), QStringLiteral("level=1"));
        QVERIFY(!window.apply());
        QCOMPARE(parts.message->text(),
                 QStringLiteral("Could not write the label to %1: Operation not supported.").arg(unlabellable));
        QCOMPARE(parts.leave(QStringLiteral("next"), QMessageBox::Discard), question(unlabellable));
        QCOMPARE(window.current(), 2);
        QCOMPARE(window.failures(),
                 QStringList{unlabellable + QStringLiteral(": cannot write the label: Operation not supported")});
        QCOMPARE(stored(other), QByteArray("2:0:0x2:0x0"));

        // What the form does on its own is said under the status, in sight
        // whatever the form's scroll position, and undone by the uncheck.
        auto *reaction = window.findChild<QLabel *>(QStringLiteral("_formReactionLabel"));
        edit(parts.form(), QStringLiteral("attribute=ehole"));
        QCOMPARE(reaction->text(), QStringLiteral("Checking ehole set the level to L0 and removed C1."));
        QVERIFY(reaction->isVisible());
        QVERIFY(parts.form()->findChild<QLabel *>(QStringLiteral("_reactionLabel"))->isHidden());
        edit(parts.form(), QStringLiteral("attribute=ehole"));
        QCOMPARE(reaction->text(), QStringLiteral("Unchecking ehole set the level to L2 and added C1."));
        QCOMPARE(parts.editSigns(), QString());
        QCOMPARE(stored(other), QByteArray("2:0:0x2:0x0"));
    }
}

QTEST_MAIN(tst_VarnelFileLabelWindow)
#include "tst_varnel_file_label_window.moc"
