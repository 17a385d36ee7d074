// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Finding a category among many: type-ahead by name and number in a category
// list, and MacCategoryFilterEdit hiding the rows whose name does not match.

#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "StandinPolicy.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace VarnelQt5;

namespace {

// 64 categories; a few carry the names of the tests, the others "Cn".
QByteArray sixtyFour()
{
    QByteArray file;
    for (int n = 0; n < 64; ++n) {
        QByteArray name = "C" + QByteArray::number(n);
        if (n == 3)
            name = "Trésor";
        else if (n == 13)
            name = "Treasury";
        else if (n == 20)
            name = "Transport";
        else if (n == 40)
            name = "Staff";
        file += "0x" + QByteArray::number(qulonglong(1) << n, 16) + ':' + name + '\n';
    }
    return file;
}

// The texts of the rows a person sees.
QStringList shownRows(const MacCategoryListWidget &list)
{
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) {
        if (!list.item(row)->isHidden())
            rows << list.item(row)->text();
    }
    return rows;
}

QString currentText(const MacCategoryListWidget &list)
{
    return list.currentItem() ? list.currentItem()->text() : QStringLiteral("(none)");
}

} // namespace

class tst_MacCategoryFilterEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typeAhead_data();
    void typeAhead();
    void filter_data();
    void filter();
    void filterFollowsTheList();
    void keys();
    void unbinding();

private:
    std::unique_ptr<StandinPolicy> m_policy;
    long m_live = 0;
};

void tst_MacCategoryFilterEdit::init()
{
    m_live = varnel_standin_live();
    m_policy.reset(new StandinPolicy);
    m_policy->write("categories", sixtyFour());
    m_policy->write("mac-users", "*:0:0:3:0xffffffffffffffff\n");
}

void tst_MacCategoryFilterEdit::cleanup()
{
    m_policy.reset();
    QCOMPARE(varnel_standin_live(), m_live);
}

void tst_MacCategoryFilterEdit::typeAhead_data()
{
    QTest::addColumn<QStringList>("typed"); // each entry one burst of keys
    QTest::addColumn<QString>("filterText");
    QTest::addColumn<mac_cat_t>("forced");
    QTest::addColumn<QString>("current");

    QTest::newRow("a name") << QStringList{"Treas"} << QString() << mac_cat_t(0) << "13:Treasury";
    QTest::newRow("a name, any case") << QStringList{"tREAS"} << QString() << mac_cat_t(0) << "13:Treasury";
    QTest::newRow("a number") << QStringList{"13"} << QString() << mac_cat_t(0) << "13:Treasury";
    QTest::newRow("a number and its colon") << QStringList{"40:"} << QString() << mac_cat_t(0) << "40:Staff";
    QTest::newRow("the first of several") << QStringList{"Tr"} << QString() << mac_cat_t(0) << "3:Trésor";
    QTest::newRow("one letter again steps on") << QStringList{"TT"} << QString() << mac_cat_t(0) << "13:Treasury";
    QTest::newRow("and wraps around") << QStringList{"TTTT"} << QString() << mac_cat_t(0) << "3:Trésor";
    QTest::newRow("a new search starts after the current row")
        << QStringList{"Tr", "Tr"} << QString() << mac_cat_t(0) << "13:Treasury";
    QTest::newRow("no match keeps the row") << QStringList{"Tr", "Zebra"} << QString() << mac_cat_t(0)
                                            << "3:Trésor";
    QTest::newRow("hidden rows are passed over") << QStringList{"T"} << "Tra" << mac_cat_t(0) << "20:Transport";
    QTest::newRow("locked rows are passed over") << QStringList{"Tr"} << QString() << mac_cat_t(0x8)
                                                 << "13:Treasury";
}

void tst_MacCategoryFilterEdit::typeAhead()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, filterText);
    QFETCH(mac_cat_t, forced);
    QFETCH(QString, current);

    MacCategoryListWidget list;
    if (forced)
        QVERIFY(list.setMinimumValue(forced));
    else
        QVERIFY(list.setUid(1000));
    MacCategoryFilterEdit filter;
    filter.setCategoryList(&list);
    filter.setText(filterText);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const mac_cat_t before = list.value();
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    for (int burst = 0; burst < typed.size(); ++burst) {
        // Qt's search timeout parts the bursts.
        if (burst > 0)
            QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, typed.at(burst));
    }
    QCOMPARE(currentText(list), current);
    // Finding a row never checks it, and every row keeps its text.
    QCOMPARE(list.value(), before);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list.count(), 64);
    QCOMPARE(list.item(13)->text(), QStringLiteral("13:Treasury"));
}

void tst_MacCategoryFilterEdit::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<mac_cat_t>("checked");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("a part of a name") << "reas" << mac_cat_t(0) << QStringList{"13:Treasury"};
    QTest::newRow("checked rows stay") << "Treas" << mac_cat_t(0x3)
                                       << QStringList{"0:C0", "1:C1", "13:Treasury"};
    QTest::newRow("without diacritics") << "tresor" << mac_cat_t(0) << QStringList{"3:Trésor"};
    QTest::newRow("with diacritics, any case") << "TRÉS" << mac_cat_t(0) << QStringList{"3:Trésor"};
    QTest::newRow("a number") << "40" << mac_cat_t(0) << QStringList{"40:Staff"};
    QTest::newRow("blanks around") << "  staff " << mac_cat_t(0) << QStringList{"40:Staff"};
    QTest::newRow("nothing matches") << "zebra" << (mac_cat_t(1) << 63) << QStringList{"63:C63"};
}

void tst_MacCategoryFilterEdit::filter()
{
    QFETCH(QString, text);
    QFETCH(mac_cat_t, checked);
    QFETCH(QStringList, shown);

    MacCategoryListWidget list(uid_t(1000));
    QVERIFY(list.setValue(checked));
    MacCategoryFilterEdit filter;
    filter.setCategoryList(&list);
    QCOMPARE(filter.categoryList(), &list);
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    filter.setText(text);
    QCOMPARE(shownRows(list), shown);
    for (int row = 0; row < list.count(); ++row)
        QCOMPARE(filter.accepts(row), !list.item(row)->isHidden());
    // Only hidden and shown: the set and the rows stay as they were.
    QCOMPARE(list.value(), checked);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list.count(), 64);

    filter.clear();
    QCOMPARE(shownRows(list).size(), 64);
}

void tst_MacCategoryFilterEdit::filterFollowsTheList()
{
    MacCategoryListWidget list(uid_t(1000));
    MacCategoryFilterEdit filter;
    filter.setCategoryList(&list);
    filter.setText(QStringLiteral("Tr"));
    QCOMPARE(shownRows(list), (QStringList{"3:Trésor", "13:Treasury", "20:Transport"}));

    // A row checked while hidden comes into view; unchecking it by hand
    // leaves it there until the text changes.
    QVERIFY(list.setValue(0x1));
    QCOMPARE(shownRows(list), (QStringList{"0:C0", "3:Trésor", "13:Treasury", "20:Transport"}));
    list.item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(list.value(), mac_cat_t(0));
    QVERIFY(!list.item(0)->isHidden());
    filter.setText(QStringLiteral("Tra"));
    QCOMPARE(shownRows(list), QStringList{"20:Transport"});

    // A category the set brings along without a row of its own.
    m_policy->write("categories", "0x1:C0\n0x100000:Transport\n");
    QVERIFY(list.rebuild());
    QCOMPARE(shownRows(list), QStringList{"20:Transport"});
    QVERIFY(list.setValue(0x100001 | (mac_cat_t(1) << 50)));
    QCOMPARE(shownRows(list), (QStringList{"0:C0", "20:Transport", "50:Unknown"}));

    // A rebuild and another user: the rows are filtered as they come back,
    // with their checks.
    m_policy->write("categories", sixtyFour());
    QVERIFY(list.rebuild());
    QCOMPARE(list.value(), 0x100001 | (mac_cat_t(1) << 50));
    QCOMPARE(shownRows(list), (QStringList{"0:C0", "20:Transport", "50:C50"}));
    m_policy->write("mac-users", "1000:0:0x8:3:0xff\n*:0:0:3:0xffffffffffffffff\n");
    QVERIFY(list.setUid(1000));
    QCOMPARE(list.value(), mac_cat_t(0x9));
    QCOMPARE(shownRows(list), (QStringList{"0:C0", "3:Trésor"}));
    QVERIFY(list.setUid(1001));
    QCOMPARE(shownRows(list), (QStringList{"0:C0", "3:Trésor", "20:Transport"}));
}

void tst_MacCategoryFilterEdit::keys()
{
    MacCategoryListWidget list(uid_t(1000));
    MacCategoryFilterEdit filter;
    filter.setCategoryList(&list);
    QCOMPARE(filter.placeholderText(), QStringLiteral("Filter categories"));
    QCOMPARE(filter.accessibleName(), QStringLiteral("Filter categories"));
    QVERIFY(filter.isClearButtonEnabled());
    QWidget window;
    filter.setParent(&window);
    list.setParent(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    filter.setFocus();
    QTRY_VERIFY(filter.hasFocus());

    QTest::keyClicks(&filter, QStringLiteral("staff"));
    QCOMPARE(shownRows(list), QStringList{"40:Staff"});
    // Down goes into the list, onto its first row in view.
    QTest::keyClick(&filter, Qt::Key_Down);
    QTRY_VERIFY(list.hasFocus());
    QCOMPARE(currentText(list), QStringLiteral("40:Staff"));
    // Space there checks it, as in any list.
    QTest::keyClick(&list, Qt::Key_Space);
    QCOMPARE(list.value(), mac_cat_t(1) << 40);

    // Escape empties the filter and every row is back.
    filter.setFocus();
    QTRY_VERIFY(filter.hasFocus());
    QTest::keyClick(&filter, Qt::Key_Escape);
    QCOMPARE(filter.text(), QString());
    QCOMPARE(shownRows(list).size(), 64);
    QCOMPARE(list.value(), mac_cat_t(1) << 40);
    filter.setParent(nullptr);
    list.setParent(nullptr);
}

void tst_MacCategoryFilterEdit::unbinding()
{
    MacCategoryListWidget list(uid_t(1000));
    MacCategoryListWidget other(uid_t(1000));
    {
        MacCategoryFilterEdit filter;
        filter.setCategoryList(&list);
        filter.setText(QStringLiteral("Staff"));
        QCOMPARE(shownRows(list).size(), 1);
        // Another list: the first one shows all its rows again.
        filter.setCategoryList(&other);
        QCOMPARE(shownRows(list).size(), 64);
        QCOMPARE(shownRows(other), QStringList{"40:Staff"});
        filter.setCategoryList(nullptr);
        QCOMPARE(shownRows(other).size(), 64);
        QVERIFY(!filter.accepts(0));
        filter.setCategoryList(&other);
        QCOMPARE(shownRows(other).size(), 1);
    }
    // A filter destroyed leaves no row hidden.
    QCOMPARE(shownRows(other).size(), 64);

    // A list destroyed before its filter.
    MacCategoryFilterEdit filter;
    {
        MacCategoryListWidget gone(uid_t(1000));
        filter.setCategoryList(&gone);
    }
    QCOMPARE(filter.categoryList(), nullptr);
    filter.setText(QStringLiteral("x"));
}

QTEST_MAIN(tst_MacCategoryFilterEdit)
#include "tst_maccategoryfilteredit.moc"
