// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryListWidget.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacCategoryListWidget;

namespace {

// The rows as the person sees them, space-separated: "text|mask|checked enabled".
QString rowsOf(const MacCategoryListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) {
        const QListWidgetItem *row = list.item(i);
        rows.append(row->text() + QLatin1Char('|')
                    + QString::number(row->data(Qt::UserRole).toULongLong(), 16) + QLatin1Char('|')
                    + (row->checkState() == Qt::Checked ? QLatin1Char('x') : QLatin1Char('-'))
                    + (row->flags() & Qt::ItemIsEnabled ? QLatin1Char('e') : QLatin1Char('d')));
    }
    return rows.join(QLatin1Char(' '));
}

// The platform calls made since the last clear, as " call call ... ".
QString traced()
{
    return QLatin1Char(' ') + StandinPolicy::trace().join(QLatin1Char(' ')) + QLatin1Char(' ');
}

mac_cat_t emitted(const QSignalSpy &spy, int i)
{
    return spy.at(i).first().value<mac_cat_t>();
}

const QByteArray fourCategories("0x1:C0\n0x2:C1\n0x4:C2\n0x8:C3\n");
const QByteArray allUsers("*:0:0:3:0xff\n");
const QString fourUnchecked = QStringLiteral("0:C0|1|-e 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e");

} // namespace

class TestMacCategoryListWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rebuild_data();
    void rebuild();
    void setValue_data();
    void setValue();
    void rebuildKeepsTheSet_data();
    void rebuildKeepsTheSet();
    void personsCheck();
    void callerBlockedSignals();
    void helpers();
    void appendedRowsExplain_data();
    void appendedRowsExplain();
    void forcedRowsStay_data();
    void forcedRowsStay();
    void rowsOfSeveralCategories_data();
    void rowsOfSeveralCategories();
    void unreadableUserForgetsTheRange_data();
    void unreadableUserForgetsTheRange();
};

void TestMacCategoryListWidget::rebuild_data()
{
    QTest::addColumn<QByteArray>("categories"); // empty: file missing
    QTest::addColumn<QByteArray>("macUsers"); // empty: file missing
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("setup"); // space-separated: uid, min:<hex>, max:<hex>; "": rebuild
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("suitable");
    QTest::addColumn<bool>("enabled");

    const QByteArray none;
    const QByteArray noRecord("1:0:0:0:0xff\n");
    const QString uid = QStringLiteral("uid");
    QTest::newRow("user range") << fourCategories << allUsers << none << none << uid << true
        << fourUnchecked << true << true << true;
    QTest::newRow("user bounds, every row forced") << fourCategories
        << QByteArray("1000:0:0x3:0:0x3\n") << none << none << uid << true << QStringLiteral("0:C0|1|xd 1:C1|2|xd") << true << false << false;
    QTest::newRow("user without record: process categories") << fourCategories << noRecord
        << QByteArray("process_label=0:0:0x5\n") << none << uid << true
        << QStringLiteral("0:C0|1|-e 2:C2|4|-e") << true << true << true;
    QTest::newRow("user without record, no process label") << fourCategories << noRecord
        << QByteArray("process_label=0:0:0xf\n") << QByteArray("tav_get_pid") << uid << true
        << QString() << true << false << false;
    QTest::newRow("unordered, zero, several bits, null and empty names")
        << QByteArray("0x8:C3\n0x0:Zero\n0x6:Pair\n0x1\n0x2:\n") << allUsers << none << none
        << QString() << true << QStringLiteral("0:|1|-e 1:|2|-e 64:Pair|6|-e 3:C3|8|-e") << true
        << true << true;
    QTest::newRow("equal masks: the later goes first") << QByteArray("0x2:A\n0x2:B\n") << allUsers
        << none << none << QString() << true << QStringLiteral("1:B|2|-e 1:A|2|-e") << true << true
        << true;
    QTest::newRow("categories 31 to 63")
        << QByteArray("0x8000000000000000:Top\n0x80000000:Mid\n0x1:C0\n") << allUsers << none << none
        << QString() << true << QStringLiteral("0:C0|1|-e 31:Mid|80000000|-e 63:Top|8000000000000000|-e")
        << true << true << true;
    QTest::newRow("caller maximum") << fourCategories << allUsers << none << none
        << QStringLiteral("max:5") << true << QStringLiteral("0:C0|1|-e 2:C2|4|-e") << true << true
        << true;
    QTest::newRow("caller minimum") << fourCategories << allUsers << none << none
        << QStringLiteral("min:2") << true
        << QStringLiteral("0:C0|1|-e 1:C1|2|xd 2:C2|4|-e 3:C3|8|-e") << true << true << true;
    QTest::newRow("minimum beyond an earlier maximum") << fourCategories << allUsers << none << none
        << QStringLiteral("max:1 min:2") << true << QStringLiteral("0:C0|1|-e 1:C1|2|xd") << true
        << true << true;
    QTest::newRow("MAC off") << fourCategories << allUsers << QByteArray("mac_enabled=0\n") << none
        << uid << false << QString() << true << false << false;
    QTest::newRow("category database missing") << none << allUsers << none << none << uid << false
        << QString() << false << false << true;
    QTest::newRow("category database fails to rewind") << fourCategories << allUsers << none
        << QByteArray("setcatent_r") << uid << false << QString() << false << false << true;
    QTest::newRow("user database missing") << fourCategories << none << none << none << uid << false
        << QString() << false << false << true;
}

void TestMacCategoryListWidget::rebuild()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, fault);
    QFETCH(QString, setup);
    QFETCH(bool, result);
    QFETCH(QString, rows);
    QFETCH(bool, valid);
    QFETCH(bool, suitable);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    policy.writeOrRemove("categories", categories);
    policy.writeOrRemove("mac-users", macUsers);
    policy.write("system", system);
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    const long live = varnel_standin_live();

    MacCategoryListWidget list;
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    bool rebuilt = setup.isEmpty() && list.rebuild();
    for (const QString &step : setup.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const mac_cat_t bound = step.mid(4).toULongLong(nullptr, 16);
        if (step == QLatin1String("uid"))
            rebuilt = list.setUid(1000);
        else if (step.startsWith(QLatin1String("min:")))
            rebuilt = list.setMinimumValue(bound);
        else
            rebuilt = list.setMaximumValue(bound);
    }

    QCOMPARE(rebuilt, result);
    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(list.isValid(), valid);
    QCOMPARE(list.isSuitable(), suitable);
    QCOMPARE(list.isEnabled(), enabled);
    QCOMPARE(changed.count(), 0); // a rebuild from the empty set is silent
    QCOMPARE(varnel_standin_live(), live);

    if (!result)
        return;
    const QString calls = traced();
    if (setup == QLatin1String("uid") && fault.isEmpty()) { // a lookup, closed right after the open
        QVERIFY2(calls.contains(" openmacdb_r getmacuid_r closemacdb_r "), qPrintable(calls));
        QVERIFY(!calls.contains(" setmacent_r "));
    }
    QVERIFY2(calls.contains(" opencatdb_r setcatent_r "), qPrintable(calls));
    QVERIFY2(calls.contains(" endcatent_r closecatdb_r "), qPrintable(calls));
}

void TestMacCategoryListWidget::setValue_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("macUsers"); // empty: no user range
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<mac_cat_t>("after");

    const QByteArray pair("0x1:A\n0x6:Pair\n0x8:D\n");
    QTest::newRow("within the user's range") << fourCategories << allUsers << mac_cat_t(0x5) << true
        << QStringLiteral("0:C0|1|xe 1:C1|2|-e 2:C2|4|xe 3:C3|8|-e") << mac_cat_t(0x5);
    QTest::newRow("beyond the user's maximum") << fourCategories << allUsers << mac_cat_t(0x101)
        << false << fourUnchecked << mac_cat_t(0);
    QTest::newRow("without the user's minimum") << fourCategories << QByteArray("*:0:0x1:3:0xff\n")
        << mac_cat_t(0x4) << false << QStringLiteral("0:C0|1|xd 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e")
        << mac_cat_t(0x1);
    QTest::newRow("categories without rows are appended") << fourCategories << QByteArray()
        << mac_cat_t(0x8000000000000201ull) << true
        << QStringLiteral("0:C0|1|xe 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e 9:Unknown|200|xe "
                          "63:Unknown|8000000000000000|xe")
        << mac_cat_t(0x8000000000000201ull);
    QTest::newRow("a row of several categories, all in the set") << pair << QByteArray()
        << mac_cat_t(0x7) << true << QStringLiteral("0:A|1|xe 64:Pair|6|xe 3:D|8|-e") << mac_cat_t(0x7);
    QTest::newRow("a row of several categories, partly in the set") << pair << QByteArray()
        << mac_cat_t(0xa) << true << QStringLiteral("0:A|1|-e 64:Pair|6|-e 3:D|8|xe 1:Unknown|2|xe")
        << mac_cat_t(0xa);
}

void TestMacCategoryListWidget::setValue()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(mac_cat_t, value);
    QFETCH(bool, result);
    QFETCH(QString, rows);
    QFETCH(mac_cat_t, after);

    StandinPolicy policy;
    policy.write("categories", categories);
    if (!macUsers.isEmpty())
        policy.write("mac-users", macUsers);
    const long live = varnel_standin_live();

    MacCategoryListWidget list;
    QVERIFY(macUsers.isEmpty() ? list.rebuild() : list.setUid(1000));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);

    QCOMPARE(list.setValue(value), result);
    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(list.value(), after);
    QCOMPARE(changed.count(), result ? 1 : 0);
    if (result)
        QCOMPARE(emitted(changed, 0), after);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryListWidget::rebuildKeepsTheSet_data()
{
    QTest::addColumn<bool>("user"); // the default user range, else none
    QTest::addColumn<mac_cat_t>("before");
    QTest::addColumn<QString>("change"); // "max:<hex>", "users:<file>" or "" (rebuild)
    QTest::addColumn<QString>("rows");
    QTest::addColumn<mac_cat_t>("after");
    QTest::addColumn<int>("emissions");

    QTest::newRow("from the empty set") << true << mac_cat_t(0)
        << QStringLiteral("users:*:0:0x2:3:0xff")
        << QStringLiteral("0:C0|1|-e 1:C1|2|xd 2:C2|4|-e 3:C3|8|-e") << mac_cat_t(0x2) << 0;
    QTest::newRow("an unknown category comes back") << false << mac_cat_t(0x105) << QString()
        << QStringLiteral("0:C0|1|xe 1:C1|2|-e 2:C2|4|xe 3:C3|8|-e 8:Unknown|100|xe")
        << mac_cat_t(0x105) << 1;
    QTest::newRow("lowered maximum drops what it excludes") << false << mac_cat_t(0x105)
        << QStringLiteral("max:3") << QStringLiteral("0:C0|1|xe 1:C1|2|-e") << mac_cat_t(0x1) << 1;
    QTest::newRow("lowered user maximum drops what it excludes") << true << mac_cat_t(0x5)
        << QStringLiteral("users:*:0:0:3:0x3") << QStringLiteral("0:C0|1|xe 1:C1|2|-e")
        << mac_cat_t(0x1) << 1;
    QTest::newRow("raised user minimum joins") << true << mac_cat_t(0x1)
        << QStringLiteral("users:*:0:0x8:3:0xff")
        << QStringLiteral("0:C0|1|xe 1:C1|2|-e 2:C2|4|-e 3:C3|8|xd") << mac_cat_t(0x9) << 1;
}

void TestMacCategoryListWidget::rebuildKeepsTheSet()
{
    QFETCH(bool, user);
    QFETCH(mac_cat_t, before);
    QFETCH(QString, change);
    QFETCH(QString, rows);
    QFETCH(mac_cat_t, after);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("categories", fourCategories);
    const long live = varnel_standin_live();

    MacCategoryListWidget list;
    QVERIFY(user ? list.setUid(1000) : list.rebuild());
    QVERIFY(list.setValue(before));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);

    if (change.startsWith(QLatin1String("max:"))) {
        QVERIFY(list.setMaximumValue(change.mid(4).toULongLong(nullptr, 16)));
    } else {
        if (change.startsWith(QLatin1String("users:")))
            policy.write("mac-users", change.mid(6).toLatin1() + '\n');
        QVERIFY(list.rebuild());
    }

    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(list.value(), after);
    QCOMPARE(changed.count(), emissions);
    if (emissions)
        QCOMPARE(emitted(changed, 0), after);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryListWidget::personsCheck()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x80000000:C31\n0x8000000000000000:C63\n");
    policy.write("mac-users", "*:0:0x1:3:0xffffffffffffffff\n");
    MacCategoryListWidget list(1000);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.value(), mac_cat_t(0x1));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);

    list.item(2)->setCheckState(Qt::Checked);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(emitted(changed, 0), mac_cat_t(0x8000000000000001ull));

    // With the keyboard: Space toggles the current row.
    list.setFocus();
    list.setCurrentRow(1);
    QTest::keyClick(&list, Qt::Key_Space);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(emitted(changed, 1), mac_cat_t(0x8000000080000001ull));
    QCOMPARE(list.value(), mac_cat_t(0x8000000080000001ull));

    // The user's minimum stays checked.
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Space);
    QCOMPARE(list.item(0)->checkState(), Qt::Checked);
    QCOMPARE(changed.count(), 2);
}

void TestMacCategoryListWidget::callerBlockedSignals()
{
    StandinPolicy policy;
    policy.write("categories", fourCategories);
    MacCategoryListWidget list;
    QVERIFY(list.rebuild());
    QVERIFY(list.setValue(0x3));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);

    list.blockSignals(true);
    QVERIFY(list.setValue(0x4));
    QVERIFY(list.rebuild());
    QVERIFY(list.signalsBlocked());
    list.item(0)->setCheckState(Qt::Checked);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list.value(), mac_cat_t(0x5));

    list.blockSignals(false);
    list.item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(changed.count(), 1);
}

void TestMacCategoryListWidget::helpers()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x4:C2\n0x8:C3\n");
    const long live = varnel_standin_live();
    MacCategoryListWidget list;
    QVERIFY(!list.isRebuilt());
    QCOMPARE(list.position(0x2), 0);
    QVERIFY(list.rebuild());
    QVERIFY(list.isRebuilt());
    QCOMPARE(list.position(0x2), 1);
    QCOMPARE(list.position(0x4), 1);
    QCOMPARE(list.position(0x10), 3);
    // Lowering the maximum drops the same bits from the minimum.
    QVERIFY(list.setMinimumValue(0x6));
    QVERIFY(list.setMaximumValue(0x5));
    QCOMPARE(list.minimumValue(), mac_cat_t(0x4));
    QCOMPARE(list.cat4Item(nullptr), mac_cat_t(0));
    QCOMPARE(list.nullToMax(0), ~mac_cat_t(0));
    QCOMPARE(list.nullToMax(0x10), mac_cat_t(0x10));
    QCOMPARE(varnel_standin_live(), live);
}

// A row the set brought along says what the policy says of its bit.
void TestMacCategoryListWidget::appendedRowsExplain_data()
{
    QTest::addColumn<QString>("setup"); // "max:<hex>", "rebuild" or "" (never built)
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<QString>("explanation");

    QTest::newRow("named, outside the given bounds") << QStringLiteral("max:f") << mac_cat_t(0x10)
        << QStringLiteral("C4 lies outside the bounds this list was given");
    QTest::newRow("named without a name") << QStringLiteral("max:f") << mac_cat_t(0x100)
        << QStringLiteral("8 lies outside the bounds this list was given");
    QTest::newRow("named by no category") << QStringLiteral("rebuild") << (mac_cat_t(1) << 13)
        << QStringLiteral("The policy names no category for bit 13");
    QTest::newRow("policy never read") << QString() << mac_cat_t(0x20)
        << QStringLiteral("Bit 5 is not among the categories this list shows");
}

void TestMacCategoryListWidget::appendedRowsExplain()
{
    QFETCH(QString, setup);
    QFETCH(mac_cat_t, value);
    QFETCH(QString, explanation);

    StandinPolicy policy;
    policy.write("categories", fourCategories + "0x10:C4\n0x100:\n");
    const long live = varnel_standin_live();
    MacCategoryListWidget list;
    if (setup == QLatin1String("rebuild"))
        QVERIFY(list.rebuild());
    else if (!setup.isEmpty())
        QVERIFY(list.setMaximumValue(setup.mid(4).toULongLong(nullptr, 16)));
    QVERIFY(list.setValue(value));
    const QListWidgetItem *row = list.item(list.count() - 1);
    QCOMPARE(row->text(), QString::number(qCountTrailingZeroBits(value)) + QStringLiteral(":Unknown"));
    QCOMPARE(row->data(Qt::ToolTipRole).toString(), explanation);
    QVERIFY(row->data(Qt::AccessibleDescriptionRole).toString().endsWith(explanation));
    QCOMPARE(varnel_standin_live(), live);
}

// While a user's range bounds the list, the rows it forces stay checked;
// setValue tells whether the set asked for became the value.
void TestMacCategoryListWidget::forcedRowsStay_data()
{
    QTest::addColumn<QString>("setup"); // space-separated: uid, min:<hex>
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<mac_cat_t>("after");
    QTest::addColumn<int>("emissions");

    QTest::newRow("caller minimum under a user range") << QStringLiteral("min:4 uid") << mac_cat_t(0)
        << false << mac_cat_t(0x4) << 0;
    QTest::newRow("caller minimum and more under a user range") << QStringLiteral("min:4 uid") << mac_cat_t(0x1)
        << false << mac_cat_t(0x5) << 1;
    QTest::newRow("the set with the forced row") << QStringLiteral("min:4 uid") << mac_cat_t(0x6) << true
        << mac_cat_t(0x6) << 1;
    QTest::newRow("without a user range a forced row can go") << QStringLiteral("min:4") << mac_cat_t(0)
        << true << mac_cat_t(0) << 1;
    QTest::newRow("the same set again") << QStringLiteral("min:4 uid") << mac_cat_t(0x4) << true
        << mac_cat_t(0x4) << 0;
}

void TestMacCategoryListWidget::forcedRowsStay()
{
    QFETCH(QString, setup);
    QFETCH(mac_cat_t, value);
    QFETCH(bool, result);
    QFETCH(mac_cat_t, after);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("categories", fourCategories);
    const long live = varnel_standin_live();
    MacCategoryListWidget list;
    for (const QString &step : setup.split(QLatin1Char(' ')))
        QVERIFY(step == QLatin1String("uid") ? list.setUid(1000) : list.setMinimumValue(step.mid(4).toULongLong()));
    QCOMPARE(list.value(), mac_cat_t(0x4));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    QCOMPARE(list.setValue(value), result);
    QCOMPARE(list.value(), after);
    QCOMPARE(changed.count(), emissions);
    if (emissions)
        QCOMPARE(emitted(changed, 0), after);
    // A row that says it is carried by every label is checked.
    const QListWidgetItem *c2 = list.item(2);
    QCOMPARE(c2->checkState() == Qt::Checked, bool(after & 0x4));
    QCOMPARE(varnel_standin_live(), live);
}

// A row of two categories beside rows of one each.
void TestMacCategoryListWidget::rowsOfSeveralCategories_data()
{
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<QList<int>>("unchecked"); // rows the person unchecks then
    QTest::addColumn<QString>("rows");        // after a rebuild
    QTest::addColumn<int>("emissions");       // by the person

    QTest::newRow("all three, C0 unchecked") << mac_cat_t(0x3) << QList<int>{0}
        << QStringLiteral("0:C0|1|-e 1:C1|2|xe 64:Both|3|xe 2:C2|4|-e") << 0;
    QTest::newRow("all three, Both unchecked") << mac_cat_t(0x3) << QList<int>{2}
        << QStringLiteral("0:C0|1|xe 1:C1|2|xe 64:Both|3|-e 2:C2|4|-e") << 0;
    QTest::newRow("C0 and Both unchecked") << mac_cat_t(0x3) << QList<int>{0, 2}
        << QStringLiteral("0:C0|1|-e 1:C1|2|xe 64:Both|3|-e 2:C2|4|-e") << 1;
}

void TestMacCategoryListWidget::rowsOfSeveralCategories()
{
    QFETCH(mac_cat_t, value);
    QFETCH(QList<int>, unchecked);
    QFETCH(QString, rows);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x2:C1\n0x3:Both\n0x4:C2\n");
    const long live = varnel_standin_live();
    MacCategoryListWidget list;
    QVERIFY(list.rebuild());
    QVERIFY(list.setValue(value));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    // The same set again is no change.
    QVERIFY(list.setValue(value));
    QCOMPARE(changed.count(), 0);
    for (const int row : unchecked)
        list.item(row)->setCheckState(Qt::Unchecked);
    QCOMPARE(changed.count(), emissions);
    const mac_cat_t before = list.value();
    QVERIFY(list.rebuild());
    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(list.value(), before);
    QCOMPARE(varnel_standin_live(), live);
}

// A rebuild that cannot read the user's range leaves nothing of an earlier
// user's range: no set but the empty one is taken.
void TestMacCategoryListWidget::unreadableUserForgetsTheRange_data()
{
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("user database missing") << QByteArray() << QByteArray("openmacdb_r");
    QTest::newRow("MAC switched off") << QByteArray("mac_enabled=0\n") << QByteArray();
}

void TestMacCategoryListWidget::unreadableUserForgetsTheRange()
{
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, fault);

    StandinPolicy policy;
    policy.write("categories", fourCategories);
    const long live = varnel_standin_live();
    MacCategoryListWidget list(1000);
    QVERIFY(list.setValue(0x3));
    policy.write("system", system);
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    QVERIFY(!list.setUid(1001));
    QCOMPARE(list.count(), 0);
    QVERIFY(!list.setValue(0x1));
    QCOMPARE(list.value(), mac_cat_t(0));
    QVERIFY(list.setValue(0));
    QCOMPARE(varnel_standin_live(), live);
}

QTEST_MAIN(TestMacCategoryListWidget)
#include "tst_maccategorylistwidget.moc"
