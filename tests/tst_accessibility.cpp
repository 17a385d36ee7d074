// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// What assistive tools and the keyboard get from the library's widgets:
// names and descriptions read through QAccessible, the way Tab walks the
// forms, and Space on checklist rows.

#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacCategoryPushButton.h"
#include "MacCategoryWidget.h"
#include "MacFileModel.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "SpecialAttributesListModel.h"
#include "StandinPolicy.h"
#include "TabWalk.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>

#include <sys/xattr.h>

using namespace VarnelQt5;

namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

QString accessibleText(QObject *object, QAccessible::Text which)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(which) : QStringLiteral("<no interface>");
}

// A view's row as a screen reader reaches it: "name | description", then
// " | [x]" when checked.
QString cellText(QAbstractItemView *view, int row)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    QAccessibleInterface *cell = table && table->tableInterface() ? table->tableInterface()->cellAt(row, 0)
                                                                  : nullptr;
    if (!cell)
        return QStringLiteral("<no cell>");
    return cell->text(QAccessible::Name) + QLatin1String(" | ") + cell->text(QAccessible::Description)
        + (cell->state().checked ? QLatin1String(" | [x]") : QLatin1String(""));
}

// A picker's name and the labels assistive tools report for it: "name/label".
QString nameAndLabels(QWidget *widget)
{
    QStringList labels;
    const auto relations = QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label);
    for (const auto &relation : relations)
        labels << relation.first->text(QAccessible::Name);
    return widget->accessibleName() + QLatin1Char('/') + labels.join(QLatin1Char(','));
}

// Presses Space on a view's row, as a person working the keyboard does.
void pressSpaceOn(QAbstractItemView *view, const QModelIndex &row)
{
    view->setFocus(Qt::TabFocusReason);
    view->setCurrentIndex(row);
    QTest::keyClick(view, Qt::Key_Space);
}

void pressSpaceOn(QAbstractItemView *view, int row)
{
    pressSpaceOn(view, view->model()->index(row, 0));
}

template <typename Widget>
Widget *child(QWidget *parent, const char *name)
{
    return parent->findChild<Widget *>(QLatin1String(name));
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pickerNames();
    void categoryRows_data();
    void categoryRows();
    void categoryEditorsDescribeTheSet();
    void treeRowsFollowTheirChecks();
    void attributeRows_data();
    void attributeRows();
    void loginDialogByKeyboard_data();
    void loginDialogByKeyboard();
    void fileLabelWidgetByKeyboard();

private:
    long m_liveBefore = 0;
};

void tst_Accessibility::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_Accessibility::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_Accessibility::pickerNames()
{
    StandinPolicy policy;
    MacLevelComboBox level(uid_t(1000), nullptr);
    ILevelComboBox integrity(uid_t(1000), nullptr);
    MacCategoryComboBox category;
    MacTypeComboBox type;
    const std::pair<QComboBox *, const char *> combos[] = {
        {&level, "Level"}, {&integrity, "Integrity level"}, {&category, "Category"}, {&type, "Label type"}};
    for (const auto &combo : combos) {
        // Qt's bridge on this platform reports a combo box's current entry
        // as its name and value; the name given here serves where it has none.
        QCOMPARE(combo.first->accessibleName(), QLatin1String(combo.second));
        QVERIFY(!combo.first->currentText().isEmpty());
        QCOMPARE(accessibleText(combo.first, QAccessible::Value), combo.first->currentText());
    }

    MacCategoryListWidget list(uid_t(1000));
    MacCategoryWidget widget;
    MacCategoryPushButton button;
    for (QWidget *categories : {static_cast<QWidget *>(&list), static_cast<QWidget *>(&widget),
                                static_cast<QWidget *>(&button)})
        QCOMPARE(accessibleText(categories, QAccessible::Name), QStringLiteral("Categories"));
}

void tst_Accessibility::categoryRows_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("users");
    QTest::addColumn<qulonglong>("value");
    QTest::addColumn<int>("row"); // -1: the last row
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("read");

    const QByteArray categories = StandinPolicy::defaultFile("categories");
    const QByteArray users = StandinPolicy::defaultFile("mac-users");
    QTest::newRow("checked") << categories << users << 0x5ull << 2 << "2:C2"
                             << "Category C2 | Category C2, checked | [x]";
    QTest::newRow("forced by the user's range") << categories << QByteArray("*:0:0x1:3:0xff\n") << 0x1ull << 0
        << "0:C0" << "Category C0 | Category C0, checked, cannot be changed. Every label of this user carries C0 | [x]";
    QTest::newRow("without a name") << QByteArray("0x1:C0\n0x4:\n") << users << 0x1ull << 1 << "2:"
                                    << "Category 2 | Category 2, unchecked";
    QTest::newRow("not in the database") << categories << QByteArray("*:0:0:3:0xffffffffffffffff\n")
        << (1ull << 40) << -1 << "40:Unknown" << "Unknown category 40 | Unknown category 40, checked. The policy names no category for bit 40 | [x]";
}

void tst_Accessibility::categoryRows()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, users);
    QFETCH(qulonglong, value);
    QFETCH(int, row);
    QFETCH(QString, shown);
    QFETCH(QString, read);

    StandinPolicy policy;
    policy.write("categories", categories);
    policy.write("mac-users", users);
    MacCategoryListWidget list;
    QVERIFY(list.setUid(1000));
    QVERIFY(list.setValue(value));
    if (row < 0)
        row = list.count() - 1;

    QCOMPARE(list.item(row)->text(), shown);
    QCOMPARE(cellText(&list, row), read);
}

void tst_Accessibility::categoryEditorsDescribeTheSet()
{
    StandinPolicy policy;

    MacCategoryWidget widget;
    QCOMPARE(accessibleText(&widget, QAccessible::Description), QStringLiteral("No categories"));
    widget.setUid(1000);
    widget.setValue(0x5);
    QCOMPARE(accessibleText(&widget, QAccessible::Description), QStringLiteral("C0, C2"));
    // The text label is read without the padding that follows its text.
    auto *label = widget.findChild<QLabel *>();
    QVERIFY(label->text().startsWith(QLatin1String("C0, C2   ")));
    QCOMPARE(accessibleText(label, QAccessible::Name), QStringLiteral("C0, C2"));
    QCOMPARE(accessibleText(widget.findChild<QAbstractButton *>(), QAccessible::Name),
             QStringLiteral("Choose categories"));

    // The button's checklist changes by the person or by a host reaching it.
    MacCategoryPushButton button;
    auto *list = button.findChild<MacCategoryListWidget *>();
    QVERIFY(list->setUid(1000));
    list->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(accessibleText(&button, QAccessible::Description), QStringLiteral("C1"));
    QVERIFY(list->setValue(0));
    QCOMPARE(accessibleText(&button, QAccessible::Description), QStringLiteral("No categories"));
    QCOMPARE(button.text(), QStringLiteral("Categories"));
}

void tst_Accessibility::treeRowsFollowTheirChecks()
{
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("beta")));
    for (const char *name : {"beta/inner", "gamma"}) {
        QFile file(tree.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QTreeView view;
    view.setModel(&model);
    view.expandAll();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Rows as the view shows them: beta, its file inner, gamma.
    QCOMPARE(cellText(&view, 0), QStringLiteral("beta | beta, unchecked"));
    QCOMPARE(cellText(&view, 1), QStringLiteral("inner | inner, unchecked"));
    QCOMPARE(cellText(&view, 2), QStringLiteral("gamma | gamma, unchecked"));

    // Ticking a directory ticks what it holds; each row says so.
    pressSpaceOn(&view, 0);
    QCOMPARE(cellText(&view, 0), QStringLiteral("beta | beta, checked | [x]"));
    QCOMPARE(cellText(&view, 1), QStringLiteral("inner | inner, checked | [x]"));
    pressSpaceOn(&view, model.index(0, 0, model.index(0, 0)));
    QCOMPARE(cellText(&view, 0), QStringLiteral("beta | beta, unchecked"));
    QCOMPARE(cellText(&view, 1), QStringLiteral("inner | inner, unchecked"));
}

void tst_Accessibility::attributeRows_data()
{
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("other");
    QTest::addColumn<int>("checked"); // attribute n is bit 1 << n
    QTest::addColumn<int>("disabled");
    QTest::addColumn<QStringList>("read");

    // Each named row goes on to say what the attribute does.
    const QString ehole = QStringLiteral(". Allow to write data to a file with minimum mandatory label for subjects "
                                         "with higher labels.");
    const QString whole = QStringLiteral(". Allow to write data to a file with maximum mandatory label for subjects "
                                         "with lower labels.");
    const QString silev = QStringLiteral(". Allows executable from given file assign a file integrity level to a "
                                         "process based on the mask of the maximum system integrity level");
    const QString ccnr = QStringLiteral(". The folder may contain objects with different security labels, but not "
                                        "higher than its own label. Mandatory rules for reading the folder will be "
                                        "ignored, but a subject will see only objects with security labels that are "
                                        "lower or equal to its own label.");
    const QString ccnri = QStringLiteral(". The folder may contain objects with different integrity levels, but not "
                                         "higher than its own level. Deprecated.");
    const QString irelax = QStringLiteral(". Specifies that the directory can be written to by a process with any "
                                          "integrity level");
    QTest::newRow("file, whole checked, silev locked") << false << 0 << 0x18 << 0x10
        << QStringList{"ehole | ehole, unchecked" + ehole, "whole | whole, checked" + whole + " | [x]",
                       "silev | silev, checked, cannot be changed" + silev + " | [x]"};
    QTest::newRow("directory with unnamed bits") << true << 0x40 << 0x41 << 0x2
        << QStringList{"ccnr | ccnr, checked" + ccnr + " | [x]",
                       "ccnri (deprecated) | ccnri (deprecated), unchecked, cannot be changed" + ccnri,
                       "irelax | irelax, unchecked" + irelax,
                       "Other attributes 0x40 | Other attributes 0x40, checked | [x]"};
}

void tst_Accessibility::attributeRows()
{
    QFETCH(bool, container);
    QFETCH(int, other);
    QFETCH(int, checked);
    QFETCH(int, disabled);
    QFETCH(QStringList, read);

    SpecialAttributesListModel model(nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QListView view;
    view.setModel(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    model.setForContainer(container);
    model.setOtherAttribute(other);
    for (int attribute = 0; attribute <= SpecialAttributesListModel::OtherAttributes; ++attribute) {
        const auto which = SpecialAttributesListModel::Attributes(attribute);
        model.setCheckState(which, (checked >> attribute) & 1 ? Qt::Checked : Qt::Unchecked);
        model.setEnabled(which, !((disabled >> attribute) & 1));
    }

    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << cellText(&view, row);
    QCOMPARE(rows, read);
}

void tst_Accessibility::loginDialogByKeyboard_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QStringList>("walk");

    const QStringList form{"_levelComboBox", "_integrityComboBox", "_categoryListWidget",
                           "qt_tabwidget_tabbar", "_userTreeView"};
    QTest::newRow("plain") << false << (form + QStringList{"OK"});
    QTest::newRow("themed") << true << (form + QStringList{"Enter", "Cancel"});
}

void tst_Accessibility::loginDialogByKeyboard()
{
    QFETCH(bool, themed);
    QFETCH(QStringList, walk);

    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, themed, nullptr);
    auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    widget->setVisibleRoles(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    auto *level = child<MacLevelComboBox>(&dialog, "_levelComboBox");
    auto *integrity = child<ILevelComboBox>(&dialog, "_integrityComboBox");
    auto *categories = child<MacCategoryListWidget>(&dialog, "_categoryListWidget");

    // Each picker is named and labelled by the caption beside it, whose text
    // stays as it is shown; each role view by its tab.
    QCOMPARE(nameAndLabels(level), QStringLiteral("Level/Level:"));
    QCOMPARE(nameAndLabels(integrity), QStringLiteral("Integrity/Integrity:"));
    QCOMPARE(accessibleText(categories, QAccessible::Name), QStringLiteral("Category"));
    QCOMPARE(child<QLabel>(&dialog, "_categoryLabelLabel")->text(), QStringLiteral("Category:"));
    QCOMPARE(accessibleText(child<QTreeView>(&dialog, "_userTreeView"), QAccessible::Name),
             QStringLiteral("User"));
    QCOMPARE(accessibleText(child<QTreeView>(&dialog, "_adminTreeView"), QAccessible::Name),
             QStringLiteral("Administrative"));

    QCOMPARE(tabWalk(level), walk.join(QLatin1String(", ")));

    // Space on the current category row checks it, and the row says so.
    QCOMPARE(widget->categories(), mac_cat_t(0));
    QSignalSpy picked(categories, &MacCategoryListWidget::valueChanged);
    pressSpaceOn(categories, 3);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(widget->categories(), mac_cat_t(0x8));
    QCOMPARE(cellText(categories, 3), QStringLiteral("Category C3 | Category C3, checked | [x]"));
    pressSpaceOn(categories, 3);
    QCOMPARE(widget->categories(), mac_cat_t(0));
    QCOMPARE(cellText(categories, 3), QStringLiteral("Category C3 | Category C3, unchecked"));
}

void tst_Accessibility::fileLabelWidgetByKeyboard()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("file"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QByteArray label = "1:0:0x1:0";
    QCOMPARE(setxattr(QFile::encodeName(path).constData(), "user.varnel.label", label.constData(),
                      size_t(label.size()), 0),
             0);

    // In a host's window, between two controls of the host.
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *before = new QPushButton(QStringLiteral("Before"), &host);
    auto &widget = *new FileMacLabelWidget(&host);
    layout->addWidget(before);
    layout->addWidget(&widget);
    layout->addWidget(new QPushButton(QStringLiteral("After"), &host));
    widget.getfmac(path);
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(&host));

    auto *level = child<MacLevelComboBox>(&widget, "_levelComboBox");
    auto *categories = child<MacCategoryListWidget>(&widget, "_categoryListWidget");
    auto *specials = child<QListView>(&widget, "_specialListView");

    QCOMPARE(nameAndLabels(level), QStringLiteral("Level/Level:"));
    QCOMPARE(nameAndLabels(child<ILevelComboBox>(&widget, "_integrityComboBox")),
             QStringLiteral("Integrity/Integrity:"));
    QCOMPARE(accessibleText(categories, QAccessible::Name), QStringLiteral("Categories"));
    QCOMPARE(accessibleText(specials, QAccessible::Name), QStringLiteral("Specials"));

    // Down the form as shown; the type row is hidden and skipped.
    QCOMPARE(tabWalk(before),
             QStringLiteral("Before, _levelComboBox, _integrityComboBox, _categoryListWidget, "
                            "_specialListView, After"));

    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    pressSpaceOn(categories, 2);
    QCOMPARE(categories->value(), mac_cat_t(0x5));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(cellText(categories, 2), QStringLiteral("Category C2 | Category C2, checked | [x]"));

    // The attribute rows of a file: ehole, whole, silev.
    changed.clear();
    pressSpaceOn(specials, 2);
    QCOMPARE(cellText(specials, 2),
             QStringLiteral("silev | silev, checked. Allows executable from given file assign a file integrity level "
                            "to a process based on the mask of the maximum system integrity level | [x]"));
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
