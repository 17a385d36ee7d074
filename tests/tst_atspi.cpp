// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// What a screen reader gets: a widget started with Qt's Linux accessibility
// switched on, on a private session bus with the accessibility bus, read
// through AT-SPI over D-Bus from another process: the role, name,
// description and check state of a picker, a category row and a locked row.
// Run by CTest under dbus-run-session and xvfb-run.

#include "StandinPolicy.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// An accessible object: its bus name and object path.
using Ref = QPair<QString, QString>;

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
// AT-SPI's state bits (AtspiStateType): checked, focused, sensitive to
// input, and showing.
constexpr quint64 stateChecked = quint64(1) << 4;
constexpr quint64 stateFocused = quint64(1) << 12;
constexpr quint64 stateSensitive = quint64(1) << 24;
constexpr quint64 stateShowing = quint64(1) << 25;

// The first value a method of ref answers with, or none.
QVariant call(const QDBusConnection &bus, const Ref &ref, const QString &interface, const char *method,
              const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(ref.first, ref.second, interface, QLatin1String(method));
    message.setArguments(arguments);
    const QDBusMessage answer = bus.call(message, QDBus::Block, 5000);
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() ? answer.arguments().first()
                                                                                        : QVariant();
}

QString accessibleProperty(const QDBusConnection &bus, const Ref &ref, const char *name)
{
    return call(bus, ref, QStringLiteral("org.freedesktop.DBus.Properties"), "Get",
                {accessibleInterface, QLatin1String(name)})
        .value<QDBusVariant>()
        .variant()
        .toString();
}

quint64 stateOf(const QDBusConnection &bus, const Ref &ref)
{
    QList<uint> words;
    call(bus, ref, accessibleInterface, "GetState").value<QDBusArgument>() >> words;
    return words.size() >= 2 ? (quint64(words.at(1)) << 32) | words.at(0) : 0;
}

// One object as a screen reader reads it: "role | name | description", then
// "| checked", "| insensitive" and "| focused" where they hold.
QString read(const QDBusConnection &bus, const Ref &ref)
{
    const quint64 bits = stateOf(bus, ref);
    const QString role = call(bus, ref, accessibleInterface, "GetRoleName").toString();
    return QStringList{role, accessibleProperty(bus, ref, "Name"), accessibleProperty(bus, ref, "Description")}
               .join(QLatin1String(" | "))
        + QLatin1String(bits & stateChecked ? " | checked" : "")
        + QLatin1String(bits & stateSensitive ? "" : " | insensitive")
        + QLatin1String(bits & stateFocused ? " | focused" : "");
}

// Every object under root, breadth first, at most 400 of them; with
// showingOnly, objects not on screen are left out with what they hold.
QStringList walk(const QDBusConnection &bus, const Ref &root, bool showingOnly = false)
{
    QStringList nodes;
    QList<Ref> queue{root};
    while (!queue.isEmpty() && nodes.size() < 400) {
        const Ref ref = queue.takeFirst();
        if (showingOnly && ref != root && !(stateOf(bus, ref) & stateShowing))
            continue;
        nodes << read(bus, ref);
        const QDBusArgument children = call(bus, ref, accessibleInterface, "GetChildren").value<QDBusArgument>();
        children.beginArray();
        while (!children.atEnd()) {
            QString service;
            QDBusObjectPath path;
            children.beginStructure();
            children >> service >> path;
            children.endStructure();
            queue.append({service, path.path()});
        }
        children.endArray();
    }
    return nodes;
}

// The check-state changes the accessibility bus carries: "PATH checked=1".
class StateChanges : public QObject
{
    Q_OBJECT

public:
    QStringList heard;

public Q_SLOTS:
    void stateChanged(const QDBusMessage &message)
    {
        const QVariantList arguments = message.arguments();
        if (arguments.size() >= 2 && arguments.at(0).toString() == QLatin1String("checked"))
            heard << message.path() + QLatin1String(" checked=") + QString::number(arguments.at(1).toInt());
    }
};

// Sends host a command and waits for its answer.
QByteArray command(QProcess &host, const char *line)
{
    host.write(line);
    host.write("\n");
    if (!QTest::qWaitFor([&host] { return host.canReadLine(); }, 30000))
        return QByteArray("no answer");
    return host.readLine().trimmed();
}

} // namespace

class tst_Atspi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void screenReaderReadsTheWidgets();
};

void tst_Atspi::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
             "no session bus: run under dbus-run-session (packages dbus-daemon, at-spi2-core)");
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "no X display: run under xvfb-run (packages xvfb, xauth)");
}

void tst_Atspi::screenReaderReadsTheWidgets()
{
    StandinPolicy policy;
    // For user 1000 one level only, so the picker is locked, and C0 forced
    // on every label; user 1001 may choose among all four levels.
    policy.write("mac-users", "1000:1:0x1:1:0xff\n*:0:0:3:0xff\n");

    // The host starts before the accessibility bus does, as a program
    // starts before a screen reader: Qt 5.15 joins a bus that appears after
    // it reliably, while one already running when it starts is joined only
    // now and then (it sets up before its connection is made).
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VARNEL_ATSPI_HOST), QStringList());
    QVERIFY2(host.waitForStarted(), qPrintable(host.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(host.canReadLine() || host.state() != QProcess::Running, 30000);
    QVERIFY2(host.readLine().trimmed() == "ready", host.readAllStandardError().constData());

    // The session bus starts the accessibility bus on demand.
    const Ref launcher{QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus")};
    const QString address = call(QDBusConnection::sessionBus(), launcher, launcher.first, "GetAddress").toString();
    QVERIFY2(!address.isEmpty(), "no accessibility bus: install at-spi2-core");
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("a11y"));
    QVERIFY2(bus.isConnected(), qPrintable(bus.lastError().message()));

    // The host's root object, among the accessibility bus's clients.
    Ref root;
    QStringList seen;
    const auto findRoot = [&] {
        seen.clear();
        const QStringList names = bus.interface()->registeredServiceNames().value();
        for (const QString &name : names) {
            if (!name.startsWith(QLatin1Char(':')) || name == bus.baseService())
                continue;
            root = {name, QStringLiteral("/org/a11y/atspi/accessible/root")};
            const QString application = accessibleProperty(bus, root, "Name");
            seen << name + QLatin1Char('=') + application;
            if (application == QLatin1String("atspi-host"))
                return true;
        }
        return false;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(findRoot(), qPrintable(seen.join(QLatin1Char(' '))), 30000);

    const QStringList nodes = walk(bus, root);
    const QStringList expected{
        // The picker: locked, and says why. On Linux Qt names a combo box by
        // its current entry and a caption only as a relation: without one
        // the picker says what it is.
        QStringLiteral("combo box | L1 | Level: L1 is the only level this user may choose | insensitive"),
        QStringLiteral("list | Categories | "),
        // A category row the person checked.
        QStringLiteral("list item | Category C2 | Category C2, checked | checked"),
        QStringLiteral("list item | Category C1 | Category C1, unchecked"),
        // A row the user's range locks, with its reason.
        QStringLiteral("list item | Category C0 | Category C0, checked, cannot be changed. Every label of this "
                       "user carries C0 | checked | insensitive"),
    };
    for (const QString &node : expected)
        QVERIFY2(nodes.contains(node), qPrintable(node + QLatin1String(" not in:\n") + nodes.join(QLatin1Char('\n'))));

    // The picker is unlocked while the screen reader watches: the reason goes.
    host.write("switch\n");
    QTRY_VERIFY_WITH_TIMEOUT(host.canReadLine(), 30000);
    QCOMPARE(host.readLine().trimmed(), QByteArray("switched"));
    QCOMPARE(walk(bus, root).filter(QRegularExpression(QStringLiteral("^combo box"))),
             QStringList{"combo box | L1 | Level"});

    // A row checked and unchecked by the program is heard as a state change
    // of that row, once a screen reader asks for such events.
    StateChanges changes;
    QVERIFY(bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                        QStringLiteral("StateChanged"), &changes, SLOT(stateChanged(QDBusMessage))));
    const Ref registry{QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry")};
    QDBusMessage registration = QDBusMessage::createMethodCall(registry.first, registry.second, registry.first,
                                                               QStringLiteral("RegisterEvent"));
    registration.setArguments({QStringLiteral("object:state-changed:")});
    QCOMPARE(bus.call(registration, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);
    // The host learns of the listener from the registry's signal; a toggle
    // before then goes unheard, so the first one is repeated until heard.
    QTRY_VERIFY_WITH_TIMEOUT(
        (command(host, "toggle"), QTest::qWait(100), !changes.heard.isEmpty()), 20000);
    changes.heard.clear();
    const QByteArray before = command(host, "toggle");
    QCOMPARE(before, QByteArray("toggled"));
    QTRY_COMPARE_WITH_TIMEOUT(changes.heard.size(), 1, 10000);
    const QString rowPath = changes.heard.first().section(QLatin1Char(' '), 0, 0);
    QVERIFY2(read(bus, {root.first, rowPath}).startsWith(QLatin1String("list item | Category C1 | ")),
             qPrintable(read(bus, {root.first, rowPath})));
    const bool checkedNow = changes.heard.first().endsWith(QLatin1String("=1"));
    QCOMPARE(command(host, "toggle"), QByteArray("toggled"));
    QTRY_COMPARE_WITH_TIMEOUT(changes.heard.size(), 2, 10000);
    QCOMPARE(changes.heard.at(1), rowPath + (checkedNow ? QLatin1String(" checked=0") : QLatin1String(" checked=1")));

    // The login dialog opens with the level picker focused; a locked row
    // of its list is not enabled.
    QCOMPARE(command(host, "login"), QByteArray("opened"));
    QStringList shown;
    QTRY_VERIFY2_WITH_TIMEOUT(!(shown = walk(bus, root, true)).filter(QStringLiteral("| focused")).isEmpty(),
                              qPrintable(shown.join(QLatin1Char('\n'))), 20000);
    QCOMPARE(shown.filter(QStringLiteral("| focused")), QStringList{"combo box | L0 |  | focused"});

    host.closeWriteChannel();
    QVERIFY(host.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_Atspi)
#include "tst_atspi.moc"
