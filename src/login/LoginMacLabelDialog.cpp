// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginMacLabelDialog.h"

#include "BreakableText_p.h"
#include "ILevelComboBox.h"
#include "LabelTexts_p.h"
#include "LibraryGlobals_p.h"
#include "LockReasons_p.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "UnresolvedUser_p.h"
#include "labelpolicy.h"

#include <Common.h>

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include <unistd.h>

namespace VarnelQt5 {

namespace {

QString titleText(bool editable)
{
    return editable ? LoginMacLabelDialog::tr("MAC label selection") : LoginMacLabelDialog::tr("MAC label information");
}

// The name is input from a login program: shown as text, never as markup,
// and free to wrap however long it is. One arg() call, so that a '%'
// sequence in the title or the name is not substituted again. The themed
// heading is that of a new dialog; a change of mode shows the plain one.
QString headingText(const QString &title, const QString &name, bool themed = false)
{
    const QString format = themed ? LoginMacLabelDialog::tr("<b>%1 for %2</b>") : QStringLiteral("%1 (<b>%2</b>)");
    return format.arg(title, breakableText(name).toHtmlEscaped());
}

// callingUserId is the calling user, as the widget takes it.
QString nameOfUser(uid_t uid)
{
    return Common::nameByUid(uid == callingUserId ? getuid() : uid, nullptr);
}

// adjustSize() keeps a window within two thirds of the screen, which can cut
// off the end of a long wrapped hint. The dialog takes the height the
// wrapped text needs, and where that is more than the screen has, more width
// too, so that fewer lines are needed. A title bar's height is left over in
// each direction for the window's frame.
void fitWrappedText(QDialog *dialog, const QRect &available)
{
    const QLayout *layout = dialog->layout();
    if (!layout || !layout->hasHeightForWidth())
        return;
    int width = dialog->width();
    int height = layout->totalHeightForWidth(width);
    if (height <= dialog->height())
        return;
    const int frame = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
    const QSize room = available.size() - QSize(frame, frame);
    if (height > room.height() && width < room.width()) {
        width = room.width();
        height = layout->totalHeightForWidth(width);
    }
    dialog->resize(width, qMin(height, room.height()));
}

// The text of the item of picker with value, or the value in digits where
// the picker does not offer it.
QString nameOf(const QComboBox *picker, qulonglong value)
{
    for (int i = 0; i < picker->count(); ++i) {
        if (picker->itemData(i, Qt::UserRole).toULongLong() == value)
            return picker->itemText(i);
    }
    return QString::number(value);
}

// While the chosen label breaks the rule that OK enforces, one line says so
// in the names the pickers show, and what would be allowed instead.
void watchLoginRule(LoginMacLabelWidget *widget, QLabel *line)
{
    auto *level = widget->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox"));
    auto *integrity = widget->findChild<ILevelComboBox *>(QStringLiteral("_integrityComboBox"));
    auto *categories = widget->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    if (!level || !integrity || !categories)
        return;
    const auto update = [widget, line, level, integrity] {
        const bool broken = widget->editable() && varnel_strict_mode() == 0 && widget->integrity() != 0
            && (widget->level() != 0 || widget->categories() != 0);
        if (!broken) {
            line->clear();
            return;
        }
        QString chosen = nameOf(level, widget->level());
        if (widget->categories() != 0)
            chosen = LoginMacLabelDialog::tr("%1 with %2").arg(chosen, LabelTexts::categoryNames(widget->categories()));
        line->setText(LoginMacLabelDialog::tr("Integrity level %1 is allowed only with level %2 and no "
                                              "categories; level %3 only with integrity level %4.")
                          .arg(integrity->currentText(), nameOf(level, 0), chosen, nameOf(integrity, 0)));
    };
    // Every change of the current entry, also one a rebuild makes silently.
    QObject::connect(level, qOverload<int>(&QComboBox::currentIndexChanged), line, update);
    QObject::connect(integrity, qOverload<int>(&QComboBox::currentIndexChanged), line, update);
    QObject::connect(categories, &MacCategoryListWidget::valueChanged, line, update);
    update();
}

// The heading above the form; the themed form sets it in from the edges.
QLabel *addHeading(QDialog *dialog, QVBoxLayout *layout, bool themed, const QString &text)
{
    auto *heading = new QLabel(text, dialog);
    if (themed) {
        layout->setContentsMargins(0, 20, 0, 16);
        auto *inset = new QVBoxLayout();
        inset->setContentsMargins(20, 0, 20, 0);
        inset->addWidget(heading);
        layout->addLayout(inset);
    } else {
        layout->setContentsMargins(25, 25, 25, 25);
        layout->addWidget(heading);
    }
    heading->setTextFormat(Qt::RichText);
    // Wrapped, so that a long name cannot push the dialog past the screen.
    heading->setWordWrap(true);
    layout->addSpacing(5);
    return heading;
}

// Says before OK why OK would refuse the label; its one line is kept while
// empty, so that the form does not jump when it appears.
void addRuleLine(QDialog *dialog, QVBoxLayout *layout, LoginMacLabelWidget *widget)
{
    auto *rule = new QLabel(dialog);
    rule->setObjectName(QStringLiteral("_loginRuleLabel"));
    rule->setTextFormat(Qt::PlainText);
    rule->setWordWrap(true);
    rule->setMinimumHeight(rule->fontMetrics().lineSpacing());
    layout->addWidget(rule);
    watchLoginRule(widget, rule);
}

// OK, in the widget's button layout: beside Cancel and named Enter in the
// themed form, above a stretch in the plain one.
QDialogButtonBox *addButtons(QDialog *dialog, LoginMacLabelWidget *widget, bool themed)
{
    if (!themed) {
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, dialog);
        widget->buttonLayout()->addWidget(buttons);
        widget->buttonLayout()->addStretch();
        return buttons;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, dialog);
    if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
        ok->setText(LoginMacLabelDialog::tr("Enter"));
    widget->newButtonLayout()->addStretch();
    widget->newButtonLayout()->addWidget(buttons);
    return buttons;
}

// Sized to its contents within the screen, and centred on it.
void placeOnScreen(QDialog *dialog)
{
    QScreen *screen = dialog->windowHandle() ? dialog->windowHandle()->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        dialog->adjustSize();
        return;
    }
    const QRect available = screen->availableGeometry();
    dialog->setMaximumWidth(available.width());
    dialog->adjustSize();
    fitWrappedText(dialog, available);
    QRect placed = dialog->geometry();
    placed.moveCenter(available.center());
    dialog->setGeometry(placed);
}

} // namespace

LoginMacLabelDialog::LoginMacLabelDialog(char *name, QWidget *parent)
    : QDialog(parent)
    , widget(nullptr)
    , userName(QString::fromLocal8Bit(name))
    , heading(nullptr)
{
    Common::ptr();
    uid_t uid = Common::uidByName(userName, nullptr);
    // The failure value would read as the calling user.
    if (uid == callingUserId)
        uid = unresolvedUserId;
    initialize(uid, false);
}

LoginMacLabelDialog::LoginMacLabelDialog(uid_t uid, QWidget *parent)
    : QDialog(parent)
    , widget(nullptr)
    , heading(nullptr)
{
    Common::ptr();
    userName = nameOfUser(uid);
    initialize(uid, false);
}

LoginMacLabelDialog::LoginMacLabelDialog(uid_t uid, bool themed, QWidget *)
    : QDialog(nullptr)
    , widget(nullptr)
    , heading(nullptr)
{
    Common::ptr();
    userName = nameOfUser(uid);
    initialize(uid, themed);
}

LoginMacLabelDialog::~LoginMacLabelDialog() = default;

void LoginMacLabelDialog::initialize(uid_t uid, bool themed)
{
    // Built once: a second call would stack a second layout and widget.
    if (widget)
        return;
    const QString title = titleText(true);
    setWindowTitle(title);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("security-policy")));

    auto *mainLayout = new QVBoxLayout(this);
    heading = addHeading(this, mainLayout, themed, headingText(title, userName, themed));
    widget = new LoginMacLabelWidget(uid, true, themed, this);
    widget->layout()->setContentsMargins(0, 0, 0, 0);
    mainLayout->addWidget(widget);
    addRuleLine(this, mainLayout, widget);

    QDialogButtonBox *buttons = addButtons(this, widget, themed);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginMacLabelDialog::onButtonBoxAccepted);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, &LoginMacLabelDialog::saveChoice);

    setSizePolicy(QSizePolicy());
    placeOnScreen(this);
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

mac_lev_t LoginMacLabelDialog::level()
{
    return widget->level();
}

mac_cat_t LoginMacLabelDialog::categories()
{
    return widget->categories();
}

char *LoginMacLabelDialog::malloc_mac_label_text()
{
    return widget->malloc_mac_label_text();
}

bool LoginMacLabelDialog::isValid()
{
    return widget->isValid();
}

bool LoginMacLabelDialog::isSuitable()
{
    return widget->isSuitable();
}

bool LoginMacLabelDialog::isVariability()
{
    return widget->isVariability();
}

bool LoginMacLabelDialog::editable() const
{
    return widget->editable();
}

void LoginMacLabelDialog::setEditable(bool editable)
{
    if (editable) {
        // Every return to selection starts from the default integrity level,
        // worked out on the lists rebuilt for the user, without what
        // information mode put into them.
        const bool switching = !widget->editable();
        if (switching)
            widget->setEditable(true);
        widget->setMaxIntegrityLevel();
        if (!switching)
            return;
    } else {
        if (!widget->editable())
            return;
        widget->setEditable(false);
    }
    const QString title = titleText(editable);
    setWindowTitle(title);
    heading->setText(headingText(title, userName));
}

void LoginMacLabelDialog::saveChoice() const
{
    if (widget->editable())
        widget->saveChoice();
}

void LoginMacLabelDialog::onButtonBoxAccepted()
{
    if (!widget->editable()) {
        accept();
        return;
    }
    // With MAC switched on, a login needs a level from the user's range;
    // where there is none, the reason is the message.
    const auto *levels = widget->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox"));
    QString refused;
    if (levels && levels->count() == 0 && varnel_mac_enabled() != 0) {
        refused = LockReasons::reason(levels);
        if (refused.isEmpty())
            refused = MacLevelComboBox::tr("No level lies within this user's range");
    } else {
        // Strict mode is asked at this moment, not as it was at load. The
        // label judged is the one the widget builds, which carries no
        // integrity level where strict mode was on at load.
        const TAV_ILEV_T integrity = strictModeFlag ? 0 : widget->integrity();
        const bool allowed = varnel_strict_mode() != 0 || integrity == 0
                             || (widget->level() == 0 && widget->categories() == 0);
        if (allowed) {
            accept();
            return;
        }
        refused = tr("Denied login with non-zero integrity and confidentiality levels at the same time");
    }

    QMessageBox refusal(this);
    refusal.setIcon(QMessageBox::Critical);
    refusal.setWindowTitle(tr("Invalid set of attributes"));
    refusal.setText(refused);
    refusal.setStandardButtons(QMessageBox::Ok);
    const QRect frame = geometry();
    refusal.move(pos().x(), (frame.top() + frame.bottom()) / 2 - refusal.sizeHint().height() / 2);
    refusal.exec();
}

void LoginMacLabelDialog::keyPressEvent(QKeyEvent *event)
{
    // A login must end with a choice: Escape does not reject. There is
    // nothing to hand on without an event.
    if (!event || event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace VarnelQt5
