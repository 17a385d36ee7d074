#include "MacCategoryListWidget.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacCategoryListWidget;

namespace {

// One row as the person sees it: "text|mask|checked|enabled".
QString describe(const QListWidgetItem *row)
{
    return row->text() + QLatin1Char('|')
        + QString::number(row->data(Qt::UserRole).toULongLong(), 16) + QLatin1Char('|')
        + (row->checkState() == Qt::Checked ? QLatin1Char('x') : QLatin1Char('-'))
        + (row->flags() & Qt::ItemIsEnabled ? QLatin1Char('e') : QLatin1Char('d'));
}

QStringList rowsOf(const MacCategoryListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows.append(describe(list.item(i)));
    return rows;
}

QStringList rowsOf(const char *rows)
{
    return QString::fromLatin1(rows).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool adjacent(const QStringList &calls, const QStringList &run)
{
    for (int i = 0; i + run.size() <= calls.size(); ++i) {
        if (calls.mid(i, run.size()) == run)
            return true;
    }
    return false;
}

mac_cat_t emitted(const QSignalSpy &spy, int i)
{
    return spy.at(i).first().value<mac_cat_t>();
}

const QByteArray fourCategories("0x1:C0\n0x2:C1\n0x4:C2\n0x8:C3\n");

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
    void positions();
};

void TestMacCategoryListWidget::rebuild_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<QString>("setup"); // "uid", "min:<hex>", "max:<hex>" or "" (rebuild)
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("suitable");
    QTest::addColumn<bool>("enabled");

    const QByteArray users("*:0:0:3:0xff\n");
    const QString uid = QStringLiteral("uid");
    QTest::newRow("user range")
        << fourCategories << users << QByteArray() << QByteArray() << uid << true
        << rowsOf("0:C0|1|-e 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e") << true << true << true;
    QTest::newRow("user maximum and minimum")
        << fourCategories << QByteArray("1000:0:0x3:0:0x7\n") << QByteArray() << QByteArray() << uid
        << true << rowsOf("0:C0|1|xd 1:C1|2|xd 2:C2|4|-e") << true << true << true;
    QTest::newRow("every row forced")
        << fourCategories << QByteArray("1000:0:0x3:0:0x3\n") << QByteArray() << QByteArray() << uid
        << true << rowsOf("0:C0|1|xd 1:C1|2|xd") << true << false << false;
    QTest::newRow("user without record: process categories")
        << fourCategories << QByteArray("1:0:0:0:0xff\n") << QByteArray("process_label=0:0:0x5\n")
        << QByteArray() << uid << true << rowsOf("0:C0|1|-e 2:C2|4|-e") << true << true << true;
    QTest::newRow("user without record, no process label")
        << fourCategories << QByteArray("1:0:0:0:0xff\n") << QByteArray("process_label=0:0:0xf\n")
        << QByteArray("tav_get_pid") << uid << true << QStringList() << true << false << false;
    QTest::newRow("unordered, zero, several bits, null and empty names")
        << QByteArray("0x8:C3\n0x0:Zero\n0x6:Pair\n0x1\n0x2:\n") << users << QByteArray()
        << QByteArray() << QString() << true << rowsOf("0:|1|-e 1:|2|-e 64:Pair|6|-e 3:C3|8|-e")
        << true << true << true;
    QTest::newRow("equal masks: the later goes first")
        << QByteArray("0x2:A\n0x2:B\n") << users << QByteArray() << QByteArray() << QString() << true
        << rowsOf("1:B|2|-e 1:A|2|-e") << true << true << true;
    QTest::newRow("categories 31 to 63")
        << QByteArray("0x8000000000000000:Top\n0x80000000:Mid\n0x1:C0\n") << users << QByteArray()
        << QByteArray() << QString() << true
        << rowsOf("0:C0|1|-e 31:Mid|80000000|-e 63:Top|8000000000000000|-e") << true << true << true;
    QTest::newRow("high categories beyond the user's maximum")
        << QByteArray("0x8000000000000000:Top\n0x1:C0\n") << users << QByteArray() << QByteArray()
        << uid << true << rowsOf("0:C0|1|-e") << true << true << true;
    QTest::newRow("caller maximum")
        << fourCategories << users << QByteArray() << QByteArray() << QStringLiteral("max:5") << true
        << rowsOf("0:C0|1|-e 2:C2|4|-e") << true << true << true;
    QTest::newRow("caller minimum")
        << fourCategories << users << QByteArray() << QByteArray() << QStringLiteral("min:2") << true
        << rowsOf("0:C0|1|-e 1:C1|2|xd 2:C2|4|-e 3:C3|8|-e") << true << true << true;
    QTest::newRow("MAC off")
        << fourCategories << users << QByteArray("mac_enabled=0\n") << QByteArray() << uid << false
        << QStringList() << true << false << false;
    QTest::newRow("category database missing")
        << QByteArray() << users << QByteArray() << QByteArray() << uid << false << QStringList()
        << false << false << true;
    QTest::newRow("category database fails to rewind")
        << fourCategories << users << QByteArray() << QByteArray("setcatent_r") << uid << false
        << QStringList() << false << false << true;
    QTest::newRow("user database missing")
        << fourCategories << QByteArray() << QByteArray() << QByteArray() << uid << false
        << QStringList() << false << false << true;
}

void TestMacCategoryListWidget::rebuild()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, faults);
    QFETCH(QString, setup);
    QFETCH(bool, result);
    QFETCH(QStringList, rows);
    QFETCH(bool, valid);
    QFETCH(bool, suitable);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    categories.isEmpty() ? policy.remove("categories") : policy.write("categories", categories);
    macUsers.isEmpty() ? policy.remove("mac-users") : policy.write("mac-users", macUsers);
    policy.write("system", system);
    if (!faults.isEmpty())
        policy.fail(faults.constData());
    const long live = varnel_standin_live();

    MacCategoryListWidget list;
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    bool rebuilt = false;
    if (setup == QLatin1String("uid"))
        rebuilt = list.setUid(1000);
    else if (setup.startsWith(QLatin1String("min:")))
        rebuilt = list.setMinimumValue(setup.mid(4).toULongLong(nullptr, 16));
    else if (setup.startsWith(QLatin1String("max:")))
        rebuilt = list.setMaximumValue(setup.mid(4).toULongLong(nullptr, 16));
    else
        rebuilt = list.rebuild();

    QCOMPARE(rebuilt, result);
    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(list.isValid(), valid);
    QCOMPARE(list.isSuitable(), suitable);
    QCOMPARE(list.isEnabled(), enabled);
    QCOMPARE(list.hasAvailableCategories(), !rows.isEmpty());
    QVERIFY(list.isRebuilt());
    QCOMPARE(changed.count(), 0); // a rebuild from the empty set is silent
    QCOMPARE(varnel_standin_live(), live);

    const QStringList calls = StandinPolicy::trace();
    if (setup == QLatin1String("uid") && faults.isEmpty() && !macUsers.isEmpty() && result) {
        QVERIFY2(adjacent(calls, {QStringLiteral("openmacdb_r"), QStringLiteral("getmacuid_r"),
                                  QStringLiteral("closemacdb_r")}),
                 qPrintable(calls.join(QLatin1Char(' '))));
        QVERIFY(!calls.contains(QStringLiteral("setmacent_r")));
    }
    if (result) {
        QVERIFY(adjacent(calls, {QStringLiteral("opencatdb_r"), QStringLiteral("setcatent_r")}));
        QVERIFY(adjacent(calls, {QStringLiteral("endcatent_r"), QStringLiteral("closecatdb_r")}));
    }
}

void TestMacCategoryListWidget::setValue_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("macUsers"); // empty: no user range
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<mac_cat_t>("after");

    const QByteArray users("*:0:0:3:0xff\n");
    QTest::newRow("within the user's range")
        << fourCategories << users << mac_cat_t(0x5) << true
        << rowsOf("0:C0|1|xe 1:C1|2|-e 2:C2|4|xe 3:C3|8|-e") << mac_cat_t(0x5);
    QTest::newRow("beyond the user's maximum")
        << fourCategories << users << mac_cat_t(0x101) << false
        << rowsOf("0:C0|1|-e 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e") << mac_cat_t(0);
    QTest::newRow("without the user's minimum")
        << fourCategories << QByteArray("*:0:0x1:3:0xff\n") << mac_cat_t(0x4) << false
        << rowsOf("0:C0|1|xd 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e") << mac_cat_t(0x1);
    QTest::newRow("categories without rows are appended")
        << fourCategories << QByteArray() << mac_cat_t(0x8000000000000201ull) << true
        << rowsOf("0:C0|1|xe 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e 9:Unknown|200|xe "
                  "63:Unknown|8000000000000000|xe")
        << mac_cat_t(0x8000000000000201ull);
    QTest::newRow("a row of several categories, all in the set")
        << QByteArray("0x1:A\n0x6:Pair\n0x8:D\n") << QByteArray() << mac_cat_t(0x7) << true
        << rowsOf("0:A|1|xe 64:Pair|6|xe 3:D|8|-e") << mac_cat_t(0x7);
    QTest::newRow("a row of several categories, partly in the set")
        << QByteArray("0x1:A\n0x6:Pair\n0x8:D\n") << QByteArray() << mac_cat_t(0xa) << true
        << rowsOf("0:A|1|-e 64:Pair|6|-e 3:D|8|xe") << mac_cat_t(0x8);
    QTest::newRow("rows after one of several categories keep following")
        << QByteArray("0x6:Pair\n0x1:A\n0x10:E\n") << QByteArray() << mac_cat_t(0x11) << true
        << rowsOf("0:A|1|xe 64:Pair|6|-e 4:E|10|xe") << mac_cat_t(0x11);
    QTest::newRow("category 63")
        << QByteArray("0x1:A\n0x8000000000000000:Top\n") << QByteArray()
        << mac_cat_t(0x8000000000000000ull) << true
        << rowsOf("0:A|1|-e 63:Top|8000000000000000|xe") << mac_cat_t(0x8000000000000000ull);
}

void TestMacCategoryListWidget::setValue()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(mac_cat_t, value);
    QFETCH(bool, result);
    QFETCH(QStringList, rows);
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
    QTest::addColumn<QByteArray>("macUsers"); // empty: no user range
    QTest::addColumn<mac_cat_t>("before");
    QTest::addColumn<QString>("change"); // "max:<hex>", "users:<file>" or "" (rebuild)
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<mac_cat_t>("after");
    QTest::addColumn<int>("emissions");

    QTest::newRow("plain rebuild")
        << QByteArray() << mac_cat_t(0x5) << QString()
        << rowsOf("0:C0|1|xe 1:C1|2|-e 2:C2|4|xe 3:C3|8|-e") << mac_cat_t(0x5) << 1;
    QTest::newRow("from the empty set")
        << QByteArray("*:0:0:3:0xff\n") << mac_cat_t(0) << QStringLiteral("users:*:0:0x2:3:0xff")
        << rowsOf("0:C0|1|-e 1:C1|2|xd 2:C2|4|-e 3:C3|8|-e") << mac_cat_t(0x2) << 0;
    QTest::newRow("an unknown category comes back")
        << QByteArray() << mac_cat_t(0x101) << QString()
        << rowsOf("0:C0|1|xe 1:C1|2|-e 2:C2|4|-e 3:C3|8|-e 8:Unknown|100|xe") << mac_cat_t(0x101)
        << 1;
    QTest::newRow("lowered maximum drops what it excludes")
        << QByteArray() << mac_cat_t(0x105) << QStringLiteral("max:3")
        << rowsOf("0:C0|1|xe 1:C1|2|-e") << mac_cat_t(0x1) << 1;
    QTest::newRow("lowered user maximum drops what it excludes")
        << QByteArray("*:0:0:3:0xff\n") << mac_cat_t(0x5) << QStringLiteral("users:*:0:0:3:0x3")
        << rowsOf("0:C0|1|xe 1:C1|2|-e") << mac_cat_t(0x1) << 1;
    QTest::newRow("raised user minimum joins")
        << QByteArray("*:0:0:3:0xff\n") << mac_cat_t(0x1) << QStringLiteral("users:*:0:0x8:3:0xff")
        << rowsOf("0:C0|1|xe 1:C1|2|-e 2:C2|4|-e 3:C3|8|xd") << mac_cat_t(0x9) << 1;
}

void TestMacCategoryListWidget::rebuildKeepsTheSet()
{
    QFETCH(QByteArray, macUsers);
    QFETCH(mac_cat_t, before);
    QFETCH(QString, change);
    QFETCH(QStringList, rows);
    QFETCH(mac_cat_t, after);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("categories", fourCategories);
    if (!macUsers.isEmpty())
        policy.write("mac-users", macUsers);
    const long live = varnel_standin_live();

    MacCategoryListWidget list;
    QVERIFY(macUsers.isEmpty() ? list.rebuild() : list.setUid(1000));
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

void TestMacCategoryListWidget::positions()
{
    StandinPolicy policy;
    MacCategoryListWidget list;
    QCOMPARE(list.position(2), 0);
    QCOMPARE(list.cat4Item(nullptr), mac_cat_t(0));
    QCOMPARE(list.cat4Item(0), mac_cat_t(0));
    QCOMPARE(list.nullToMax(0), ~mac_cat_t(0));
    QCOMPARE(list.nullToMax(0x10), mac_cat_t(0x10));

    policy.write("categories", "0x1:A\n0x4:C\n0x8:D\n");
    QVERIFY(list.rebuild());
    QCOMPARE(list.position(2), 1);
    QCOMPARE(list.position(4), 1);
    QCOMPARE(list.position(16), 3);
    QCOMPARE(list.cat4Item(2), mac_cat_t(0x8));
}

QTEST_MAIN(TestMacCategoryListWidget)
#include "tst_maccategorylistwidget.moc"
