#include "FileLabelWindow.h"
#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "ProgramRun.h"
#include "StandinPolicy.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <sys/xattr.h>

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
    void screenshotRendersTheWindow();
    void withoutDisplayOnlyTheWindowIsRefused();

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
    QTest::newRow("directory attributes") << false << "dir" << QByteArray() << "1:0:0x1:0x21"
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
    QVERIFY2(get.err.contains(missing.toLocal8Bit() + ": cannot read the label: No such file or directory\n"),
             get.err.constData());
    QVERIFY2(get.err.contains(last.toLocal8Bit() + ": cannot read the label: its label cannot be read\n"),
             get.err.constData());
}

void tst_VarnelFileLabel::getPrintsTheStoredLabel_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("refusal");

    // Labels the form cannot hold as they are; --set without TYPE would have
    // to change their special attributes, so it refuses.
    QTest::newRow("ehole with a level") << QByteArray("1:0:0x1:0x4") << QByteArray("special attributes 0x4");
    QTest::newRow("whole off the root's label") << QByteArray("1:0:0x1:0x8") << QByteArray("special attributes 0x8");
    QTest::newRow("directory attribute on a file") << QByteArray("1:0:0x1:0x1")
                                                   << QByteArray("special attributes 0x1");
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
    QCOMPARE(set.status, 1);
    QVERIFY2(set.err.startsWith("varnel-file-label: " + path.toLocal8Bit() + ": cannot set the label: " + refusal),
             set.err.constData());
    QCOMPARE(stored(path), old);
}

void tst_VarnelFileLabel::windowSaysWhenTheFormDiffers()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString odd = makeObject(dir, QStringLiteral("odd"), "1:0:0x1:0x4");
    const QString plain = makeObject(dir, QStringLiteral("plain"), before);
    {
        FileLabelWindow window({odd, plain});
        const auto *message = window.findChild<QLabel *>(QStringLiteral("_messageLabel"));
        QCOMPARE(message->text(), QStringLiteral("The form cannot show the label of %1 as it is: the object holds "
                                                 "1:0:0x1:0x4, the form shows 0:0:0x0:0x4.")
                                      .arg(odd));
        QCOMPARE(stored(odd), QByteArray("1:0:0x1:0x4"));
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
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.endsWith(": cannot read the label: its name is not valid in the locale's encoding\n"),
                 run.err.constData());
        QCOMPARE(run.errLines().size(), 1);
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
    QCOMPARE(QByteArray(value, int(qMax<ssize_t>(size, 0))), QByteArray(before));
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
    QVERIFY2(run.err.startsWith("varnel-file-label: " + message), run.err.constData());
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
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(message->text(),
                 QStringLiteral("Could not write the label to %1: Operation not supported.").arg(unlabellable));

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

        // Revert reads another label: the line follows, the filter stays.
        QVERIFY(store(file, "1:0:0x2:0x0"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("_revertButton")), Qt::LeftButton);
        QCOMPARE(chosen->toolTip(), QStringLiteral("Chosen: C1"));
        QCOMPARE(filter->text(), QStringLiteral("c7"));
        QVERIFY(!list->item(1)->isHidden());
        list->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(chosen->toolTip(), QStringLiteral("No categories chosen"));
    }
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

QTEST_MAIN(tst_VarnelFileLabel)
#include "tst_varnel_file_label.moc"
