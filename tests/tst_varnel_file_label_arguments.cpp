// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label's arguments and exit status: what it refuses, what it
// leaves to Qt, and the output or display it cannot have.

#include "FileLabelRun.h"
#include "StandinPolicy.h"

#include <QTest>

class tst_VarnelFileLabelArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void badArguments_data();
    void badArguments();
    void withoutDisplayOnlyTheWindowIsRefused();
    void outputThatCannotBeWrittenFails_data();
    void outputThatCannotBeWrittenFails();
    void displayThatCannotBeOpened_data();
    void displayThatCannotBeOpened();
    void namesTheCommandLineRefuses_data();
    void namesTheCommandLineRefuses();
    void qtOptionsAreNotRead_data();
    void qtOptionsAreNotRead();
    void closedOutputFails_data();
    void closedOutputFails();

private:
    QTemporaryDir m_runtime;
    long m_liveBefore = 0;
};

void tst_VarnelFileLabelArguments::initTestCase()
{
    ProgramRun::quietRuntime(m_runtime);
}

void tst_VarnelFileLabelArguments::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_VarnelFileLabelArguments::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_VarnelFileLabelArguments::badArguments_data()
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

void tst_VarnelFileLabelArguments::badArguments()
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

void tst_VarnelFileLabelArguments::withoutDisplayOnlyTheWindowIsRefused()
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

void tst_VarnelFileLabelArguments::outputThatCannotBeWrittenFails_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("lines") << "--get";
    QTest::newRow("records") << "--get -z";
    QTest::newRow("names") << "--get --names";
    QTest::newRow("json") << "--get --json";
    QTest::newRow("recursive") << "--get -R";
}

// A full disk is a failure, not a success with nothing written.
void tst_VarnelFileLabelArguments::outputThatCannotBeWrittenFails()
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

void tst_VarnelFileLabelArguments::displayThatCannotBeOpened_data()
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
void tst_VarnelFileLabelArguments::displayThatCannotBeOpened()
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

void tst_VarnelFileLabelArguments::namesTheCommandLineRefuses_data()
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

void tst_VarnelFileLabelArguments::namesTheCommandLineRefuses()
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

void tst_VarnelFileLabelArguments::qtOptionsAreNotRead_data()
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
void tst_VarnelFileLabelArguments::qtOptionsAreNotRead()
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

void tst_VarnelFileLabelArguments::closedOutputFails_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("lines") << "--get";
    QTest::newRow("names") << "--get --names";
    QTest::newRow("json") << "--get --json";
    QTest::newRow("recursive") << "--get -R";
}

// With standard output closed, lines go nowhere else: the run fails.
void tst_VarnelFileLabelArguments::closedOutputFails()
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

QTEST_MAIN(tst_VarnelFileLabelArguments)
#include "tst_varnel_file_label_arguments.moc"
