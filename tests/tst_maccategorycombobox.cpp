// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryComboBox.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacCategoryComboBox;

namespace {

// The items as "text=mask" (hexadecimal), space-separated.
QString itemsOf(const MacCategoryComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i) + QLatin1Char('=')
                     + QString::number(box.itemData(i).toULongLong(), 16));
    return items.join(QLatin1Char(' '));
}

// The platform calls made since the last clear, as " call call ... ".
QString traced()
{
    return QLatin1Char(' ') + StandinPolicy::trace().join(QLatin1Char(' ')) + QLatin1Char(' ');
}

const QByteArray fiveCategories("0x1:C0\n0x2:C1\n0x4:C2\n0x8:C3\n0x10:C4\n");

} // namespace

class TestMacCategoryComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rebuild_data();
    void rebuild();
    void setValue();
    void personsPick();
};

void TestMacCategoryComboBox::rebuild_data()
{
    QTest::addColumn<QByteArray>("categories"); // empty: file missing
    QTest::addColumn<QByteArray>("macUsers"); // empty: file missing
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("setup"); // space-separated: uid, min:<hex>, max:<hex>, on (MAC on)
    QTest::addColumn<QString>("items");
    QTest::addColumn<mac_cat_t>("current"); // the empty set's entry, else the first
    QTest::addColumn<bool>("enabled");

    const QByteArray none;
    const QByteArray users("*:0:0:3:0xff\n");
    QTest::newRow("no bounds: database order, zero and several bits")
        << QByteArray("0x8:C3\n0x0:Zero\n0x6:Pair\n0x1\n") << users << none << none << QString()
        << QStringLiteral("C3=8 Zero=0 Pair=6 =1") << mac_cat_t(0) << true;
    QTest::newRow("numeric bounds 3..10") << fiveCategories << users << none << none
        << QStringLiteral("min:3 max:a") << QStringLiteral("C2=4 C3=8") << mac_cat_t(4) << true;
    // The user's range is a set: masks 2 and 4 lie below 8 but outside it.
    QTest::newRow("user range replaces the bounds") << fiveCategories
        << QByteArray("1000:0:0x2:3:0x8\n") << none << none << QStringLiteral("min:10 uid min:1 max:1")
        << QStringLiteral("C3=8") << mac_cat_t(8) << true;
    QTest::newRow("user range as a set, not a number") << fiveCategories
        << QByteArray("1000:0:0:3:0x5\n") << none << none << QStringLiteral("uid")
        << QStringLiteral("C0=1 C2=4") << mac_cat_t(1) << true;
    QTest::newRow("user without record: category 0 only")
        << QByteArray("0x0:None\n0x1:C0\n") << QByteArray("1:0:0:3:0xff\n") << none << none
        << QStringLiteral("uid") << QStringLiteral("None=0") << mac_cat_t(0) << true;
    QTest::newRow("categories 31 to 63") << QByteArray("0x80000000:C31\n0x8000000000000000:C63\n")
        << users << none << none << QString() << QStringLiteral("C31=80000000 C63=8000000000000000")
        << mac_cat_t(0x80000000ull) << true;
    QTest::newRow("MAC off") << fiveCategories << users << QByteArray("mac_enabled=0\n") << none
        << QString() << QString() << mac_cat_t(0) << false;
    QTest::newRow("MAC off, then on") << fiveCategories << users << QByteArray("mac_enabled=0\n")
        << none << QStringLiteral("on") << QStringLiteral("C0=1 C1=2 C2=4 C3=8 C4=10") << mac_cat_t(1)
        << true;
    QTest::newRow("bounds that leave nothing") << fiveCategories << users << none << none
        << QStringLiteral("min:20 max:30") << QString() << mac_cat_t(0) << false;
    QTest::newRow("user database missing") << fiveCategories << none << none << none << QString()
        << QString() << mac_cat_t(0) << true;
    QTest::newRow("user database fails to rewind") << fiveCategories << users << none
        << QByteArray("setmacent_r") << QStringLiteral("uid") << QString() << mac_cat_t(0) << true;
    QTest::newRow("category database missing") << none << users << none << none << QString()
        << QString() << mac_cat_t(0) << true;
    QTest::newRow("category database fails to rewind") << fiveCategories << users << none
        << QByteArray("setcatent_r") << QString() << QString() << mac_cat_t(0) << true;
}

void TestMacCategoryComboBox::rebuild()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, fault);
    QFETCH(QString, setup);
    QFETCH(QString, items);
    QFETCH(mac_cat_t, current);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    policy.writeOrRemove("categories", categories);
    policy.writeOrRemove("mac-users", macUsers);
    policy.write("system", system);
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    const long live = varnel_standin_live();

    MacCategoryComboBox box;
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);
    const QStringList steps = setup.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        StandinPolicy::takeTrace();
        const mac_cat_t bound = step.mid(4).toULongLong(nullptr, 16);
        if (step == QLatin1String("on")) {
            policy.write("system", "mac_enabled=1\n");
            box.rebuild();
        } else if (step == QLatin1String("uid")) {
            box.setUid(1000);
        } else if (step.startsWith(QLatin1String("min:"))) {
            box.setMinimumValue(bound);
        } else if (step.startsWith(QLatin1String("max:"))) {
            box.setMaximumValue(bound);
        }
    }

    QCOMPARE(itemsOf(box), items);
    QCOMPARE(box.isEnabled(), enabled);
    QCOMPARE(box.value(), current);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);

    // The user database is walked at every rebuild with a user: rewound
    // before the lookup, the walk ended before it is closed.
    if (steps.contains(QStringLiteral("uid")) && fault.isEmpty()) {
        const QString record = macUsers.startsWith("1000") ? QStringLiteral(" freemacent_r") : QString();
        QVERIFY2(traced().contains(" openmacdb_r setmacent_r getmacuid_r" + record
                                   + " endmacent_r closemacdb_r "),
                 qPrintable(traced()));
    }
}

void TestMacCategoryComboBox::setValue()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x80000000:C31\n0x8000000000000000:C63\n0x2:C1\n");
    const long live = varnel_standin_live();
    MacCategoryComboBox box;
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);

    box.setValue(0x8000000000000000ull);
    QCOMPARE(box.currentIndex(), 2);
    QCOMPARE(box.value(), mac_cat_t(0x8000000000000000ull));

    // The choice survives a rebuild that still lists it, silently.
    box.setMaximumValue(0x8000000000000000ull);
    QCOMPARE(box.value(), mac_cat_t(0x8000000000000000ull));
    box.setMaximumValue(0x80000000ull);
    QCOMPARE(box.currentIndex(), 0);

    box.setValue(0x2);
    QCOMPARE(box.value(), mac_cat_t(0x2));
    box.setValue(0x4); // not listed: the first entry
    QCOMPARE(box.currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryComboBox::personsPick()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x80000000:C31\n0x8000000000000000:C63\n");
    MacCategoryComboBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);

    QTest::keyClick(&box, Qt::Key_End);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<mac_cat_t>(), mac_cat_t(0x8000000000000000ull));
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().value<mac_cat_t>(), mac_cat_t(0x80000000ull));
}

QTEST_MAIN(TestMacCategoryComboBox)
#include "tst_maccategorycombobox.moc"
