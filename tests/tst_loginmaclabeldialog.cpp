// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"
#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "LoginWidgetState.h"
#include "StandinPolicy.h"
#include "StrictChild.h"
#include "labelpolicy.h"

#include <Common.h>

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
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
    void refusedWithoutLevel_data();
    void refusedWithoutLevel();
    void initializeOnce();
    void strictAtLoadJudgesTheBuiltLabel();
    void seededWalk_data();
    void seededWalk();

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
        // Exactly the process's label, outside the user's range too, on
        // either path into information mode.
        row("a label outside the user's range") << QByteArray("1000:0:0:1:0x1\n") << any << QByteArray("1000:1:0x1\n")
            << QByteArray("3:63:0x2") << "info" << "0,1,3=3 1=2 0,63=63 info:-" << QByteArray("1000:1:0x1\n");
        row("a label outside the user's range, then setUid") << QByteArray("1000:0:0:1:0x1\n") << any
            << QByteArray("1000:1:0x1\n") << QByteArray("3:63:0x2") << "info uid:1000 load"
            << "0,1,3=3 1=2 0,63=63 info:-" << QByteArray("1000:1:0x1\n");
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
    QByteArray longCategories;
    for (int bit = 0; bit < 64; ++bit)
        longCategories += "0x" + QByteArray::number(1ULL << bit, 16) + ":A category whose name is long enough to wrap "
                          + QByteArray::number(bit) + '\n';

    QTest::newRow("a 300-character name") << false << QByteArray(300, 'n') << QByteArray() << QByteArray() << everyUser;
    QTest::newRow("a 300-character name in words") << false << QByteArray("ab ").repeated(100) << QByteArray()
                                                   << QByteArray() << everyUser;
    for (const bool themed : {false, true}) {
        const QByteArray form(themed ? "themed: " : "plain: ");
        QTest::newRow(QByteArray(form + "64 fixed categories").constData()) << themed << QByteArray() << QByteArray("categories") << categories
            << QByteArray("1000:0:0xffffffffffffffff:3:0xffffffffffffffff\n");
        QTest::newRow(QByteArray(form + "a 300-character level name").constData()) << themed << QByteArray() << QByteArray("levels")
            << QByteArray("0:" + QByteArray(300, 'L') + '\n') << QByteArray("1000:5:0:5:0\n");
        // Names the pickers offer: the combo boxes stop growing, and show a
        // name they cut whole in its tool tip.
        QTest::newRow(QByteArray(form + "a 141-character level name in words, in the range").constData()) << themed
            << QByteArray() << QByteArray("levels") << QByteArray("0:L0\n1:" + QByteArray("level ").repeated(23) + "end\n")
            << everyUser;
        QTest::newRow(QByteArray(form + "a 300-character level name in the range").constData()) << themed
            << QByteArray() << QByteArray("levels") << QByteArray("0:" + QByteArray(300, 'L') + "\n1:L1\n")
            << everyUser;
        QTest::newRow(QByteArray(form + "a 300-character integrity name").constData()) << themed << QByteArray()
            << QByteArray("ilevels") << QByteArray("0:Low\n63:" + QByteArray("high ").repeated(60) + '\n')
            << everyUser;
        QTest::newRow(QByteArray(form + "64 fixed categories with long names").constData()) << themed << QByteArray()
            << QByteArray("categories") << longCategories
            << QByteArray("1000:0:0xffffffffffffffff:3:0xffffffffffffffff\n");
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
        if (!label->isVisible() || label->height() >= label->heightForWidth(label->width()))
            continue;
        // Only 64 long names need more than the screen's height; then the
        // whole text is the tool tip.
        QVERIFY2(contents.contains("long enough to wrap"), qPrintable(label->objectName()));
        QCOMPARE(label->toolTip(), QString(label->text()).remove(QChar(0x200B)));
    }
    for (const QComboBox *box : dialog->findChildren<QComboBox *>()) {
        for (int row = 0; row < box->count(); ++row) {
            const QString text = box->itemText(row);
            if (box->fontMetrics().horizontalAdvance(text) > box->width())
                QCOMPARE(box->itemData(row, Qt::ToolTipRole).toString(), text);
        }
    }
}

void tst_LoginMacLabelDialog::refusedWithoutLevel_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("processLabel");
    QTest::addColumn<bool>("callingUser");

    for (const bool themed : {false, true}) {
        const QByteArray form(themed ? "themed: " : "plain: ");
        QTest::newRow(QByteArray(form + "the range names no level").constData())
            << themed << QByteArray("1000:2:0:3:0xff\n") << QByteArray("0:0:0") << false;
        QTest::newRow(QByteArray(form + "the process's level above the user's maximum").constData())
            << themed << QByteArray("*:0:0:1:0xff\n") << QByteArray("3:0:0") << true;
    }
}

void tst_LoginMacLabelDialog::refusedWithoutLevel()
{
    // Level 0 lies outside the range: OK says why, nothing is saved, and the
    // hint names no level the user may not have.
    QFETCH(bool, themed);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, processLabel);
    QFETCH(bool, callingUser);

    StandinPolicy policy;
    policy.write("levels", "0:L0\n1:L1\n");
    writePolicy(policy, macUsers, "*:63\n", processLabel, QByteArray());
    LoginMacLabelDialog dialog(1000, themed, nullptr);
    auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    if (callingUser)
        widget->setUid(uid_t(-1));
    QCOMPARE(dialog.findChild<MacLevelComboBox *>()->count(), 0);
    const QLabel *hint = dialog.findChild<QLabel *>(QStringLiteral("_levelHintLabel"));
    QVERIFY(!hint->isHidden());
    QVERIFY2(!hint->text().contains(QLatin1String("L0")), qPrintable(hint->text()));
    QVERIFY(!widget->saveChoice());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    SeenMessage seen;
    closeNextMessageBox(seen, &dialog);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    button(dialog, QDialogButtonBox::Ok)->click();
    QVERIFY(seen.seen);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.text, QStringLiteral("No level lies within this user's range"));
    QCOMPARE(accepted.count(), 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(policy.filePath("lastchoice")));
}

void tst_LoginMacLabelDialog::initializeOnce()
{
    StandinPolicy policy;
    policy.write("lastchoice", "1000:2:0x1\n2000:1:0x2\n");
    for (const bool themed : {false, true}) {
        LoginMacLabelDialog dialog(1000, themed, nullptr);
        QLayout *layout = dialog.layout();
        const QString heading = headingOf(dialog)->text();
        static int layoutWarnings = 0;
        layoutWarnings = 0;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) {
                if (message.contains(QLatin1String("already has a layout")))
                    ++layoutWarnings;
            });
        dialog.initialize(2000, !themed);
        qInstallMessageHandler(previous);
        QCOMPARE(layoutWarnings, 0);
        QCOMPARE(dialog.findChildren<LoginMacLabelWidget *>().size(), 1);
        QCOMPARE(dialog.findChildren<QDialogButtonBox *>().size(), 1);
        QCOMPARE(dialog.layout(), layout);
        QCOMPARE(headingOf(dialog)->text(), heading);
        QCOMPARE(dialog.findChild<LoginMacLabelWidget *>()->themed(), themed);
        QCOMPARE(dialog.level(), mac_lev_t(2));
        QCOMPARE(dialog.categories(), mac_cat_t(0x1));
    }
}

void tst_LoginMacLabelDialog::strictAtLoadJudgesTheBuiltLabel()
{
    // Strict mode on when the library loaded hides the integrity row and
    // builds labels without an integrity level; switched off by the time OK
    // is pressed, the rule judges that label, not the hidden picker.
    if (qEnvironmentVariableIsSet("VARNEL_DIALOG_STRICT_CHILD")) {
        LoginMacLabelDialog dialog(1000, false, nullptr);
        auto *widget = dialog.findChild<LoginMacLabelWidget *>();
        dialog.findChild<MacLevelComboBox *>()->setValue(1);
        dialog.findChild<ILevelComboBox *>()->setValue(63);
        QVERIFY(dialog.findChild<ILevelComboBox *>()->isHidden());
        QCOMPARE(widget->integrity(), TAV_ILEV_T(63));
        QCOMPARE(LoginWidgetState::labelText(*widget), QStringLiteral("1:0:0x0"));
        QFile system(qEnvironmentVariable("VARNEL_STANDIN_DIR") + QStringLiteral("/system"));
        QVERIFY(system.open(QIODevice::WriteOnly | QIODevice::Truncate));
        system.close();
        QVERIFY(pressOk(dialog));
        return;
    }

    StandinPolicy policy;
    const QByteArray failure = failureOfStrictChild(policy, "VARNEL_DIALOG_STRICT_CHILD", "tst_LoginMacLabelDialog");
    QVERIFY2(failure.isEmpty(), failure.constData());
    QCOMPARE(contents(policy, "lastchoice"), QByteArray("1000:1:0x0\n"));
}

namespace {

// Names of a category set as the information line gives them: the default
// policy's names, or numbers where there was no label object to ask.
bool namesCategories(const QString &line, mac_cat_t categories)
{
    QStringList names, numbers;
    for (int n = 0; n < 64; ++n) {
        if (!(categories & (mac_cat_t(1) << n)))
            continue;
        names << (n < 8 ? QStringLiteral("C%1").arg(n) : QString::number(n));
        numbers << QString::number(n);
    }
    return line == names.join(QStringLiteral(", ")) || line == numbers.join(QStringLiteral(", "));
}

// A line of the stored last choices, or an empty one.
QByteArray storedLine(const StandinPolicy &policy, uid_t uid)
{
    const QByteArray prefix = QByteArray::number(uid) + ':';
    for (const QByteArray &line : contents(policy, "lastchoice").split('\n')) {
        if (line.startsWith(prefix))
            return line;
    }
    return QByteArray();
}

} // namespace

void tst_LoginMacLabelDialog::seededWalk_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 12; ++seed) {
        QTest::addRow("plain, seed %u", seed) << false << seed;
        QTest::addRow("themed, seed %u", seed) << true << seed;
    }
}

void tst_LoginMacLabelDialog::seededWalk()
{
    // Calls in random order, with platform calls made to fail and the policy
    // changed between them. At every step the label returned is the one the
    // visible rows show, OK accepts and stores only that, no handle is left
    // over, and after setUid the widget is what a new one for that user is.
    QFETCH(bool, themed);
    QFETCH(quint32, seed);

    const QList<QByteArray> macUsers{"1000:0:0:3:0xff\n2000:1:0x1:2:0x7\n*:0:0:1:0x3\n", "1000:2:0:3:0xff\n",
                                     QByteArray(), "1000:0:0x4:0:0x4\n2000:0:0:3:0xff\n*:0:0x4:3:0xff\n"};
    const QList<QByteArray> levels{"0:L0\n1:L1\n2:L2\n3:L3\n", "0:L0\n1:L1\n"};
    const QList<QByteArray> micUsers{"*:63\n", QByteArray(), "1000:0\n"};
    const QList<QByteArray> systems{"process_label=2:63:0x5\n", "process_label=3:0:0x80\ncurrent_ilev=63\n",
                                    "mac_enabled=0\nprocess_label=1:0:0x1\n", "process_label=0:0:0\n"};
    const QList<QByteArray> faults{QByteArray(), QByteArray(), QByteArray(), "opencatdb_r", "setcatent_r",
                                   "openmacdb_r", "openlevdb_r", "openmicdb_r", "mac_init", "tav_get_pid",
                                   "getlchuid", "setlchuid", "tav_ilev_get_text", "getmacuid_r"};
    const QList<uid_t> uids{1000, 2000, 3000, uid_t(-1), uid_t(-2)};

    StandinPolicy policy;
    policy.write("mac-users", macUsers.first());
    policy.write("lastchoice", "1000:1:0x6\n2000:2:0x3\n");
    policy.write("system", systems.first());
    const long live = varnel_standin_live();
    QRandomGenerator random(seed);
    auto dialog = std::make_unique<LoginMacLabelDialog>(1000, themed, nullptr);
    auto *widget = dialog->findChild<LoginMacLabelWidget *>();
    uid_t uid = 1000;
    QByteArray fault;

    for (int step = 0; step < 60; ++step) {
        const int action = int(random.bounded(9u));
        const QString where = QStringLiteral("seed %1 step %2 action %3 fault '%4'")
                                  .arg(seed).arg(step).arg(action).arg(QString::fromLatin1(fault));
        const auto pick = [&random](const auto &list) { return list.at(int(random.bounded(uint(list.size())))); };
        switch (action) {
        case 0: // the policy changes
            switch (random.bounded(5u)) {
            case 0: policy.writeOrRemove("mac-users", pick(macUsers)); break;
            case 1: policy.write("levels", pick(levels)); break;
            case 2: policy.writeOrRemove("mic-users", pick(micUsers)); break;
            case 3: policy.write("system", pick(systems)); break;
            default:
                fault = pick(faults);
                if (fault.isEmpty())
                    policy.remove("faults");
                else
                    policy.fail(fault.constData());
            }
            break;
        case 1: {
            const uid_t next = pick(uids);
            widget->setUid(next);
            uid = next == uid_t(-1) ? getuid() : next;
            LoginMacLabelWidget fresh(next, true, themed, nullptr);
            if (!widget->editable())
                fresh.setEditable(false);
            QVERIFY2(LoginWidgetState::describe(*widget) == LoginWidgetState::describe(fresh),
                     qPrintable(where + QLatin1Char('\n') + LoginWidgetState::describe(*widget) + QLatin1Char('\n')
                                + LoginWidgetState::describe(fresh)));
            break;
        }
        case 2:
            dialog->setEditable(random.bounded(2u) == 0);
            break;
        case 3:
            widget->loadLastChoice();
            break;
        case 4:
        case 6: {
            const QByteArray before = contents(policy, "lastchoice");
            const QByteArray expected = QByteArray::number(uid) + ':' + QByteArray::number(widget->level()) + ":0x"
                                        + QByteArray::number(qulonglong(widget->categories()), 16);
            const bool editable = widget->editable();
            const bool noLevel = editable && dialog->findChild<MacLevelComboBox *>()->count() == 0
                                 && varnel_mac_enabled() != 0;
            const bool ruleBroken = editable && widget->integrity() != 0
                                    && (widget->level() != 0 || widget->categories() != 0);
            bool accepted = false;
            if (action == 4) {
                widget->saveChoice();
            } else {
                SeenMessage seen;
                closeNextMessageBox(seen, dialog.get());
                QSignalSpy spy(dialog.get(), &QDialog::accepted);
                QVERIFY(QMetaObject::invokeMethod(dialog.get(), "onButtonBoxAccepted"));
                accepted = spy.count() == 1;
                QVERIFY2(accepted == !(noLevel || ruleBroken), qPrintable(where));
                QVERIFY2(seen.seen == !accepted, qPrintable(where));
            }
            const QByteArray after = contents(policy, "lastchoice");
            // Only what the rows show is stored, only in selection, never
            // without a level.
            if (after != before) {
                QVERIFY2(editable && !noLevel && (action == 4 || accepted), qPrintable(where));
                QVERIFY2(storedLine(policy, uid) == expected, qPrintable(where + QLatin1Char(' ') + QString::fromLatin1(expected)));
            }
            break;
        }
        case 5:
            widget->setMaxIntegrityLevel();
            break;
        case 7: {
            const QByteArray before = contents(policy, "lastchoice");
            dialog->reject();
            QCOMPARE(contents(policy, "lastchoice"), before);
            break;
        }
        default: { // the person picks something that can be picked
            auto *levelBox = dialog->findChild<MacLevelComboBox *>();
            auto *integrityBox = dialog->findChild<ILevelComboBox *>();
            auto *list = dialog->findChild<MacCategoryListWidget *>();
            if (!levelBox->isHidden() && levelBox->isEnabled() && levelBox->count() > 0)
                levelBox->setValue(mac_lev_t(levelBox->itemData(int(random.bounded(uint(levelBox->count())))).toInt()));
            if (!integrityBox->isHidden() && integrityBox->isEnabled() && integrityBox->count() > 0)
                integrityBox->setValue(integrityBox->itemData(int(random.bounded(uint(integrityBox->count())))).toUInt());
            if (!list->isHidden() && list->isEnabled() && list->count() > 0) {
                QListWidgetItem *row = list->item(int(random.bounded(uint(list->count()))));
                if (row->flags() & Qt::ItemIsEnabled)
                    row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            }
        }
        }

        QVERIFY2(varnel_standin_live() == live, qPrintable(where));
        QVERIFY2(LoginWidgetState::labelText(*widget) == LoginWidgetState::shownLabel(*widget, false),
                 qPrintable(where + QLatin1Char(' ') + LoginWidgetState::describe(*widget)));
        if (!widget->editable()) {
            const QLabel *line = dialog->findChild<QLabel *>(QStringLiteral("_categoryHintLabel"));
            QVERIFY2(!line->isHidden() && namesCategories(line->toolTip(), widget->categories()),
                     qPrintable(where + QLatin1Char(' ') + line->toolTip()));
            QVERIFY2(!widget->isVariability(), qPrintable(where));
        }
    }
}

QTEST_MAIN(tst_LoginMacLabelDialog)
#include "tst_loginmaclabeldialog.moc"
