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
// AT-SPI's state bits (AtspiStateType): checked, and sensitive to input.
constexpr quint64 stateChecked = quint64(1) << 4;
constexpr quint64 stateSensitive = quint64(1) << 24;

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

// One object as a screen reader reads it: "role | name | description", then
// "| checked" and "| insensitive" where they hold.
QString read(const QDBusConnection &bus, const Ref &ref)
{
    QList<uint> words;
    call(bus, ref, accessibleInterface, "GetState").value<QDBusArgument>() >> words;
    const quint64 bits = words.size() >= 2 ? (quint64(words.at(1)) << 32) | words.at(0) : 0;
    const QString role = call(bus, ref, accessibleInterface, "GetRoleName").toString();
    return QStringList{role, accessibleProperty(bus, ref, "Name"), accessibleProperty(bus, ref, "Description")}
               .join(QLatin1String(" | "))
        + QLatin1String(bits & stateChecked ? " | checked" : "")
        + QLatin1String(bits & stateSensitive ? "" : " | insensitive");
}

// Every object under root, breadth first, at most 400 of them.
QStringList walk(const QDBusConnection &bus, const Ref &root)
{
    QStringList nodes;
    QList<Ref> queue{root};
    while (!queue.isEmpty() && nodes.size() < 400) {
        const Ref ref = queue.takeFirst();
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
    const QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("a11y"));
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
        // its current entry; its caption reaches tools as a relation.
        QStringLiteral("combo box | L1 | L1 is the only level this user may choose | insensitive"),
        QStringLiteral("list | Categories | "),
        // A category row the person checked.
        QStringLiteral("list item | Category C2 | Category C2, checked | checked"),
        QStringLiteral("list item | Category C1 | Category C1, unchecked"),
        // A row the user's range locks, with its reason.
        QStringLiteral("list item | Category C0 | Category C0, checked, cannot be changed. Every label of this "
                       "user carries C0 | checked"),
    };
    for (const QString &node : expected)
        QVERIFY2(nodes.contains(node), qPrintable(node + QLatin1String(" not in:\n") + nodes.join(QLatin1Char('\n'))));

    // The picker is unlocked while the screen reader watches: the reason goes.
    host.write("switch\n");
    QTRY_VERIFY_WITH_TIMEOUT(host.canReadLine(), 30000);
    QCOMPARE(host.readLine().trimmed(), QByteArray("switched"));
    QCOMPARE(walk(bus, root).filter(QRegularExpression(QStringLiteral("^combo box"))),
             QStringList{"combo box | L1 | "});

    host.closeWriteChannel();
    QVERIFY(host.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_Atspi)
#include "tst_atspi.moc"
