// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"
#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "StandinPolicy.h"

#include <Common.h>

#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace VarnelQt5;

namespace {

QLabel *headingOf(const QDialog &dialog)
{
    return dialog.findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
}

QPushButton *button(const QDialog &dialog, QDialogButtonBox::StandardButton which)
{
    const auto *box = dialog.findChild<QDialogButtonBox *>();
    return box ? box->button(which) : nullptr;
}

QByteArray contents(const StandinPolicy &policy, const char *name)
{
    QFile file(policy.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a message box looked like when it came up; it is then closed.
struct SeenMessage {
    bool seen = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QPoint position;
};

// Watches for the next modal message box and closes it with OK.
void closeNextMessageBox(SeenMessage &seen, QObject *context)
{
    auto *timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [&seen, timer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen.seen = true;
        seen.icon = box->icon();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.position = box->pos();
        timer->stop();
        timer->deleteLater();
        box->button(QMessageBox::Ok)->click();
    });
    timer->start();
}

// Every category the list offers, checked or not.
mac_cat_t offeredCategories(MacCategoryListWidget &list)
{
    mac_cat_t offered = 0;
    for (int row = 0; row < list.count(); ++row)
        offered |= list.cat4Item(row);
    return offered;
}

// What the dialog offers and chooses, as "levels=level categories=chosen
// integrity levels=integrity enabled", the categories in hexadecimal: the
// enabled pickers as l, i, c ("-" for none), after "info:" in information
// mode, and the trees named where they are not enabled as the mode wants.
QString shown(LoginMacLabelDialog &dialog)
{
    const auto *levels = dialog.findChild<MacLevelComboBox *>();
    const auto *integrity = dialog.findChild<ILevelComboBox *>();
    auto *categories = dialog.findChild<MacCategoryListWidget *>();
    QStringList levelValues, integrityValues;
    for (const mac_lev_t value : levels->allValues())
        levelValues << QString::number(uint(value));
    for (int i = 0; i < integrity->count(); ++i)
        integrityValues << QString::number(integrity->itemData(i).toUInt());
    QString enabled;
    enabled += levels->isEnabled() ? QLatin1String("l") : QLatin1String("");
    enabled += integrity->isEnabled() ? QLatin1String("i") : QLatin1String("");
    enabled += categories->isEnabled() ? QLatin1String("c") : QLatin1String("");
    for (const char *name : {"_userTreeView", "_adminTreeView"}) {
        if (dialog.findChild<QWidget *>(QLatin1String(name))->isEnabled() != dialog.editable())
            enabled += QLatin1Char(' ') + QLatin1String(name);
    }
    return QStringLiteral("%1=%2 %3=%4 %5=%6 %7%8")
        .arg(levelValues.join(QLatin1Char(',')))
        .arg(uint(dialog.level()))
        .arg(offeredCategories(*categories), 0, 16)
        .arg(dialog.categories(), 0, 16)
        .arg(integrityValues.join(QLatin1Char(',')))
        .arg(dialog.findChild<LoginMacLabelWidget *>()->integrity())
        .arg(dialog.editable() ? QString() : QStringLiteral("info:"), enabled.isEmpty() ? QStringLiteral("-") : enabled);
}

// The test's own uid stands in for "SELF" in data rows.
QByteArray withSelf(QByteArray text)
{
    return text.replace("SELF", QByteArray::number(getuid()));
}

// The user records, the process's label and the last choices ("SELF" is the
// test's uid; no last-choice store where it is empty).
void writePolicy(const StandinPolicy &policy, const QByteArray &macUsers, const QByteArray &micUsers,
                 const QByteArray &processLabel, const QByteArray &lastChoice)
{
    policy.write("mac-users", withSelf(macUsers));
    policy.write("mic-users", micUsers);
    policy.write("system", "process_label=" + processLabel + '\n');
    policy.writeOrRemove("lastchoice", withSelf(lastChoice));
}

// Shows the dialog and presses OK; a refusal's message box is closed and
// reported as false.
bool pressOk(LoginMacLabelDialog &dialog)
{
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    SeenMessage seen;
    closeNextMessageBox(seen, &dialog);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    button(dialog, QDialogButtonBox::Ok)->click();
    return !seen.seen && accepted.count() == 1;
}

// Nothing when the dialog and its OK button lie within the screen's
// available area, else the dialog's frame as "x,y wxh".
QString offScreen(const LoginMacLabelDialog &dialog)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QPushButton *ok = button(dialog, QDialogButtonBox::Ok);
    const QRect frame = dialog.frameGeometry();
    if (available.contains(frame) && available.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())))
        return QString();
    return QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
}

} // namespace

class tst_LoginMacLabelDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void heading_data();
    void heading();
    void buttons_data();
    void buttons();
    void validation_data();
    void validation();
    void escapeIgnored();
    void cancelRejectsWithoutSaving();
    void unresolvedNameGetsNoRealUsersRange_data();
    void unresolvedNameGetsNoRealUsersRange();
    void setEditableRoundTrip();
    void transitions_data();
    void transitions();
    void staysOnScreen_data();
    void staysOnScreen();

private:
    long m_liveBefore = 0;
};

void tst_LoginMacLabelDialog::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_LoginMacLabelDialog::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_LoginMacLabelDialog::heading_data()
{
    QTest::addColumn<int>("constructor"); // 0: name, 1: uid, 2: uid with the form flag
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("name"); // with a uid: "-1" for (uid_t)-1, else the test's uid
    QTest::addColumn<QString>("heading");

    const QString self = Common::nameByUid(getuid(), nullptr).toHtmlEscaped();
    QTest::newRow("plain by uid") << 1 << false << QByteArray()
                                  << QStringLiteral("MAC label selection (<b>%1</b>)").arg(self);
    QTest::newRow("themed") << 2 << true << QByteArray() << QStringLiteral("<b>MAC label selection for %1</b>").arg(self);
    QTest::newRow("plain by uid, form flag") << 2 << false << QByteArray()
                                             << QStringLiteral("MAC label selection (<b>%1</b>)").arg(self);
    QTest::newRow("markup in a name") << 0 << false << QByteArray("<i>x</i>&%2 %1")
        << QStringLiteral("MAC label selection (<b>&lt;i&gt;x&lt;/i&gt;&amp;%2 %1</b>)");
    QTest::newRow("no name") << 0 << false << QByteArray() << QStringLiteral("MAC label selection (<b></b>)");
    // (uid_t)-1 is the calling user for the widget, and so for the heading.
    QTest::newRow("plain by (uid_t)-1") << 1 << false << QByteArray("-1")
                                        << QStringLiteral("MAC label selection (<b>%1</b>)").arg(self);
    QTest::newRow("themed by (uid_t)-1") << 2 << true << QByteArray("-1")
                                         << QStringLiteral("<b>MAC label selection for %1</b>").arg(self);
}

void tst_LoginMacLabelDialog::heading()
{
    QFETCH(int, constructor);
    QFETCH(bool, themed);
    QFETCH(QByteArray, name);
    QFETCH(QString, heading);

    StandinPolicy policy;
    QWidget parent;
    std::unique_ptr<LoginMacLabelDialog> dialog;
    if (constructor == 0)
        dialog = std::make_unique<LoginMacLabelDialog>(name.isEmpty() ? nullptr : name.data(), &parent);
    const uid_t uid = name == "-1" ? uid_t(-1) : getuid();
    if (constructor == 1)
        dialog = std::make_unique<LoginMacLabelDialog>(uid, &parent);
    else if (constructor == 2)
        dialog = std::make_unique<LoginMacLabelDialog>(uid, themed, &parent);

    QCOMPARE(headingOf(*dialog)->text(), heading);
    QCOMPARE(headingOf(*dialog)->textFormat(), Qt::RichText);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("MAC label selection"));
    QCOMPARE(dialog->parentWidget(), constructor == 2 ? nullptr : &parent);
    QCOMPARE(dialog->findChild<LoginMacLabelWidget *>()->themed(), themed);
    QVERIFY(dialog->editable());

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((dialog->geometry().center() - available.center()).manhattanLength() <= 1);
    QVERIFY(dialog->maximumWidth() <= available.width());
}

void tst_LoginMacLabelDialog::buttons_data()
{
    QTest::addColumn<bool>("themed");
    QTest::newRow("plain") << false;
    QTest::newRow("themed") << true;
}

void tst_LoginMacLabelDialog::buttons()
{
    QFETCH(bool, themed);
    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, themed, nullptr);
    auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    auto *box = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(box);
    QCOMPARE(widget->layout()->contentsMargins(), QMargins());
    if (themed) {
        QCOMPARE(box->orientation(), Qt::Horizontal);
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Enter"));
        QBoxLayout *row = widget->newButtonLayout();
        QCOMPARE(row->count(), 2);
        QVERIFY(row->itemAt(0)->spacerItem());
        QCOMPARE(row->itemAt(1)->widget(), box);
        QCOMPARE(dialog.layout()->contentsMargins(), QMargins(0, 20, 0, 16));
    } else {
        QCOMPARE(box->orientation(), Qt::Vertical);
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok);
        QBoxLayout *column = widget->buttonLayout();
        QCOMPARE(column->count(), 2);
        QCOMPARE(column->itemAt(0)->widget(), box);
        QVERIFY(column->itemAt(1)->spacerItem());
        QCOMPARE(dialog.layout()->contentsMargins(), QMargins(25, 25, 25, 25));
    }
    QCOMPARE(dialog.sizePolicy(), QSizePolicy());
}

void tst_LoginMacLabelDialog::validation_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("categories");
    QTest::addColumn<int>("integrity");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("information");
    QTest::addColumn<bool>("refused");

    QTest::newRow("integrity alone") << false << 0 << 0 << 63 << false << false << false;
    QTest::newRow("level alone") << false << 2 << 0 << 0 << false << false << false;
    QTest::newRow("level and integrity") << false << 1 << 0 << 63 << false << false << true;
    QTest::newRow("categories and integrity") << false << 0 << 0x1 << 63 << false << false << true;
    QTest::newRow("themed: level, categories and integrity") << true << 3 << 0x3 << 63 << false << false << true;
    QTest::newRow("strict mode") << false << 1 << 0x1 << 63 << true << false << false;
    QTest::newRow("information mode") << true << 1 << 0x1 << 63 << false << true << false;
}

void tst_LoginMacLabelDialog::validation()
{
    QFETCH(bool, themed);
    QFETCH(int, level);
    QFETCH(int, categories);
    QFETCH(int, integrity);
    QFETCH(bool, strict);
    QFETCH(bool, information);
    QFETCH(bool, refused);

    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, themed, nullptr);
    if (information) {
        policy.write("system", "process_label=1:63:0x1\n");
        dialog.setEditable(false);
    }
    dialog.findChild<MacLevelComboBox *>()->setValue(mac_lev_t(level));
    dialog.findChild<MacCategoryListWidget *>()->setValue(mac_cat_t(categories));
    dialog.findChild<ILevelComboBox *>()->setValue(TAV_ILEV_T(integrity));
    // Strict mode is asked at the moment OK is pressed.
    if (strict)
        policy.write("system", "strict_mode=1\n");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);

    SeenMessage seen;
    closeNextMessageBox(seen, &dialog);
    button(dialog, QDialogButtonBox::Ok)->click();

    QCOMPARE(seen.seen, refused);
    QCOMPARE(accepted.count(), refused ? 0 : 1);
    QCOMPARE(dialog.isVisible(), refused);
    if (!refused) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(contents(policy, "lastchoice"),
                 information ? QByteArray()
                             : QByteArray("1000:" + QByteArray::number(level) + ":0x"
                                          + QByteArray::number(categories, 16) + '\n'));
        return;
    }

    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.title, QStringLiteral("Invalid set of attributes"));
    QCOMPARE(seen.text,
             QStringLiteral("Denied login with non-zero integrity and confidentiality levels at the same time"));
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Placed at the dialog's left edge, centred on it by the size hint the
    // box has before it is first shown.
    QMessageBox unshown(QMessageBox::Critical, seen.title, seen.text, QMessageBox::Ok, &dialog);
    const QRect frame = dialog.geometry();
    QCOMPARE(seen.position,
             QPoint(dialog.pos().x(), (frame.top() + frame.bottom()) / 2 - unshown.sizeHint().height() / 2));
    QCOMPARE(contents(policy, "lastchoice"), QByteArray());
    QCOMPARE(dialog.level(), mac_lev_t(level));

    // With the integrity level back at 0 the same choice passes.
    dialog.findChild<ILevelComboBox *>()->setValue(0);
    button(dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(accepted.count(), 1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(contents(policy, "lastchoice"),
             QByteArray("1000:" + QByteArray::number(level) + ":0x" + QByteArray::number(categories, 16) + '\n'));
}

namespace {

class KeyedDialog : public LoginMacLabelDialog
{
public:
    using LoginMacLabelDialog::LoginMacLabelDialog;
    using LoginMacLabelDialog::keyPressEvent;
};

} // namespace

void tst_LoginMacLabelDialog::escapeIgnored()
{
    StandinPolicy policy;
    KeyedDialog dialog(1000, true, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.keyPressEvent(nullptr);
    QVERIFY(dialog.isVisible());
    QCOMPARE(rejected.count(), 0);

    // Other keys still reach the dialog: Enter presses the default button.
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
}

void tst_LoginMacLabelDialog::cancelRejectsWithoutSaving()
{
    StandinPolicy policy;
    LoginMacLabelDialog dialog(1000, true, nullptr);
    dialog.findChild<MacLevelComboBox *>()->setValue(2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    button(dialog, QDialogButtonBox::Cancel)->click();
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(contents(policy, "lastchoice"), QByteArray());
}

void tst_LoginMacLabelDialog::unresolvedNameGetsNoRealUsersRange_data()
{
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("micUsers");
    QTest::addColumn<QByteArray>("processLabel");
    QTest::addColumn<QString>("shown"); // after a round trip through information mode
    QTest::addColumn<QByteArray>("label");

    // The calling user may use more than a user without a record.
    QTest::newRow("a line for every user") << QByteArray("*:0:0:0:0\nSELF:0:0:3:0xff\n") << QByteArray("*:63\n")
                                           << QByteArray("0:0:0") << "0=0 0=0 0,63=63 i" << QByteArray("0:63:0x0");
    // Without such a line the name has no record at all: the process's own
    // categories and integrity level must not stand in for one.
    QTest::newRow("no line for every user") << QByteArray("1000:0:0:1:0x3\nSELF:0:0:3:0xff\n")
                                            << QByteArray("1000:63\n") << QByteArray("2:63:0xf0")
                                            << "0=0 0=0 0=0 -" << QByteArray("0:0:0x0");
}

void tst_LoginMacLabelDialog::unresolvedNameGetsNoRealUsersRange()
{
    // A name nobody has gets the lowest label alone, and no last choice.
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, micUsers);
    QFETCH(QByteArray, processLabel);
    QFETCH(QString, shown);
    QFETCH(QByteArray, label);

    StandinPolicy policy;
    const QByteArray stored = withSelf("SELF:3:0x1\n");
    writePolicy(policy, macUsers, micUsers, processLabel, stored);
    char name[] = "no-such-user-varnel";
    LoginMacLabelDialog dialog(name, nullptr);
    QCOMPARE(dialog.findChild<MacLevelComboBox *>()->allValues(), QList<mac_lev_t>({0}));
    QCOMPARE(dialog.level(), mac_lev_t(0));
    QCOMPARE(dialog.categories(), mac_cat_t(0));
    auto *categories = dialog.findChild<MacCategoryListWidget *>();
    QCOMPARE(offeredCategories(*categories), mac_cat_t(0));
    QVERIFY(!categories->isEnabled());
    // A round trip through information mode offers no more afterwards.
    dialog.setEditable(false);
    dialog.setEditable(true);
    QCOMPARE(::shown(dialog), shown);

    QVERIFY(pressOk(dialog));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    char *text = dialog.malloc_mac_label_text();
    QCOMPARE(QByteArray(text), label);
    std::free(text);
    QCOMPARE(contents(policy, "lastchoice"), stored);
}

void tst_LoginMacLabelDialog::setEditableRoundTrip()
{
    StandinPolicy policy;
    policy.write("lastchoice", "1000:1:0x1\n");
    policy.write("system", "process_label=3:0:0x4\n");
    LoginMacLabelDialog dialog(1000, true, nullptr);
    const QString name = Common::nameByUid(1000, nullptr).toHtmlEscaped();
    auto *integrity = dialog.findChild<ILevelComboBox *>();

    // Asking for the current mode still resets the integrity level.
    integrity->setValue(63);
    dialog.setEditable(true);
    QCOMPARE(integrity->value(), TAV_ILEV_T(0));
    QCOMPARE(headingOf(dialog)->text(), QStringLiteral("<b>MAC label selection for %1</b>").arg(name));

    dialog.setEditable(false);
    QVERIFY(!dialog.editable());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("MAC label information"));
    QCOMPARE(headingOf(dialog)->text(), QStringLiteral("MAC label information (<b>%1</b>)").arg(name));
    QCOMPARE(dialog.level(), mac_lev_t(3));
    QCOMPARE(dialog.categories(), mac_cat_t(0x4));

    integrity->setValue(63);
    dialog.setEditable(true);
    QVERIFY(dialog.editable());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("MAC label selection"));
    QCOMPARE(headingOf(dialog)->text(), QStringLiteral("MAC label selection (<b>%1</b>)").arg(name));
    QCOMPARE(dialog.level(), mac_lev_t(1));
    QCOMPARE(dialog.categories(), mac_cat_t(0x1));
    QCOMPARE(integrity->value(), TAV_ILEV_T(0));
}

void tst_LoginMacLabelDialog::transitions_data()
{
    // The policy, then the steps: "info" and "edit" are the dialog's
    // setEditable(false) and (true), "uid:N" the widget's setUid(N), "load"
    // its loadLastChoice(). Then what the dialog shows (see shown()) and what
    // OK leaves in the last-choice store ("SELF" is the test's uid).
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("micUsers");
    QTest::addColumn<QByteArray>("lastChoice");
    QTest::addColumn<QByteArray>("processLabel");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("stored");

    const QByteArray all("1000:0:0:3:0xff\n");
    const QByteArray twoLevels("1000:0:0:1:0xff\n");
    const QByteArray any("*:63\n");
    for (const bool themed : {false, true}) {
        const auto row = [themed](const char *name) -> QTestData & {
            return QTest::newRow(QByteArray(QByteArray(themed ? "themed: " : "plain: ") + name).constData()) << themed;
        };
        // The information shown stays the process's label, integrity level
        // included: nothing loaded, nothing enabled, nothing saved.
        row("setUid in information mode") << all << any << QByteArray("1000:1:0x1\n") << QByteArray("3:63:0x2")
            << "info uid:1000" << "0,1,2,3=3 ff=2 0,63=63 info:-" << QByteArray("1000:1:0x1\n");
        row("loadLastChoice in information mode") << all << any << QByteArray("1000:2:0x4\n") << QByteArray("1:0:0x1")
            << "info load" << "0,1,2,3=1 ff=1 0,63=0 info:-" << QByteArray("1000:2:0x4\n");
        row("the process's integrity level shown") << all << QByteArray("1000:0\n") << QByteArray()
            << QByteArray("1:63:0x1") << "info" << "0,1,2,3=1 ff=1 0,63=63 info:-" << QByteArray();
        // Back in selection only the user's own range is offered, with the
        // user's last choice or what a new dialog shows, and each picker
        // enabled as its own rebuild leaves it.
        row("back with a last choice") << twoLevels << any << QByteArray("1000:1:0x1\n") << QByteArray("3:63:0x2")
            << "info edit" << "0,1=1 ff=1 0,63=0 lic" << QByteArray("1000:1:0x1\n");
        row("back twice without a last choice") << twoLevels << any << QByteArray() << QByteArray("3:63:0x2")
            << "info edit info edit" << "0,1=0 ff=0 0,63=0 lic" << QByteArray("1000:0:0x0\n");
        // One level: the dialog's default integrity level is the top.
        row("back with one level") << QByteArray("1000:0:0:0:0\n") << any << QByteArray() << QByteArray("3:0:0x0")
            << "info edit" << "0=0 0=0 0,63=63 i" << QByteArray("1000:0:0x0\n");
        row("back with forced categories, one integrity level") << QByteArray("1000:1:0x3:1:0x3\n")
            << QByteArray("1000:0\n") << QByteArray() << QByteArray("2:63:0x4") << "info edit" << "1=1 3=3 0=0 -"
            << QByteArray("1000:1:0x3\n");
        row("another user in information mode, then back") << QByteArray("1000:0:0:3:0xff\n2000:0:0:1:0x3\n") << any
            << QByteArray("2000:1:0x2\n") << QByteArray("3:63:0x4") << "info uid:2000 edit" << "0,1=1 3=2 0,63=0 lic"
            << QByteArray("2000:1:0x2\n");
        // The next user without a valid last choice sees what a new dialog
        // shows, never the previous user's choice.
        row("another user without a last choice") << QByteArray("1000:0:0:3:0xff\n2000:0:0:3:0xff\n") << any
            << QByteArray("1000:2:0x3\n") << QByteArray("0:0:0") << "uid:2000" << "0,1,2,3=0 ff=0 0,63=0 lic"
            << QByteArray("1000:2:0x3\n2000:0:0x0\n");
        row("another user whose last choice is out of range") << QByteArray("1000:0:0:3:0xff\n2000:0:0:1:0x3\n")
            << any << QByteArray("1000:1:0x3\n2000:3:0x4\n") << QByteArray("0:0:0") << "uid:1000 uid:2000"
            << "0,1=0 3=0 0,63=0 lic" << QByteArray("1000:1:0x3\n2000:0:0x0\n");
        // The process's level bounds the calling user's own login only.
        row("calling user, then another") << QByteArray("*:0:0:3:0xff\n") << any << QByteArray() << QByteArray("2:0:0")
            << "uid:-1 uid:1000" << "0,1,2,3=0 ff=0 0,63=0 lic" << QByteArray("1000:0:0x0\n");
        row("calling user through information mode") << QByteArray("*:0:0:3:0xff\n") << any << QByteArray()
            << QByteArray("2:0:0") << "uid:-1 info edit" << "2,3=2 ff=0 0,63=0 lic" << QByteArray("SELF:2:0x0\n");
        row("a name nobody has through information mode") << all << any << QByteArray() << QByteArray("2:0:0xf0")
            << "uid:4294967294 info edit" << "0=0 0=0 0,63=63 i" << QByteArray();
    }
}

void tst_LoginMacLabelDialog::transitions()
{
    QFETCH(bool, themed);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, micUsers);
    QFETCH(QByteArray, lastChoice);
    QFETCH(QByteArray, processLabel);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    QFETCH(QByteArray, stored);

    StandinPolicy policy;
    writePolicy(policy, macUsers, micUsers, processLabel, lastChoice);
    const auto dialog = std::make_unique<LoginMacLabelDialog>(1000, themed, nullptr);
    auto *widget = dialog->findChild<LoginMacLabelWidget *>();
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("info") || step == QLatin1String("edit"))
            dialog->setEditable(step == QLatin1String("edit"));
        else if (step == QLatin1String("load"))
            widget->loadLastChoice();
        else if (step.startsWith(QLatin1String("uid:")))
            widget->setUid(uid_t(step.mid(4).toLongLong()));
        else
            QFAIL(qPrintable(step));
    }

    QCOMPARE(::shown(*dialog), shown);
    // OK takes what is shown; only a choice made in selection mode is saved.
    QVERIFY(pressOk(*dialog));
    QCOMPARE(contents(policy, "lastchoice"), withSelf(stored));
}

void tst_LoginMacLabelDialog::staysOnScreen_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("name"); // empty: the dialog is made for user 1000
    QTest::addColumn<QByteArray>("file"); // of the policy, with its contents
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("macUsers");

    QByteArray categories;
    for (int bit = 0; bit < 64; ++bit)
        categories += "0x" + QByteArray::number(1ULL << bit, 16) + ":Category " + QByteArray::number(bit) + '\n';
    const QByteArray everyUser("*:0:0:3:0xff\n");

    QTest::newRow("a 300-character name") << false << QByteArray(300, 'n') << QByteArray() << QByteArray() << everyUser;
    QTest::newRow("a 300-character name in words") << false << QByteArray("ab ").repeated(100) << QByteArray()
                                                   << QByteArray() << everyUser;
    for (const bool themed : {false, true}) {
        const QByteArray form(themed ? "themed: " : "plain: ");
        QTest::newRow(QByteArray(form + "64 fixed categories").constData()) << themed << QByteArray() << QByteArray("categories") << categories
            << QByteArray("1000:0:0xffffffffffffffff:3:0xffffffffffffffff\n");
        QTest::newRow(QByteArray(form + "a 300-character level name").constData()) << themed << QByteArray() << QByteArray("levels")
            << QByteArray("0:" + QByteArray(300, 'L') + '\n') << QByteArray("1000:5:0:5:0\n");
    }
}

void tst_LoginMacLabelDialog::staysOnScreen()
{
    // The heading and the hints wrap, so neither a long name nor a long list
    // of fixed categories pushes the dialog or its OK button off the screen.
    QFETCH(bool, themed);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, macUsers);

    StandinPolicy policy;
    if (!file.isEmpty())
        policy.write(file.constData(), contents);
    policy.write("mac-users", macUsers);
    const auto dialog = name.isEmpty() ? std::make_unique<LoginMacLabelDialog>(1000, themed, nullptr)
                                       : std::make_unique<LoginMacLabelDialog>(name.data(), nullptr);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QCOMPARE(offScreen(*dialog), QString());
    // Wrapped, not cut: the whole name is still in the heading, and every
    // text has the height its lines need.
    QVERIFY(headingOf(*dialog)->text().remove(QChar(0x200B)).contains(QString::fromLatin1(name)));
    for (const QLabel *label : {headingOf(*dialog), dialog->findChild<QLabel *>(QStringLiteral("_levelHintLabel")),
                                dialog->findChild<QLabel *>(QStringLiteral("_categoryHintLabel"))}) {
        if (label->isVisible())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->objectName()));
    }
}

QTEST_MAIN(tst_LoginMacLabelDialog)
#include "tst_loginmaclabeldialog.moc"
