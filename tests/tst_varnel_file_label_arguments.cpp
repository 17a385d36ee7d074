// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label's arguments and exit status: what it refuses, what it
// leaves to Qt, and the output or display it cannot have.

#include "FileLabelOptions.h"
#include "FileLabelRun.h"
#include "PathReason.h"
#include "StandinPolicy.h"

#include <QTest>
#include <QTranslator>

#include <cerrno>
#include <cstring>
#include <vector>

Q_DECLARE_METATYPE(FirstLook::Command)
Q_DECLARE_METATYPE(LabelCommand::Format)
Q_DECLARE_METATYPE(PathReason::Kind)

namespace {

// A catalogue that marks every text of the file tool's reasons.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "PathReason") != 0)
            return QString();
        return QStringLiteral("XX %1 XX").arg(QLatin1String(source));
    }
};

} // namespace

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
    void firstLookBeforeTheApplication_data();
    void firstLookBeforeTheApplication();
    void optionsThatGoTogether_data();
    void optionsThatGoTogether();
    void reasonsAreValues_data();
    void reasonsAreValues();
    void reasonKindUnderATranslation();

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
    QTest::addColumn<QString>("redirection");
    QTest::addColumn<QByteArray>("error");

    const QByteArray full("varnel-file-label: cannot write the output: No space left on device");
    const QByteArray closed("varnel-file-label: cannot write the output: Bad file descriptor");
    for (const char *options : {"--get", "--get -z", "--get --names", "--get --json", "--get -R"})
        QTest::addRow("full disk, %s", options) << options << "> /dev/full" << full;
    // With standard output closed, lines go nowhere else.
    for (const char *options : {"--get", "--get --names", "--get --json", "--get -R"})
        QTest::addRow("closed output, %s", options) << options << ">&-" << closed;
}

// Output that cannot be written is a failure, not a success with nothing
// written.
void tst_VarnelFileLabelArguments::outputThatCannotBeWrittenFails()
{
    QFETCH(QString, options);
    QFETCH(QString, redirection);
    QFETCH(QByteArray, error);
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = makeObject(dir, QStringLiteral("file"), before);
    const ProgramRun run = shell(QStringLiteral("exec \"$p\" %1 \"$a0\" %2").arg(options, redirection),
                                 {QFile::encodeName(file)});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.errLines(), QList<QByteArray>{error});
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


void tst_VarnelFileLabelArguments::firstLookBeforeTheApplication_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<FirstLook::Command>("command");
    QTest::addColumn<bool>("windowless");

    using Command = FirstLook::Command;
    QTest::newRow("paths alone") << QStringList{"a", "b"} << Command::None << false;
    QTest::newRow("a dash is a path") << QStringList{"-", "a"} << Command::None << false;
    QTest::newRow("get") << QStringList{"--get", "a"} << Command::Get << true;
    QTest::newRow("set") << QStringList{"--set", "1:0:0", "a"} << Command::Set << true;
    QTest::newRow("set with its value joined") << QStringList{"--set=1:0:0", "a"} << Command::Set << true;
    QTest::newRow("the last of get and set") << QStringList{"--get", "--set", "1:0:0", "a"} << Command::Set << true;
    QTest::newRow("set, then get") << QStringList{"--set", "1:0:0", "--get", "a"} << Command::Get << true;
    QTest::newRow("another option") << QStringList{"a", "-R"} << Command::None << true;
    QTest::newRow("the window's texts") << QStringList{"--window-texts", "a"} << Command::None << false;
    QTest::newRow("the window's texts and get") << QStringList{"--get", "--window-texts", "a"} << Command::None << true;
    QTest::newRow("a screenshot and get") << QStringList{"--screenshot=w.png", "--get", "a"} << Command::None << true;
    QTest::newRow("a screenshot") << QStringList{"--screenshot", "w.png", "a"} << Command::None << true;
    // After -- every argument is a path.
    QTest::newRow("options after --") << QStringList{"--", "--get", "-R"} << Command::None << false;
    QTest::newRow("get, then set after --") << QStringList{"--get", "--", "--set", "--window-texts"} << Command::Get
                                            << true;
    QTest::newRow("the window after --") << QStringList{"--window-texts", "--", "--get"} << Command::None << false;
}

// Before the application exists, the arguments tell whether a display and
// widgets are needed; "--" ends the options there as it does for the parser.
void tst_VarnelFileLabelArguments::firstLookBeforeTheApplication()
{
    QFETCH(QStringList, arguments);
    QFETCH(FirstLook::Command, command);
    QFETCH(bool, windowless);
    std::vector<QByteArray> bytes{"varnel-file-label"};
    for (const QString &argument : std::as_const(arguments))
        bytes.push_back(argument.toLocal8Bit());
    std::vector<const char *> argv;
    for (const QByteArray &argument : bytes)
        argv.push_back(argument.constData());
    const FirstLook look = FirstLook::of(int(argv.size()), argv.data());
    QCOMPARE(look.command, command);
    QCOMPARE(look.windowless, windowless);
}

void tst_VarnelFileLabelArguments::optionsThatGoTogether_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<LabelCommand::Format>("format");
    // Whether names, recursion, one file system and verbose are on, in
    // that order, as 0 and 1.
    QTest::addColumn<QString>("switches");
    QTest::addColumn<qint64>("progressAfter");

    using Format = LabelCommand::Format;
    QTest::newRow("get") << QStringList{"--get", "a"} << Format::Escaped << "0000" << qint64(1000);
    QTest::newRow("get a tree, verbose") << QStringList{"--get", "-R", "--one-file-system", "-v", "a"}
                                         << Format::Escaped << "0111" << qint64(1000);
    QTest::newRow("records with names") << QStringList{"--get", "-z", "--names", "a"} << Format::NullSeparated << "1000"
                                        << qint64(1000);
    QTest::newRow("json") << QStringList{"--get", "--json", "a", "b"} << Format::Json << "0000" << qint64(1000);
    QTest::newRow("set a tree") << QStringList{"--set", "1:0:0", "--recursive", "--verbose", "a"} << Format::Escaped
                                << "0101" << qint64(1000);
    QTest::newRow("progress") << QStringList{"--set=1:0:0", "--progress-after", "0", "a"} << Format::Escaped << "0000"
                              << qint64(0);
    QTest::newRow("the window") << QStringList{"a", "b"} << Format::Escaped << "0000" << qint64(1000);
    QTest::newRow("a screenshot") << QStringList{"--screenshot", "w.png", "a"} << Format::Escaped << "0000"
                                  << qint64(1000);
    QTest::newRow("paths after --") << QStringList{"--get", "--", "-R", "-z"} << Format::Escaped << "0000"
                                    << qint64(1000);
}

// What the refusals leave through, and how --get and --set then go.
void tst_VarnelFileLabelArguments::optionsThatGoTogether()
{
    QFETCH(QStringList, arguments);
    QFETCH(LabelCommand::Format, format);
    QFETCH(QString, switches);
    QFETCH(qint64, progressAfter);
    FileLabelOptions options;
    QVERIFY(options.read(QStringList{QStringLiteral("varnel-file-label")} + arguments));
    QCOMPARE(options.conflict(), QString());
    const LabelCommand::Options command = options.commandOptions();
    QCOMPARE(command.format, format);
    const QString on = QStringLiteral("%1%2%3%4")
                           .arg(int(command.names))
                           .arg(int(command.recursive))
                           .arg(int(command.oneFileSystem))
                           .arg(int(command.verbose));
    QCOMPARE(on, switches);
    QCOMPARE(command.progressAfter, progressAfter);
}

void tst_VarnelFileLabelArguments::reasonsAreValues_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("error");
    QTest::addColumn<PathReason::Kind>("reading");
    QTest::addColumn<PathReason::Kind>("writing");
    // The text of the reason for reading; the same for writing where both
    // are the system's.
    QTest::addColumn<QString>("text");

    QTest::newRow("missing, no error") << "missing" << 0 << PathReason::SystemError << PathReason::SystemError
                                       << "No such file or directory";
    // The object's own absence wins over what the label library left.
    QTest::newRow("missing, denied") << "missing" << EACCES << PathReason::SystemError << PathReason::SystemError
                                     << "No such file or directory";
    QTest::newRow("there, no error") << "file" << 0 << PathReason::LabelUnreadable << PathReason::LabelRefused
                                     << "its label cannot be read";
    // A policy file the label library did not find says nothing of the
    // object, nor does a first read that was too short.
    QTest::newRow("there, a file missing") << "file" << ENOENT << PathReason::LabelUnreadable
                                           << PathReason::LabelRefused << "its label cannot be read";
    QTest::newRow("there, a short read") << "file" << ERANGE << PathReason::LabelUnreadable << PathReason::SystemError
                                         << "its label cannot be read";
    QTest::newRow("there, denied") << "file" << EACCES << PathReason::SystemError << PathReason::SystemError
                                   << "Permission denied";
    QTest::newRow("there, unsupported") << "dir" << EOPNOTSUPP << PathReason::SystemError << PathReason::SystemError
                                        << "Operation not supported";
}

// Why a path failed is decided on the object and the error the label library
// left, the same for the window and the command line.
void tst_VarnelFileLabelArguments::reasonsAreValues()
{
    QFETCH(QString, object);
    QFETCH(int, error);
    QFETCH(PathReason::Kind, reading);
    QFETCH(PathReason::Kind, writing);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(
        object == QLatin1String("missing") ? dir.filePath(object) : makeObject(dir, object, before));

    const PathReason read = PathReason::unreadable(path.constData(), error);
    QCOMPARE(read.kind(), reading);
    QCOMPARE(read.text(), text);
    const PathReason written = PathReason::unwritten(path.constData(), error);
    QCOMPARE(written.kind(), writing);
    if (writing == PathReason::SystemError)
        QCOMPARE(written.text(),
                 QString::fromLocal8Bit(std::strerror(object == QLatin1String("missing") ? ENOENT : error)));
    else
        QCOMPARE(written.text(), QStringLiteral("the label library refused it"));
    QCOMPARE(stored(QString::fromLocal8Bit(path)), object == QLatin1String("missing") ? QByteArray("none")
                                                                                      : QByteArray(before));
}

// Under a catalogue the reason reads in its language and is still of its
// kind: --set's advice to give a type follows the kind, not the words.
void tst_VarnelFileLabelArguments::reasonKindUnderATranslation()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString path = makeObject(dir, QStringLiteral("file"), "3:zero:0x80:0x0");
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const PathReason reason = PathReason::unreadable(QFile::encodeName(path).constData(), 0);
    const QString words = reason.text();
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(reason.kind(), PathReason::LabelUnreadable);
    QCOMPARE(words, QStringLiteral("XX its label cannot be read XX"));
    QVERIFY(reason.text() != words);
    QCOMPARE(stored(path), QByteArray("3:zero:0x80:0x0"));
}

QTEST_MAIN(tst_VarnelFileLabelArguments)
#include "tst_varnel_file_label_arguments.moc"
