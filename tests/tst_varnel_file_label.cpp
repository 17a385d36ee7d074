// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileLabelWindow.h"
#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "LabelCommand.h"
#include "LabelEditor.h"
#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "ProgramRun.h"
#include "StandinPolicy.h"
#include "TabWalk.h"
#include "TreeWalk.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
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

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using VarnelQt5::FileMacLabelWidget;
using VarnelQt5::ILevelComboBox;
using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacLevelComboBox;

namespace {

const char attribute[] = "user.varnel.label";
const char before[] = "1:0:0x1:0x0";

ProgramRun fileLabel(const QStringList &arguments)
{
    return ProgramRun(QStringLiteral(FILE_LABEL), arguments);
}

// The label attribute as it is on the object; "none" without one.
QByteArray stored(const QString &path)
{
    char value[256];
    const ssize_t size = getxattr(QFile::encodeName(path).constData(), attribute, value, sizeof value);
    return size < 0 ? QByteArray("none") : QByteArray(value, int(size));
}

bool store(const QString &path, const QByteArray &value)
{
    return setxattr(QFile::encodeName(path).constData(), attribute, value.constData(), size_t(value.size()), 0) == 0;
}

// A labelled file or directory in dir.
QString makeObject(const QTemporaryDir &dir, const QString &kind, const QByteArray &label)
{
    const QString path = dir.filePath(kind);
    if (kind == QLatin1String("dir")) {
        QDir().mkdir(path);
    } else {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }
    if (!label.isEmpty())
        store(path, label);
    return path;
}


// The program's own lines on stderr, without what Qt or the stand-in say.
QList<QByteArray> ownLines(const ProgramRun &run)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : run.errLines()) {
        if (line.startsWith("varnel-file-label: "))
            lines << line.mid(int(sizeof "varnel-file-label: ") - 1);
    }
    return lines;
}

// A file named by raw bytes in dir, labelled when label is given; its path.
QByteArray makeRaw(const QTemporaryDir &dir, const QByteArray &name, const QByteArray &label = QByteArray())
{
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    const int made = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (made >= 0)
        ::close(made);
    if (!label.isEmpty())
        setxattr(path.constData(), attribute, label.constData(), size_t(label.size()), 0);
    return path;
}

QByteArray storedRaw(const QByteArray &path)
{
    char value[256];
    const ssize_t size = getxattr(path.constData(), attribute, value, sizeof value);
    return size < 0 ? QByteArray("none") : QByteArray(value, int(size));
}

// Runs the program in dir, so that names may be given bare.
ProgramRun fileLabelIn(const QString &dir, const QStringList &arguments)
{
    return ProgramRun(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"),
                                                             QStringLiteral("cd \"$1\" && shift && exec \"$0\" \"$@\""),
                                                             QStringLiteral(FILE_LABEL), dir}
                                                     + arguments);
}

// Runs the program through the shell, so that arguments may hold any bytes
// and the environment and output may be set up first: the script names the
// program "$p" and the bytes "$a0", "$a1" and so on.
ProgramRun shell(const QString &script, const QList<QByteArray> &bytes = {})
{
    QString prelude;
    for (int i = 0; i < bytes.size(); ++i) {
        QString octal;
        for (const char c : bytes.at(i))
            octal += QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(c)), 3, 8, QLatin1Char('0'));
        // The X keeps a last line feed from the command substitution.
        prelude += QStringLiteral("a%1=$(printf '%2X'); a%1=${a%1%X}; ").arg(i).arg(octal);
    }
    return ProgramRun(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("p=$0; ") + prelude + script, QStringLiteral(FILE_LABEL)});
}

bool privileged()
{
    return ::geteuid() == 0;
}

// Runs the program as a user without privileges: as root, as nobody, over
// objects and a policy that nobody may reach.
ProgramRun unprivileged(const QStringList &arguments)
{
    if (!privileged())
        return fileLabel(arguments);
    return ProgramRun(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), QStringLiteral("--"), QStringLiteral(FILE_LABEL)}
                          << arguments);
}

// Lets nobody reach dir and what it holds, owning what is below it; false
// when something stays out of reach or owned as before.
bool handOver(const QString &dir, bool own = true)
{
    bool done = ::chmod(QFile::encodeName(dir).constData(), 0755) == 0;
    if (!privileged() || !own)
        return done;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        done = ::lchown(QFile::encodeName(it.next()).constData(), 65534, 65534) == 0 && done;
    return done;
}

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

// A stored label as a form shows it: type cut to the label library's 16
// bits, no label as 0.
FileLabel asShown(const QByteArray &value)
{
    const QList<QByteArray> fields = value.split(':');
    FileLabel label;
    if (fields.size() != 4)
        return label;
    label.level = mac_lev_t(fields.at(0).toUInt());
    label.ilevel = fields.at(1).toUInt();
    label.categories = fields.at(2).toULongLong(nullptr, 16);
    label.type = uint16_t(fields.at(3).toUInt(nullptr, 16));
    return label;
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

} // namespace

class tst_VarnelFileLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void setThenGetRoundTrips_data();
    void setThenGetRoundTrips();
    void setRefusesAndNamesThePath_data();
    void setRefusesAndNamesThePath();
    void everyPathIsReported();
    void getPrintsTheStoredLabel_data();
    void getPrintsTheStoredLabel();
    void windowSaysWhenTheFormDiffers();
    void nameNotInTheLocaleIsReported();
    void badArguments_data();
    void badArguments();
    void windowAppliesRevertsAndReports();
    void windowFiltersAndNamesTheCategories();
    void windowTreeHoldsOnlyTheShownForm();
    void windowKeepsTheFocusOnTheForm_data();
    void windowKeepsTheFocusOnTheForm();
    void screenshotRendersTheWindow();
    void withoutDisplayOnlyTheWindowIsRefused();
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
    void pathsAreEscaped_data();
    void pathsAreEscaped();
    void getRecordsKeepEveryName_data();
    void getRecordsKeepEveryName();
    void outputThatCannotBeWrittenFails_data();
    void outputThatCannotBeWrittenFails();
    void displayThatCannotBeOpened_data();
    void displayThatCannotBeOpened();
    void systemReasonIsNamed_data();
    void systemReasonIsNamed();
    void typeReplacesAnUnreadableLabel_data();
    void typeReplacesAnUnreadableLabel();
    void hiddenAttributesAreRefused_data();
    void hiddenAttributesAreRefused();
    void oneRunMixesKindsAndCases_data();
    void oneRunMixesKindsAndCases();
    void recursionStaysInTheTree_data();
    void recursionStaysInTheTree();
    void recursionStaysOnOneFileSystem();
    void recursionGivesEachKindItsAttributes_data();
    void recursionGivesEachKindItsAttributes();
    void namesRoundTrip_data();
    void namesRoundTrip();
    void namesTheCommandLineRefuses_data();
    void namesTheCommandLineRefuses();
    void jsonRecords_data();
    void jsonRecords();
    void progressOnlyOnATerminal_data();
    void progressOnlyOnATerminal();
    void qtOptionsAreNotRead_data();
    void qtOptionsAreNotRead();
    void bytePathsThroughXargs();
    void everyGetLineRoundTrips_data();
    void everyGetLineRoundTrips();
    void typeGivenIsStored_data();
    void typeGivenIsStored();
    void namesThatBreakTheFormat_data();
    void namesThatBreakTheFormat();
    void treeDeeperThanTheDescriptorLimit();
    void movedDirectoryIsNotFollowedBack();
    void closedOutputFails_data();
    void closedOutputFails();
    void oneFileSystemWithoutMountPoints();

private:
    QTemporaryDir m_runtime;
    long m_liveBefore = 0;
};

void tst_VarnelFileLabel::initTestCase()
{
    ProgramRun::quietRuntime(m_runtime);
}

void tst_VarnelFileLabel::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_VarnelFileLabel::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_VarnelFileLabel::setThenGetRoundTrips_data()
{
    QTest::addColumn<bool>("builtin");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("built-in policy") << true << "file" << QByteArray() << "2:1:0x3" << QByteArray("2:1:0x3:0x0");
    QTest::newRow("hexadecimal and decimal fields") << false << "file" << QByteArray(before) << "0x2:0x1:3"
                                                    << QByteArray("2:1:0x3:0x0");
    QTest::newRow("integrity between the named ends") << true << "file" << QByteArray(before) << "0:17:0"
                                                      << QByteArray("0:17:0x0:0x0");
    QTest::newRow("no type keeps the special attributes") << false << "file" << QByteArray("0:0:0x0:0x40")
                                                          << "1:0:0x2" << QByteArray("1:0:0x2:0x40");
    QTest::newRow("type 0 clears them") << false << "file" << QByteArray("0:0:0x0:0x44") << "0:0:0:0"
                                        << QByteArray("0:0:0x0:0x0");
    QTest::newRow("ehole on a file") << true << "file" << QByteArray(before) << "0:0:0:0x4" << QByteArray("0:0:0x0:0x4");
    // Irelax, which the window shows outside strict mode only on a directory
    // that has it, is kept.
    QTest::newRow("directory attributes") << false << "dir" << QByteArray("0:0:0x0:0x20") << "1:0:0x1:0x21"
                                          << QByteArray("1:0:0x1:0x21");
    QTest::newRow("other bits on a directory") << false << "dir" << QByteArray(before) << "3:63:0xff:0x41"
                                               << QByteArray("3:63:0xff:0x41");
}

void tst_VarnelFileLabel::setThenGetRoundTrips()
{
    QFETCH(bool, builtin);
    QFETCH(QString, kind);
    QFETCH(QByteArray, old);
    QFETCH(QString, label);
    QFETCH(QByteArray, expected);
    std::unique_ptr<StandinPolicy> policy(builtin ? nullptr : new StandinPolicy);
    QTemporaryDir dir;
    const QString path = makeObject(dir, kind, old);

    const ProgramRun set = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    QCOMPARE(stored(path), expected);

    const ProgramRun get = fileLabel({QStringLiteral("--get"), path});
    QCOMPARE(get.err, QByteArray());
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out, path.toLocal8Bit() + '\t' + expected + '\n');
}

void tst_VarnelFileLabel::setRefusesAndNamesThePath_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("level not in the list") << "" << "9:0:0" << QByteArray("cannot set the label: level 9 is not in the level list");
    QTest::newRow("integrity above the maximum")
        << "" << "0:64:0" << QByteArray("cannot set the label: integrity level 64 is above the system's maximum, 63");
    QTest::newRow("category not in the list")
        << "" << "0:0:0x101" << QByteArray("cannot set the label: categories 0x100 are not in the category list");
    QTest::newRow("ehole with a level")
        << "" << "2:0:0:0x4"
        << QByteArray("cannot set the label: special attributes 0x4 do not go with the label 2:0:0x0:0x4 on this file");
    QTest::newRow("directory attribute on a file")
        << "" << "0:0:0:0x1"
        << QByteArray("cannot set the label: special attributes 0x1 do not go with the label 0:0:0x0:0x1 on this file");
    QTest::newRow("missing path") << "missing" << "1:0:0"
                                  << QByteArray("cannot read the label: No such file or directory");
    QTest::newRow("file system without user attributes")
        << "/proc/version" << "1:0:0" << QByteArray("cannot write the label: Operation not supported");
}

// Nothing the form cannot hold is written in its place: the path is named
// with the reason and keeps its label.
void tst_VarnelFileLabel::setRefusesAndNamesThePath()
{
    QFETCH(QString, target);
    QFETCH(QString, label);
    QFETCH(QByteArray, reason);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const QString path = target.isEmpty() ? file : target.startsWith(QLatin1Char('/')) ? target : dir.filePath(target);

    const ProgramRun run = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.errLines(), QList<QByteArray>{"varnel-file-label: " + path.toLocal8Bit() + ": " + reason});
    QCOMPARE(stored(file), QByteArray(before));
}

void tst_VarnelFileLabel::everyPathIsReported()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString first = makeObject(dir, QStringLiteral("first"), before);
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString last = makeObject(dir, QStringLiteral("last"), QByteArray());

    const ProgramRun set = fileLabel({QStringLiteral("--set"), QStringLiteral("3:0:0x80"), first, missing, last});
    QCOMPARE(set.status, 1);
    QCOMPARE(set.errLines(), QList<QByteArray>{"varnel-file-label: " + missing.toLocal8Bit()
                                               + ": cannot read the label: No such file or directory"});
    QCOMPARE(stored(first), QByteArray("3:0:0x80:0x0"));
    QCOMPARE(stored(last), QByteArray("3:0:0x80:0x0"));

    // A value the platform cannot read is a failure too, not a label 0.
    QVERIFY(store(last, "3:zero:0x80:0x0"));
    const ProgramRun get = fileLabel({QStringLiteral("--get"), missing, first, last});
    QCOMPARE(get.status, 1);
    QCOMPARE(get.out, first.toLocal8Bit() + "\t3:0:0x80:0x0\n");
    QVERIFY2(get.err.contains(QByteArray(missing.toLocal8Bit() + ": cannot read the label: No such file or directory\n")),
             get.err.constData());
    QVERIFY2(get.err.contains(QByteArray(last.toLocal8Bit() + ": cannot read the label: its label cannot be read\n")),
             get.err.constData());
}

void tst_VarnelFileLabel::getPrintsTheStoredLabel_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("refusal");

    // Labels the form cannot hold as they are; --set without TYPE would have
    // to change their special attributes where a hole cannot stay on the
    // label written, so it refuses; an attribute of the other kind is kept.
    QTest::newRow("ehole with a level") << QByteArray("1:0:0x1:0x4") << QByteArray("special attributes 0x4");
    QTest::newRow("whole off the root's label") << QByteArray("1:0:0x1:0x8") << QByteArray("special attributes 0x8");
    QTest::newRow("directory attribute on a file") << QByteArray("1:0:0x1:0x1") << QByteArray();
    QTest::newRow("every bit") << QByteArray("255:4294967295:0xffffffffffffffff:0xffff")
                               << QByteArray("special attributes 0x");
}

// --get says what the object holds, even where the form would show it
// otherwise, and --set never drops a special attribute it was told to keep.
void tst_VarnelFileLabel::getPrintsTheStoredLabel()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, refusal);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), old);

    const ProgramRun get = fileLabel({QStringLiteral("--get"), path});
    QCOMPARE(get.err, QByteArray());
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out, path.toLocal8Bit() + '\t' + old + '\n');

    const ProgramRun set = fileLabel({QStringLiteral("--set"), QStringLiteral("2:0:0x2"), path});
    if (refusal.isEmpty()) {
        QCOMPARE(set.err, QByteArray());
        QCOMPARE(set.status, 0);
        QCOMPARE(stored(path), "2:0:0x2:" + old.split(':').constLast());
        return;
    }
    QCOMPARE(set.status, 1);
    QVERIFY2(set.err.startsWith(QByteArray("varnel-file-label: " + path.toLocal8Bit() + ": cannot set the label: " + refusal)),
             set.err.constData());
    QCOMPARE(stored(path), old);
}

void tst_VarnelFileLabel::windowSaysWhenTheFormDiffers()
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

// A name whose bytes are no text in the locale cannot reach the label
// library as it is: said so, not "no such file", and nothing else written.
void tst_VarnelFileLabel::nameNotInTheLocaleIsReported()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QByteArray odd = QFile::encodeName(dir.path()) + "/odd\xff";
    const int made = ::open(odd.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(made >= 0);
    ::close(made);
    QVERIFY(setxattr(odd.constData(), attribute, before, sizeof before - 1, 0) == 0);
    const QString plain = makeObject(dir, QStringLiteral("plain"), before);
    // What the text of the odd name names instead.
    const QString named = QFile::decodeName(odd);
    QVERIFY(store(makeObject(dir, QFileInfo(named).fileName(), QByteArray()), "3:0:0x0:0x0"));

    for (const QStringList &mode : {QStringList{QStringLiteral("--get")},
                                    QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2")}}) {
        // Bytes that are no text go through the shell, not through QProcess,
        // in a locale whose encoding cannot carry them.
        const ProgramRun run(QStringLiteral("/bin/sh"),
                             QStringList{QStringLiteral("-c"),
                                         QStringLiteral("export LC_ALL=C.UTF-8; p=$0 d=$1 f=$2; shift 2; exec \"$p\" \"$@\" "
                                                        "\"$(printf '%s/odd\\377' \"$d\")\" \"$f\""),
                                         QStringLiteral(FILE_LABEL), dir.path(), plain}
                                 << mode);
        // The command line takes the bytes as they are: the odd object
        // itself is read and written, never the one its text names.
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.status, 0);
        if (mode.constFirst() == QLatin1String("--get"))
            QCOMPARE(run.out, odd + '\t' + before + '\n' + plain.toLocal8Bit() + '\t' + before + '\n');
    }
    QCOMPARE(stored(plain), QByteArray("2:0:0x2:0x0"));
    QCOMPARE(stored(named), QByteArray("3:0:0x0:0x0"));

    // The window neither reads nor writes the object the text names.
    {
        FileLabelWindow window({named}, {named});
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("_messageLabel"))->text(),
                 QStringLiteral("Could not read the label of %1: its name is not valid in the locale's encoding.")
                     .arg(named));
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("_applyButton"))->isEnabled());
    }
    char value[64];
    const ssize_t size = getxattr(odd.constData(), attribute, value, sizeof value);
    // QTemporaryDir cannot name it either.
    ::unlink(odd.constData());
    QCOMPARE(QByteArray(value, int(qMax<ssize_t>(size, 0))), QByteArray("2:0:0x2:0x0"));
}

void tst_VarnelFileLabel::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");

    const auto set = [](const char *label) { return QStringList{QStringLiteral("--set"), QString::fromLatin1(label)}; };
    QTest::newRow("two fields") << set("2:1") << QByteArray("malformed label '2:1'");
    QTest::newRow("five fields") << set("2:1:0:0:0") << QByteArray("malformed label '2:1:0:0:0'");
    QTest::newRow("word") << set("a:0:0") << QByteArray("malformed level 'a'");
    QTest::newRow("sign") << set("+1:0:0") << QByteArray("malformed level '+1'");
    QTest::newRow("level beyond 8 bits") << set("256:0:0") << QByteArray("malformed level '256'");
    QTest::newRow("integrity beyond 32 bits") << set("0:4294967296:0") << QByteArray("malformed integrity level");
    QTest::newRow("bare prefix") << set("0:0:0x") << QByteArray("malformed categories '0x'");
    QTest::newRow("type beyond 16 bits") << set("0:0:0:0x10000") << QByteArray("malformed type '0x10000'");
    QTest::newRow("get and set") << QStringList{QStringLiteral("--get"), QStringLiteral("--set"), QStringLiteral("1:0:0")}
                                 << QByteArray("give one of --get, --set and --screenshot");
    QTest::newRow("no path") << QStringList{QStringLiteral("--get"), QStringLiteral("--")} << QByteArray("no path given");
    QTest::newRow("recursion for the window") << QStringList{QStringLiteral("-R")}
                                              << QByteArray("give --recursive with --get or --set");
    QTest::newRow("verbose for the window") << QStringList{QStringLiteral("-v")}
                                            << QByteArray("give --verbose with --get or --set");
    QTest::newRow("one file system without recursion")
        << QStringList{QStringLiteral("--get"), QStringLiteral("--one-file-system")}
        << QByteArray("give --one-file-system with -R");
    QTest::newRow("records for --set") << (set("1:0:0") << QStringLiteral("-z")) << QByteArray("give --null with --get");
    QTest::newRow("names for --set") << (set("1:0:0") << QStringLiteral("--names"))
                                     << QByteArray("give --names with --get");
    QTest::newRow("json and records") << QStringList{QStringLiteral("--get"), QStringLiteral("--json"), QStringLiteral("-z")}
                                      << QByteArray("give --json alone");
    QTest::newRow("json and names") << QStringList{QStringLiteral("--get"), QStringLiteral("--json"), QStringLiteral("--names")}
                                    << QByteArray("give --json alone");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--get"), QStringLiteral("--follow")}
                                    << QByteArray("Unknown option 'follow'.");
}

void tst_VarnelFileLabel::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);

    // A path ends each row's arguments; "--" leaves it out.
    if (arguments.last() == QLatin1String("--"))
        arguments.removeLast();
    else
        arguments << file;
    const ProgramRun run = fileLabel(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.errLines().size(), 1);
    QVERIFY2(run.err.startsWith(QByteArray("varnel-file-label: " + message)), run.err.constData());
    QCOMPARE(stored(file), QByteArray(before));
}

void tst_VarnelFileLabel::windowAppliesRevertsAndReports()
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

void tst_VarnelFileLabel::windowTreeHoldsOnlyTheShownForm()
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

void tst_VarnelFileLabel::windowFiltersAndNamesTheCategories()
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

void tst_VarnelFileLabel::windowKeepsTheFocusOnTheForm_data()
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
void tst_VarnelFileLabel::windowKeepsTheFocusOnTheForm()
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

void tst_VarnelFileLabel::screenshotRendersTheWindow()
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

void tst_VarnelFileLabel::withoutDisplayOnlyTheWindowIsRefused()
{
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const ProgramRun window = ProgramRun::withoutDisplay(QStringLiteral(FILE_LABEL), {file});
    QCOMPARE(window.status, 2);
    QCOMPARE(window.err, QByteArray("varnel-file-label: no display to show the window on: use --get or --set\n"));
    const ProgramRun get = ProgramRun::withoutDisplay(QStringLiteral(FILE_LABEL), {QStringLiteral("--get"), file});
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out, file.toLocal8Bit() + '\t' + before + '\n');
}

void tst_VarnelFileLabel::windowMarksEdits_data()
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
void tst_VarnelFileLabel::windowMarksEdits()
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

void tst_VarnelFileLabel::windowRefusesAReplacedObject_data()
{
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QByteArray>("label");

    QTest::newRow("another file") << "file" << QByteArray("3:0:0x80:0x10");
    QTest::newRow("a directory") << "dir" << QByteArray("2:0:0x3:0x21");
    QTest::newRow("nothing") << "" << QByteArray("none");
}

// The form was read from one object: it is never written onto another one
// put in its place, and Revert reads the one the path names now.
void tst_VarnelFileLabel::windowRefusesAReplacedObject()
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

void tst_VarnelFileLabel::windowWithAFailedPath_data()
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
void tst_VarnelFileLabel::windowWithAFailedPath()
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

void tst_VarnelFileLabel::windowFitsTheScreenInTabOrder_data()
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
void tst_VarnelFileLabel::windowFitsTheScreenInTabOrder()
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
void tst_VarnelFileLabel::windowShowsLongNamesInFull()
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

void tst_VarnelFileLabel::windowWalkWritesOnlyEdits_data()
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
void tst_VarnelFileLabel::windowWalkWritesOnlyEdits()
{
    QFETCH(quint32, seed);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QStringList paths{makeObject(dir, QStringLiteral("file"), "1:0:0x1:0x10010"),
                            makeObject(dir, QStringLiteral("dir"), "2:63:0x6:0x41"),
                            makeObject(dir, QStringLiteral("other"), "0:0:0x0:0x0")};
    // A stored label as a form shows it, and its type's high half apart.
    const auto formOf = [](const QByteArray &object, quint32 *high = nullptr) {
        const QList<QByteArray> parts = object.split(':');
        FileLabel label;
        label.level = mac_lev_t(parts.at(0).toUInt());
        label.ilevel = parts.at(1).toUInt();
        label.categories = parts.at(2).toULongLong(nullptr, 16);
        label.type = uint16_t(parts.at(3).toUInt(nullptr, 16));
        if (high)
            *high = parts.at(3).toUInt(nullptr, 16) >> 16;
        return label;
    };
    // What each object holds and what each form holds, as the window should
    // have them; a form not yet shown will show its object.
    QList<FileLabel> objects;
    QList<quint32> highs;
    for (const QString &path : paths) {
        highs << 0;
        objects << formOf(stored(path), &highs.last());
    }
    QList<FileLabel> forms = objects;
    QRandomGenerator random(seed);
    // The ways of leaving a form taken, each with its answer.
    QSet<QString> answered;
    {
        FileLabelWindow window(paths);
        WindowParts parts(window);
        QVERIFY(parts.show());
        for (int step = 0; step < 300; ++step) {
            const int index = window.current();
            FileLabel &form = forms[index];
            const bool edited = !(form == objects.at(index));
            const QMessageBox::StandardButton answers[] = {QMessageBox::Apply, QMessageBox::Discard,
                                                           QMessageBox::Cancel};
            const int choice = random.bounded(3);
            const QMessageBox::StandardButton answer = answers[choice];
            QString done;
            switch (random.bounded(9)) {
            case 0:
                form.level = mac_lev_t(random.bounded(4));
                done = QStringLiteral("level=%1").arg(uint(form.level));
                break;
            case 1:
                form.ilevel = random.bounded(2) ? 63 : 0;
                done = QStringLiteral("integrity=%1").arg(form.ilevel);
                break;
            case 2: {
                const int row = random.bounded(8);
                form.categories ^= mac_cat_t(1) << row;
                done = QStringLiteral("category=%1").arg(row);
                break;
            }
            case 3:
                // Attributes that leave the rest of the label alone.
                form.type ^= index == 1 ? 0x1 : 0x10;
                done = index == 1 ? QStringLiteral("attribute=ccnr") : QStringLiteral("attribute=silev");
                break;
            case 4:
                done = QStringLiteral("Apply");
                QCOMPARE(window.apply(), edited);
                objects[index] = form;
                break;
            case 5:
                done = QStringLiteral("Revert");
                QCOMPARE(parts.revert->isEnabled(), edited);
                window.revert();
                form = objects.at(index);
                break;
            default: {
                const QString ways[] = {QStringLiteral("previous"), QStringLiteral("next"), QStringLiteral("close")};
                const int way = random.bounded(3);
                const int to = way == 0 ? index - 1 : way == 1 ? index + 1 : index;
                if (to < 0 || to >= paths.size()) {
                    QVERIFY(!(way == 0 ? parts.previous : parts.next)->isEnabled());
                    break;
                }
                const QString names[] = {QStringLiteral(" Apply"), QStringLiteral(" Discard"), QStringLiteral(" Cancel")};
                done = ways[way] + (edited ? names[choice] : QStringLiteral(" unedited"));
                QCOMPARE(parts.leave(ways[way], answer), edited ? question(paths.at(index)) : QString());
                const bool moved = way < 2 ? window.current() == to : !window.isVisible();
                QCOMPARE(moved, !edited || answer != QMessageBox::Cancel);
                answered.insert(done);
                if (edited && moved && answer == QMessageBox::Apply)
                    objects[index] = form;
                else if (moved)
                    form = objects.at(index);
                window.show();
                break;
            }
            }
            if (done.contains(QLatin1Char('=')))
                edit(parts.form(), done);
            const QString where = QStringLiteral("step %1 (%2) on %3").arg(step).arg(done).arg(window.current());
            for (int path = 0; path < paths.size(); ++path) {
                quint32 high = 0;
                QVERIFY2(formOf(stored(paths.at(path)), &high) == objects.at(path) && high == highs.at(path),
                         qPrintable(where));
            }
            const int now = window.current();
            QVERIFY2(LabelEditor(parts.form()).shown() == forms.at(now), qPrintable(where));
            QVERIFY2(parts.editSigns() == (forms.at(now) == objects.at(now) ? QString() : allEditSigns),
                     qPrintable(where));
        }
    }
    // The walk left each form by each way, unedited and with each answer.
    QVERIFY2(answered.size() == 12, qPrintable(answered.values().join(QLatin1String(", "))));
}


void tst_VarnelFileLabel::pathsAreEscaped_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("escaped");

    QTest::newRow("plain") << QByteArray("dir/notes.txt") << QByteArray("dir/notes.txt");
    QTest::newRow("line feed") << QByteArray("a\nb") << QByteArray("a\\012b");
    QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("a\\011b");
    QTest::newRow("backslash") << QByteArray("a\\012") << QByteArray("a\\\\012");
    QTest::newRow("carriage return and escape") << QByteArray("\r\x1b") << QByteArray("\\015\\033");
    QTest::newRow("delete") << QByteArray("x\x7f") << QByteArray("x\\177");
    QTest::newRow("bytes above ASCII stay") << QByteArray("\xc3\xbc\xff") << QByteArray("\xc3\xbc\xff");
    QTest::newRow("blank and quotes stay") << QByteArray("a b\"c'") << QByteArray("a b\"c'");
}

// Each record of --get is one line, whatever bytes a name holds.
void tst_VarnelFileLabel::pathsAreEscaped()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, escaped);
    QCOMPARE(LabelCommand::escaped(path), escaped);
    QVERIFY(!escaped.contains('\n') && !escaped.contains('\t'));
}

void tst_VarnelFileLabel::getRecordsKeepEveryName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("escaped");

    QTest::newRow("line feed") << QByteArray("a\nb") << QByteArray("a\\012b");
    QTest::newRow("tab") << QByteArray("c\td") << QByteArray("c\\011d");
    QTest::newRow("backslash") << QByteArray("e\\f") << QByteArray("e\\\\f");
    QTest::newRow("last line feed") << QByteArray("g\n") << QByteArray("g\\012");
}

// --set reaches each such name, --get writes it escaped by default and as
// it is with -z, and nothing else on the way is labelled.
void tst_VarnelFileLabel::getRecordsKeepEveryName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, escaped);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QByteArray odd = makeRaw(dir, name, before);
    const QByteArray plain = makeRaw(dir, "plain", before);
    const QByteArray prefix = QFile::encodeName(dir.path()) + '/';

    const ProgramRun set = shell(QStringLiteral("exec \"$p\" --set 2:0:0x2 \"$a0\""), {odd});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    QCOMPARE(storedRaw(odd), QByteArray("2:0:0x2:0x0"));
    QCOMPARE(storedRaw(plain), QByteArray(before));

    const ProgramRun lines = shell(QStringLiteral("exec \"$p\" --get \"$a0\" \"$a1\""), {odd, plain});
    QCOMPARE(lines.status, 0);
    QCOMPARE(lines.out, prefix + escaped + "\t2:0:0x2:0x0\n" + plain + "\t1:0:0x1:0x0\n");
    const ProgramRun records = shell(QStringLiteral("exec \"$p\" -z --get \"$a0\" \"$a1\""), {odd, plain});
    QCOMPARE(records.status, 0);
    QCOMPARE(records.out, odd + "\t2:0:0x2:0x0" + '\0' + plain + "\t1:0:0x1:0x0" + '\0');

    // A failure names the path escaped too, on one line of its own.
    QVERIFY(::unlink(odd.constData()) == 0);
    const ProgramRun missing = shell(QStringLiteral("exec \"$p\" --get \"$a0\""), {odd});
    QCOMPARE(missing.status, 1);
    QCOMPARE(missing.errLines(),
             QList<QByteArray>{"varnel-file-label: " + prefix + escaped + ": cannot read the label: No such file or directory"});
}

void tst_VarnelFileLabel::outputThatCannotBeWrittenFails_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("lines") << "--get";
    QTest::newRow("records") << "--get -z";
    QTest::newRow("names") << "--get --names";
    QTest::newRow("json") << "--get --json";
    QTest::newRow("recursive") << "--get -R";
}

// A full disk is a failure, not a success with nothing written.
void tst_VarnelFileLabel::outputThatCannotBeWrittenFails()
{
    QFETCH(QString, options);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const ProgramRun run = shell(QStringLiteral("exec \"$p\" %1 \"$a0\" > /dev/full").arg(options), {QFile::encodeName(file)});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.errLines(), QList<QByteArray>{"varnel-file-label: cannot write the output: No space left on device"});
    QCOMPARE(stored(file), QByteArray(before));

    // The same to a place that takes it.
    const ProgramRun fine = shell(QStringLiteral("exec \"$p\" %1 \"$a0\" > /dev/null").arg(options), {QFile::encodeName(file)});
    QCOMPARE(fine.err, QByteArray());
    QCOMPARE(fine.status, 0);
}

void tst_VarnelFileLabel::displayThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QByteArray>("display");

    QTest::newRow("X display") << "DISPLAY=:987 QT_QPA_PLATFORM=" << QByteArray(":987");
    QTest::newRow("X display named as the platform") << "DISPLAY=:987 QT_QPA_PLATFORM=xcb" << QByteArray(":987");
    QTest::newRow("platform without its plugin") << "WAYLAND_DISPLAY=nowhere QT_QPA_PLATFORM=nonesuch"
                                                 << QByteArray("nowhere");
}

// The window's exit status when the display named cannot be opened is the
// one --help promises, with one line on stderr, and --get still works there.
void tst_VarnelFileLabel::displayThatCannotBeOpened()
{
    QFETCH(QString, environment);
    QFETCH(QByteArray, display);
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const QString unset = QStringLiteral("unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; export %1; ").arg(environment);
    const ProgramRun window = shell(unset + QStringLiteral("exec \"$p\" \"$a0\""), {QFile::encodeName(file)});
    QCOMPARE(window.status, 2);
    QCOMPARE(window.out, QByteArray());
    QCOMPARE(window.err, "varnel-file-label: cannot open the display '" + display
                             + "' to show the window on: use --get or --set\n");
    const ProgramRun get = shell(unset + QStringLiteral("exec \"$p\" --get \"$a0\""), {QFile::encodeName(file)});
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out, QFile::encodeName(file) + '\t' + before + '\n');
    QCOMPARE(stored(file), QByteArray(before));
}

void tst_VarnelFileLabel::systemReasonIsNamed_data()
{
    QTest::addColumn<QStringList>("mode");
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("get") << QStringList{QStringLiteral("--get")}
                         << QByteArray("cannot read the label: Permission denied");
    QTest::newRow("set keeping the type") << QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2")}
                                          << QByteArray("cannot read the label: Permission denied");
    QTest::newRow("set with a type") << QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2:0x0")}
                                     << QByteArray("cannot write the label: Permission denied");
    QTest::newRow("json") << QStringList{QStringLiteral("--get"), QStringLiteral("--json")}
                          << QByteArray("cannot read the label: Permission denied");
}

// A user who may not read an object's attribute is told so, in the system's
// words, and nothing is written.
void tst_VarnelFileLabel::systemReasonIsNamed()
{
    QFETCH(QStringList, mode);
    QFETCH(QByteArray, reason);
    StandinPolicy policy;
    QVERIFY(handOver(policy.path(), false));
    QTemporaryDir dir;
    QVERIFY(handOver(dir.path(), false));
    // Root's own file, unreadable to others; one's own without any rights.
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    QVERIFY(QFile::setPermissions(file, privileged() ? QFile::ReadOwner | QFile::WriteOwner : QFileDevice::Permissions()));

    const ProgramRun run = unprivileged(mode << file);
    QCOMPARE(run.status, 1);
    QCOMPARE(ownLines(run), QList<QByteArray>{file.toLocal8Bit() + ": " + reason});
    if (mode.contains(QLatin1String("--json")))
        QCOMPARE(run.out, "{\"path\":\"" + file.toLocal8Bit() + "\",\"error\":\"" + reason + "\"}\n");
    else
        QCOMPARE(run.out, QByteArray());
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(stored(file), QByteArray(before));
}

void tst_VarnelFileLabel::typeReplacesAnUnreadableLabel_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("label");
    // The label afterwards; empty where the path fails.
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("reason");

    const QByteArray keep =
        "cannot read the label: its label cannot be read; a label with TYPE (LEVEL:ILEVEL:CATEGORIES:TYPE) replaces it";
    QTest::newRow("garbage, with a type") << "file" << QByteArray("garbage") << "1:0:0x1:0x0"
                                          << QByteArray("1:0:0x1:0x0") << QByteArray();
    QTest::newRow("garbage, with attributes") << "file" << QByteArray("garbage") << "0:0:0:0x14"
                                              << QByteArray("0:0:0x0:0x14") << QByteArray();
    QTest::newRow("too many fields, on a directory") << "dir" << QByteArray("1:0:0:0:0") << "2:0:0x2:0x1"
                                                      << QByteArray("2:0:0x2:0x1") << QByteArray();
    QTest::newRow("garbage, without a type") << "file" << QByteArray("garbage") << "1:0:0x1" << QByteArray() << keep;
    // Longer than a first read takes, which leaves no reason of its own.
    QTest::newRow("long garbage, without a type") << "file" << QByteArray("1:0:0:" + QByteArray(200, 'x')) << "1:0:0x1"
                                                  << QByteArray() << keep;
    QTest::newRow("field too wide, without a type") << "dir" << QByteArray("256:0:0:0") << "1:0:0x1" << QByteArray()
                                                    << keep;
    // What replaces it is checked as everything else is.
    QTest::newRow("garbage, a level not in the list")
        << "file" << QByteArray("garbage") << "9:0:0:0" << QByteArray()
        << QByteArray("cannot set the label: level 9 is not in the level list");
    QTest::newRow("garbage, a hidden attribute")
        << "dir" << QByteArray("garbage") << "1:0:0x1:0x20" << QByteArray()
        << QByteArray("cannot set the label: special attributes 0x20 are not offered on this directory unless it "
                      "holds them already");
}

void tst_VarnelFileLabel::typeReplacesAnUnreadableLabel()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, old);
    QFETCH(QString, label);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, reason);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, kind, old);
    QCOMPARE(stored(path), old);

    const ProgramRun run = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(run.status, written.isEmpty() ? 1 : 0);
    QCOMPARE(ownLines(run),
             written.isEmpty() ? QList<QByteArray>{path.toLocal8Bit() + ": " + reason} : QList<QByteArray>());
    QCOMPARE(stored(path), written.isEmpty() ? old : written);
}

void tst_VarnelFileLabel::hiddenAttributesAreRefused_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("hidden");

    QTest::newRow("both added") << false << QByteArray("1:0:0x1:0x0") << "1:0:0:0x22" << QByteArray() << QByteArray("22");
    QTest::newRow("irelax added, ccnri held") << false << QByteArray("1:0:0x1:0x2") << "1:0:0:0x22" << QByteArray()
                                              << QByteArray("20");
    QTest::newRow("both held") << false << QByteArray("1:0:0x1:0x22") << "2:0:0:0x23"
                               << QByteArray("2:0:0x0:0x23") << QByteArray();
    QTest::newRow("kept without a type") << false << QByteArray("1:0:0x1:0x22") << "3:0:0x4"
                                         << QByteArray("3:0:0x4:0x22") << QByteArray();
    QTest::newRow("dropped") << false << QByteArray("1:0:0x1:0x22") << "1:0:0x1:0x1" << QByteArray("1:0:0x1:0x1")
                             << QByteArray();
    QTest::newRow("ccnr and other bits are always offered") << false << QByteArray("1:0:0x1:0x0") << "1:0:0:0x41"
                                                            << QByteArray("1:0:0x0:0x41") << QByteArray();
    QTest::newRow("strict mode offers irelax") << true << QByteArray("1:0:0x1:0x0") << "1:0:0:0x20"
                                               << QByteArray("1:0:0x0:0x20") << QByteArray();
    QTest::newRow("strict mode hides ccnri") << true << QByteArray("1:0:0x1:0x0") << "1:0:0:0x2" << QByteArray()
                                             << QByteArray("2");
}

// A directory gets no special attribute whose row the window hides from it,
// unless it holds it already.
void tst_VarnelFileLabel::hiddenAttributesAreRefused()
{
    QFETCH(bool, strict);
    QFETCH(QByteArray, old);
    QFETCH(QString, label);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, hidden);
    StandinPolicy policy;
    if (strict)
        policy.write("system", "strict_mode=1\n");
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("dir"), old);

    const ProgramRun run = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(run.status, written.isEmpty() ? 1 : 0);
    QCOMPARE(run.errLines(),
             written.isEmpty() ? QList<QByteArray>{"varnel-file-label: " + path.toLocal8Bit()
                                                   + ": cannot set the label: special attributes 0x" + hidden
                                                   + " are not offered on this directory unless it holds them already"}
                               : QList<QByteArray>());
    QCOMPARE(stored(path), written.isEmpty() ? old : written);
}

void tst_VarnelFileLabel::oneRunMixesKindsAndCases_data()
{
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<QString>("label");
    // One word per object: its label afterwards, or "refused".
    QTest::addColumn<QStringList>("after");

    const QString refused = QStringLiteral("refused");
    // Alike for both kinds, so that the kind need not be asked; then a
    // label whose attribute only a directory takes.
    QTest::newRow("file then directory, alike") << QStringList{"file", "dir", "file2"} << "2:0:0x2:0x0"
                                                << QStringList{"2:0:0x2:0x0", "2:0:0x2:0x0", "2:0:0x2:0x0"};
    QTest::newRow("file then directory, ccnr") << QStringList{"file", "dir", "file2", "dir2"} << "2:0:0x2:0x1"
                                               << QStringList{refused, "2:0:0x2:0x1", refused, "2:0:0x2:0x1"};
    QTest::newRow("directory then file, ccnr") << QStringList{"dir", "file", "dir2"} << "2:0:0x2:0x1"
                                               << QStringList{"2:0:0x2:0x1", refused, "2:0:0x2:0x1"};
    QTest::newRow("silev, file only") << QStringList{"dir", "file"} << "1:0:0x1:0x10"
                                      << QStringList{refused, "1:0:0x1:0x10"};
    // Without a type each object keeps its own, one case each.
    QTest::newRow("kept attributes, mixed") << QStringList{"file", "ccnr-dir", "silev-file", "dir"} << "3:63:0x80"
                                            << QStringList{"3:63:0x80:0x0", "3:63:0x80:0x1", "3:63:0x80:0x10",
                                                           "3:63:0x80:0x0"};
    // A type given is the type stored, an attribute of the other kind held
    // or not.
    QTest::newRow("a file holding a directory's attribute") << QStringList{"ccnr-file", "file"} << "3:0:0x0:0x10"
                                                            << QStringList{"3:0:0x0:0x10", "3:0:0x0:0x10"};
    QTest::newRow("kept without a type, changed with one")
        << QStringList{"ccnr-file", "ccnr-dir"} << "2:0:0x1:0x0" << QStringList{"2:0:0x1:0x0", "2:0:0x1:0x0"};
}

// One run over objects of both kinds and with various labels checks each
// against its own kind and label, whatever came before it.
void tst_VarnelFileLabel::oneRunMixesKindsAndCases()
{
    QFETCH(QStringList, objects);
    QFETCH(QString, label);
    QFETCH(QStringList, after);
    StandinPolicy policy;
    QTemporaryDir dir;
    QStringList paths;
    QList<QByteArray> olds;
    for (const QString &object : objects) {
        const QByteArray old = object.startsWith(QLatin1String("ccnr")) ? "1:0:0x1:0x1"
            : object.startsWith(QLatin1String("silev"))                 ? "1:0:0x1:0x10"
                                                                        : "1:0:0x1:0x0";
        const QString named = dir.filePath(object);
        if (object.contains(QLatin1String("dir")))
            QVERIFY(QDir().mkdir(named));
        else
            QVERIFY(QFile(named).open(QIODevice::WriteOnly));
        QVERIFY(store(named, old));
        paths << named;
        olds << old;
    }
    const ProgramRun run = fileLabel(QStringList{QStringLiteral("--set"), label} << paths);
    QCOMPARE(run.status, after.contains(QStringLiteral("refused")) ? 1 : 0);
    QCOMPARE(ownLines(run).size(), after.count(QStringLiteral("refused")));
    for (int i = 0; i < paths.size(); ++i) {
        QCOMPARE(stored(paths.at(i)), after.at(i) == QLatin1String("refused") ? olds.at(i) : after.at(i).toLatin1());
        if (after.at(i) == QLatin1String("refused"))
            QVERIFY2(run.err.contains(QByteArray(paths.at(i).toLocal8Bit() + ": cannot set the label: ")), run.err.constData());
    }
}

void tst_VarnelFileLabel::recursionStaysInTheTree_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("unreadable");

    QTest::newRow("get") << QStringList{QStringLiteral("--get")} << false;
    QTest::newRow("get, verbose") << QStringList{QStringLiteral("--get"), QStringLiteral("-v")} << false;
    QTest::newRow("set") << QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2")} << false;
    QTest::newRow("set, verbose") << QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2"), QStringLiteral("-v")}
                                  << false;
    QTest::newRow("set, with an unreadable directory")
        << QStringList{QStringLiteral("--set"), QStringLiteral("2:0:0x2"), QStringLiteral("-v")} << true;
    QTest::newRow("get, with an unreadable directory") << QStringList{QStringLiteral("--get")} << true;
}

// -R does every object below the named directory and nothing outside it: a
// link to a directory elsewhere is not followed, a fifo is skipped, an
// unreadable directory is named and the rest still done.
void tst_VarnelFileLabel::recursionStaysInTheTree()
{
    QFETCH(QStringList, options);
    QFETCH(bool, unreadable);
    const bool set = options.contains(QLatin1String("--set"));
    const bool verbose = options.contains(QLatin1String("-v"));
    StandinPolicy policy;
    QVERIFY(handOver(policy.path(), false));
    QTemporaryDir dir;
    QTemporaryDir outside;
    const QString top = dir.filePath(QStringLiteral("top"));
    for (const char *sub : {"top", "top/sub", "top/sub/deep", "top/.hidden", "top/locked"})
        QVERIFY(QDir().mkdir(dir.filePath(QLatin1String(sub))));
    const QStringList files{QStringLiteral("top/a"), QStringLiteral("top/sub/b"), QStringLiteral("top/.hidden/c"),
                            QStringLiteral("top/locked/d")};
    for (const QString &file : files)
        makeObject(dir, file, before);
    for (const char *labelled : {"top", "top/sub", "top/sub/deep", "top/.hidden", "top/locked"})
        QVERIFY(store(dir.filePath(QLatin1String(labelled)), before));
    const QString far = makeObject(outside, QStringLiteral("far"), before);
    QVERIFY(QFile::link(outside.path(), dir.filePath(QStringLiteral("top/link"))));
    QVERIFY(QFile::link(far, dir.filePath(QStringLiteral("top/filelink"))));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("top/fifo"))).constData(), 0644) == 0);
    QVERIFY(handOver(dir.path()));
    QVERIFY(handOver(outside.path()));
    if (unreadable)
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("top/locked"))).constData(), 0) == 0);

    const ProgramRun run = unprivileged(QStringList{QStringLiteral("-R")} << options << top);
    QCOMPARE(run.status, unreadable ? 1 : 0);

    // Every object in the tree, in byte order, each directory first.
    const QStringList inTree{QStringLiteral("top"), QStringLiteral("top/.hidden"), QStringLiteral("top/.hidden/c"),
                             QStringLiteral("top/a"), QStringLiteral("top/locked"), QStringLiteral("top/locked/d"),
                             QStringLiteral("top/sub"), QStringLiteral("top/sub/b"), QStringLiteral("top/sub/deep")};
    QList<QByteArray> expectedErr;
    const QByteArray locked = dir.filePath(QStringLiteral("top/locked")).toLocal8Bit();
    if (verbose) {
        expectedErr << dir.filePath(QStringLiteral("top/fifo")).toLocal8Bit() + ": skipped: a fifo"
                    << dir.filePath(QStringLiteral("top/filelink")).toLocal8Bit() + ": skipped: a symbolic link"
                    << dir.filePath(QStringLiteral("top/link")).toLocal8Bit() + ": skipped: a symbolic link";
    }
    if (unreadable) {
        // Its own label is as unreadable as what it holds, to one without
        // rights on it.
        expectedErr << locked + ": cannot read the label: Permission denied"
                    << locked + ": cannot read the directory: Permission denied";
    }
    QCOMPARE(ownLines(run), expectedErr);

    QByteArray expectedOut;
    for (const QString &object : inTree) {
        const bool hidden = unreadable && object.startsWith(QLatin1String("top/locked"));
        const QByteArray path = dir.filePath(object).toLocal8Bit();
        if (!set && !hidden)
            expectedOut += path + '\t' + before + '\n';
        if (unreadable)
            ::chmod(locked.constData(), 0755);
        QCOMPARE(stored(dir.filePath(object)), QByteArray(set && !hidden ? "2:0:0x2:0x0" : before));
        if (unreadable)
            ::chmod(locked.constData(), 0);
    }
    QCOMPARE(run.out, expectedOut);
    QCOMPARE(stored(far), QByteArray(before));
    QCOMPARE(stored(outside.path()), QByteArray("none"));
    ::chmod(locked.constData(), 0755);
}

// --one-file-system leaves out what is mounted below the named directory.
void tst_VarnelFileLabel::recursionStaysOnOneFileSystem()
{
    // A mount point below /dev, as most systems and containers have.
    struct stat top;
    QVERIFY(::stat("/dev", &top) == 0);
    QString mounted;
    for (const char *candidate : {"/dev/shm", "/dev/pts", "/dev/mqueue", "/dev/hugepages"}) {
        struct stat status;
        if (::lstat(candidate, &status) == 0 && S_ISDIR(status.st_mode) && status.st_dev != top.st_dev) {
            mounted = QLatin1String(candidate);
            break;
        }
    }
    if (mounted.isEmpty())
        QSKIP("no file system is mounted below /dev here");

    const ProgramRun run = fileLabel({QStringLiteral("--get"), QStringLiteral("-R"), QStringLiteral("-v"),
                                      QStringLiteral("--one-file-system"), QStringLiteral("/dev")});
    QVERIFY2(run.err.contains(QByteArray("varnel-file-label: " + mounted.toLocal8Bit() + ": skipped: on another file system\n")),
             run.err.constData());
    QVERIFY2(!run.out.contains(QByteArray(mounted.toLocal8Bit() + '\t')) && !run.out.contains(QByteArray(mounted.toLocal8Bit() + '/')),
             run.out.constData());
    QVERIFY(run.out.startsWith("/dev\t"));

    // Without it the walk goes in.
    const ProgramRun all = fileLabel({QStringLiteral("--get"), QStringLiteral("-R"), QStringLiteral("/dev")});
    QVERIFY2(all.out.contains(QByteArray(mounted.toLocal8Bit() + '\t')), all.out.constData());
}

void tst_VarnelFileLabel::recursionGivesEachKindItsAttributes_data()
{
    QTest::addColumn<QStringList>("options");
    // The labels afterwards of top, top/dir and top/file; "refused" where
    // the object keeps its own.
    QTest::addColumn<QStringList>("after");

    const QString set = QStringLiteral("--set");
    const QString refused = QStringLiteral("refused");
    QTest::newRow("ccnr and silev") << QStringList{set, QStringLiteral("1:0:0x1:0x11"), QStringLiteral("-R")}
                                    << QStringList{"1:0:0x1:0x1", "1:0:0x1:0x1", "1:0:0x1:0x10"};
    QTest::newRow("other bits to both") << QStringList{set, QStringLiteral("1:0:0x1:0x41"), QStringLiteral("-R")}
                                        << QStringList{"1:0:0x1:0x41", "1:0:0x1:0x41", "1:0:0x1:0x40"};
    QTest::newRow("none for a file") << QStringList{set, QStringLiteral("2:0:0x0:0x1"), QStringLiteral("-R")}
                                     << QStringList{"2:0:0x0:0x1", "2:0:0x0:0x1", "2:0:0x0:0x0"};
    // What the label itself cannot carry is refused as ever.
    QTest::newRow("ehole with a level") << QStringList{set, QStringLiteral("2:0:0x0:0x5"), QStringLiteral("-R")}
                                        << QStringList{"2:0:0x0:0x1", "2:0:0x0:0x1", refused};
    // Named without -R, a path gets exactly what is given, or fails.
    QTest::newRow("named alone") << QStringList{set, QStringLiteral("1:0:0x1:0x11")}
                                 << QStringList{refused, refused, refused};
}

void tst_VarnelFileLabel::recursionGivesEachKindItsAttributes()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, after);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString top = dir.filePath(QStringLiteral("top"));
    QVERIFY(QDir().mkdir(top));
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("top/dir"))));
    makeObject(dir, QStringLiteral("top/file"), QByteArray());
    const QStringList paths{top, dir.filePath(QStringLiteral("top/dir")), dir.filePath(QStringLiteral("top/file"))};
    for (const QString &path : paths)
        QVERIFY(store(path, before));

    const bool recursive = options.contains(QLatin1String("-R"));
    const ProgramRun run = fileLabel(options << (recursive ? QStringList{top} : paths));
    QCOMPARE(run.status, after.contains(QStringLiteral("refused")) ? 1 : 0);
    QCOMPARE(ownLines(run).size(), after.count(QStringLiteral("refused")));
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(stored(paths.at(i)), after.at(i) == QLatin1String("refused") ? QByteArray(before) : after.at(i).toLatin1());
}

void tst_VarnelFileLabel::namesRoundTrip_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("named");

    QTest::newRow("names") << "L2:High:C0,C2" << QByteArray("2:63:0x5:0x0") << QByteArray("L2:High:C0,C2:0x0");
    QTest::newRow("numbers") << "2:63:0x5" << QByteArray("2:63:0x5:0x0") << QByteArray("L2:High:C0,C2:0x0");
    QTest::newRow("names and numbers mixed") << "3:Low:C7,0x2,C0:0x10" << QByteArray("3:0:0x83:0x10")
                                             << QByteArray("L3:Low:C0,C1,C7:0x10");
    QTest::newRow("no categories") << "L0:0:0" << QByteArray("0:0:0x0:0x0") << QByteArray("L0:Low:0x0:0x0");
    // An integrity level, a level and a category without a name stay numbers.
    QTest::newRow("unnamed values") << "L1:17:C1,0x100" << QByteArray("1:17:0x102:0x0")
                                    << QByteArray("L1:17:C1,0x100:0x0");
    QTest::newRow("a name shared is a number") << "4:0:0x200" << QByteArray("4:0:0x200:0x0")
                                               << QByteArray("4:Low:0x200:0x0");
}

// Labels written with names read back with the same names, and numbers
// and names mean the same.
void tst_VarnelFileLabel::namesRoundTrip()
{
    QFETCH(QString, label);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, named);
    StandinPolicy policy;
    // A category and a level without a name; two levels and two categories
    // sharing one.
    policy.write("levels", "0:L0\n1:L1\n2:L2\n3:L3\n4:Twin\n5:Twin\n");
    policy.write("categories", StandinPolicy::defaultFile("categories") + "0x100\n0x200:Twin\n0x400:Twin\n");
    policy.write("mac-users", "*:0:0:5:0x7ff\n");
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), before);

    const ProgramRun set = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    QCOMPARE(stored(path), written);

    const ProgramRun get = fileLabel({QStringLiteral("--get"), QStringLiteral("--names"), path});
    QCOMPARE(get.err, QByteArray());
    QCOMPARE(get.out, path.toLocal8Bit() + '\t' + named + '\n');

    // What --names prints, --set takes back to the same label.
    QVERIFY(store(path, before));
    const ProgramRun again = fileLabel({QStringLiteral("--set"), QString::fromLatin1(named), path});
    QCOMPARE(again.err, QByteArray());
    QCOMPARE(stored(path), written);
}

void tst_VarnelFileLabel::namesTheCommandLineRefuses_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("unknown level") << "Top:0:0"
                                   << QByteArray("malformed level 'Top' in label 'Top:0:0': a decimal or 0x-prefixed "
                                                 "number up to 255 or a name (no level of the policy is named 'Top')");
    QTest::newRow("shared level") << "Twin:0:0"
                                  << QByteArray("malformed level 'Twin' in label 'Twin:0:0': a decimal or 0x-prefixed "
                                                "number up to 255 or a name (the level name 'Twin' is shared by 4 and 5)");
    QTest::newRow("unknown integrity level") << "L1:Middle:0" << QByteArray("malformed integrity level 'Middle'");
    QTest::newRow("unknown category") << "L1:0:C0,C9" << QByteArray("malformed categories 'C0,C9'");
    QTest::newRow("shared category")
        << "L1:0:Twin" << QByteArray("malformed categories 'Twin' in label 'L1:0:Twin': a decimal or 0x-prefixed number "
                                     "up to 18446744073709551615 or a name (the category name 'Twin' is shared by 0x200 "
                                     "and 0x400)");
    QTest::newRow("empty category") << "L1:0:C0,,C1" << QByteArray("malformed categories 'C0,,C1'");
    QTest::newRow("name case matters") << "l1:0:0" << QByteArray("malformed level 'l1'");
    QTest::newRow("type has no names") << "L1:0:0:ccnr" << QByteArray("malformed type 'ccnr'");
}

void tst_VarnelFileLabel::namesTheCommandLineRefuses()
{
    QFETCH(QString, label);
    QFETCH(QByteArray, message);
    StandinPolicy policy;
    policy.write("levels", "0:L0\n1:L1\n2:L2\n3:L3\n4:Twin\n5:Twin\n");
    policy.write("categories", StandinPolicy::defaultFile("categories") + "0x200:Twin\n0x400:Twin\n");
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), before);
    const ProgramRun run = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.errLines().size(), 1);
    QVERIFY2(run.err.startsWith(QByteArray("varnel-file-label: " + message)), run.err.constData());
    QCOMPARE(stored(path), QByteArray(before));
}

void tst_VarnelFileLabel::jsonRecords_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("label");
    // The record with PATH standing for the path's JSON value.
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("path");

    const QByteArray named = R"("names":{"level":"L2","integrity":"High","categories":["C0","C2"]})";
    QTest::newRow("plain") << QByteArray("plain") << QByteArray("2:63:0x5:0x10")
                           << R"({"path":PATH,"level":2,"integrity":63,"categories":5,"type":16,)" + named + '}'
                           << QByteArray("\"DIR/plain\"");
    QTest::newRow("quote, backslash and line feed")
        << QByteArray("q\"b\\n\nx") << QByteArray("2:63:0x5:0x10")
        << R"({"path":PATH,"level":2,"integrity":63,"categories":5,"type":16,)" + named + '}'
        << QByteArray(R"("DIR/q\"b\\n\u000ax")");
    QTest::newRow("bytes the locale cannot carry")
        << QByteArray("o\xff") << QByteArray("2:63:0x5:0x10")
        << R"({"path":PATH,"level":2,"integrity":63,"categories":5,"type":16,)" + named + '}'
        << QByteArray("BYTES,111,255]");
    // Every category: a mask beyond what a double keeps exactly.
    QTest::newRow("every category")
        << QByteArray("all") << QByteArray("0:0:0xffffffffffffffff:0x0")
        << R"({"path":PATH,"level":0,"integrity":0,"categories":18446744073709551615,"type":0,"names":{"level":"L0","integrity":"Low","categories":["C0","C1","C2","C3","C4","C5","C6","C7")"
               + QByteArray(",null").repeated(56) + "]}}"
        << QByteArray("\"DIR/all\"");
    QTest::newRow("unreadable label") << QByteArray("bad") << QByteArray("garbage")
                                      << QByteArray(R"({"path":PATH,"error":"cannot read the label: its label cannot be read"})")
                                      << QByteArray("\"DIR/bad\"");
}

// --json gives one object a line, with the numbers as the label holds them
// and the names beside them; a failure is an object too.
void tst_VarnelFileLabel::jsonRecords()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, path);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QByteArray file = makeRaw(dir, name, label);
    const QByteArray encodedDir = QFile::encodeName(dir.path());
    QByteArray bytes = "[";
    const QByteArray prefix = encodedDir + '/';
    for (const char c : prefix)
        bytes += QByteArray::number(uint(static_cast<unsigned char>(c))) + ',';
    path.replace("DIR", encodedDir).replace("BYTES,", bytes);

    // A name the locale cannot carry is found by a walk, never named.
    const bool odd = name.contains('\xff');
    const ProgramRun run = shell(QStringLiteral("export LC_ALL=C.UTF-8; exec \"$p\" --get --json %1 \"$a0\"")
                                     .arg(odd ? QStringLiteral("-R") : QString()),
                                 {odd ? encodedDir : file});
    const bool failure = record.contains("\"error\"");
    QCOMPARE(run.status, failure ? 1 : 0);
    const QByteArray line = QByteArray(record).replace("PATH", path) + '\n';
    if (odd) {
        QCOMPARE(run.out, "{\"path\":\"" + encodedDir + R"(","level":0,"integrity":0,"categories":0,"type":0,"names":{"level":"L0","integrity":"Low","categories":[]}})" + '\n' + line);
    } else {
        QCOMPARE(run.out, line);
    }
    // Each line is a JSON document of its own.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document.object().value(QStringLiteral("path")).isString(), !odd);
    QCOMPARE(storedRaw(file), label);
    if (name.contains('\xff'))
        ::unlink(file.constData());
}

void tst_VarnelFileLabel::progressOnlyOnATerminal_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QByteArray>("shown");

    // A terminal as standard error (and output), through script(1).
    const QString onTerminal = QStringLiteral("exec script -qec \"$p --progress-after 0 %1\" /dev/null");
    QTest::newRow("set on a terminal") << onTerminal.arg(QStringLiteral("--set 2:0:0x2 -R \"$a0\" \"$a1\""))
                                       << true << QByteArray("\r5 done, 1 failed");
    QTest::newRow("get to a file on a terminal")
        << onTerminal.arg(QStringLiteral("--get -R \"$a0\" \"$a1\" > /dev/null")) << true
        << QByteArray("\r5 done, 1 failed");
    // The labels printed have the terminal to themselves.
    QTest::newRow("get to the terminal") << onTerminal.arg(QStringLiteral("--get -R \"$a0\" \"$a1\"")) << true
                                         << QByteArray();
    QTest::newRow("set, no terminal")
        << QStringLiteral("exec \"$p\" --progress-after 0 --set 2:0:0x2 -R \"$a0\" \"$a1\" 2>&1") << false
        << QByteArray();
}

// A progress line, objects done and failures, is written over itself on a
// terminal and cleared at the end; nowhere else.
void tst_VarnelFileLabel::progressOnlyOnATerminal()
{
    QFETCH(QString, command);
    QFETCH(bool, terminal);
    QFETCH(QByteArray, shown);
    StandinPolicy policy;
    QTemporaryDir dir;
    for (const char *file : {"a", "b", "c"})
        makeObject(dir, QLatin1String(file), before);
    const QByteArray missing = QFile::encodeName(dir.filePath(QStringLiteral("missing")));
    const ProgramRun run = shell(command, {QFile::encodeName(dir.path()), missing});
    QCOMPARE(run.status, 1);
    const QByteArray failure = missing + ": cannot read the label: No such file or directory";
    QVERIFY2(run.out.contains(failure), run.out.constData());
    QCOMPARE(run.out.contains("done, "), !shown.isEmpty());
    if (!shown.isEmpty()) {
        QVERIFY2(run.out.contains(shown), run.out.constData());
        // Cleared before the failure is named and at the end.
        QVERIFY2(run.out.contains(QByteArray("\r\033[Kvarnel-file-label: " + failure)), run.out.constData());
        QVERIFY2(run.out.endsWith("\r\033[K"), run.out.constData());
    }
    if (!terminal)
        QVERIFY(!run.out.contains('\r'));
}

void tst_VarnelFileLabel::windowUnderAnotherWriter_data()
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
void tst_VarnelFileLabel::windowUnderAnotherWriter()
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

void tst_VarnelFileLabel::windowWalkKeepsOutsideWrites_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {7u, 4242u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// A person's walk through edits, Apply, Revert, Previous and Next while
// another program relabels, renames over and recreates the objects between
// the steps: every label found on disk was written by that program or by an
// Apply of a form that had read the label it replaced.
void tst_VarnelFileLabel::windowWalkKeepsOutsideWrites()
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
    const QStringList objects{a, b, c};
    // What each page's form read, as far as the walk has seen it unedited.
    QList<FileLabel> read;
    for (const QString &path : paths)
        read << asShown(stored(path));
    QRandomGenerator random(seed);
    const auto randomLabel = [&random] {
        return QStringLiteral("%1:%2:0x%3:0x%4")
            .arg(random.bounded(4))
            .arg(random.bounded(2) ? 63 : 0)
            .arg(random.bounded(256), 0, 16)
            .arg(random.bounded(2) ? (random.bounded(2) ? 0x10010 : 0x10) : 0, 0, 16)
            .toLatin1();
    };
    int refused = 0;
    int outsideWrites = 0;
    {
        FileLabelWindow window(paths);
        WindowParts parts(window);
        QVERIFY(parts.show());
        QStringList steps;
        for (int step = 0; step < 150; ++step) {
            const int index = window.current();
            QList<QByteArray> disk;
            for (const QString &object : objects)
                disk << stored(object);
            QString done;
            bool byWindow = true;
            switch (random.bounded(10)) {
            case 0:
                done = QStringLiteral("level=%1").arg(random.bounded(4));
                break;
            case 1:
                done = QStringLiteral("integrity=%1").arg(random.bounded(2) ? 63 : 0);
                break;
            case 2:
                done = QStringLiteral("category=%1").arg(random.bounded(8));
                break;
            case 3:
                done = QStringLiteral("attribute=silev");
                break;
            case 4: {
                const bool wasEdited = window.isEdited();
                done = QStringLiteral("Apply");
                if (wasEdited && !window.apply())
                    ++refused;
                break;
            }
            case 5:
                done = QStringLiteral("Revert");
                window.revert();
                break;
            case 6: {
                const int to = random.bounded(2) ? index + 1 : index - 1;
                const QMessageBox::StandardButton answers[] = {QMessageBox::Apply, QMessageBox::Discard,
                                                               QMessageBox::Cancel};
                const QMessageBox::StandardButton answer = answers[random.bounded(3)];
                done = QStringLiteral("%1 answering %2").arg(to).arg(int(answer));
                if (to >= 0 && to < paths.size())
                    parts.leave(to > index ? QStringLiteral("next") : QStringLiteral("previous"), answer);
                break;
            }
            default: {
                // Another program, on "a" or "c".
                byWindow = false;
                const QString how[] = {QStringLiteral("relabel"), QStringLiteral("rename"), QStringLiteral("recreate")};
                const QString &what = how[random.bounded(3)];
                const QString &object = random.bounded(2) ? a : c;
                const QByteArray label = what == QLatin1String("relabel") || random.bounded(3) ? randomLabel()
                                                                                                 : QByteArray();
                done = QStringLiteral("%1 %2 %3").arg(what, QFileInfo(object).fileName(), QString::fromLatin1(label));
                QVERIFY2(actOutside(what, object, label), qPrintable(done));
                ++outsideWrites;
                break;
            }
            }
            if (done.contains(QLatin1Char('=')))
                edit(parts.form(), done);
            steps << QStringLiteral("%1: %2 on page %3").arg(step).arg(done).arg(index);
            const QString where = QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(steps.join(QLatin1String("; ")));

            // Only the page shown at the start of a step of the window's
            // writes, and only over the label its form read.
            for (int object = 0; byWindow && object < objects.size(); ++object) {
                const QByteArray now = stored(objects.at(object));
                if (now != disk.at(object))
                    QVERIFY2(asShown(disk.at(object)) == read.at(index), qPrintable(where));
            }
            const int shown = window.current();
            if (!window.isEdited() && parts.form()->isEnabled())
                read[shown] = LabelEditor(parts.form()).shown();
        }
    }
    // The walk met refusals and the other program's writes.
    QVERIFY2(refused > 0 && outsideWrites > 10, qPrintable(QStringLiteral("%1 refused, %2 outside writes").arg(refused).arg(outsideWrites)));
}

// Leaving edits asks with a key for each answer; Apply there says that it
// wrote, beside the next path's message; a failed write the person then
// discards still counts for the exit status.
void tst_VarnelFileLabel::windowQuestionSaysWhatItDid()
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

void tst_VarnelFileLabel::qtOptionsAreNotRead_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    // The objects that hold the new label afterwards.
    QTest::addColumn<QStringList>("labelled");

    const QStringList set{QStringLiteral("--set"), QStringLiteral("2:0:0x2")};
    QTest::newRow("Qt's flags after --") << (set + QStringList{"--", "-reverse", "-widgetcount", "-testability"}) << 0
                                        << QStringList{"-reverse", "-widgetcount", "-testability"};
    QTest::newRow("Qt's options with a value after --")
        << (set + QStringList{"--", "-session", "f", "-stylesheet", "-platformtheme", "-plugin", "-qwindowtitle"}) << 0
        << QStringList{"-session", "f", "-stylesheet", "-platformtheme", "-plugin", "-qwindowtitle"};
    QTest::newRow("a platform after --") << (set + QStringList{"--", "-platform", "xcb"}) << 0
                                        << QStringList{"-platform", "xcb"};
    QTest::newRow("--get after --") << QStringList{"--get", "--", "-platform", "xcb"} << 0 << QStringList();
    // Before -- they are options, and the program knows none of them.
    QTest::newRow("a flag before --") << (set + QStringList{"-reverse", "f"}) << 2 << QStringList();
    QTest::newRow("an option before --") << (set + QStringList{"-session", "f"}) << 2 << QStringList();
    QTest::newRow("the window after --") << QStringList{"--window-texts", "--", "-reverse", "-platform"} << 0
                                         << QStringList();
    QTest::newRow("the window with a platform option") << QStringList{"--window-texts", "-platform", "xcb"} << 2
                                                       << QStringList();
}

// Qt reads none of the program's arguments: after -- each is a path, and
// before it an option of Qt's is an unknown one.
void tst_VarnelFileLabel::qtOptionsAreNotRead()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, labelled);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QStringList names{"-reverse", "-widgetcount", "-testability", "-session", "f", "-stylesheet",
                            "-platformtheme", "-plugin", "-qwindowtitle", "-platform", "xcb"};
    for (const QString &name : names)
        makeObject(dir, name, before);

    const ProgramRun run = fileLabelIn(dir.path(), arguments);
    QCOMPARE(run.status, status);
    if (status == 2)
        QVERIFY2(run.err.startsWith("varnel-file-label: Unknown option"), run.err.constData());
    else if (arguments.constFirst() == QLatin1String("--get"))
        QCOMPARE(run.out, QByteArray("-platform\t") + before + "\nxcb\t" + before + '\n');
    else if (arguments.constFirst() == QLatin1String("--window-texts"))
        QVERIFY2(run.out.contains("File 1 of 2: -reverse\nRead the label of -reverse."), run.out.constData());
    for (const QString &name : names)
        QCOMPARE(stored(dir.filePath(name)), labelled.contains(name) ? QByteArray("2:0:0x2:0x0") : QByteArray(before));
}

// Paths are bytes: names the locale's encoding cannot carry are labelled
// through xargs -0 as -R labels them, and messages show their bytes.
void tst_VarnelFileLabel::bytePathsThroughXargs()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QList<QByteArray> names{"caf\xe9", "plain", "tab\there", "\xff\xfe"};
    QList<QByteArray> paths;
    for (const QByteArray &name : names)
        paths << makeRaw(dir, name, before);
    const QByteArray top = QFile::encodeName(dir.path());
    const QString utf8 = QStringLiteral("export LC_ALL=C.UTF-8; ");

    const ProgramRun set = shell(utf8 + QStringLiteral("find \"$a0\" -type f -print0 | xargs -0 \"$p\" --set 2:0:0x2"),
                                 {top});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    for (const QByteArray &path : paths)
        QCOMPARE(storedRaw(path), QByteArray("2:0:0x2:0x0"));

    const ProgramRun get = shell(utf8 + QStringLiteral("find \"$a0\" -type f -print0 | sort -z | xargs -0 \"$p\" --get"),
                                 {top});
    QCOMPARE(get.status, 0);
    QList<QByteArray> sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    QByteArray expected;
    for (const QByteArray &path : sorted)
        expected += LabelCommand::escaped(path) + "\t2:0:0x2:0x0\n";
    QCOMPARE(get.out, expected);

    // A message names the very bytes given.
    const QByteArray gone = top + "/gone\xe9\x01";
    const ProgramRun missing = shell(utf8 + QStringLiteral("exec \"$p\" --set 1:0:0 \"$a0\""), {gone});
    QCOMPARE(missing.status, 1);
    QCOMPARE(missing.err, "varnel-file-label: " + top + "/gone\xe9\\001: cannot read the label: No such file or directory\n");
}

void tst_VarnelFileLabel::everyGetLineRoundTrips_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("label");

    QTest::newRow("none") << "file" << QByteArray("0:0:0x0:0x0");
    QTest::newRow("the policy's top") << "file" << QByteArray("3:63:0xff:0x0");
    QTest::newRow("ccnr on a file") << "file" << QByteArray("1:0:0x1:0x1");
    QTest::newRow("ccnri on a file") << "file" << QByteArray("1:0:0x1:0x2");
    QTest::newRow("irelax on a file") << "file" << QByteArray("1:0:0x1:0x20");
    QTest::newRow("ehole where it may stand") << "file" << QByteArray("0:0:0x0:0x4");
    QTest::newRow("ehole with a level") << "file" << QByteArray("1:0:0x1:0x4");
    QTest::newRow("whole off the root's label") << "file" << QByteArray("3:0:0x80:0x8");
    QTest::newRow("integrity above the maximum") << "file" << QByteArray("0:100:0x0:0x0");
    QTest::newRow("level not in the list") << "file" << QByteArray("9:0:0x0:0x0");
    QTest::newRow("category not in the list") << "file" << QByteArray("0:0:0x100:0x0");
    QTest::newRow("every bit") << "file" << QByteArray("255:4294967295:0xffffffffffffffff:0xffff");
    QTest::newRow("a type's high half") << "file" << QByteArray("1:0:0x1:0x10012");
    QTest::newRow("hidden attributes held") << "dir" << QByteArray("1:0:0x1:0x22");
    QTest::newRow("file attributes on a directory") << "dir" << QByteArray("1:0:0x1:0x1c");
    QTest::newRow("other bits on a directory") << "dir" << QByteArray("2:5:0x3:0x8041");
}

// Each line --get and --get --names print, given back to --set, is taken
// and writes the very label the object holds.
void tst_VarnelFileLabel::everyGetLineRoundTrips()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, label);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, kind, label);

    for (const QStringList &get : {QStringList{QStringLiteral("--get")},
                                   QStringList{QStringLiteral("--get"), QStringLiteral("--names")}}) {
        const ProgramRun read = fileLabel(get + QStringList{path});
        QCOMPARE(read.status, 0);
        const QByteArray field = read.out.trimmed().split('\t').constLast();
        const ProgramRun set = fileLabel({QStringLiteral("--set"), QString::fromLocal8Bit(field), path});
        QVERIFY2(set.status == 0, QByteArray(field + ": " + set.err).constData());
        QCOMPARE(set.err, QByteArray());
        QCOMPARE(stored(path), label);
    }
}

void tst_VarnelFileLabel::typeGivenIsStored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("a stray bit cleared") << "file" << QByteArray("1:0:0x1:0x1") << "2:0:0x1:0x0"
                                         << QByteArray("2:0:0x1:0x0");
    QTest::newRow("kept without a type") << "file" << QByteArray("1:0:0x1:0x1") << "2:0:0x1"
                                         << QByteArray("2:0:0x1:0x1");
    QTest::newRow("a directory's silev replaced") << "dir" << QByteArray("1:0:0x1:0x10") << "1:0:0x1:0x1"
                                                  << QByteArray("1:0:0x1:0x1");
    QTest::newRow("other bits replaced") << "file" << QByteArray("1:0:0x1:0x41") << "1:0:0x1:0x80"
                                         << QByteArray("1:0:0x1:0x80");
    QTest::newRow("a held attribute kept, another cleared") << "dir" << QByteArray("1:0:0x1:0x23") << "1:0:0x1:0x22"
                                                            << QByteArray("1:0:0x1:0x22");
    // The label library's calls reach the low half only.
    QTest::newRow("the high half stays") << "file" << QByteArray("1:0:0x1:0x10012") << "1:0:0x1:0x0"
                                         << QByteArray("1:0:0x1:0x10000");
}

// With TYPE, --get afterwards prints exactly what was given.
void tst_VarnelFileLabel::typeGivenIsStored()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, old);
    QFETCH(QString, label);
    QFETCH(QByteArray, written);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, kind, old);

    const ProgramRun set = fileLabel({QStringLiteral("--set"), label, path});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    QCOMPARE(stored(path), written);
    const ProgramRun get = fileLabel({QStringLiteral("--get"), path});
    QByteArray printed = written;
    printed.replace("0x10000", "0x0");
    QCOMPARE(get.out, path.toLocal8Bit() + '\t' + printed + '\n');
}

void tst_VarnelFileLabel::namesThatBreakTheFormat_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("named");

    QTest::newRow("a tab") << QByteArray("1:0:0x0:0x0") << QByteArray("1:Low:0x0:0x0");
    QTest::newRow("a control byte") << QByteArray("2:0:0x2:0x0") << QByteArray("2:Low:C1:0x0");
    QTest::newRow("a colon") << QByteArray("3:0:0x0:0x0") << QByteArray("3:Low:0x0:0x0");
    QTest::newRow("a comma") << QByteArray("0:0:0x1:0x0") << QByteArray("L0:Low:0x1:0x0");
    QTest::newRow("a delete") << QByteArray("0:0:0x6:0x0") << QByteArray("L0:Low:C1,0x4:0x0");
    QTest::newRow("integrity with a line feed") << QByteArray("0:5:0x0:0x0") << QByteArray("L0:5:0x0:0x0");
    QTest::newRow("bytes that are no text") << QByteArray("4:0:0x8:0x0") << QByteArray("4:Low:0x8:0x0");
}

// A name that would break a line of --names, or not read back as itself,
// is printed as its number, and the line is taken back by --set.
void tst_VarnelFileLabel::namesThatBreakTheFormat()
{
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, named);
    StandinPolicy policy;
    policy.write("levels", "0:L0\n1:Top\tSecret\n2:Bell\x07\n3:A:B\n4:Caf\xe9\n");
    policy.write("categories", "0x1:Fin,ance\n0x2:C1\n0x4:Del\x7f\n0x8:\xff\n");
    policy.write("ilevels", "0:Low\n5:Five\x1b\n63:High\n");
    policy.write("mac-users", "*:0:0:4:0xff\n");
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), label);

    const ProgramRun get = shell(QStringLiteral("export LC_ALL=C.UTF-8; exec \"$p\" --get --names \"$a0\""),
                                 {QFile::encodeName(path)});
    QCOMPARE(get.err, QByteArray());
    QCOMPARE(get.out, QFile::encodeName(path) + '\t' + named + '\n');
    QVERIFY(store(path, before));
    const ProgramRun set = fileLabel({QStringLiteral("--set"), QString::fromLatin1(named), path});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(stored(path), label);
}

// A walk deeper than the open-file limit labels every object of the tree.
void tst_VarnelFileLabel::treeDeeperThanTheDescriptorLimit()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    constexpr int depth = 100;
    QString chain = QStringLiteral("top");
    for (int level = 0; level < depth; ++level)
        chain += QStringLiteral("/d");
    const QString deepest = dir.filePath(chain);
    QVERIFY(QDir().mkpath(deepest));
    const QString file = makeObject(dir, chain + QStringLiteral("/f"), QByteArray());
    const QByteArray top = QFile::encodeName(dir.filePath(QStringLiteral("top")));

    const ProgramRun set = shell(QStringLiteral("ulimit -n 32 && exec \"$p\" --set 2:0:0x2 -R \"$a0\""), {top});
    QCOMPARE(set.err, QByteArray());
    QCOMPARE(set.status, 0);
    QCOMPARE(stored(file), QByteArray("2:0:0x2:0x0"));
    QCOMPARE(stored(deepest), QByteArray("2:0:0x2:0x0"));

    const ProgramRun get = shell(QStringLiteral("ulimit -n 32 && exec \"$p\" --get -R \"$a0\""), {top});
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out.count('\n'), depth + 2);
    QCOMPARE(get.out.count("\t2:0:0x2:0x0\n"), depth + 2);
}

// A directory the walk closed on its way down and opens again on its way
// back up must be the one it left: when it was moved away meanwhile, what
// now stands in its place is not walked as if it were.
void tst_VarnelFileLabel::movedDirectoryIsNotFollowedBack()
{
    QTemporaryDir dir;
    const QString top = dir.filePath(QStringLiteral("top"));
    QString deep = top + QStringLiteral("/d1/d2");
    for (int level = 3; level < 20; ++level)
        deep += QStringLiteral("/d%1").arg(level);
    QVERIFY(QDir().mkpath(deep));
    // After d2 in d1, and a twin of it where d2 will be moved to.
    QVERIFY(QDir().mkdir(top + QStringLiteral("/d1/z")));
    QVERIFY(QDir().mkdir(top + QStringLiteral("/z")));

    QList<QByteArray> visited;
    QList<QByteArray> failures;
    TreeWalk walk(
        false,
        [&](const QByteArray &path, const char *, bool) {
            visited << path;
            // The deepest directory: d2 moves to the top, so that going up
            // from it leads to the top instead of to d1.
            if (path.endsWith("/d19"))
                QDir().rename(top + QStringLiteral("/d1/d2"), top + QStringLiteral("/d2"));
            return true;
        },
        [&](const QByteArray &path, const QString &what, bool failure) {
            if (failure)
                failures << path + ": " + what.toLocal8Bit();
        });
    QVERIFY(walk.below(QFile::encodeName(top)));
    QCOMPARE(failures, QList<QByteArray>{QFile::encodeName(top) + "/d1: cannot go on in the directory: it was moved or "
                                                                  "replaced meanwhile"});
    QVERIFY(!visited.contains(QFile::encodeName(top) + "/d1/z"));
    QVERIFY(visited.contains(QFile::encodeName(deep)));
}

void tst_VarnelFileLabel::closedOutputFails_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("lines") << "--get";
    QTest::newRow("names") << "--get --names";
    QTest::newRow("json") << "--get --json";
    QTest::newRow("recursive") << "--get -R";
}

// With standard output closed, lines go nowhere else: the run fails.
void tst_VarnelFileLabel::closedOutputFails()
{
    QFETCH(QString, options);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const ProgramRun run = shell(QStringLiteral("exec \"$p\" %1 \"$a0\" >&-").arg(options), {QFile::encodeName(file)});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.errLines(), QList<QByteArray>{"varnel-file-label: cannot write the output: Bad file descriptor"});
    QCOMPARE(stored(file), QByteArray(before));
}

// On a tree without a mount point, --one-file-system leaves nothing out.
void tst_VarnelFileLabel::oneFileSystemWithoutMountPoints()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("top/b/c"))));
    makeObject(dir, QStringLiteral("top/a"), before);
    const QString top = dir.filePath(QStringLiteral("top"));
    const ProgramRun all = fileLabel({QStringLiteral("--get"), QStringLiteral("-R"), top});
    const ProgramRun one = fileLabel({QStringLiteral("--get"), QStringLiteral("-R"), QStringLiteral("--one-file-system"),
                                      QStringLiteral("-v"), top});
    QCOMPARE(one.err, QByteArray());
    QCOMPARE(one.status, 0);
    QCOMPARE(one.out.count('\n'), 4);
    QCOMPARE(one.out, all.out);
}

QTEST_MAIN(tst_VarnelFileLabel)
#include "tst_varnel_file_label.moc"
