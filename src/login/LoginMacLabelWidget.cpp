// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginMacLabelWidget.h"

#include "AccessibleRows_p.h"
#include "BreakableText_p.h"
#include "CategoryBits_p.h"
#include "ILevelComboBox.h"
#include "LabelTexts_p.h"
#include "LibraryGlobals_p.h"
#include "LockReasons_p.h"
#include "LoginMacLabelWidgetForm_p.h"
#include "LoginReasons_p.h"
#include "MacCategoryListWidget.h"
#include "MacFileItem.h"
#include "MacFileModel.h"
#include "MacLevelComboBox.h"
#include "NewLoginMacLabelWidgetForm_p.h"
#include "PlatformHandles_p.h"
#include "UnresolvedUser_p.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
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

// Whether uid stands for a name nobody has and the policy gives it no record,
// not even through a line for every user.
bool isUnknownWithoutRecord(uid_t uid)
{
    if (uid != unresolvedUserId)
        return false;
    Platform::UserMacEntry record;
    return Platform::lookupUserMac(uid, record) && !record;
}

// What the widget knows beyond its fields: which rebuilds failed at the last
// setUid, and the categories information mode names. A failed picker gets no
// last choice and no value of its own, and information mode returns exactly
// what its category line names. The object also keeps that line elided to
// its width.
class LoginState : public QObject
{
public:
    explicit LoginState(QObject *owner)
        : QObject(owner)
    {
        setObjectName(name());
    }

    static QString name() { return QStringLiteral("_varnelLoginState"); }

    static LoginState &of(const QObject *widget)
    {
        return *static_cast<LoginState *>(widget->findChild<QObject *>(name(), Qt::FindDirectChildrenOnly));
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && elided) {
            if (auto *line = qobject_cast<QLabel *>(watched))
                elide(line);
        }
        return false;
    }

    // The whole text is the tool tip; the line shows as much as fits.
    static void elide(QLabel *line)
    {
        line->setText(line->fontMetrics().elidedText(line->toolTip(), Qt::ElideRight, qMax(line->width(), 1)));
    }

    bool levelFailed = false;
    bool integrityFailed = false;
    bool categoriesFailed = false;
    bool elided = false;
    mac_cat_t shownCategories = 0;
};

// The categories' numbers, joined by a comma and a blank.
QString categoryNumbers(mac_cat_t categories)
{
    QStringList numbers;
    forEachCategory(categories, [&numbers](int number) { numbers.append(QString::number(number)); });
    return numbers.join(QStringLiteral(", "));
}

// Names of categories as the label library gives them, joined by a comma and
// a blank; numbers where there is no label object to ask, so that a line
// never hides a category that is returned.
QString categoryLine(mac_cat_t categories)
{
    bool hasObject = false;
    const QString names = LabelTexts::categoryNames(categories, &hasObject);
    return hasObject ? names : categoryNumbers(categories);
}

// The level's name, or its number where the label library gives none.
QString levelName(mac_lev_t level)
{
    const LabelTexts::Answer name = LabelTexts::ask(LabelTexts::levelCategoryType, level, 0, LabelTexts::LevelForm);
    return name.hasText ? name.text : QString::number(level);
}

QString integrityName(TAV_ILEV_T level)
{
    const Platform::Text text(tav_ilev_get_text(level, 1));
    return text ? QString::fromLocal8Bit(text.get()) : QString::number(level);
}

// Selects value, adding it in ascending order where the list lacks it: a
// picker takes no forced value into an empty list.
void selectOrInsert(QComboBox *combo, uint value, const QString &text)
{
    const int found = combo->findData(value, Qt::UserRole, Qt::MatchExactly);
    if (found >= 0) {
        combo->setCurrentIndex(found);
        return;
    }
    int row = 0;
    while (row < combo->count() && combo->itemData(row, Qt::UserRole).toUInt() <= value)
        ++row;
    combo->insertItem(row, text, QVariant(int(value)));
    combo->setCurrentIndex(row);
}

// A combo box is as wide as its longest name, which can be wider than the
// screen. Beyond a third of the screen's width it stops growing; the popup
// then elides the names, and each name too long for it is shown whole in its
// tool tip.
void limitWidth(QComboBox *combo)
{
    const QScreen *screen = combo->screen();
    const int budget = screen ? screen->availableGeometry().width() / 3 : 320;
    const QFontMetrics metrics(combo->font());
    int widest = 0;
    for (int row = 0; row < combo->count(); ++row) {
        const QString text = combo->itemText(row);
        const int width = metrics.horizontalAdvance(text);
        widest = qMax(widest, width);
        combo->setItemData(row, width > budget ? QVariant(text) : QVariant(), Qt::ToolTipRole);
    }
    if (widest > budget) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(qMax(1, budget / qMax(1, metrics.horizontalAdvance(QLatin1Char('X')))));
    } else {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
}

// The helpers below take the widget's form parts, whichever form was built.

// The category hint as the line information mode shows: one line, elided;
// or the wrapping hint of selection mode. Either way the whole list is in its
// tool tip and in what assistive tools read.
template <typename Parts>
void setCategoryLine(const Parts &parts, LoginState &state, bool line, const QString &text)
{
    QLabel *hint = parts.categoryHint;
    QSizePolicy policy = hint->sizePolicy();
    // A line of any length must not widen the window.
    policy.setHorizontalPolicy(line ? QSizePolicy::Ignored : QSizePolicy::Preferred);
    hint->setSizePolicy(policy);
    hint->setWordWrap(!line);
    // A line says so where the process has no category, rather than stay
    // blank.
    const bool none = line && text.isEmpty();
    state.elided = line && !none;
    // A wrapped hint can still be cut where the screen has no more height.
    hint->setToolTip(text);
    hint->setAccessibleName(none ? LoginMacLabelWidget::tr("No category") : text);
    if (none)
        hint->setText(LoginMacLabelWidget::tr("No category"));
    else if (line)
        LoginState::elide(hint);
    else
        hint->setText(breakableText(text));
}

// Shows each row of selection mode as the rebuilds left it, the same way
// whatever came before, so that after setUid the widget is what a new one for
// the user is. A part the user cannot change is shown as text: the level,
// where the user's range names none, by the reason; the categories by their
// names separated by a comma and a blank. The texts come from the policy and
// are shown as they are, never as markup.
template <typename Parts>
void showSelectionRows(LoginMacLabelWidget &widget, const Parts &parts)
{
    LoginState &state = LoginState::of(&widget);
    const bool levelShown = !state.levelFailed;
    const bool levels = parts.levelComboBox->isSuitable();
    parts.levelLabel->setVisible(levelShown);
    parts.levelComboBox->setVisible(levelShown && levels);
    parts.levelHint->setVisible(levelShown && !levels);
    parts.levelHint->setText(levelShown && !levels ? LockReasons::reason(parts.levelComboBox) : QString());

    // What the integrity row hides is never what OK judges: a picker that
    // was built again is shown again, except where strict mode hides it.
    widget.setIntegrityLevelVisible(!state.integrityFailed && !strictModeFlag);

    const bool categoriesShown = !state.categoriesFailed;
    const bool suitable = parts.categoryList->isSuitable();
    parts.categoryLabel->setVisible(categoriesShown);
    parts.categoryList->setVisible(categoriesShown && suitable);
    parts.categoryHint->setVisible(categoriesShown && !suitable);
    // Without a label object there are no names to show; never another
    // user's names.
    setCategoryLine(parts, state, false,
                    categoriesShown && !suitable ? LabelTexts::categoryNames(parts.categoryList->value()) : QString());
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

// The calling process's own label, integrity level included, in both forms,
// even where it lies outside the user's range. Without that label nothing is
// selected. What is inserted here lasts only until the next rebuild.
template <typename Parts>
void showProcessLabel(const Parts &parts, LoginState &state)
{
    const Platform::LabelHandle label = Platform::processLabel();
    if (!label) {
        parts.levelComboBox->setCurrentIndex(-1);
        parts.integrityComboBox->setCurrentIndex(-1);
        state.shownCategories = 0;
        return;
    }
    const mac_lev_t level = tavl_lev(label.get());
    const mac_cat_t categories = tavl_cat(label.get());
    const TAV_ILEV_T integrity = tavl_ilev(label.get());

    MacLevelComboBox *levels = parts.levelComboBox;
    levels->setValue(level, true);
    if (levels->currentIndex() < 0 || levels->value() != level)
        selectOrInsert(levels, level, levelName(level));
    // Inserted without a label object to name it, the level shows its number.
    else if (levels->currentText().isEmpty())
        levels->setItemText(levels->currentIndex(), levelName(level));
    parts.integrityComboBox->setValue(integrity, true);
    if (parts.integrityComboBox->currentIndex() < 0 || parts.integrityComboBox->value() != integrity)
        selectOrInsert(parts.integrityComboBox, integrity, integrityName(integrity));
    // The list is hidden; it checks what it can, for hosts that read it.
    if (!state.categoriesFailed)
        parts.categoryList->setValue(categories);
    state.shownCategories = categories;
}

template <typename Parts>
void limitWidths(const Parts &parts)
{
    limitWidth(parts.levelComboBox);
    limitWidth(parts.integrityComboBox);
}

// Information mode: the level and integrity pickers hold the process's
// label, every choice is disabled, and one line names its categories.
template <typename Parts>
void showInformation(LoginMacLabelWidget &widget, const Parts &parts)
{
    LoginState &state = LoginState::of(&widget);
    showProcessLabel(parts, state);
    setChoicesEnabled(parts, false);
    // Sized once the process's values are in the lists.
    limitWidths(parts);
    parts.levelLabel->show();
    parts.levelComboBox->show();
    parts.levelHint->hide();
    parts.levelHint->clear();
    widget.setIntegrityLevelVisible(true);
    parts.categoryLabel->show();
    parts.categoryList->hide();
    parts.categoryHint->show();
    setCategoryLine(parts, state, true, categoryLine(state.shownCategories));
}

// Builds every picker for uid as a widget new for that user shows them: the
// lists start empty, so nothing the previous user or information mode left
// carries over, and each picker takes the enabled state its rebuild gives
// it.
template <typename Parts>
void rebuildPickers(LoginMacLabelWidget &widget, const Parts &parts, uid_t uid)
{
    LoginState &state = LoginState::of(&widget);
    if (widget.editable())
        setChoicesEnabled(parts, true);
    parts.levelComboBox->clear();
    parts.integrityComboBox->clear();

    state.levelFailed = !widget.levelComboBoxSetUid(uid);
    state.integrityFailed = !widget.integrityComboBoxSetUid(uid);

    // Without a record the list would offer the calling process's
    // categories: a name nobody has must not get them.
    const mac_cat_t bound = widget.editable() && isUnknownWithoutRecord(uid) ? 0 : allCategories;
    if (parts.categoryList->maximumValue() != bound)
        parts.categoryList->setMaximumValue(bound);
    // Emptied after the bound's rebuild, which still judged by the previous
    // user, so that none of its categories is kept.
    parts.categoryList->clear();
    state.categoriesFailed = !widget.categoryListWidgetSetUid(uid);
    state.shownCategories = 0;
}

// The pickers rebuilt for uid, then the user's last choice loaded, or, while
// not editable, information mode shown.
template <typename Parts>
void buildForUser(LoginMacLabelWidget &widget, const Parts &parts, uid_t uid)
{
    rebuildPickers(widget, parts, uid);
    if (!widget.editable()) {
        showInformation(widget, parts);
        return;
    }
    // Only now does the category list know this user's range, against which
    // the remembered categories are judged.
    if (!LoginState::of(&widget).levelFailed)
        widget.loadLastChoice();
    limitWidths(parts);
    showSelectionRows(widget, parts);
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
    speakForPickers(this);

    const FormParts parts = formParts();
    auto *state = new LoginState(this);
    // Names from the policy are text, never markup; long ones wrap rather
    // than widen the window. The form's placeholder is never shown.
    for (QLabel *hint : {parts.levelHint, parts.categoryHint}) {
        hint->setTextFormat(Qt::PlainText);
        hint->setWordWrap(true);
        // The form editor's placeholder is no text for assistive tools.
        hint->clear();
    }
    parts.categoryHint->installEventFilter(state);
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
    const ILevelComboBox *picker = formParts().integrityComboBox;
    // A row the person cannot see holds no choice; strict mode hides it on
    // purpose, and the label then carries 0 anyway.
    if (editableFlag && !strictModeFlag && picker->isHidden())
        return 0;
    return static_cast<TAV_ILEV_T>(picker->currentData(Qt::UserRole).toInt());
}

mac_cat_t LoginMacLabelWidget::categories() const
{
    // Information mode returns what its line names; a failed list nothing.
    const LoginState &state = LoginState::of(this);
    if (!editableFlag)
        return state.shownCategories;
    if (state.categoriesFailed)
        return 0;
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
    if (!editableFlag)
        return false;
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
    const LabelTexts::Answer label
        = LabelTexts::ask(LabelTexts::wholeLabelType, level(), categories(), LabelTexts::WholeForm);
    if (!label.hasObject)
        return QStringList();
    QStringList arguments = label.text.split(fieldSeparator, Qt::KeepEmptyParts, Qt::CaseSensitive);

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
    // The rows it hides are known only at the end: assistive tools hear the
    // widget's reason then.
    const LockReasons::Refresh refresh(this);
    if (uid == callingUserId) {
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
    // Rebuilt both ways, so that information mode shows the same whether it
    // is entered here or by a later setUid, and selection offers only the
    // user's own range again.
    buildForUser(*this, parts, uid);
}

void LoginMacLabelWidget::setIntegrityLevelVisible(bool visible)
{
    const FormParts parts = formParts();
    parts.integrityComboBox->setVisible(visible);
    parts.integrityLabel->setVisible(visible);
}

void LoginMacLabelWidget::setMaxIntegrityLevel()
{
    // Information mode shows the process's integrity level, not a default.
    if (!editableFlag)
        return;
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
    // Nor is anything loaded where the user's range could not be read.
    const LoginState &state = LoginState::of(this);
    if (!editableFlag || uid == unresolvedUserId || state.levelFailed)
        return false;
    last_choice_entry record{};
    if (getlchuid(uid, &record) != 0)
        return false;
    const FormParts parts = formParts();
    parts.levelComboBox->setValue(record.level, false);
    if (!state.categoriesFailed)
        parts.categoryList->setValue(record.categories);
    return true;
}

bool LoginMacLabelWidget::saveChoice() const
{
    // A choice is remembered only where every part of it was offered: never
    // a level the user may not have, nor categories a failed list dropped.
    const LoginState &state = LoginState::of(this);
    const FormParts parts = formParts();
    if (!editableFlag || uid == unresolvedUserId || state.levelFailed || state.categoriesFailed
        || parts.levelComboBox->count() == 0)
        return false;
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
