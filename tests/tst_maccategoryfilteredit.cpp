// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Finding a category among many: type-ahead by name and number in a category
// list, and MacCategoryFilterEdit hiding the rows whose name does not match.

#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "StandinPolicy.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace VarnelQt5;

// The filter holds nothing but its private pointer, so that it can grow
// without changing size.
static_assert(sizeof(MacCategoryFilterEdit) == sizeof(QLineEdit) + sizeof(void *),
              "MacCategoryFilterEdit keeps its state behind its private pointer");

namespace {

// 64 categories named "Cn", but for the few the tests look for.
QByteArray sixtyFour()
{
    const QMap<int, QByteArray> names{{3, "Trésor"}, {13, "Treasury"}, {20, "Transport"}, {40, "Staff"}};
    QByteArray file;
    for (int n = 0; n < 64; ++n)
        file += "0x" + QByteArray::number(qulonglong(1) << n, 16) + ':'
            + names.value(n, 'C' + QByteArray::number(n)) + '\n';
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
    void finding_data();
    void finding();
    void filterFollowsTheList();
    void keys();
    void hiddenRowIsNeverCurrent_data();
    void hiddenRowIsNeverCurrent();
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

void tst_MacCategoryFilterEdit::finding_data()
{
    QTest::addColumn<QString>("filterText");
    QTest::addColumn<mac_cat_t>("checked");
    QTest::addColumn<mac_cat_t>("forced");
    QTest::addColumn<QStringList>("typed"); // each entry one burst of keys
    QTest::addColumn<QStringList>("shown"); // empty: all 64
    QTest::addColumn<QString>("current");   // the row typing leads to

    const auto row = [](const char *name, const char *filterText, mac_cat_t checked, mac_cat_t forced,
                        const QStringList &typed, const QStringList &shown, const char *current) {
        QTest::newRow(name) << QString::fromUtf8(filterText) << checked << forced << typed << shown
                            << QString::fromUtf8(current);
    };
    // Type-ahead by name and number.
    row("a name", "", 0, 0, {"Treas"}, {}, "13:Treasury");
    row("a name, any case", "", 0, 0, {"tREAS"}, {}, "13:Treasury");
    row("a number", "", 0, 0, {"13"}, {}, "13:Treasury");
    row("a number and its colon", "", 0, 0, {"40:"}, {}, "40:Staff");
    row("the first of several", "", 0, 0, {"Tr"}, {}, "3:Trésor");
    row("one letter again steps on", "", 0, 0, {"TT"}, {}, "13:Treasury");
    row("and wraps around", "", 0, 0, {"TTTT"}, {}, "3:Trésor");
    row("a new search starts after the current row", "", 0, 0, {"Tr", "Tr"}, {}, "13:Treasury");
    row("no match keeps the row", "", 0, 0, {"Tr", "Zebra"}, {}, "3:Trésor");
    // Typed digits find the category of that number, a repeated digit too.
    row("number 5", "", 0, 0, {"5"}, {}, "5:C5");
    row("number 11", "", 0, 0, {"11"}, {}, "11:C11");
    row("number 13", "", 0, 0, {"13"}, {}, "13:Treasury");
    row("number 22", "", 0, 0, {"22"}, {}, "22:C22");
    row("number 33", "", 0, 0, {"33"}, {}, "33:C33");
    row("number 63", "", 0, 0, {"63"}, {}, "63:C63");
    row("a number again stays", "", 0, 0, {"11", "11"}, {}, "11:C11");
    row("locked rows are passed over", "", 0, 0x8, {"Tr"}, {}, "13:Treasury");
    row("hidden rows are passed over", "port", 0x1, 0, {"T"}, {"0:C0", "20:Transport"}, "20:Transport");
    // The filter: a typed name, the checked rows and nothing else.
    row("a part of a name", "reas", 0, 0, {}, {"13:Treasury"}, "");
    row("checked rows stay", "Treas", 0x3, 0, {"Treas"}, {"0:C0", "1:C1", "13:Treasury"}, "13:Treasury");
    row("without diacritics", "tresor", 0, 0, {}, {"3:Trésor"}, "");
    row("with diacritics, any case", "TRÉS", 0, 0, {}, {"3:Trésor"}, "");
    row("a number in a filter", "40", 0, 0, {}, {"40:Staff"}, "");
    row("blanks around", "  staff ", 0, 0, {}, {"40:Staff"}, "");
    row("nothing matches", "zebra", mac_cat_t(1) << 63, 0, {}, {"63:C63"}, "");
}

// Finding a row only moves to it or hides others: the set and the rows'
// texts stay as they were.
void tst_MacCategoryFilterEdit::finding()
{
    QFETCH(QString, filterText);
    QFETCH(mac_cat_t, checked);
    QFETCH(mac_cat_t, forced);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    QFETCH(QString, current);

    MacCategoryListWidget list(uid_t(1000));
    if (forced)
        QVERIFY(list.setMinimumValue(forced));
    if (checked)
        QVERIFY(list.setValue(checked));
    const QStringList all = shownRows(list);
    QCOMPARE(all.size(), 64);
    MacCategoryFilterEdit filter;
    filter.setCategoryList(&list);
    QCOMPARE(filter.categoryList(), &list);
    filter.setText(filterText);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changed(&list, &MacCategoryListWidget::valueChanged);
    for (int burst = 0; burst < typed.size(); ++burst) {
        // Qt's search timeout parts the bursts.
        if (burst > 0)
            QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, typed.at(burst));
    }
    if (!typed.isEmpty())
        QCOMPARE(currentText(list), current);
    QCOMPARE(shownRows(list), shown.isEmpty() ? all : shown);
    for (int row = 0; row < list.count(); ++row)
        QCOMPARE(filter.accepts(row), !list.item(row)->isHidden());
    QCOMPARE(list.value(), checked | forced);
    QCOMPARE(changed.count(), 0);
    filter.clear();
    QCOMPARE(shownRows(list), all);
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
    QCOMPARE(shownRows(list).size(), 4);
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
    QWidget window;
    auto *filter = new MacCategoryFilterEdit(&window);
    auto *list = new MacCategoryListWidget(uid_t(1000), &window);
    filter->setCategoryList(list);
    QCOMPARE(filter->placeholderText(), QStringLiteral("Filter categories"));
    QCOMPARE(filter->accessibleName(), QStringLiteral("Filter categories"));
    QVERIFY(filter->isClearButtonEnabled());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    filter->setFocus();
    QTRY_VERIFY(filter->hasFocus());
    QTest::keyClicks(filter, QStringLiteral("staff"));
    QCOMPARE(shownRows(*list), QStringList{"40:Staff"});
    // Down goes into the list, onto its first row in view, where Space
    // checks it as in any list.
    QTest::keyClick(filter, Qt::Key_Down);
    QTRY_VERIFY(list->hasFocus());
    QCOMPARE(currentText(*list), QStringLiteral("40:Staff"));
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(list->value(), mac_cat_t(1) << 40);

    // Escape empties the filter and every row is back, the check kept.
    filter->setFocus();
    QTRY_VERIFY(filter->hasFocus());
    QTest::keyClick(filter, Qt::Key_Escape);
    QCOMPARE(filter->text(), QString());
    QCOMPARE(shownRows(*list).size(), 64);
    QCOMPARE(list->value(), mac_cat_t(1) << 40);
}

// The filter hides the current row: another row in view, or none, becomes
// current, and no key reaches the hidden one.
void tst_MacCategoryFilterEdit::hiddenRowIsNeverCurrent_data()
{
    QTest::addColumn<QString>("filterText");
    QTest::addColumn<int>("key"); // in the list, or Down in the filter
    QTest::addColumn<bool>("inFilter");
    QTest::addColumn<QString>("current");
    QTest::addColumn<mac_cat_t>("value");

    QTest::newRow("Space") << QStringLiteral("C5") << int(Qt::Key_Space) << false << QStringLiteral("5:C5")
                           << (mac_cat_t(1) << 5);
    QTest::newRow("Select") << QStringLiteral("C5") << int(Qt::Key_Select) << false << QStringLiteral("5:C5")
                            << (mac_cat_t(1) << 5);
    QTest::newRow("Down in the filter") << QStringLiteral("C5") << int(Qt::Key_Down) << true
                                        << QStringLiteral("5:C5") << mac_cat_t(0);
    QTest::newRow("the row before") << QStringLiteral("Trésor") << int(Qt::Key_Space) << false
                                    << QStringLiteral("3:Trésor") << mac_cat_t(0x8);
    QTest::newRow("nothing in view, Space") << QStringLiteral("zebra") << int(Qt::Key_Space) << false
                                            << QStringLiteral("(none)") << mac_cat_t(0);
    QTest::newRow("nothing in view, Select") << QStringLiteral("zebra") << int(Qt::Key_Select) << false
                                             << QStringLiteral("(none)") << mac_cat_t(0);
}

void tst_MacCategoryFilterEdit::hiddenRowIsNeverCurrent()
{
    QFETCH(QString, filterText);
    QFETCH(int, key);
    QFETCH(bool, inFilter);
    QFETCH(QString, current);
    QFETCH(mac_cat_t, value);

    QWidget window;
    auto *filter = new MacCategoryFilterEdit(&window);
    auto *list = new MacCategoryListWidget(uid_t(1000), &window);
    filter->setCategoryList(list);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    list->setFocus();
    list->setCurrentRow(4);
    QSignalSpy changed(list, &MacCategoryListWidget::valueChanged);
    filter->setText(filterText);
    QVERIFY(list->item(4)->isHidden());
    QCOMPARE(currentText(*list), current);

    QWidget *target = inFilter ? static_cast<QWidget *>(filter) : list;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString());
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);

    QCOMPARE(currentText(*list), current);
    QCOMPARE(list->item(4)->checkState(), Qt::Unchecked);
    QVERIFY(list->item(4)->isHidden());
    QCOMPARE(list->value(), value);
    QCOMPARE(changed.count(), value ? 1 : 0);
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
