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
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QProcess>
#include <QTest>

namespace {

// A reference to an accessible object: its bus name and object path.
struct AccessibleRef {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const AccessibleRef &ref)
{
    argument.beginStructure();
    argument << ref.service << ref.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, AccessibleRef &ref)
{
    argument.beginStructure();
    argument >> ref.service >> ref.path;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(AccessibleRef)
Q_DECLARE_METATYPE(QList<AccessibleRef>)

namespace {

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
// AT-SPI's state bits (AtspiStateType): checked, and sensitive to input.
constexpr int stateChecked = 4;
constexpr int stateSensitive = 24;

// One accessible object as a screen reader reads it.
struct Node {
    QString role;
    QString name;
    QString description;
    bool checked = false;
    bool sensitive = false;

    QString text() const
    {
        return QStringLiteral("%1 | %2 | %3%4%5")
            .arg(role, name, description, checked ? QStringLiteral(" | checked") : QString(),
                 sensitive ? QString() : QStringLiteral(" | insensitive"));
    }
};

QVariant accessibleProperty(const QDBusConnection &bus, const AccessibleRef &ref, const char *name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(ref.service, ref.path.path(),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << accessibleInterface << QString::fromLatin1(name);
    const QDBusMessage answer = bus.call(call, QDBus::Block, 2000);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty())
        return QVariant();
    return answer.arguments().first().value<QDBusVariant>().variant();
}

QDBusMessage callOn(const QDBusConnection &bus, const AccessibleRef &ref, const char *method)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(ref.service, ref.path.path(), accessibleInterface,
                                                             QString::fromLatin1(method));
    return bus.call(call, QDBus::Block, 5000);
}

Node read(const QDBusConnection &bus, const AccessibleRef &ref)
{
    Node node;
    const QDBusMessage role = callOn(bus, ref, "GetRoleName");
    if (role.type() == QDBusMessage::ReplyMessage && !role.arguments().isEmpty())
        node.role = role.arguments().first().toString();
    node.name = accessibleProperty(bus, ref, "Name").toString();
    node.description = accessibleProperty(bus, ref, "Description").toString();
    const QDBusMessage state = callOn(bus, ref, "GetState");
    if (state.type() == QDBusMessage::ReplyMessage && !state.arguments().isEmpty()) {
        QList<uint> words;
        state.arguments().first().value<QDBusArgument>() >> words;
        const quint64 bits = words.size() >= 2 ? (quint64(words.at(1)) << 32) | words.at(0) : 0;
        node.checked = bits & (quint64(1) << stateChecked);
        node.sensitive = bits & (quint64(1) << stateSensitive);
    }
    return node;
}

QList<AccessibleRef> children(const QDBusConnection &bus, const AccessibleRef &ref)
{
    const QDBusMessage answer = callOn(bus, ref, "GetChildren");
    QList<AccessibleRef> found;
    if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty())
        answer.arguments().first().value<QDBusArgument>() >> found;
    return found;
}

// Every object under ref, breadth first, at most limit of them.
QList<Node> walk(const QDBusConnection &bus, const AccessibleRef &root, int limit = 400)
{
    QList<Node> nodes;
    QList<AccessibleRef> queue{root};
    while (!queue.isEmpty() && nodes.size() < limit) {
        const AccessibleRef ref = queue.takeFirst();
        nodes.append(read(bus, ref));
        queue.append(children(bus, ref));
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

private:
    QDBusConnection m_bus{QStringLiteral("none")};
};

void tst_Atspi::initTestCase()
{
    qDBusRegisterMetaType<AccessibleRef>();
    qDBusRegisterMetaType<QList<AccessibleRef>>();
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
    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), QDBusConnection::sessionBus());
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    QVERIFY2(address.isValid(), qPrintable(address.error().message()));
    m_bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    QVERIFY2(m_bus.isConnected(), qPrintable(m_bus.lastError().message()));

    // The host's root object, among the accessibility bus's clients.
    AccessibleRef root;
    QStringList seen;
    const auto findRoot = [&] {
        seen.clear();
        const QStringList names = m_bus.interface()->registeredServiceNames().value();
        for (const QString &name : names) {
            if (!name.startsWith(QLatin1Char(':')) || name == m_bus.baseService())
                continue;
            const AccessibleRef candidate{name, QDBusObjectPath(rootPath)};
            const QString application = accessibleProperty(m_bus, candidate, "Name").toString();
            seen << name + QLatin1Char('=') + application;
            if (application == QLatin1String("atspi-host")) {
                root = candidate;
                return true;
            }
        }
        return false;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(findRoot(), qPrintable(seen.join(QLatin1Char(' '))), 30000);

    QStringList read;
    for (const Node &node : walk(m_bus, root))
        read << node.text();
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
        QVERIFY2(read.contains(node), qPrintable(QStringLiteral("%1 not in:\n%2").arg(node, read.join(QLatin1Char('\n')))));

    // The picker is unlocked while the screen reader watches: the reason goes.
    host.write("switch\n");
    QTRY_VERIFY_WITH_TIMEOUT(host.canReadLine(), 30000);
    QCOMPARE(host.readLine().trimmed(), QByteArray("switched"));
    QStringList combos;
    for (const Node &node : walk(m_bus, root)) {
        if (node.role == QLatin1String("combo box"))
            combos << node.text();
    }
    QCOMPARE(combos, QStringList{"combo box | L1 | "});

    host.closeWriteChannel();
    QVERIFY(host.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_Atspi)
#include "tst_atspi.moc"
