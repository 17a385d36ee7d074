// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryListWidget.h"

#include "AccessibleRows_p.h"
#include "CategoryBits_p.h"
#include "CategoryRows_p.h"
#include "FittedRows_p.h"
#include "LockReasons_p.h"
#include "LoginParent_p.h"
#include "PickerMetaTypes_p.h"
#include "PlatformHandles_p.h"

#include <QSignalBlocker>

namespace VarnelQt5 {

namespace {

bool isSubset(mac_cat_t a, mac_cat_t b)
{
    return (a & b) == a;
}

// Why a row is locked: the bounds force it on.
enum class Lock { None, UserMinimum, CallerMinimum };

// What the policy, as last read by a rebuild, says of the bit of a row the
// set brought along: it names a category for it (one outside the bounds the
// list was given), it names none, or it was never read.
enum class Policy { Named, Unnamed, Unread };

// The names the policy gives the 64 bits, as the last rebuild that read the
// category database found them; a null text for a bit it names no category.
const char policyNamesProperty[] = "_varnel_policy_names";

// A row that also tells assistive tools which category it is, in words
// whether it is checked, and why it cannot be changed. The words are made
// only when asked for, from the row's check state and flags, so they follow
// the check box and cost nothing while the list fills.
class CategoryRow : public QListWidgetItem
{
public:
    // A row whose category the database does not name is named by number;
    // known is false for a row the database does not list at all.
    CategoryRow(int number, const QString &name, bool known, Lock lock)
        : QListWidgetItem(QString::number(number) + QLatin1Char(':') + name)
        , m_number(number)
        , m_name(name)
        , m_known(known)
        , m_lock(lock)
    {
    }

    // A row the set brought along, with what the policy says of its bit.
    CategoryRow(int number, const QString &name, Policy policy, const QString &policyName)
        : CategoryRow(number, name, false, Lock::None)
    {
        m_policy = policy;
        m_policyName = policyName;
    }

    // Remembers the check state before each change, so that the list can
    // tell whether a change of the row changed the set.
    void setData(int role, const QVariant &value) override
    {
        m_before = checkState();
        QListWidgetItem::setData(role, value);
    }

    Qt::CheckState checkStateBefore() const { return m_before; }

    QVariant data(int role) const override
    {
        if (role == Qt::AccessibleTextRole)
            return accessibleName();
        if (role == Qt::AccessibleDescriptionRole)
            return description();
        if (role == Qt::ToolTipRole) {
            const QString why = reason();
            if (!why.isEmpty())
                return why;
        }
        return QListWidgetItem::data(role);
    }

    QListWidgetItem *clone() const override { return new CategoryRow(*this); }

    int number() const { return m_number; }
    QString name() const { return m_name; }

private:
    QString accessibleName() const
    {
        if (!m_known)
            return MacCategoryListWidget::tr("Unknown category %1").arg(m_number);
        if (m_name.isEmpty())
            return MacCategoryListWidget::tr("Category %1").arg(m_number);
        return MacCategoryListWidget::tr("Category %1").arg(m_name);
    }

    // The category as a reason names it: by name, or by number without one.
    QString shownName() const { return m_name.isEmpty() ? QString::number(m_number) : m_name; }

    QString reason() const
    {
        const QListWidget *list = listWidget();
        // A list that shows the running program's label is locked as a whole.
        if (list && insideReadOnlyLoginWidget(list))
            return LockReasons::reason(list);
        if (!m_known) {
            switch (m_policy) {
            case Policy::Named:
                return MacCategoryListWidget::tr("%1 lies outside the bounds this list was given").arg(m_policyName);
            case Policy::Unnamed:
                return MacCategoryListWidget::tr("The policy names no category for bit %1").arg(m_number);
            case Policy::Unread:
                break;
            }
            return MacCategoryListWidget::tr("Bit %1 is not among the categories this list shows").arg(m_number);
        }
        if (flags() & Qt::ItemIsEnabled)
            return QString();
        switch (m_lock) {
        case Lock::UserMinimum:
            return MacCategoryListWidget::tr("Every label of this user carries %1").arg(shownName());
        case Lock::CallerMinimum:
            return MacCategoryListWidget::tr("Every label chosen here carries %1").arg(shownName());
        case Lock::None:
            break;
        }
        return QString();
    }

    QString description() const
    {
        const bool checked = checkState() == Qt::Checked;
        const QString name = accessibleName();
        QString words;
        // A row the bounds force cannot be changed by the person.
        if (!(flags() & Qt::ItemIsEnabled)) {
            words = checked ? MacCategoryListWidget::tr("%1, checked, cannot be changed").arg(name)
                            : MacCategoryListWidget::tr("%1, unchecked, cannot be changed").arg(name);
        } else {
            words = checked ? MacCategoryListWidget::tr("%1, checked").arg(name)
                            : MacCategoryListWidget::tr("%1, unchecked").arg(name);
        }
        const QString why = reason();
        return why.isEmpty() ? words : MacCategoryListWidget::tr("%1. %2").arg(words, why);
    }

    int m_number;
    QString m_name;
    bool m_known;
    Lock m_lock;
    Policy m_policy = Policy::Unread;
    QString m_policyName;
    Qt::CheckState m_before = Qt::Unchecked;
};

QListWidgetItem *newRow(int number, const QString &name, bool known, mac_cat_t mask, Qt::CheckState state,
                        Lock lock = Lock::None)
{
    auto *row = new CategoryRow(number, name, known, lock);
    row->setData(Qt::UserRole, QVariant(qulonglong(mask)));
    row->setCheckState(state);
    return row;
}

// A row for a bit of the set that no row carries, named by the policy as
// the last rebuild read it.
QListWidgetItem *appendedRow(const MacCategoryListWidget *list, int number)
{
    const QVariant names = list->property(policyNamesProperty);
    Policy policy = Policy::Unread;
    QString name;
    if (names.isValid()) {
        name = names.toStringList().value(number);
        policy = name.isNull() ? Policy::Unnamed : Policy::Named;
    }
    auto *row = new CategoryRow(number, MacCategoryListWidget::tr("Unknown"), policy, name);
    row->setData(Qt::UserRole, QVariant(qulonglong(categoryBit(number))));
    row->setCheckState(Qt::Checked);
    return row;
}

// Checks the rows of set, with signals blocked. A row is checked when all of
// its categories are in the set, so a row of several categories never
// stands for part of them; with exact, only rows whose mask it holds qualify,
// so that a rebuild brings back the very rows that were checked. keepForced
// leaves the rows the bounds force checked. Categories of the set that no
// checked row carries get a row of their own, so that the set survives whole.
void checkRows(MacCategoryListWidget *list, mac_cat_t set, const QVector<mac_cat_t> *exact, bool keepForced)
{
    const QSignalBlocker blocker(list);
    mac_cat_t covered = 0;
    const int rows = list->count();
    for (int row = 0; row < rows; ++row) {
        QListWidgetItem *entry = list->item(row);
        const mac_cat_t mask = list->cat4Item(entry);
        const bool forced = keepForced && !(entry->flags() & Qt::ItemIsEnabled) && entry->checkState() == Qt::Checked;
        const bool checked
            = forced || (mask != 0 && isSubset(mask, set) && (!exact || exact->contains(mask)));
        if (checked)
            covered |= mask;
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    forEachCategory(set & ~covered, [list](int number) { list->addItem(appendedRow(list, number)); });
}

// The bounds a rebuild applies: the user's range where the list follows a
// user, and the caller's minimum and maximum.
struct Bounds {
    bool byUser;
    mac_cat_t userMinimum;
    mac_cat_t userMaximum;
    mac_cat_t minimum;
    mac_cat_t maximum;

    bool allows(mac_cat_t mask) const
    {
        return mask != 0 && (!byUser || isSubset(mask, userMaximum)) && isSubset(mask, maximum);
    }

    Lock lockOf(mac_cat_t mask) const
    {
        if (byUser && isSubset(mask, userMinimum))
            return Lock::UserMinimum;
        return minimum != 0 && isSubset(mask, minimum) ? Lock::CallerMinimum : Lock::None;
    }
};

// The masks of the rows checked now, so that a rebuild brings the same rows
// back.
QVector<mac_cat_t> checkedMasks(MacCategoryListWidget *list)
{
    QVector<mac_cat_t> masks;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            masks.append(list->cat4Item(row));
    }
    return masks;
}

// The user's range of categories. Without a record the user gets no more
// than the process's own categories, and none at all when the process has no
// label. False when the user database cannot be read; then nothing of an
// earlier user's range may bound the list any longer, and the range is
// empty.
bool readUserRange(uid_t uid, mac_cat_t &minimum, mac_cat_t &maximum)
{
    Platform::UserMacEntry record;
    if (!Platform::lookupUserMac(uid, record)) {
        minimum = 0;
        maximum = 0;
        return false;
    }
    if (record) {
        minimum = record->min_categories;
        maximum = record->max_categories;
    } else {
        minimum = 0;
        const Platform::LabelHandle label = Platform::processLabel();
        maximum = label ? tavl_cat(label.get()) : 0;
    }
    return true;
}

// Adds a row, with signals blocked, for each category of the walk that the
// bounds allow; the rows the bounds force are checked and locked. Returns
// the names the policy gives the category bits, and whether a row is left
// that a person can change.
QStringList fillRows(MacCategoryListWidget *list, Platform::CategoryDatabase &db, const Bounds &bounds,
                     bool &changeable)
{
    QStringList policyNames;
    for (int n = 0; n < categoryCount; ++n)
        policyNames.append(QString());
    const QSignalBlocker blocker(list);
    db.forEach([&](const category_entry &entry) {
        const mac_cat_t mask = entry.mask;
        const int number = categoryNumber(mask);
        if (number < categoryCount)
            policyNames[number] = entry.name && *entry.name ? QString::fromLocal8Bit(entry.name)
                                                            : QString::number(number);
        if (!bounds.allows(mask))
            return;
        const Lock lock = bounds.lockOf(mask);
        QListWidgetItem *row = newRow(number, QString::fromLocal8Bit(entry.name), true, mask, Qt::Unchecked, lock);
        if (lock != Lock::None) {
            row->setCheckState(Qt::Checked);
            row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
        } else {
            changeable = true;
        }
        list->insertItem(list->position(mask), row);
    });
    return policyNames;
}

// Checks again what was checked before the rebuild, as far as the bounds
// still allow: a lowered maximum must not return the categories it has just
// excluded. Where the user's range rules out the result, nothing changes.
void restoreChecked(MacCategoryListWidget *list, mac_cat_t previous, const QVector<mac_cat_t> &checkedRows,
                    const Bounds &bounds)
{
    mac_cat_t allowed = bounds.maximum;
    if (bounds.byUser)
        allowed &= bounds.userMaximum;
    const mac_cat_t set = (bounds.userMinimum | bounds.minimum | previous) & allowed;
    if (bounds.byUser && !(isSubset(bounds.userMinimum, set) && isSubset(set, bounds.userMaximum)))
        return;
    const mac_cat_t before = list->value();
    checkRows(list, set, &checkedRows, true);
    if (list->value() != before)
        Q_EMIT list->valueChanged(list->value());
}

} // namespace

MacCategoryListWidget::MacCategoryListWidget(QWidget *parent)
    : QListWidget(parent)
    , minimum(0)
    , maximum(allCategories)
    , useUserRange(false)
    , uid(0)
    , userMinimum(0)
    , userMaximum(allCategories)
    , valid(false)
    , suitable(false)
    , rebuilt(false)
{
    registerPickerMetaTypes();
    setAccessibleName(tr("Categories"));
    CategoryRows::installTypeAhead(this);
    LockReasons::watch(this);
    AccessibleRows::announceCheckChanges(this);
    FittedRows::fit(this);
    connect(this, &QListWidget::itemChanged, this, &MacCategoryListWidget::itemChanged);
}

// Connected before the first rebuild: the rebuild changes rows only with
// signals blocked, so the person's changes are the first the slot hears.
MacCategoryListWidget::MacCategoryListWidget(uid_t uid, QWidget *parent)
    : MacCategoryListWidget(parent)
{
    this->uid = uid;
    useUserRange = true;
    rebuild();
}

MacCategoryListWidget::~MacCategoryListWidget() = default;

bool MacCategoryListWidget::rebuild()
{
    const LockReasons::Refresh refresh(this);
    rebuilt = true;
    valid = false;
    suitable = false;
    const mac_cat_t previous = value();
    const QVector<mac_cat_t> checkedRows = checkedMasks(this);
    clear();

    if (varnel_mac_enabled() == 0) {
        LockReasons::record(this, LockReasons::Built::MacOff);
        // Nothing of an earlier user's range may bound the list any longer.
        if (useUserRange)
            userMinimum = userMaximum = 0;
        valid = true;
        setEnabled(false);
        return false;
    }
    LockReasons::record(this, LockReasons::Built::Unreadable);

    if (useUserRange && !readUserRange(uid, userMinimum, userMaximum))
        return false;
    Platform::CategoryDatabase db;
    if (!db.isOpen() || !db.rewind())
        return false;

    const Bounds bounds{useUserRange, userMinimum, userMaximum, minimum, maximum};
    setProperty(policyNamesProperty, fillRows(this, db, bounds, suitable));
    if (previous != 0 && count() > 0)
        restoreChecked(this, previous, checkedRows, bounds);
    setEnabled(suitable);
    LockReasons::record(this, count() == 0 ? LockReasons::Built::Nothing
                              : suitable   ? LockReasons::Built::Fine
                                           : LockReasons::Built::Forced);
    valid = true;
    return true;
}

mac_cat_t MacCategoryListWidget::value()
{
    mac_cat_t set = 0;
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem *entry = item(row);
        if (entry && entry->checkState() == Qt::Checked)
            set |= cat4Item(entry);
    }
    return set;
}

mac_cat_t MacCategoryListWidget::minimumValue()
{
    return minimum;
}

mac_cat_t MacCategoryListWidget::maximumValue()
{
    return maximum;
}

bool MacCategoryListWidget::isValid()
{
    return valid;
}

bool MacCategoryListWidget::isSuitable()
{
    return suitable;
}

bool MacCategoryListWidget::isRebuilt() const
{
    return rebuilt;
}

bool MacCategoryListWidget::hasAvailableCategories()
{
    return count() > 0;
}

mac_cat_t MacCategoryListWidget::nullToMax(mac_cat_t v)
{
    return v == 0 ? allCategories : v;
}

mac_cat_t MacCategoryListWidget::cat4Item(const QListWidgetItem *item)
{
    return item ? item->data(Qt::UserRole).toULongLong() : 0;
}

mac_cat_t MacCategoryListWidget::cat4Item(int row)
{
    return cat4Item(item(row));
}

int MacCategoryListWidget::position(mac_cat_t m)
{
    const int rows = count();
    for (int row = 0; row < rows; ++row) {
        if (cat4Item(row) >= m)
            return row;
    }
    return rows;
}

bool MacCategoryListWidget::setUid(uid_t uid)
{
    this->uid = uid;
    useUserRange = true;
    return rebuild();
}

bool MacCategoryListWidget::setMinimumValue(mac_cat_t value)
{
    maximum |= value;
    useUserRange = false;
    minimum = value;
    return rebuild();
}

bool MacCategoryListWidget::setMaximumValue(mac_cat_t value)
{
    minimum &= value;
    maximum = value;
    return rebuild();
}

bool MacCategoryListWidget::setValue(mac_cat_t value)
{
    if (useUserRange && (!isSubset(userMinimum, value) || !isSubset(value, userMaximum)))
        return false;

    const LockReasons::Refresh refresh(this);
    const mac_cat_t before = this->value();
    // While a user's range bounds the list, what it shows as forced stays.
    checkRows(this, value, nullptr, useUserRange);
    const mac_cat_t now = this->value();
    if (now != before)
        Q_EMIT valueChanged(now);
    return now == value;
}

namespace CategoryRows {

QString name(const QListWidgetItem *row)
{
    if (const auto *category = dynamic_cast<const CategoryRow *>(row))
        return category->name();
    const QString text = row->text();
    return text.mid(text.indexOf(QLatin1Char(':')) + 1);
}

QString number(const QListWidgetItem *row)
{
    if (const auto *category = dynamic_cast<const CategoryRow *>(row))
        return QString::number(category->number());
    const QString text = row->text();
    const int colon = text.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : text.left(colon);
}

} // namespace CategoryRows

void MacCategoryListWidget::itemChanged(QListWidgetItem *item)
{
    if (!item)
        return;
    const mac_cat_t now = value();
    // A row whose categories other checked rows carry as well leaves the set
    // as it was.
    if (const auto *row = dynamic_cast<const CategoryRow *>(item)) {
        mac_cat_t before = row->checkStateBefore() == Qt::Checked ? cat4Item(item) : 0;
        for (int other = 0; other < count(); ++other) {
            const QListWidgetItem *entry = this->item(other);
            if (entry != item && entry->checkState() == Qt::Checked)
                before |= cat4Item(entry);
        }
        if (before == now)
            return;
    }
    Q_EMIT valueChanged(now);
}

} // namespace VarnelQt5
