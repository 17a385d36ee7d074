// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <memory>
#include <QTest>

using VarnelQt5::ILevelComboBox;

namespace {

// The items as "text=level", space-separated.
QString itemsOf(const ILevelComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i) + QLatin1Char('=') + QString::number(box.itemData(i).toUInt()));
    return items.join(QLatin1Char(' '));
}

// The platform calls made since the last clear, as " call call ... ".
QString traced()
{
    return QLatin1Char(' ') + StandinPolicy::trace().join(QLatin1Char(' ')) + QLatin1Char(' ');
}

} // namespace

class TestILevelComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Runs first: the system's maximum is process-wide and never reset.
    void withoutSystemMaximum();
    void rebuild_data();
    void rebuild();
    void setValue_data();
    void setValue();
    void personsPick_data();
    void personsPick();
    void isVariability();
    void emptyListTakesNoValue_data();
    void emptyListTakesNoValue();
};

void TestILevelComboBox::withoutSystemMaximum()
{
    StandinPolicy policy;
    policy.write("system", "max_ilev=0\n");
    const long live = varnel_standin_live();

    ILevelComboBox plain;
    QVERIFY(!plain.isRebuilt());
    QVERIFY(!plain.rebuild());
    QVERIFY(plain.isRebuilt()); // also when the rebuild fails
    QCOMPARE(plain.count(), 0);
    QVERIFY(!plain.isEnabled());
    QCOMPARE(plain.maximumValue(), 0u);

    // A picker made with a user alone learns the maximum itself.
    policy.write("system", "max_ilev=63\n");
    ILevelComboBox withUser(1000, nullptr);
    QCOMPARE(itemsOf(withUser), QStringLiteral("Low=0 High=63"));
    QVERIFY(withUser.isEnabled());
    QCOMPARE(varnel_standin_live(), live);
}

void TestILevelComboBox::rebuild_data()
{
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("micUsers"); // empty: file missing
    QTest::addColumn<QByteArray>("ilevels");
    QTest::addColumn<bool>("setUser");
    QTest::addColumn<qint64>("minimum"); // -1: not set
    QTest::addColumn<qint64>("maximum"); // -1: not set
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("items");
    QTest::addColumn<uint>("current");
    QTest::addColumn<bool>("enabled");

    const QByteArray max63("max_ilev=63\n");
    const QByteArray mic = StandinPolicy::defaultFile("mic-users");
    const QByteArray names = StandinPolicy::defaultFile("ilevels");
    const QString both = QStringLiteral("Low=0 High=63");
    const QString low = QStringLiteral("Low=0");

    QTest::newRow("no user, process at 63") << QByteArray("max_ilev=63\ncurrent_ilev=63\n") << mic
        << names << false << qint64(-1) << qint64(-1) << true << both << 63u << true;
    QTest::newRow("process level not offered") << QByteArray("max_ilev=63\ncurrent_ilev=7\n") << mic
        << names << false << qint64(-1) << qint64(-1) << true << both << 0u << true;
    QTest::newRow("user allowed 0") << max63 << QByteArray("1000:0\n*:63\n") << names << true
        << qint64(-1) << qint64(-1) << true << low << 0u << false;
    QTest::newRow("user without record") << QByteArray("max_ilev=63\ncurrent_ilev=63\n")
        << QByteArray("1:63\n") << names << true << qint64(-1) << qint64(-1) << true << low << 0u << false;
    QTest::newRow("caller maximum 10") << max63 << mic << names << false << qint64(-1) << qint64(10)
        << true << low << 0u << false;
    QTest::newRow("caller minimum 1") << max63 << mic << names << false << qint64(1) << qint64(-1)
        << true << QStringLiteral("High=63") << 63u << false;
    // The caller's minimum is itself offered.
    QTest::newRow("caller minimum 63") << max63 << mic << names << false << qint64(63) << qint64(-1)
        << true << QStringLiteral("High=63") << 63u << false;
    QTest::newRow("caller minimum 0") << max63 << mic << names << false << qint64(0) << qint64(-1)
        << true << both << 0u << true;
    QTest::newRow("maximum of 2^31") << QByteArray("max_ilev=0x80000000\n") << QByteArray("*:255\n")
        << QByteArray("0:Low\n0x80000000:Top\n") << false << qint64(-1) << qint64(-1) << true
        << QStringLiteral("Low=0 Top=2147483648") << 0u << true;
    QTest::newRow("empty name") << max63 << mic << QByteArray("0:\n63:High\n") << false << qint64(-1)
        << qint64(-1) << true << QStringLiteral("=0 High=63") << 0u << true;
    QTest::newRow("no text for the maximum") << max63 << mic << QByteArray("0:Low\n") << false
        << qint64(-1) << qint64(-1) << false << QString() << 0u << true;
    QTest::newRow("user database missing") << max63 << QByteArray() << names << true << qint64(-1)
        << qint64(-1) << false << QString() << 0u << true;
}

void TestILevelComboBox::rebuild()
{
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, micUsers);
    QFETCH(QByteArray, ilevels);
    QFETCH(bool, setUser);
    QFETCH(qint64, minimum);
    QFETCH(qint64, maximum);
    QFETCH(bool, result);
    QFETCH(QString, items);
    QFETCH(uint, current);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    policy.write("system", system);
    policy.writeOrRemove("mic-users", micUsers);
    policy.write("ilevels", ilevels);
    const long live = varnel_standin_live();

    ILevelComboBox box;
    QSignalSpy changed(&box, &ILevelComboBox::valueChanged);
    if (minimum >= 0)
        QVERIFY(box.setMinimumValue(TAV_ILEV_T(minimum)));
    if (maximum >= 0)
        box.setMaximumValue(TAV_ILEV_T(maximum));
    StandinPolicy::takeTrace();

    QCOMPARE(setUser ? box.setUid(1000) : box.rebuild(), result);
    QCOMPARE(itemsOf(box), items);
    QCOMPARE(box.value(), current);
    QCOMPARE(box.isEnabled(), enabled);
    QCOMPARE(box.isSuitable(), !items.isEmpty());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);

    if (setUser && result) // the user lookup is closed right after the open
        QVERIFY2(traced().contains(" openmicdb_r getmicuid_r closemicdb_r "), qPrintable(traced()));
}

void TestILevelComboBox::setValue_data()
{
    QTest::addColumn<bool>("empty"); // bounds that leave nothing
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("items");
    QTest::addColumn<uint>("current");
    QTest::addColumn<int>("emissions");

    const QString both = QStringLiteral("Low=0 High=63");
    QTest::newRow("another offered level") << false << 63u << false << true << both << 63u << 1;
    QTest::newRow("the current level") << false << 0u << false << true << both << 0u << 0;
    QTest::newRow("a level not offered") << false << 5u << false << false << both << 0u << 0;
    QTest::newRow("forced, unnamed level")
        << false << 5u << true << true << QStringLiteral("Low=0 5=5 High=63") << 5u << 1;
    QTest::newRow("forced on an empty picker") << true << 5u << true << false << QString() << 0u << 0;
}

void TestILevelComboBox::setValue()
{
    QFETCH(bool, empty);
    QFETCH(uint, value);
    QFETCH(bool, force);
    QFETCH(bool, result);
    QFETCH(QString, items);
    QFETCH(uint, current);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");
    const long live = varnel_standin_live();

    ILevelComboBox box;
    if (empty) {
        box.setMinimumValue(1);
        box.setMaximumValue(10);
    } else {
        QVERIFY(box.rebuild());
    }
    QSignalSpy changed(&box, &ILevelComboBox::valueChanged);

    QCOMPARE(box.setValue(value, force), result);
    QCOMPARE(itemsOf(box), items);
    QCOMPARE(box.value(), current);
    QCOMPARE(changed.count(), emissions);
    if (emissions)
        QCOMPARE(changed.first().first().value<TAV_ILEV_T>(), current);

    // A forced level lasts until the next rebuild, which is silent.
    if (force && result) {
        QVERIFY(box.rebuild());
        QCOMPARE(itemsOf(box), QStringLiteral("Low=0 High=63"));
        QCOMPARE(changed.count(), emissions);
    }
    QCOMPARE(varnel_standin_live(), live);
}

void TestILevelComboBox::personsPick_data()
{
    QTest::addColumn<bool>("withUser");
    QTest::newRow("plain constructor") << false;
    QTest::newRow("user constructor") << true;
}

void TestILevelComboBox::personsPick()
{
    QFETCH(bool, withUser);
    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");

    std::unique_ptr<ILevelComboBox> box(withUser ? new ILevelComboBox(1000, nullptr)
                                                 : new ILevelComboBox);
    if (!withUser)
        QVERIFY(box->rebuild());
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QSignalSpy changed(box.get(), &ILevelComboBox::valueChanged);

    QTest::keyClick(box.get(), Qt::Key_Down);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().first().value<TAV_ILEV_T>(), 63u);
    QTest::keyClick(box.get(), Qt::Key_Up);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().first().value<TAV_ILEV_T>(), 0u);
}

void TestILevelComboBox::isVariability()
{
    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");
    ILevelComboBox box;
    QVERIFY(box.rebuild());
    QVERIFY(!box.isVariability()); // hidden
    box.show();
    QVERIFY(box.isVariability());
    box.setEnabled(false);
    QVERIFY(!box.isVariability());
    box.setEnabled(true);
    QCOMPARE(box.maximumValue(), 63u); // the system's, until the caller sets one
    box.setMaximumValue(10);
    QCOMPARE(box.maximumValue(), 10u);
    QVERIFY(!box.isVariability()); // one item
}

void TestILevelComboBox::emptyListTakesNoValue_data()
{
    QTest::addColumn<bool>("force");
    QTest::newRow("not forced") << false;
    QTest::newRow("forced") << true;
}

void TestILevelComboBox::emptyListTakesNoValue()
{
    // Before any fill the list is empty; a forced value does not create it.
    QFETCH(bool, force);
    StandinPolicy policy;
    ILevelComboBox combo(nullptr);
    QCOMPARE(combo.count(), 0);
    QSignalSpy changes(&combo, &ILevelComboBox::valueChanged);
    QVERIFY(combo.setValuePrivate(TAV_ILEV_T(2), force));
    QCOMPARE(combo.count(), 0);
    QVERIFY(!combo.setValue(TAV_ILEV_T(2), force));
    QCOMPARE(combo.count(), 0);
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(TestILevelComboBox)
#include "tst_ilevelcombobox.moc"
