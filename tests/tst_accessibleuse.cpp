// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// A person with only a keyboard or a screen reader: which row changes are
// announced, where the focus starts, what a picker without a caption says it
// is, how popups close, what the forms explain, how the login rule is told
// before OK, and how rows with long names fit.

#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "MacCategoryPushButton.h"
#include "MacCategoryWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "StandinPolicy.h"

#include <QAbstractProxyModel>
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

#include <sys/xattr.h>

using namespace VarnelQt5;

namespace {

// Check-state changes assistive tools were told of: "row name: checked".
QStringList announced;

void recordAnnouncement(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::StateChanged
        || !static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().checked)
        return;
    QAccessibleInterface *row = event->accessibleInterface();
    announced << row->text(QAccessible::Name) + (row->state().checked ? QLatin1String(": checked")
                                                                       : QLatin1String(": unchecked"));
}

// While one lives, the events for assistive tools go to the record.
struct ActiveTools {
    ActiveTools()
    {
        announced.clear();
        QAccessible::installUpdateHandler(recordAnnouncement);
    }
    ~ActiveTools() { QAccessible::installUpdateHandler(nullptr); }
};

void pressOn(QAbstractItemView *view, int row, Qt::Key key = Qt::Key_Space)
{
    view->setFocus(Qt::TabFocusReason);
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, key);
}

template <typename Widget>
Widget *child(QWidget *parent, const char *name)
{
    auto *widget = parent->findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qWarning("no %s", name);
    return widget;
}

// A file whose stored label is label, in dir.
QString labelledFile(const QTemporaryDir &dir, const QByteArray &label)
{
    const QString path = dir.filePath(QStringLiteral("file"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.close();
    if (setxattr(QFile::encodeName(path).constData(), "user.varnel.label", label.constData(), size_t(label.size()), 0))
        return QString();
    return path;
}

enum class Where { CategoryList, Specials, LoginCategories, PopupList };

// A popup picker of user 1000 on host, and the button that opens its popup.
QPushButton *addPopupPicker(QWidget *host, bool pushButton)
{
    auto *layout = new QVBoxLayout(host);
    if (pushButton) {
        auto *button = new MacCategoryPushButton(host);
        button->findChild<MacCategoryListWidget *>()->setUid(1000);
        layout->addWidget(button);
        return button;
    }
    auto *editor = new MacCategoryWidget(host);
    editor->setUid(1000);
    layout->addWidget(editor);
    return editor->findChild<QPushButton *>();
}

} // namespace

Q_DECLARE_METATYPE(Where)

class tst_AccessibleUse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "run on an X display");
        // Qt joins the accessibility bus once the session bus has started
        // it, as a screen reader's first question does.
        const QDBusMessage question = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
            QStringLiteral("GetAddress"));
        const QDBusMessage answer = QDBusConnection::sessionBus().call(question, QDBus::Block, 10000);
        QVERIFY2(answer.type() == QDBusMessage::ReplyMessage, "no accessibility bus: install at-spi2-core");
        QTRY_VERIFY2(QAccessible::isActive(), "Qt's Linux accessibility is off: set QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    }
    void init() { m_liveBefore = varnel_standin_live(); }
    void cleanup() { QCOMPARE(varnel_standin_live(), m_liveBefore); }

    void rowChecksAreAnnounced_data();
    void rowChecksAreAnnounced();
    void loginFormsOpenOnTheFirstFreePicker_data();
    void loginFormsOpenOnTheFirstFreePicker();
    void pickersSayWhatTheyAre_data();
    void pickersSayWhatTheyAre();
    void popupsCloseOnReturn_data();
    void popupsCloseOnReturn();
    void specialsExplainTheCurrentRow();
    void noDescriptionRepeatsItsName();
    void loginDescriptionsFollowEachOther();
    void loginRuleIsToldBeforeOk_data();
    void loginRuleIsToldBeforeOk();
    void longNamesFitTheScreen();
    void popupsAreInTheTreeWhileOpen_data();
    void popupsAreInTheTreeWhileOpen();
    void lockedRowsAreNotEnabled_data();
    void lockedRowsAreNotEnabled();

private:
    long m_liveBefore = 0;
};

void tst_AccessibleUse::rowChecksAreAnnounced_data()
{
    QTest::addColumn<Where>("where");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("said");

    QTest::newRow("category list") << Where::CategoryList << 3 << "Category C3";
    QTest::newRow("specials") << Where::Specials << 1 << "whole";
    QTest::newRow("login categories") << Where::LoginCategories << 2 << "Category C2";
    QTest::newRow("popup checklist") << Where::PopupList << 5 << "Category C5";
}

void tst_AccessibleUse::rowChecksAreAnnounced()
{
    QFETCH(Where, where);
    QFETCH(int, row);
    QFETCH(QString, said);

    StandinPolicy policy;
    QTemporaryDir dir;
    // Without categories, which checking an attribute may take away.
    const QString file = labelledFile(dir, "1:0:0x0:0");
    QVERIFY(!file.isEmpty());
    const ActiveTools tools;

    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    QAbstractItemView *view = nullptr;
    switch (where) {
    case Where::CategoryList:
        view = new MacCategoryListWidget(uid_t(1000), &host);
        layout->addWidget(view);
        break;
    case Where::Specials: {
        auto *form = new FileMacLabelWidget(&host);
        layout->addWidget(form);
        form->getfmac(file);
        view = child<QListView>(form, "_specialListView");
        break;
    }
    case Where::LoginCategories: {
        auto *login = new LoginMacLabelWidget(1000, true, false, &host);
        layout->addWidget(login);
        view = child<MacCategoryListWidget>(login, "_categoryListWidget");
        break;
    }
    case Where::PopupList: {
        auto *editor = new MacCategoryWidget(&host);
        editor->setUid(1000);
        layout->addWidget(editor);
        QTest::mouseClick(editor->findChild<QPushButton *>(), Qt::LeftButton);
        view = editor->findChild<MacCategoryListWidget *>();
        break;
    }
    }
    QVERIFY(view);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    announced.clear();

    // By key, and back.
    pressOn(view, row);
    QCOMPARE(announced, QStringList{said + QLatin1String(": checked")});
    pressOn(view, row);
    QCOMPARE(announced, (QStringList{said + QLatin1String(": checked"), said + QLatin1String(": unchecked")}));

    // By program: only the row that changes speaks, not the rows set again
    // as they were.
    announced.clear();
    QVERIFY(view->model()->setData(view->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(announced, QStringList{said + QLatin1String(": checked")});
    if (auto *list = qobject_cast<MacCategoryListWidget *>(view)) {
        announced.clear();
        QVERIFY(list->setValue(list->value()));
        QCOMPARE(announced, QStringList());
    }
}

void tst_AccessibleUse::loginFormsOpenOnTheFirstFreePicker_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<bool>("inDialog");
    QTest::addColumn<QByteArray>("users");
    QTest::addColumn<QString>("focus");

    const QByteArray free = "*:0:0:3:0xff\n";
    // One level only: the level is shown as text, the integrity comes first.
    const QByteArray oneLevel = "*:1:0:1:0xff\n";
    QTest::newRow("dialog") << false << true << free << "_levelComboBox";
    QTest::newRow("themed dialog") << true << true << free << "_levelComboBox";
    QTest::newRow("dialog, level fixed") << false << true << oneLevel << "_integrityComboBox";
    QTest::newRow("in a host") << false << false << free << "_levelComboBox";
    QTest::newRow("themed in a host, level fixed") << true << false << oneLevel << "_integrityComboBox";
}

void tst_AccessibleUse::loginFormsOpenOnTheFirstFreePicker()
{
    QFETCH(bool, themed);
    QFETCH(bool, inDialog);
    QFETCH(QByteArray, users);
    QFETCH(QString, focus);

    StandinPolicy policy;
    policy.write("mac-users", users);
    QScopedPointer<QWidget> window;
    if (inDialog) {
        window.reset(new LoginMacLabelDialog(1000, themed, nullptr));
    } else {
        window.reset(new QWidget);
        auto *layout = new QVBoxLayout(window.data());
        layout->addWidget(new LoginMacLabelWidget(1000, true, themed, window.data()));
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    QCOMPARE(window->focusWidget() ? window->focusWidget()->objectName() : QString(), focus);

    // Down moves within the focused picker at once, without a Tab first.
    if (auto *level = qobject_cast<MacLevelComboBox *>(window->focusWidget())) {
        QCOMPARE(level->currentIndex(), 0);
        QTest::keyClick(level, Qt::Key_Down);
        QCOMPARE(level->currentIndex(), 1);
    }

    // A host that placed the focus itself keeps it.
    auto *host = new QWidget;
    auto *before = new QPushButton(QStringLiteral("Before"), host);
    auto *layout = new QVBoxLayout(host);
    layout->addWidget(before);
    layout->addWidget(new LoginMacLabelWidget(1000, true, themed, host));
    before->setFocus();
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host));
    QCOMPARE(host->focusWidget(), before);
    delete host;
}

void tst_AccessibleUse::pickersSayWhatTheyAre_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("users");
    QTest::addColumn<bool>("captioned");
    QTest::addColumn<QString>("description");

    const QByteArray free = "*:0:0:3:0xff\n";
    const QByteArray oneLevel = "*:1:0:1:0xff\n";
    QTest::newRow("level") << "level" << free << false << "Level";
    QTest::newRow("level, locked") << "level" << oneLevel << false << "Level: L1 is the only level this user may choose";
    QTest::newRow("level with a caption") << "level" << free << true << "";
    QTest::newRow("level with a caption, locked")
        << "level" << oneLevel << true << "L1 is the only level this user may choose";
    QTest::newRow("integrity level") << "integrity" << free << false << "Integrity level";
    QTest::newRow("category") << "category" << free << false << "Category";
    QTest::newRow("label type") << "type" << free << false << "Label type";
    QTest::newRow("label type with a caption") << "type" << free << true << "";
}

void tst_AccessibleUse::pickersSayWhatTheyAre()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, users);
    QFETCH(bool, captioned);
    QFETCH(QString, description);

    StandinPolicy policy;
    policy.write("mac-users", users);
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    QLabel *caption = nullptr;
    if (captioned) {
        caption = new QLabel(QStringLiteral("Caption:"), &host);
        layout->addWidget(caption);
    }
    const ActiveTools tools;
    QComboBox *picker = nullptr;
    if (kind == QLatin1String("level"))
        picker = new MacLevelComboBox(&host);
    else if (kind == QLatin1String("integrity"))
        picker = new ILevelComboBox(&host);
    else if (kind == QLatin1String("category"))
        picker = new MacCategoryComboBox(&host);
    else
        picker = new MacTypeComboBox(&host);
    if (caption)
        caption->setBuddy(picker);
    layout->addWidget(picker);
    if (auto *level = qobject_cast<MacLevelComboBox *>(picker))
        level->setUid(1000);
    else if (auto *integrity = qobject_cast<ILevelComboBox *>(picker))
        integrity->setUid(1000);
    else if (auto *category = qobject_cast<MacCategoryComboBox *>(picker))
        category->setUid(1000);
    QTRY_COMPARE(QAccessible::queryAccessibleInterface(picker)->text(QAccessible::Description), description);
}

void tst_AccessibleUse::popupsCloseOnReturn_data()
{
    QTest::addColumn<bool>("pushButton");
    QTest::addColumn<bool>("onDone");
    QTest::addColumn<int>("key");

    QTest::newRow("popup, Return in the list") << false << false << int(Qt::Key_Return);
    QTest::newRow("popup, Return on Done") << false << true << int(Qt::Key_Return);
    QTest::newRow("popup, Enter on Done") << false << true << int(Qt::Key_Enter);
    QTest::newRow("checklist window, Return") << true << false << int(Qt::Key_Return);
    QTest::newRow("checklist window, Enter") << true << false << int(Qt::Key_Enter);
}

void tst_AccessibleUse::popupsCloseOnReturn()
{
    QFETCH(bool, pushButton);
    QFETCH(bool, onDone);
    QFETCH(int, key);

    StandinPolicy policy;
    QWidget host;
    QPushButton *opener = addPopupPicker(&host, pushButton);
    auto *list = host.findChild<MacCategoryListWidget *>();
    QVERIFY(list);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));

    QTest::mouseClick(opener, Qt::LeftButton);
    QWidget *window = list->window();
    QTRY_VERIFY(window->isVisible());
    pressOn(list, 1);
    QCOMPARE(list->value(), mac_cat_t(0x2));

    if (pushButton) {
        // Beside its button, not over it, and within the screen.
        const QRect button(opener->mapToGlobal(QPoint(0, 0)), opener->size());
        QVERIFY(!window->frameGeometry().intersects(button));
        QVERIFY(opener->screen()->availableGeometry().contains(window->frameGeometry()));
    }

    QWidget *target = list;
    if (onDone) {
        const auto buttons = window->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 1);
        target = buttons.first();
    }
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QTRY_VERIFY(!window->isVisible());
    // As "Done": the choice stays.
    QCOMPARE(list->value(), mac_cat_t(0x2));
}

void tst_AccessibleUse::specialsExplainTheCurrentRow()
{
    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = labelledFile(dir, "1:0:0x1:0");
    QVERIFY(!file.isEmpty());
    FileMacLabelWidget form;
    form.getfmac(file);
    auto *specials = child<QListView>(&form, "_specialListView");
    auto *explanation = child<QLabel>(&form, "_specialExplanationLabel");
    QVERIFY(specials && explanation);
    QCOMPARE(explanation->text(), QString());

    const QStringList rows{QStringLiteral("Allow to write data to a file with minimum mandatory label for subjects "
                                          "with higher labels."),
                           QStringLiteral("Allow to write data to a file with maximum mandatory label for subjects "
                                          "with lower labels.")};
    for (int row = 0; row < rows.size(); ++row) {
        specials->setCurrentIndex(specials->model()->index(row, 0));
        QCOMPARE(explanation->text(), rows.at(row));
        // The row tells assistive tools the same.
        QVERIFY(specials->model()->index(row, 0).data(Qt::AccessibleDescriptionRole).toString().endsWith(rows.at(row)));
    }
}

void tst_AccessibleUse::noDescriptionRepeatsItsName()
{
    StandinPolicy policy;
    MacCategoryFilterEdit filter;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&filter);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Filter categories"));
    QVERIFY(!iface->text(QAccessible::Description).isEmpty());
    QVERIFY(iface->text(QAccessible::Description) != iface->text(QAccessible::Name));

    // The login forms keep no placeholder texts for tools to read.
    for (const bool themed : {false, true}) {
        LoginMacLabelWidget login(1000, true, themed, nullptr);
        for (const QLabel *label : login.findChildren<QLabel *>())
            QVERIFY2(label->text() != QLatin1String("TextLabel"), qPrintable(label->objectName()));
    }
}

// The login widget's description follows its pickers' rebuilds, and its
// pickers' follow its mode, without a tool tip or a reader starting to ask
// for them.
void tst_AccessibleUse::loginDescriptionsFollowEachOther()
{
    StandinPolicy policy;
    LoginMacLabelWidget login(uid_t(1000), nullptr, true);
    auto *level = login.findChild<QWidget *>(QStringLiteral("_levelComboBox"));
    auto *categories = login.findChild<QWidget *>(QStringLiteral("_categoryListWidget"));
    const QString macOff = QStringLiteral("Mandatory access control is switched off, so there is no level to choose");
    const QString categoriesOff
        = QStringLiteral("Mandatory access control is switched off, so there is no category to choose");
    const QString readOnly = QStringLiteral("This is the label of the running program; it cannot be changed here");
    const auto descriptions = [&] {
        return QStringList{login.accessibleDescription(), level->accessibleDescription(),
                           categories->accessibleDescription()};
    };
    // Each step, then the descriptions of the widget, its level picker
    // and its category list.
    const auto step = [&](const char *system, bool editable) {
        policy.write("system", system);
        if (editable == login.editable())
            login.setUid(1000);
        else
            login.setEditable(editable);
        return descriptions();
    };
    QCOMPARE(descriptions(), (QStringList{QString(), QString(), QString()}));
    QCOMPARE(step("mac_enabled=0\n", true), (QStringList{macOff, macOff, categoriesOff}));
    QCOMPARE(step("mac_enabled=0\n", false), (QStringList{readOnly, readOnly, readOnly}));
    QCOMPARE(step("mac_enabled=1\n", false), (QStringList{readOnly, readOnly, readOnly}));
    QCOMPARE(step("mac_enabled=1\n", true), (QStringList{QString(), QString(), QString()}));
}

void tst_AccessibleUse::loginRuleIsToldBeforeOk_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("integrity");
    QTest::addColumn<int>("categories");
    QTest::addColumn<QString>("told");

    const QString rule = QStringLiteral("Integrity level High is allowed only with level L0 and no categories; "
                                        "level %1 only with integrity level Low.");
    QTest::newRow("both low") << 0 << 0 << 0 << "";
    QTest::newRow("level only") << 2 << 0 << 0x3 << "";
    QTest::newRow("integrity only") << 0 << 1 << 0 << "";
    QTest::newRow("level and integrity") << 2 << 1 << 0 << rule.arg(QLatin1String("L2"));
    QTest::newRow("categories and integrity") << 0 << 1 << 0x5 << rule.arg(QLatin1String("L0 with C0, C2"));
}

void tst_AccessibleUse::loginRuleIsToldBeforeOk()
{
    QFETCH(int, level);
    QFETCH(int, integrity);
    QFETCH(int, categories);
    QFETCH(QString, told);

    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, false, nullptr);
    auto *line = child<QLabel>(&dialog, "_loginRuleLabel");
    QVERIFY(line);
    // In the order a person goes: categories, then level, then integrity.
    child<MacCategoryListWidget>(&dialog, "_categoryListWidget")->setValue(mac_cat_t(categories));
    auto *levels = child<MacLevelComboBox>(&dialog, "_levelComboBox");
    levels->setCurrentIndex(levels->findText(QStringLiteral("L%1").arg(level)));
    auto *integrities = child<ILevelComboBox>(&dialog, "_integrityComboBox");
    integrities->setCurrentIndex(integrities->findText(integrity ? QStringLiteral("High") : QStringLiteral("Low")));
    QCOMPARE(line->text(), told);

    // Lowering the integrity level mends the label: the line goes.
    integrities->setCurrentIndex(integrities->findText(QStringLiteral("Low")));
    QCOMPARE(line->text(), QString());
}

void tst_AccessibleUse::longNamesFitTheScreen()
{
    StandinPolicy policy;
    const QString longName = QStringLiteral("A_category_with_a_very_long_name_").repeated(8);
    policy.write("categories", "0x1:C0\n0x2:Medium_length_name\n0x4:" + longName.toLatin1() + "\n");
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *list = new MacCategoryListWidget(uid_t(1000), &host);
    layout->addWidget(list);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // As wide as the screen allows, never sideways.
    const int screenWidth = list->screen()->availableGeometry().width();
    QCOMPARE(list->minimumWidth(), screenWidth * 3 / 4);
    QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QTRY_COMPARE(list->horizontalScrollBar()->maximum(), 0);
    // The long row fits the viewport, so the style ends it in an ellipsis.
    QVERIFY(list->visualItemRect(list->item(2)).width() <= list->viewport()->width());

    // A list of short names asks only for their width.
    policy.write("categories", "0x1:C0\n0x2:Medium_length_name\n");
    QVERIFY(list->rebuild());
    MacCategoryListWidget shortList(uid_t(1000), nullptr);
    QVERIFY(shortList.minimumWidth() > shortList.fontMetrics().horizontalAdvance(QStringLiteral("1:Medium_length_name")));
    QVERIFY(shortList.minimumWidth() < screenWidth * 3 / 4);
}

void tst_AccessibleUse::lockedRowsAreNotEnabled_data()
{
    QTest::addColumn<Where>("where");
    QTest::addColumn<int>("locked");
    QTest::addColumn<int>("free");

    QTest::newRow("category list, forced by the minimum") << Where::CategoryList << 2 << 1;
    QTest::newRow("popup checklist, forced by the minimum") << Where::PopupList << 2 << 1;
    QTest::newRow("specials, disabled") << Where::Specials << 1 << 0;
}

void tst_AccessibleUse::lockedRowsAreNotEnabled()
{
    QFETCH(Where, where);
    QFETCH(int, locked);
    QFETCH(int, free);

    StandinPolicy policy;
    QTemporaryDir dir;
    const QString file = labelledFile(dir, "1:0:0x0:0");
    QVERIFY(!file.isEmpty());
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    QAbstractItemView *view = nullptr;
    // Locks the row, or with false frees it again.
    std::function<void(bool)> lock;
    if (where == Where::Specials) {
        auto *form = new FileMacLabelWidget(&host);
        layout->addWidget(form);
        form->getfmac(file);
        view = child<QListView>(form, "_specialListView");
        QVERIFY(view);
        auto *proxy = qobject_cast<QAbstractProxyModel *>(view->model());
        QVERIFY(proxy);
        lock = [view, proxy, locked](bool on) {
            proxy->sourceModel()->setData(proxy->mapToSource(view->model()->index(locked, 0)), !on, Qt::UserRole);
        };
    } else {
        MacCategoryListWidget *list = nullptr;
        if (where == Where::CategoryList) {
            list = new MacCategoryListWidget(uid_t(1000), &host);
            layout->addWidget(list);
        } else {
            auto *editor = new MacCategoryWidget(&host);
            editor->setUid(1000);
            layout->addWidget(editor);
            list = editor->findChild<MacCategoryListWidget *>();
        }
        QVERIFY(list);
        view = list;
        lock = [list, locked](bool on) { list->setMinimumValue(on ? mac_cat_t(1) << locked : 0); };
    }
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    QVERIFY(table && table->tableInterface());
    const auto disabled = [&](int row) {
        QAccessibleInterface *byChild = table->child(row);
        QAccessibleInterface *byCell = table->tableInterface()->cellAt(row, 0);
        if (!byChild || byChild != byCell || byChild->parent() != table)
            return QStringLiteral("no row %1").arg(row);
        return QString::fromLatin1(byChild->state().disabled ? "disabled" : "enabled");
    };
    // Through the lock, its removal and the lock again, rows rebuilt or not.
    QCOMPARE(disabled(locked), QStringLiteral("enabled"));
    for (const bool on : {true, false, true}) {
        lock(on);
        QCOMPARE(bool(view->model()->index(locked, 0).flags() & Qt::ItemIsEnabled), !on);
        QCOMPARE(disabled(locked), QLatin1String(on ? "disabled" : "enabled"));
        QCOMPARE(disabled(free), QStringLiteral("enabled"));
    }
    // All else reads as Qt's own rows do.
    const QModelIndex index = view->model()->index(locked, 0);
    const QVariant spoken = index.data(Qt::AccessibleTextRole);
    QCOMPARE(table->child(locked)->text(QAccessible::Name), spoken.isValid() ? spoken.toString() : index.data().toString());
    QCOMPARE(table->indexOfChild(table->child(locked)), locked);
    QCOMPARE(table->childCount(), view->model()->rowCount());

    // Rows of a view off screen are not showing, though they lie within it;
    // the popup's list is closed.
    if (view->isVisible()) {
        QVERIFY(!table->child(free)->state().invisible);
        host.hide();
    }
    QVERIFY(table->child(free)->state().invisible);
}

// Whether target is found walking down from the application, as an
// assistive tool walks, and its interface's way up leads back there.
bool inTree(QAccessibleInterface *iface, QObject *target, int depth = 0)
{
    if (!iface || depth > 30)
        return false;
    if (iface->object() == target)
        return true;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (child && iface->indexOfChild(child) == i && inTree(child, target, depth + 1))
            return true;
    }
    return false;
}

void tst_AccessibleUse::popupsAreInTheTreeWhileOpen_data()
{
    QTest::addColumn<bool>("pushButton");
    QTest::newRow("popup") << false;
    QTest::newRow("checklist window") << true;
}

void tst_AccessibleUse::popupsAreInTheTreeWhileOpen()
{
    QFETCH(bool, pushButton);

    StandinPolicy policy;
    QWidget host;
    QPushButton *opener = addPopupPicker(&host, pushButton);
    auto *list = host.findChild<MacCategoryListWidget *>();
    QVERIFY(list);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    QVERIFY(!inTree(application, list));

    // Open, closed by Return, open again.
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(opener, Qt::LeftButton);
        QTRY_VERIFY(list->isVisible());
        QVERIFY(inTree(application, list));
        QVERIFY(inTree(application, opener));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        // Gone, or a hidden window that says so.
        QVERIFY(!inTree(application, list) || QAccessible::queryAccessibleInterface(list)->state().invisible);
    }
}

QTEST_MAIN(tst_AccessibleUse)
#include "tst_accessibleuse.moc"
