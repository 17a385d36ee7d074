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
#include "labelpolicy.h"

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

#include <memory>

#include <sys/xattr.h>

using namespace VarnelQt5;

namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

QString accessibleText(QObject *object, QAccessible::Text which)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(which) : QStringLiteral("<no interface>");
}

// The accessible cell of a view's row, as a screen reader reaches it.
QAccessibleInterface *cell(QAbstractItemView *view, int row)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
    if (!iface || !iface->tableInterface())
        return nullptr;
    return iface->tableInterface()->cellAt(row, 0);
}

// A row as "name | description | [x]" with the last part only when checked.
QString cellText(QAbstractItemView *view, int row)
{
    QAccessibleInterface *iface = cell(view, row);
    if (!iface)
        return QStringLiteral("<no cell>");
    return iface->text(QAccessible::Name) + QLatin1String(" | ") + iface->text(QAccessible::Description)
        + (iface->state().checked ? QLatin1String(" | [x]") : QLatin1String(""));
}

// The labels that assistive tools report for a widget.
QStringList labelsOf(QWidget *widget)
{
    QStringList labels;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        return labels;
    const auto relations = iface->relations(QAccessible::Label);
    for (const auto &relation : relations)
        labels << relation.first->text(QAccessible::Name);
    return labels;
}

QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("<none>");
    if (const auto *button = qobject_cast<const QAbstractButton *>(focus))
        return button->text();
    return focus->objectName();
}

// The widgets Tab visits from start on until focus comes back to start.
QStringList tabWalk(QWidget *start)
{
    start->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        visited << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            return visited;
    }
    visited << QStringLiteral("<no way back>");
    return visited;
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

    void pickerNames_data();
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

void tst_Accessibility::pickerNames_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");

    QTest::newRow("level") << 0 << "Level";
    QTest::newRow("integrity level") << 1 << "Integrity level";
    QTest::newRow("category") << 2 << "Category";
    QTest::newRow("label type") << 3 << "Label type";
    QTest::newRow("category list") << 4 << "Categories";
    QTest::newRow("category widget") << 5 << "Categories";
    QTest::newRow("category button") << 6 << "Categories";
}

void tst_Accessibility::pickerNames()
{
    QFETCH(int, kind);
    QFETCH(QString, name);

    StandinPolicy policy;
    std::unique_ptr<QWidget> picker;
    switch (kind) {
    case 0:
        picker = std::make_unique<MacLevelComboBox>(uid_t(1000), nullptr);
        break;
    case 1:
        picker = std::make_unique<ILevelComboBox>(uid_t(1000), nullptr);
        break;
    case 2:
        picker = std::make_unique<MacCategoryComboBox>();
        break;
    case 3:
        picker = std::make_unique<MacTypeComboBox>();
        break;
    case 4:
        picker = std::make_unique<MacCategoryListWidget>(uid_t(1000));
        break;
    case 5:
        picker = std::make_unique<MacCategoryWidget>();
        break;
    default:
        picker = std::make_unique<MacCategoryPushButton>();
        break;
    }

    if (auto *combo = qobject_cast<QComboBox *>(picker.get())) {
        // Qt's bridge on this platform reports a combo box's current entry
        // as its name and value, and the name set here where it has none.
        QCOMPARE(combo->accessibleName(), name);
        QVERIFY(combo->count() > 0);
        QVERIFY(!combo->currentText().isEmpty());
        QCOMPARE(accessibleText(combo, QAccessible::Value), combo->currentText());
    } else {
        QCOMPARE(accessibleText(picker.get(), QAccessible::Name), name);
    }

    // The host's own name wins over the library's.
    picker->setAccessibleName(QStringLiteral("Host's name"));
    if (auto *combo = qobject_cast<QComboBox *>(picker.get())) {
        combo->clear();
        QCOMPARE(accessibleText(combo, QAccessible::Name), QStringLiteral("Host's name"));
    } else {
        QCOMPARE(accessibleText(picker.get(), QAccessible::Name), QStringLiteral("Host's name"));
    }
}

void tst_Accessibility::categoryRows_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("users");
    QTest::addColumn<int>("minimum"); // -1: the user's range bounds the list
    QTest::addColumn<qulonglong>("value");
    QTest::addColumn<int>("row"); // -1: the last row
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("read");

    const QByteArray categories = StandinPolicy::defaultFile("categories");
    const QByteArray users = StandinPolicy::defaultFile("mac-users");
    QTest::newRow("unchecked") << categories << users << -1 << 0x1ull << 2 << "2:C2"
                               << "Category C2 | Category C2, unchecked";
    QTest::newRow("checked") << categories << users << -1 << 0x5ull << 2 << "2:C2"
                             << "Category C2 | Category C2, checked | [x]";
    QTest::newRow("forced by the user's range") << categories << QByteArray("*:0:0x1:3:0xff\n") << -1
        << 0x1ull << 0 << "0:C0" << "Category C0 | Category C0, checked, cannot be changed | [x]";
    QTest::newRow("forced by the minimum, then unchecked") << categories << users << 0x1 << 0x0ull << 0
        << "0:C0" << "Category C0 | Category C0, unchecked, cannot be changed";
    QTest::newRow("without a name") << QByteArray("0x1:C0\n0x4:\n") << users << -1 << 0x4ull << 1 << "2:"
                                    << "Category 2 | Category 2, checked | [x]";
    QTest::newRow("not in the database") << categories << QByteArray("*:0:0:3:0\n") << 0x0 << (1ull << 40)
        << -1 << "40:Unknown" << "Unknown category 40 | Unknown category 40, checked | [x]";
}

void tst_Accessibility::categoryRows()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, users);
    QFETCH(int, minimum);
    QFETCH(qulonglong, value);
    QFETCH(int, row);
    QFETCH(QString, shown);
    QFETCH(QString, read);

    StandinPolicy policy;
    policy.write("categories", categories);
    policy.write("mac-users", users);
    MacCategoryListWidget list;
    QVERIFY(minimum < 0 ? list.setUid(1000) : list.setMinimumValue(mac_cat_t(minimum)));
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
    const auto *label = widget.findChild<QLabel *>();
    QVERIFY(label->text().startsWith(QLatin1String("C0, C2   ")));
    QCOMPARE(accessibleText(const_cast<QLabel *>(label), QAccessible::Name), QStringLiteral("C0, C2"));
    auto *more = widget.findChild<QAbstractButton *>();
    QCOMPARE(more->text(), QStringLiteral("..."));
    QCOMPARE(accessibleText(more, QAccessible::Name), QStringLiteral("Choose categories"));

    // The button's checklist changes only through the person or a host that
    // reaches it; the description follows either way.
    MacCategoryPushButton button;
    auto *list = button.findChild<MacCategoryListWidget *>();
    QCOMPARE(accessibleText(&button, QAccessible::Description), QStringLiteral("No categories"));
    QVERIFY(list->setUid(1000));
    list->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(accessibleText(&button, QAccessible::Description), QStringLiteral("C1"));
    QVERIFY(list->setValue(0x6));
    QCOMPARE(accessibleText(&button, QAccessible::Description), QStringLiteral("C1, C2"));
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

    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    pressSpaceOn(&view, 0);
    QCOMPARE(changes.count(), 2); // beta, then inner following it
    QCOMPARE(cellText(&view, 0), QStringLiteral("beta | beta, checked | [x]"));
    QCOMPARE(cellText(&view, 1), QStringLiteral("inner | inner, checked | [x]"));
    QCOMPARE(cellText(&view, 2), QStringLiteral("gamma | gamma, unchecked"));

    pressSpaceOn(&view, model.index(0, 0, model.index(0, 0)));
    QCOMPARE(cellText(&view, 0), QStringLiteral("beta | beta, unchecked"));
    QCOMPARE(cellText(&view, 1), QStringLiteral("inner | inner, unchecked"));
    QCOMPARE(model.checkedIds(), QList<unsigned long>());
}

void tst_Accessibility::attributeRows_data()
{
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("other");
    QTest::addColumn<int>("checked"); // attribute n is bit 1 << n
    QTest::addColumn<int>("disabled");
    QTest::addColumn<QStringList>("read");

    QTest::newRow("file, nothing checked") << false << 0 << 0 << 0
        << QStringList{"ehole | ehole, unchecked", "whole | whole, unchecked", "silev | silev, unchecked"};
    QTest::newRow("file, whole checked, silev locked") << false << 0 << 0x18 << 0x10
        << QStringList{"ehole | ehole, unchecked", "whole | whole, checked | [x]",
                       "silev | silev, checked, cannot be changed | [x]"};
    QTest::newRow("directory with unnamed bits") << true << 0x40 << 0x41 << 0x2
        << QStringList{"ccnr | ccnr, checked | [x]",
                       "ccnri (deprecated) | ccnri (deprecated), unchecked, cannot be changed",
                       "irelax | irelax, unchecked",
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
    QTest::addColumn<QStringList>("captions");

    const QStringList form{"_levelComboBox", "_integrityComboBox", "_categoryListWidget",
                           "qt_tabwidget_tabbar", "_userTreeView"};
    QTest::newRow("plain") << false << (form + QStringList{"OK"})
                           << QStringList{"Level:", "Integrity:", "Category:"};
    QTest::newRow("themed") << true << (form + QStringList{"Enter", "Cancel"})
                            << QStringList{"Level:", "Integrity:", "Category:"};
}

void tst_Accessibility::loginDialogByKeyboard()
{
    QFETCH(bool, themed);
    QFETCH(QStringList, walk);
    QFETCH(QStringList, captions);

    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, themed, nullptr);
    auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    widget->setVisibleRoles(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    auto *level = child<MacLevelComboBox>(&dialog, "_levelComboBox");
    auto *integrity = child<ILevelComboBox>(&dialog, "_integrityComboBox");
    auto *categories = child<MacCategoryListWidget>(&dialog, "_categoryListWidget");
    auto *userTree = child<QTreeView>(&dialog, "_userTreeView");
    auto *adminTree = child<QTreeView>(&dialog, "_adminTreeView");

    // Each picker is named and labelled by the caption beside it, whose text
    // stays as it is shown.
    const QStringList shown{child<QLabel>(&dialog, "_levelLabelLabel")->text(),
                            child<QLabel>(&dialog, "_integrityLabel")->text(),
                            child<QLabel>(&dialog, "_categoryLabelLabel")->text()};
    QCOMPARE(shown, captions);
    QCOMPARE(level->accessibleName(), QStringLiteral("Level"));
    QCOMPARE(labelsOf(level), QStringList{"Level:"});
    QCOMPARE(integrity->accessibleName(), QStringLiteral("Integrity"));
    QCOMPARE(labelsOf(integrity), QStringList{"Integrity:"});
    QCOMPARE(accessibleText(categories, QAccessible::Name), QStringLiteral("Category"));
    QCOMPARE(accessibleText(userTree, QAccessible::Name), QStringLiteral("User"));
    QCOMPARE(accessibleText(adminTree, QAccessible::Name), QStringLiteral("Administrative"));

    QCOMPARE(tabWalk(level).join(QLatin1String(", ")), walk.join(QLatin1String(", ")));

    // Space on the current category row checks it, and the row says so.
    QCOMPARE(widget->categories(), mac_cat_t(0));
    QSignalSpy picked(categories, &MacCategoryListWidget::valueChanged);
    pressSpaceOn(categories, 3);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(widget->categories(), mac_cat_t(0x8));
    QCOMPARE(categories->item(3)->text(), QStringLiteral("3:C3"));
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
    auto *widgetInHost = new FileMacLabelWidget(&host);
    auto *after = new QPushButton(QStringLiteral("After"), &host);
    layout->addWidget(before);
    layout->addWidget(widgetInHost);
    layout->addWidget(after);
    FileMacLabelWidget &widget = *widgetInHost;
    widget.getfmac(path);
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(&host));

    auto *level = child<MacLevelComboBox>(&widget, "_levelComboBox");
    auto *categories = child<MacCategoryListWidget>(&widget, "_categoryListWidget");
    auto *specials = child<QListView>(&widget, "_specialListView");

    QCOMPARE(level->accessibleName(), QStringLiteral("Level"));
    QCOMPARE(labelsOf(level), QStringList{"Level:"});
    QCOMPARE(child<ILevelComboBox>(&widget, "_integrityComboBox")->accessibleName(),
             QStringLiteral("Integrity"));
    QCOMPARE(child<MacTypeComboBox>(&widget, "_typeComboBox")->accessibleName(), QStringLiteral("Type"));
    QCOMPARE(accessibleText(categories, QAccessible::Name), QStringLiteral("Categories"));
    QCOMPARE(accessibleText(specials, QAccessible::Name), QStringLiteral("Specials"));

    // Down the form as shown; the type row is hidden and skipped.
    QCOMPARE(tabWalk(before).join(QLatin1String(", ")),
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
    QCOMPARE(cellText(specials, 2), QStringLiteral("silev | silev, checked | [x]"));
    QVERIFY(changed.count() >= 1);
    QVERIFY(widget.chmac(path));
    tav_label *written = tav_get_path(QFile::encodeName(path).constData());
    QVERIFY(written);
    const QString values = QStringLiteral("%1 %2 %3")
                               .arg(tavl_lev(written))
                               .arg(tavl_cat(written), 0, 16)
                               .arg(tavl_type(written), 0, 16);
    tavl_put(written);
    QCOMPARE(values, QStringLiteral("1 5 10"));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
