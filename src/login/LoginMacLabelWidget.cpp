// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginMacLabelWidget.h"

#include "AccessibleRows_p.h"
#include "BreakableText_p.h"
#include "ILevelComboBox.h"
#include "LibraryGlobals_p.h"
#include "LoginMacLabelWidgetForm_p.h"
#include "MacCategoryListWidget.h"
#include "MacFileItem.h"
#include "MacFileModel.h"
#include "MacLevelComboBox.h"
#include "pickers/LockReasons_p.h"
#include "NewLoginMacLabelWidgetForm_p.h"
#include "PlatformHandles_p.h"
#include "UnresolvedUser_p.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include <unistd.h>

namespace VarnelQt5 {

// The members both forms share, whichever was built.
struct LoginMacLabelWidget::FormParts {
    MacLevelComboBox *levelComboBox;
    QLabel *levelLabel;
    QLabel *levelHint;
    ILevelComboBox *integrityComboBox;
    QLabel *integrityLabel;
    MacCategoryListWidget *categoryList;
    QLabel *categoryLabel;
    QLabel *categoryHint;
    QGroupBox *rolesBox;
    QTreeView *userTree;
    QTreeView *adminTree;
};

namespace {

// Only the name column with its check boxes stays. Sizing to contents comes
// last, which spares the view a width pass for each hidden part.
void showOnlyNames(QTreeView *view, MacFileModel *model)
{
    view->setModel(model);
    view->header()->hide();
    view->hideColumn(2);
    view->hideColumn(1);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    AccessibleRows::announceCheckChanges(view);
}

QString joinedIds(const MacFileModel *model)
{
    QStringList ids;
    const QList<unsigned long> checked = model->checkedIds();
    ids.reserve(checked.size());
    for (const unsigned long id : checked)
        ids.append(QString::number(id, 10));
    return ids.join(listSeparator);
}

constexpr mac_cat_t allCategories = ~mac_cat_t(0);

// Whether uid stands for a name nobody has and the policy gives it no record,
// not even through a line for every user.
bool isUnknownWithoutRecord(uid_t uid)
{
    if (uid != unresolvedUserId)
        return false;
    Platform::UserMacEntry record;
    return Platform::lookupUserMac(uid, record) && !record;
}

// The helpers below take the widget's form parts, whichever form was built.

// A part the user cannot change is shown as text: the level by its name, the
// categories by their names separated by a comma and a blank. The texts come
// from the policy and are shown as they are, never as markup.
template <typename Parts>
void updateHints(const Parts &parts)
{
    const bool levelSuitable = parts.levelComboBox->isSuitable();
    const bool categoriesSuitable = parts.categoryList->isSuitable();
    const Platform::MacLabel object(mac_init(0x10000));
    // Without a label object there are no names to show: the hints stay.
    if (!object || (levelSuitable && categoriesSuitable))
        return;
    mac_set_lev(object.get(), parts.levelComboBox->value());
    mac_set_cat(object.get(), parts.categoryList->value());

    if (!levelSuitable) {
        const Platform::Text text(mac_to_text(object.get(), 0, 3));
        parts.levelHint->setText(breakableText(QString::fromLocal8Bit(text.get())));
    }
    if (categoriesSuitable)
        return;
    const Platform::Text text(mac_to_text(object.get(), 0, 5));
    parts.categoryHint->setText(breakableText(QString::fromLocal8Bit(text.get())
                                                  .split(QLatin1Char(','), Qt::KeepEmptyParts, Qt::CaseSensitive)
                                                  .join(QStringLiteral(", "))));
}

template <typename Parts>
void setChoicesEnabled(const Parts &parts, bool enabled)
{
    for (QWidget *widget : {static_cast<QWidget *>(parts.levelComboBox),
                            static_cast<QWidget *>(parts.integrityComboBox),
                            static_cast<QWidget *>(parts.categoryList),
                            static_cast<QWidget *>(parts.userTree),
                            static_cast<QWidget *>(parts.adminTree)})
        widget->setEnabled(enabled);
}

// Information mode: the calling process's own label, integrity level
// included. The themed form shows the process's level even where the list
// lacks it; every form its integrity level. What is inserted here lasts only
// until the next rebuild.
template <typename Parts>
void showProcessLabel(const Parts &parts, bool themed)
{
    mac_lev_t level = 0;
    mac_cat_t categories = 0;
    TAV_ILEV_T integrity = 0;
    {
        const Platform::LabelHandle label = Platform::processLabel();
        if (!label)
            return;
        level = tavl_lev(label.get());
        categories = tavl_cat(label.get());
        integrity = tavl_ilev(label.get());
    }
    parts.levelComboBox->setValue(level, themed);
    parts.integrityComboBox->setValue(integrity, true);
    parts.categoryList->setValue(categories);
}

// Builds every picker for uid as a widget new for that user shows them: the
// lists start empty, so nothing the previous user or information mode left
// carries over, and each picker takes the enabled state its rebuild gives
// it. Then the user's last choice is loaded, or, while not editable, the
// process's own label is shown with every choice disabled.
template <typename Parts>
void buildForUser(LoginMacLabelWidget &widget, const Parts &parts, uid_t uid)
{
    parts.levelComboBox->clear();
    parts.integrityComboBox->clear();
    parts.categoryList->clear();

    const bool levelAccepted = widget.levelComboBoxSetUid(uid);
    if (levelAccepted) {
        const bool suitable = parts.levelComboBox->isSuitable();
        parts.levelComboBox->setVisible(suitable);
        parts.levelHint->setVisible(!suitable);
    } else {
        parts.levelComboBox->hide();
        parts.levelLabel->hide();
        parts.levelHint->hide();
    }

    if (!widget.integrityComboBoxSetUid(uid)) {
        parts.integrityComboBox->hide();
        parts.integrityLabel->hide();
    }

    // Without a record the list would offer the calling process's
    // categories: a name nobody has must not get them.
    const mac_cat_t bound = widget.editable() && isUnknownWithoutRecord(uid) ? 0 : allCategories;
    if (parts.categoryList->maximumValue() != bound)
        parts.categoryList->setMaximumValue(bound);
    if (widget.categoryListWidgetSetUid(uid)) {
        const bool suitable = parts.categoryList->isSuitable();
        parts.categoryList->setVisible(suitable);
        parts.categoryHint->setVisible(!suitable);
    } else {
        parts.categoryList->hide();
        parts.categoryLabel->hide();
    }

    if (widget.editable()) {
        parts.userTree->setEnabled(true);
        parts.adminTree->setEnabled(true);
        // Only now does the category list know this user's range, against
        // which the remembered categories are judged.
        if (levelAccepted)
            widget.loadLastChoice();
    } else {
        showProcessLabel(parts, widget.themed());
        setChoicesEnabled(parts, false);
    }
    updateHints(parts);
}

} // namespace

LoginMacLabelWidget::LoginMacLabelWidget(QWidget *parent)
    : LoginMacLabelWidget(getuid(), true, false, parent)
{
}

LoginMacLabelWidget::LoginMacLabelWidget(uid_t uid, QWidget *parent, bool)
    : LoginMacLabelWidget(uid, true, false, parent)
{
}

LoginMacLabelWidget::LoginMacLabelWidget(uid_t uid, bool, bool themed, QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
    , ui(nullptr)
    , newUi(nullptr)
    , userRoleModel(new MacFileModel(x11Directory, this, &MacFileItem::createItem))
    , adminRoleModel(new MacFileModel(initScriptsDirectory, this, &MacFileItem::createItem))
    , uid(uid)
    , editableFlag(true)
    , themedFlag(themed)
{
    if (themed) {
        newUi = new Ui::NewLoginMacLabelWidget;
        newUi->setupUi(this);
    } else {
        ui = new Ui::LoginMacLabelWidget;
        ui->setupUi(this);
    }

    const FormParts parts = formParts();
    // Names from the policy are text, never markup; long ones wrap rather
    // than widen the window.
    for (QLabel *hint : {parts.levelHint, parts.categoryHint}) {
        hint->setTextFormat(Qt::PlainText);
        hint->setWordWrap(true);
        // The form editor's placeholder is no text for assistive tools.
        hint->clear();
    }
    parts.levelHint->hide();
    parts.categoryHint->hide();
    parts.rolesBox->hide();
    showOnlyNames(parts.userTree, userRoleModel);
    showOnlyNames(parts.adminTree, adminRoleModel);

    if (strictModeFlag)
        setIntegrityLevelVisible(false);
    setUid(uid);
    // A window that opens with this widget starts on its first picker a
    // person can change, so that the keyboard and screen readers begin there.
    AccessibleRows::focusFirstOnShow(this, {QStringLiteral("_levelComboBox"), QStringLiteral("_integrityComboBox"),
                                            QStringLiteral("_categoryListWidget")});
}

LoginMacLabelWidget::~LoginMacLabelWidget()
{
    delete ui;
    delete newUi;
}

LoginMacLabelWidget::FormParts LoginMacLabelWidget::formParts() const
{
    if (newUi) {
        const Ui::NewLoginMacLabelWidget &f = *newUi;
        return {f._levelComboBox, f._levelLabelLabel, f._levelHintLabel,
                f._integrityComboBox, f._integrityLabel,
                f._categoryListWidget, f._categoryLabelLabel, f._categoryHintLabel,
                f._rolesGroupBox, f._userTreeView, f._adminTreeView};
    }
    const Ui::LoginMacLabelWidget &f = *ui;
    return {f._levelComboBox, f._levelLabelLabel, f._levelHintLabel,
            f._integrityComboBox, f._integrityLabel,
            f._categoryListWidget, f._categoryLabelLabel, f._categoryHintLabel,
            f._rolesGroupBox, f._userTreeView, f._adminTreeView};
}

mac_lev_t LoginMacLabelWidget::level() const
{
    return formParts().levelComboBox->value();
}

TAV_ILEV_T LoginMacLabelWidget::integrity() const
{
    return static_cast<TAV_ILEV_T>(formParts().integrityComboBox->currentData(Qt::UserRole).toInt());
}

mac_cat_t LoginMacLabelWidget::categories() const
{
    return formParts().categoryList->value();
}

bool LoginMacLabelWidget::isIntegrityLevelVisible() const
{
    return formParts().integrityComboBox->isVisible();
}

bool LoginMacLabelWidget::isValid()
{
    return formParts().categoryList->isValid();
}

bool LoginMacLabelWidget::isSuitable()
{
    const FormParts parts = formParts();
    return parts.levelComboBox->isSuitable() || parts.categoryList->isSuitable();
}

bool LoginMacLabelWidget::isVariability()
{
    const FormParts parts = formParts();
    if (parts.levelComboBox->count() > 1 || parts.categoryList->isSuitable())
        return true;
    return parts.integrityComboBox->isVariability();
}

bool LoginMacLabelWidget::editable() const
{
    return editableFlag;
}

bool LoginMacLabelWidget::themed() const
{
    return themedFlag;
}

QVBoxLayout *LoginMacLabelWidget::buttonLayout()
{
    return ui ? ui->_buttonLayout : nullptr;
}

QHBoxLayout *LoginMacLabelWidget::newButtonLayout()
{
    return newUi ? newUi->_buttonLayout : nullptr;
}

char *LoginMacLabelWidget::malloc_mac_label_text()
{
    const Platform::LabelHandle label(tavl_get_new());
    if (!label)
        return nullptr;
    tavl_set_lev(label.get(), level());
    tavl_set_ilev(label.get(), strictModeFlag ? 0 : integrity());
    tavl_set_cat(label.get(), categories());
    return tavl_get_text(label.get(), 1);
}

QStringList LoginMacLabelWidget::getVexorArguments() const
{
    Platform::Text text;
    {
        const Platform::MacLabel object(mac_init(0));
        if (!object)
            return QStringList();
        mac_set_lev(object.get(), level());
        mac_set_cat(object.get(), categories());
        text.reset(mac_to_text(object.get(), 0, 0));
    }
    QStringList arguments = QString::fromLocal8Bit(text.get())
                                .split(fieldSeparator, Qt::KeepEmptyParts, Qt::CaseSensitive);
    text.reset();

    arguments.insert(1, formParts().integrityComboBox->currentText());
    arguments.append(joinedIds(userRoleModel));
    arguments.append(joinedIds(adminRoleModel));
    return arguments;
}

QStringList LoginMacLabelWidget::getVexorCommand() const
{
    const QStringList arguments = getVexorArguments();
    // Level and categories are entries 0 and 2 only when the label text had
    // both fields (five entries); a text without them would put the user
    // roles' ids in the category field.
    if (arguments.size() < 5)
        return QStringList();
    const QChar blank = QLatin1Char(' ');
    return {QStringLiteral("vexor"), QStringLiteral("-x"),
            QStringLiteral("--level=%1").arg(arguments.at(0), 0, blank),
            QStringLiteral("--category=0x%1").arg(arguments.at(2), 0, blank)};
}

void LoginMacLabelWidget::setUid(uid_t uid)
{
    const FormParts parts = formParts();
    if (uid == static_cast<uid_t>(-1)) {
        uid = getuid();
        if (const Platform::LabelHandle label = Platform::processLabel())
            parts.levelComboBox->setMinimumValue(tavl_lev(label.get()));
    } else if (parts.levelComboBox->minimumValue() != 0) {
        // The process's level bounds only the calling user's own login.
        parts.levelComboBox->setMinimumValue(0);
    }
    this->uid = uid;
    buildForUser(*this, parts, uid);
}

bool LoginMacLabelWidget::levelComboBoxSetUid(uid_t uid)
{
    return formParts().levelComboBox->setUid(uid);
}

bool LoginMacLabelWidget::integrityComboBoxSetUid(uid_t uid)
{
    return formParts().integrityComboBox->setUid(uid);
}

bool LoginMacLabelWidget::categoryListWidgetSetUid(uid_t uid)
{
    return formParts().categoryList->setUid(uid);
}

void LoginMacLabelWidget::setEditable(bool editable)
{
    editableFlag = editable;
    const FormParts parts = formParts();
    // Assistive tools hear the new reason whichever way this returns.
    const LockReasons::Refresh refresh(this);
    if (editable) {
        if (strictModeFlag)
            setIntegrityLevelVisible(false);
        // Information mode may have put the process's values into the lists:
        // only the user's own range is offered again.
        buildForUser(*this, parts, uid);
        return;
    }

    setIntegrityLevelVisible(true);
    setChoicesEnabled(parts, false);
    showProcessLabel(parts, themedFlag);
    updateHints(parts);
}

void LoginMacLabelWidget::setIntegrityLevelVisible(bool visible)
{
    const FormParts parts = formParts();
    parts.integrityComboBox->setVisible(visible);
    parts.integrityLabel->setVisible(visible);
}

void LoginMacLabelWidget::setMaxIntegrityLevel()
{
    const FormParts parts = formParts();
    TAV_ILEV_T value = parts.integrityComboBox->minimumValue();
    const QList<mac_lev_t> levels = parts.levelComboBox->allValues();
    // Who can only log in at level 0 without categories starts at the top.
    if (levels.size() <= 1 && !parts.categoryList->hasAvailableCategories()
        && (levels.isEmpty() || levels.first() == 0))
        value = parts.integrityComboBox->maximumValue();
    parts.integrityComboBox->setValue(value, false);
}

bool LoginMacLabelWidget::loadLastChoice()
{
    // Information mode shows the process's label, not a choice.
    if (!editableFlag || uid == unresolvedUserId)
        return false;
    last_choice_entry record{};
    if (getlchuid(uid, &record) != 0)
        return false;
    const FormParts parts = formParts();
    parts.levelComboBox->setValue(record.level, false);
    parts.categoryList->setValue(record.categories);
    return true;
}

bool LoginMacLabelWidget::saveChoice() const
{
    if (!editableFlag || uid == unresolvedUserId)
        return false;
    const FormParts parts = formParts();
    last_choice_entry record{};
    record.level = parts.levelComboBox->value();
    record.categories = parts.categoryList->value();
    return setlchuid(uid, &record) == 0;
}

void LoginMacLabelWidget::setVisibleRoles(bool visible)
{
    formParts().rolesBox->setVisible(visible);
}

} // namespace VarnelQt5
