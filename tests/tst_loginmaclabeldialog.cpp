// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"
#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "StandinPolicy.h"

#include <varnel-common-qt5/Common.h>

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
    void unresolvedNameGetsNoRealUsersRange();
    void setEditableRoundTrip();

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
    QTest::addColumn<QByteArray>("name");
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
    else if (constructor == 1)
        dialog = std::make_unique<LoginMacLabelDialog>(getuid(), &parent);
    else
        dialog = std::make_unique<LoginMacLabelDialog>(getuid(), themed, &parent);

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

void tst_LoginMacLabelDialog::unresolvedNameGetsNoRealUsersRange()
{
    // The calling user may use more than a user without a record; a name
    // nobody has must get only the latter, and no last choice.
    StandinPolicy policy;
    const QByteArray self = QByteArray::number(getuid());
    policy.write("mac-users", "*:0:0:0:0\n" + self + ":0:0:3:0xff\n");
    const QByteArray stored = self + ":3:0x1\n";
    policy.write("lastchoice", stored);
    char name[] = "no-such-user-varnel";
    LoginMacLabelDialog dialog(name, nullptr);
    QCOMPARE(dialog.findChild<MacLevelComboBox *>()->allValues(), QList<mac_lev_t>({0}));
    QCOMPARE(dialog.level(), mac_lev_t(0));
    QCOMPARE(dialog.categories(), mac_cat_t(0));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    button(dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
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

QTEST_MAIN(tst_LoginMacLabelDialog)
#include "tst_loginmaclabeldialog.moc"
