// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacLevelComboBox.h"
#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacLevelComboBox;

Q_DECLARE_METATYPE(QList<mac_lev_t>)

namespace {

QStringList texts(const QComboBox &combo)
{
    QStringList result;
    for (int i = 0; i < combo.count(); ++i)
        result.append(combo.itemText(i));
    return result;
}

QStringList walk(int entries)
{
    QStringList calls;
    for (int i = 0; i < entries; ++i)
        calls << QStringLiteral("getlevent_r") << QStringLiteral("freelevent_r");
    calls << QStringLiteral("getlevent_r");
    return calls;
}

} // namespace

class tst_MacLevelComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void offeredLevels_data();
    void offeredLevels();
    void failures_data();
    void failures();
    void callOrder();
    void rebuildKeepsSelectionSilently();
    void setValue_data();
    void setValue();
    void forcedItemsLastUntilRebuild();
    void emptyListTakesNoValue_data();
    void emptyListTakesNoValue();
    void userPicks_data();
    void userPicks();

private:
    long m_liveBefore = 0;
};

void tst_MacLevelComboBox::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_MacLevelComboBox::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_MacLevelComboBox::offeredLevels_data()
{
    QTest::addColumn<QByteArray>("levels");
    QTest::addColumn<QByteArray>("users");
    QTest::addColumn<int>("uid"); // -1: no user given
    QTest::addColumn<int>("minimum"); // -1: not set
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QList<mac_lev_t>>("values");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("enabled");

    const QByteArray levels = StandinPolicy::defaultFile("levels");
    const QByteArray users = "1000:1:0:2:0\n";
    QTest::newRow("every level without a user") << levels << users << -1 << -1 << -1
        << QList<mac_lev_t>{0, 1, 2, 3} << QStringList{"L0", "L1", "L2", "L3"} << true;
    QTest::newRow("user range") << levels << users << 1000 << -1 << -1
        << QList<mac_lev_t>{1, 2} << QStringList{"L1", "L2"} << true;
    QTest::newRow("user range and minimum") << levels << users << 1000 << 2 << -1
        << QList<mac_lev_t>{2} << QStringList{"L2"} << false;
    QTest::newRow("user range and maximum") << levels << users << 1000 << -1 << 1
        << QList<mac_lev_t>{1} << QStringList{"L1"} << false;
    QTest::newRow("caller bounds alone") << levels << users << -1 << 1 << 2
        << QList<mac_lev_t>{1, 2} << QStringList{"L1", "L2"} << true;
    QTest::newRow("bounds leave nothing") << levels << users << -1 << 3 << 1
        << QList<mac_lev_t>{} << QStringList{} << false;
    QTest::newRow("user without a record gets level 0") << levels << users << 2000 << -1 << -1
        << QList<mac_lev_t>{0} << QStringList{"L0"} << false;
    QTest::newRow("record for every other user") << levels << QByteArray("1000:1:0:2:0\n*:0:0:3:0\n") << 2000 << -1 << -1
        << QList<mac_lev_t>{0, 1, 2, 3} << QStringList{"L0", "L1", "L2", "L3"} << true;
    QTest::newRow("user without a record, no level 0") << QByteArray("1:L1\n2:L2\n") << users << 2000 << -1 << -1
        << QList<mac_lev_t>{} << QStringList{} << false;
    QTest::newRow("last name of a level wins") << QByteArray("0:A\n1:B\n1:C\n2:D\n") << users << -1 << -1 << -1
        << QList<mac_lev_t>{0, 1, 2} << QStringList{"A", "C", "D"} << true;
    QTest::newRow("null and empty names") << QByteArray("0\n1:\n2:x:y\n") << users << -1 << -1 << -1
        << QList<mac_lev_t>{0, 1, 2} << QStringList{"", "", "x:y"} << true;
    QTest::newRow("database order does not matter") << QByteArray("3:c\n0:z\n2:b\n") << users << -1 << -1 << -1
        << QList<mac_lev_t>{0, 2, 3} << QStringList{"z", "b", "c"} << true;
    QTest::newRow("highest level") << QByteArray("0:low\n255:top\n") << QByteArray("1000:0:0:255:0\n") << 1000 << 255 << -1
        << QList<mac_lev_t>{255} << QStringList{"top"} << false;
}

void tst_MacLevelComboBox::offeredLevels()
{
    QFETCH(QByteArray, levels);
    QFETCH(QByteArray, users);
    QFETCH(int, uid);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QList<mac_lev_t>, values);
    QFETCH(QStringList, names);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    policy.write("levels", levels);
    policy.write("mac-users", users);

    MacLevelComboBox combo(nullptr);
    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    if (uid >= 0)
        QVERIFY(combo.setUid(uid_t(uid)));
    if (minimum >= 0)
        QVERIFY(combo.setMinimumValue(mac_lev_t(minimum)));
    if (maximum >= 0)
        QVERIFY(combo.setMaximumValue(mac_lev_t(maximum)));
    if (uid < 0 && minimum < 0 && maximum < 0)
        QVERIFY(combo.rebuild());

    QCOMPARE(combo.allValues(), values);
    QCOMPARE(texts(combo), names);
    QCOMPARE(combo.isEnabled(), enabled);
    QCOMPARE(combo.isSuitable(), !values.isEmpty());
    QCOMPARE(combo.value(), values.isEmpty() ? mac_lev_t(0) : values.first());
    QCOMPARE(changes.count(), 0);
}

void tst_MacLevelComboBox::failures_data()
{
    QTest::addColumn<QByteArray>("broken");   // file to remove, or a call to fail
    QTest::addColumn<bool>("withUser");
    QTest::addColumn<bool>("disabledAfter");  // MAC off disables; the rest leave it

    QTest::newRow("MAC switched off") << QByteArray("mac_enabled=0") << false << true;
    QTest::newRow("MAC switched off, with user") << QByteArray("mac_enabled=0") << true << true;
    QTest::newRow("no user database") << QByteArray("-mac-users") << true << false;
    QTest::newRow("user database fails to open") << QByteArray("openmacdb_r") << true << false;
    QTest::newRow("no level database") << QByteArray("-levels") << false << false;
    QTest::newRow("level database fails to open") << QByteArray("openlevdb_r") << true << false;
    QTest::newRow("level database fails to rewind") << QByteArray("setlevent_r") << true << false;
}

void tst_MacLevelComboBox::failures()
{
    QFETCH(QByteArray, broken);
    QFETCH(bool, withUser);
    QFETCH(bool, disabledAfter);

    StandinPolicy policy;
    MacLevelComboBox combo(nullptr);
    QVERIFY(!combo.isRebuilt());
    QVERIFY(combo.rebuild());
    QCOMPARE(combo.count(), 4);
    QVERIFY(combo.isEnabled());

    if (broken.startsWith('-'))
        policy.remove(broken.mid(1).constData());
    else if (broken.contains('='))
        policy.write("system", broken + '\n');
    else
        policy.fail(broken.constData());

    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    QVERIFY(!(withUser ? combo.setUid(1000) : combo.rebuild()));
    QVERIFY(combo.isRebuilt());
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.value(), mac_lev_t(0));
    QCOMPARE(combo.isEnabled(), !disabledAfter);
    QCOMPARE(changes.count(), 0);
}

void tst_MacLevelComboBox::callOrder()
{
    StandinPolicy policy;
    policy.write("mac-users", "1000:1:0:2:0\n");
    MacLevelComboBox combo(nullptr);
    StandinPolicy::takeTrace();

    QVERIFY(combo.setUid(1000));
    // The user lookup is closed right after the open; the record is given
    // back once the level walk is over.
    QCOMPARE(StandinPolicy::takeTrace(),
             QStringList({"varnel_mac_enabled", "openmacdb_r", "getmacuid_r", "closemacdb_r",
                          "openlevdb_r", "setlevent_r"})
                 + walk(4) + QStringList({"endlevent_r", "closelevdb_r", "freemacent_r"}));

    // A failed rewind closes the database without ending a walk it never began.
    policy.fail("setlevent_r");
    QVERIFY(!combo.rebuild());
    QCOMPARE(StandinPolicy::takeTrace(),
             QStringList({"varnel_mac_enabled", "openmacdb_r", "getmacuid_r", "closemacdb_r",
                          "openlevdb_r", "setlevent_r", "closelevdb_r", "freemacent_r"}));
}

void tst_MacLevelComboBox::rebuildKeepsSelectionSilently()
{
    StandinPolicy policy;
    MacLevelComboBox combo(nullptr);
    QVERIFY(combo.rebuild());
    QVERIFY(combo.setValue(2));

    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    QVERIFY(combo.setMinimumValue(1));
    QCOMPARE(combo.value(), mac_lev_t(2));
    QVERIFY(combo.setMinimumValue(3));
    QCOMPARE(combo.value(), mac_lev_t(3));
    QVERIFY(combo.setMinimumValue(0));
    QCOMPARE(combo.value(), mac_lev_t(3));
    QVERIFY(combo.setMaximumValue(1));
    QCOMPARE(combo.value(), mac_lev_t(0));
    QCOMPARE(changes.count(), 0);
}

void tst_MacLevelComboBox::setValue_data()
{
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("requested");
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QList<mac_lev_t>>("values");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("currentText");
    QTest::addColumn<QList<int>>("emitted");

    const QList<mac_lev_t> offered{1, 2};
    QTest::newRow("offered level") << QByteArray() << 2 << false << true << offered << 2 << "L2" << QList<int>{2};
    QTest::newRow("current level") << QByteArray() << 1 << false << true << offered << 1 << "L1" << QList<int>{};
    QTest::newRow("missing level") << QByteArray() << 5 << false << false << offered << 1 << "L1" << QList<int>{};
    QTest::newRow("forced above") << QByteArray() << 3 << true << true
        << QList<mac_lev_t>{1, 2, 3} << 3 << "L3" << QList<int>{3};
    QTest::newRow("forced below") << QByteArray() << 0 << true << true
        << QList<mac_lev_t>{0, 1, 2} << 0 << "L0" << QList<int>{0};
    QTest::newRow("forced without a name") << QByteArray() << 200 << true << true
        << QList<mac_lev_t>{1, 2, 200} << 200 << "200" << QList<int>{200};
    QTest::newRow("forced without a label object") << QByteArray("mac_init") << 3 << true << true
        << QList<mac_lev_t>{1, 2, 3} << 3 << "" << QList<int>{3};
    QTest::newRow("forced offered level") << QByteArray() << 2 << true << true << offered << 2 << "L2" << QList<int>{2};
}

void tst_MacLevelComboBox::setValue()
{
    QFETCH(QByteArray, faults);
    QFETCH(int, requested);
    QFETCH(bool, force);
    QFETCH(bool, result);
    QFETCH(QList<mac_lev_t>, values);
    QFETCH(int, current);
    QFETCH(QString, currentText);
    QFETCH(QList<int>, emitted);

    StandinPolicy policy;
    policy.write("mac-users", "1000:1:0:2:0\n");
    MacLevelComboBox combo(1000, nullptr);
    QCOMPARE(combo.allValues(), QList<mac_lev_t>({1, 2}));
    if (!faults.isEmpty())
        policy.fail(faults.constData());

    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    QCOMPARE(combo.setValue(mac_lev_t(requested), force), result);
    QCOMPARE(combo.allValues(), values);
    QCOMPARE(int(combo.value()), current);
    QCOMPARE(combo.currentText(), currentText);
    QList<int> signalled;
    for (const QList<QVariant> &arguments : qAsConst(changes))
        signalled.append(int(arguments.at(0).value<mac_lev_t>()));
    QCOMPARE(signalled, emitted);
}

void tst_MacLevelComboBox::forcedItemsLastUntilRebuild()
{
    StandinPolicy policy;
    policy.write("mac-users", "1000:1:0:2:0\n");
    MacLevelComboBox combo(1000, nullptr);
    QVERIFY(combo.setValue(3, true));
    QCOMPARE(combo.value(), mac_lev_t(3));

    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    QVERIFY(combo.rebuild());
    QCOMPARE(combo.allValues(), QList<mac_lev_t>({1, 2}));
    QCOMPARE(combo.value(), mac_lev_t(1));
    QCOMPARE(changes.count(), 0);

    // An empty picker has nothing to insert next to.
    policy.write("levels", "");
    QVERIFY(combo.rebuild());
    QVERIFY(!combo.setValue(1, true));
    QCOMPARE(combo.count(), 0);
    QCOMPARE(changes.count(), 0);
}

void tst_MacLevelComboBox::userPicks_data()
{
    QTest::addColumn<bool>("withUidConstructor");
    QTest::newRow("parent constructor") << false;
    QTest::newRow("uid constructor") << true;
}

void tst_MacLevelComboBox::userPicks()
{
    QFETCH(bool, withUidConstructor);

    StandinPolicy policy;
    QWidget window;
    MacLevelComboBox *combo = withUidConstructor ? new MacLevelComboBox(1000, &window)
                                                 : new MacLevelComboBox(&window);
    if (!withUidConstructor)
        QVERIFY(combo->setUid(1000));
    QCOMPARE(combo->count(), 4);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    combo->setFocus();

    QSignalSpy changes(combo, &MacLevelComboBox::valueChanged);
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->value(), mac_lev_t(2));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0).at(0).value<mac_lev_t>(), mac_lev_t(1));
    QCOMPARE(changes.at(1).at(0).value<mac_lev_t>(), mac_lev_t(2));
}

QTEST_MAIN(tst_MacLevelComboBox)
void tst_MacLevelComboBox::emptyListTakesNoValue_data()
{
    QTest::addColumn<bool>("force");
    QTest::newRow("not forced") << false;
    QTest::newRow("forced") << true;
}

void tst_MacLevelComboBox::emptyListTakesNoValue()
{
    // Before any fill the list is empty; a forced value does not create it.
    QFETCH(bool, force);
    StandinPolicy policy;
    MacLevelComboBox combo(nullptr);
    QCOMPARE(combo.count(), 0);
    QSignalSpy changes(&combo, &MacLevelComboBox::valueChanged);
    QVERIFY(combo.setValuePrivate(mac_lev_t(2), force));
    QCOMPARE(combo.count(), 0);
    QVERIFY(!combo.setValue(mac_lev_t(2), force));
    QCOMPARE(combo.count(), 0);
    QCOMPARE(changes.count(), 0);
}

#include "tst_maclevelcombobox.moc"
