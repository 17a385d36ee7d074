// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label's --get and --set: labels read and written, paths as
// bytes, whole trees, names and records.

#include "FileLabelRun.h"
#include "FileLabelWindow.h"
#include "LabelCommand.h"
#include "StandinPolicy.h"
#include "TreeWalk.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

class tst_VarnelFileLabelCommand : public QObject
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
    void nameNotInTheLocaleIsReported();
    void pathsAreEscaped_data();
    void pathsAreEscaped();
    void getRecordsKeepEveryName_data();
    void getRecordsKeepEveryName();
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
    void jsonRecords_data();
    void jsonRecords();
    void progressOnlyOnATerminal_data();
    void progressOnlyOnATerminal();
    void bytePathsThroughXargs();
    void everyGetLineRoundTrips_data();
    void everyGetLineRoundTrips();
    void typeGivenIsStored_data();
    void typeGivenIsStored();
    void namesThatBreakTheFormat_data();
    void namesThatBreakTheFormat();
    void treeDeeperThanTheDescriptorLimit();
    void movedDirectoryIsNotFollowedBack();
    void oneFileSystemWithoutMountPoints();

private:
    QTemporaryDir m_runtime;
    long m_liveBefore = 0;
};

void tst_VarnelFileLabelCommand::initTestCase()
{
    ProgramRun::quietRuntime(m_runtime);
}

void tst_VarnelFileLabelCommand::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_VarnelFileLabelCommand::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_VarnelFileLabelCommand::setThenGetRoundTrips_data()
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

void tst_VarnelFileLabelCommand::setThenGetRoundTrips()
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

void tst_VarnelFileLabelCommand::setRefusesAndNamesThePath_data()
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
void tst_VarnelFileLabelCommand::setRefusesAndNamesThePath()
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

void tst_VarnelFileLabelCommand::everyPathIsReported()
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

void tst_VarnelFileLabelCommand::getPrintsTheStoredLabel_data()
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
void tst_VarnelFileLabelCommand::getPrintsTheStoredLabel()
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

// A name whose bytes are no text in the locale cannot reach the label
// library as it is: said so, not "no such file", and nothing else written.
void tst_VarnelFileLabelCommand::nameNotInTheLocaleIsReported()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QByteArray odd = QFile::encodeName(dir.path()) + "/odd\xff";
    const int made = ::open(odd.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(made >= 0);
    ::close(made);
    QVERIFY(storeRaw(odd, before));
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
    const QByteArray oddAfter = storedRaw(odd);
    // QTemporaryDir cannot name it either.
    ::unlink(odd.constData());
    QCOMPARE(oddAfter, QByteArray("2:0:0x2:0x0"));
}

void tst_VarnelFileLabelCommand::pathsAreEscaped_data()
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
void tst_VarnelFileLabelCommand::pathsAreEscaped()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, escaped);
    QCOMPARE(LabelCommand::escaped(path), escaped);
    QVERIFY(!escaped.contains('\n') && !escaped.contains('\t'));
}

void tst_VarnelFileLabelCommand::getRecordsKeepEveryName_data()
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
void tst_VarnelFileLabelCommand::getRecordsKeepEveryName()
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

void tst_VarnelFileLabelCommand::systemReasonIsNamed_data()
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
void tst_VarnelFileLabelCommand::systemReasonIsNamed()
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

void tst_VarnelFileLabelCommand::typeReplacesAnUnreadableLabel_data()
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

void tst_VarnelFileLabelCommand::typeReplacesAnUnreadableLabel()
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

void tst_VarnelFileLabelCommand::hiddenAttributesAreRefused_data()
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
void tst_VarnelFileLabelCommand::hiddenAttributesAreRefused()
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

void tst_VarnelFileLabelCommand::oneRunMixesKindsAndCases_data()
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
void tst_VarnelFileLabelCommand::oneRunMixesKindsAndCases()
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

void tst_VarnelFileLabelCommand::recursionStaysInTheTree_data()
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
void tst_VarnelFileLabelCommand::recursionStaysInTheTree()
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
void tst_VarnelFileLabelCommand::recursionStaysOnOneFileSystem()
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

void tst_VarnelFileLabelCommand::recursionGivesEachKindItsAttributes_data()
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

void tst_VarnelFileLabelCommand::recursionGivesEachKindItsAttributes()
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

void tst_VarnelFileLabelCommand::namesRoundTrip_data()
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
void tst_VarnelFileLabelCommand::namesRoundTrip()
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

void tst_VarnelFileLabelCommand::jsonRecords_data()
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
void tst_VarnelFileLabelCommand::jsonRecords()
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

void tst_VarnelFileLabelCommand::progressOnlyOnATerminal_data()
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
void tst_VarnelFileLabelCommand::progressOnlyOnATerminal()
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

// Paths are bytes: names the locale's encoding cannot carry are labelled
// through xargs -0 as -R labels them, and messages show their bytes.
void tst_VarnelFileLabelCommand::bytePathsThroughXargs()
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

void tst_VarnelFileLabelCommand::everyGetLineRoundTrips_data()
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
void tst_VarnelFileLabelCommand::everyGetLineRoundTrips()
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

void tst_VarnelFileLabelCommand::typeGivenIsStored_data()
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
void tst_VarnelFileLabelCommand::typeGivenIsStored()
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

void tst_VarnelFileLabelCommand::namesThatBreakTheFormat_data()
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
void tst_VarnelFileLabelCommand::namesThatBreakTheFormat()
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
void tst_VarnelFileLabelCommand::treeDeeperThanTheDescriptorLimit()
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
void tst_VarnelFileLabelCommand::movedDirectoryIsNotFollowedBack()
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

// On a tree without a mount point, --one-file-system leaves nothing out.
void tst_VarnelFileLabelCommand::oneFileSystemWithoutMountPoints()
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

QTEST_MAIN(tst_VarnelFileLabelCommand)
#include "tst_varnel_file_label_command.moc"
