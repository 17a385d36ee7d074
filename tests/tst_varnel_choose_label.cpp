// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "ProgramRun.h"
#include "StandinPolicy.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <unistd.h>

using VarnelQt5::LoginMacLabelDialog;
using VarnelQt5::LoginMacLabelWidget;

namespace {

ProgramRun chooseLabel(const QStringList &arguments)
{
    return ProgramRun(QStringLiteral(CHOOSE_LABEL), arguments);
}

// The built-in policy keeps its last choices under the state directory.
QString builtinLastChoice()
{
    return QDir(qEnvironmentVariable("XDG_STATE_HOME")).filePath(QStringLiteral("varnel-standin/lastchoice"));
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

// What a dialog built here, for the same user on the same policy, gives
// for each form of --print.
QMap<QString, QByteArray> productsOfDialog(bool themed)
{
    LoginMacLabelDialog dialog(getuid(), themed, nullptr);
    const auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    const std::unique_ptr<char, decltype(&std::free)> text(dialog.malloc_mac_label_text(), &std::free);
    QMap<QString, QByteArray> products;
    products[QStringLiteral("text")] = QByteArray(text.get()) + '\n';
    products[QStringLiteral("command")] = widget->getVexorCommand().join(QLatin1Char('\n')).toLocal8Bit() + '\n';
    // Empty role lists at the end of the arguments are left out.
    QStringList arguments = widget->getVexorArguments();
    while (!arguments.isEmpty() && arguments.constLast().isEmpty())
        arguments.removeLast();
    products[QStringLiteral("args")] = arguments.join(QLatin1Char('\n')).toLocal8Bit() + '\n';
    const QJsonObject json{{QStringLiteral("text"), QString::fromLocal8Bit(text.get())},
                           {QStringLiteral("level"), int(dialog.level())},
                           {QStringLiteral("integrity"), int(widget->integrity())},
                           {QStringLiteral("categories"), double(dialog.categories())},
                           {QStringLiteral("args"), QJsonArray::fromStringList(arguments)},
                           {QStringLiteral("command"), QJsonArray::fromStringList(widget->getVexorCommand())}};
    products[QStringLiteral("json")] = QJsonDocument(json).toJson(QJsonDocument::Compact);
    return products;
}

} // namespace

class tst_VarnelChooseLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void printsTheDialogsProducts_data();
    void printsTheDialogsProducts();
    void userAndMode_data();
    void userAndMode();
    void endsWithoutPrinting_data();
    void endsWithoutPrinting();
    void refusedChoiceIsNeitherPrintedNorSaved();
    void helpVersionAndNoDisplay();

private:
    QTemporaryDir m_runtime;
};

void tst_VarnelChooseLabel::initTestCase()
{
    ProgramRun::quietRuntime(m_runtime);
}

void tst_VarnelChooseLabel::init()
{
    QFile::remove(builtinLastChoice());
}

void tst_VarnelChooseLabel::printsTheDialogsProducts_data()
{
    QTest::addColumn<bool>("builtin");
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QString>("form");
    for (const bool builtin : {true, false}) {
        for (const char *form : {"text", "command", "args", "json"}) {
            for (const bool themed : {false, true}) {
                QTest::addRow("%s %s%s", builtin ? "built-in" : "policy dir", form, themed ? " themed" : "")
                    << builtin << themed << QString::fromLatin1(form);
            }
        }
    }
}

// On OK the program prints exactly what the dialog gives for the calling
// user, here with a remembered last choice so that nothing is at its default.
void tst_VarnelChooseLabel::printsTheDialogsProducts()
{
    QFETCH(bool, builtin);
    QFETCH(bool, themed);
    QFETCH(QString, form);
    std::unique_ptr<StandinPolicy> policy;
    const QByteArray lastChoice = QByteArray::number(getuid()) + ":2:0x5\n";
    if (builtin) {
        writeFile(builtinLastChoice(), lastChoice);
    } else {
        policy = std::make_unique<StandinPolicy>();
        policy->write("lastchoice", lastChoice);
    }

    QStringList arguments{QStringLiteral("--press"), QStringLiteral("ok"), QStringLiteral("--print"), form};
    if (themed)
        arguments << QStringLiteral("--themed");
    const ProgramRun run = chooseLabel(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);

    const QMap<QString, QByteArray> expected = productsOfDialog(themed);
    QVERIFY(expected.value(QStringLiteral("text")).startsWith("2:0:0x5"));
    if (form == QLatin1String("json")) {
        QVERIFY(run.out.endsWith('\n'));
        QCOMPARE(QJsonDocument::fromJson(run.out).object(),
                 QJsonDocument::fromJson(expected.value(form)).object());
        // The same entries as --print args prints.
        QStringList entries;
        const QJsonArray args = QJsonDocument::fromJson(run.out).object().value(QStringLiteral("args")).toArray();
        for (const QJsonValue &entry : args)
            entries << entry.toString();
        QCOMPARE(entries.join(QLatin1Char('\n')).toLocal8Bit() + '\n', expected.value(QStringLiteral("args")));
    } else {
        QCOMPARE(run.out, expected.value(form));
        // One line an entry, none of them blank.
        QVERIFY2(!run.out.contains("\n\n") && !run.out.startsWith('\n'), run.out.constData());
    }
}

void tst_VarnelChooseLabel::userAndMode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("lastChoice");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray ranges = "0:1:0:1:0x0\n*:0:0x2:3:0xff\n";
    QTest::newRow("--user root") << QStringList{QStringLiteral("--user"), QStringLiteral("root")} << ranges
                                 << QByteArray() << QByteArray()
                                 << QByteArray("\"level\":1,\"integrity\":0,\"categories\":0,");
    QTest::newRow("--uid without a name") << QStringList{QStringLiteral("--uid"), QStringLiteral("54321")} << ranges
                                          << QByteArray() << QByteArray()
                                          << QByteArray("\"level\":0,\"integrity\":0,\"categories\":2,");
    QTest::newRow("--info") << QStringList{QStringLiteral("--info")} << StandinPolicy::defaultFile("mac-users")
                            << QByteArray("process_label=2:0:0x30\n") << QByteArray("1:0x1")
                            << QByteArray("\"level\":2,\"integrity\":0,\"categories\":48,");
    // Beyond the 53 bits a JSON number keeps exactly in Qt's own writer.
    QTest::newRow("category bit 63") << QStringList() << QByteArray("*:0:0:3:0xffffffffffffffff\n") << QByteArray()
                                     << QByteArray("0:0x8000000000000001")
                                     << QByteArray("\"categories\":9223372036854775809,");
}

void tst_VarnelChooseLabel::userAndMode()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, lastChoice);
    QFETCH(QByteArray, expected);
    StandinPolicy policy;
    policy.write("mac-users", macUsers);
    policy.write("system", system);
    policy.write("categories", StandinPolicy::defaultFile("categories") + "0x8000000000000000:C63\n");
    if (!lastChoice.isEmpty())
        policy.write("lastchoice", QByteArray::number(getuid()) + ':' + lastChoice + '\n');

    const ProgramRun run = chooseLabel(arguments << QStringLiteral("--press") << QStringLiteral("ok")
                                                 << QStringLiteral("--print") << QStringLiteral("json"));
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(expected), run.out.constData());
}

void tst_VarnelChooseLabel::endsWithoutPrinting_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message");

    const auto args = [](const char *line) { return QString::fromLatin1(line).split(QLatin1Char(' ')); };
    QTest::newRow("close") << args("--press close") << 1 << QByteArray();
    QTest::newRow("themed cancel") << args("--themed --press cancel") << 1 << QByteArray();
    // A script's chooser is left with Escape, unlike a login screen.
    QTest::newRow("escape") << args("--press escape") << 1 << QByteArray();
    QTest::newRow("themed escape") << args("--themed --press escape") << 1 << QByteArray();
    QTest::newRow("escape in information mode") << args("--info --press escape") << 1 << QByteArray();
    QTest::newRow("unknown form") << args("--print xml --press ok") << 2 << QByteArray("unknown --print form 'xml'");
    QTest::newRow("user and uid") << args("--user root --uid 0 --press ok") << 2
                                  << QByteArray("give either --user or --uid");
    QTest::newRow("unknown user") << args("--user no-such-user-here --press ok") << 2
                                  << QByteArray("unknown user 'no-such-user-here'");
    QTest::newRow("uid not a number") << args("--uid 12a --press ok") << 2 << QByteArray("malformed user id '12a'");
    QTest::newRow("uid negative") << args("--uid -1 --press ok") << 2 << QByteArray("malformed user id '-1'");
    QTest::newRow("uid of the calling user") << args("--uid 4294967295 --press ok") << 2
                                             << QByteArray("malformed user id '4294967295'");
    QTest::newRow("uid beyond 32 bits") << args("--uid 4294967296 --press ok") << 2
                                        << QByteArray("malformed user id '4294967296'");
    QTest::newRow("stray argument") << args("alice --press ok") << 2 << QByteArray("unexpected argument 'alice'");
}

void tst_VarnelChooseLabel::endsWithoutPrinting()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, message);
    StandinPolicy policy;
    const ProgramRun run = chooseLabel(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    if (message.isEmpty()) {
        QCOMPARE(run.err, QByteArray());
    } else {
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.startsWith(QByteArray("varnel-choose-label: " + message)), run.err.constData());
    }
    // Nothing was accepted, so nothing was remembered.
    QVERIFY(!QFile::exists(policy.filePath("lastchoice")));
}

void tst_VarnelChooseLabel::refusedChoiceIsNeitherPrintedNorSaved()
{
    StandinPolicy policy;
    // The process's integrity level preselects 63, with level 1 remembered.
    policy.write("system", "current_ilev=63\n");
    const QByteArray lastChoice = QByteArray::number(getuid()) + ":1:0x0\n";
    policy.write("lastchoice", lastChoice);

    const ProgramRun run = chooseLabel({QStringLiteral("--press"), QStringLiteral("ok")});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains("Denied login with non-zero integrity and confidentiality levels"), run.err.constData());
    QFile file(policy.filePath("lastchoice"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), lastChoice);
}

void tst_VarnelChooseLabel::helpVersionAndNoDisplay()
{
    const ProgramRun help = chooseLabel({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("--print <form>") && !help.out.contains("--press"));
    QCOMPARE(chooseLabel({QStringLiteral("--version")}).out, QByteArray("varnel-choose-label " VARNEL_PROGRAM_VERSION "\n"));

    // Without a display the dialog cannot come up: said in one line, no abort.
    const ProgramRun headless = ProgramRun::withoutDisplay(QStringLiteral(CHOOSE_LABEL), {});
    QCOMPARE(headless.status, 2);
    QCOMPARE(headless.err, QByteArray("varnel-choose-label: no display to show the dialog on\n"));

    // A display named that cannot be opened: one line, the same status.
    for (const char *environment : {"DISPLAY=:977", "DISPLAY=:977 QT_QPA_PLATFORM=xcb"}) {
        const ProgramRun unopened(QStringLiteral("/bin/sh"),
                                  {QStringLiteral("-c"),
                                   QStringLiteral("unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; export %1; exec \"$0\"")
                                       .arg(QLatin1String(environment)),
                                   QStringLiteral(CHOOSE_LABEL)});
        QCOMPARE(unopened.status, 2);
        QCOMPARE(unopened.out, QByteArray());
        QCOMPARE(unopened.err, QByteArray("varnel-choose-label: cannot open the display ':977' to show the dialog on\n"));
    }
}

QTEST_MAIN(tst_VarnelChooseLabel)
#include "tst_varnel_choose_label.moc"
