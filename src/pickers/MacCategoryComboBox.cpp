// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryComboBox.h"

#include "CategoryBits_p.h"
#include "ComboPicker_p.h"
#include "LockReasons_p.h"
#include "PickerMetaTypes_p.h"
#include "PlatformHandles_p.h"

namespace VarnelQt5 {

namespace {

QVariant dataOf(mac_cat_t mask)
{
    return QVariant(qulonglong(mask));
}

} // namespace

MacCategoryComboBox::MacCategoryComboBox(QWidget *parent)
    : QComboBox(parent)
    , minimum(0)
    , maximum(0)
    , uid(0)
    , uidSet(false)
    , minimumSet(false)
    , maximumSet(false)
{
    registerPickerMetaTypes();
    setAccessibleName(tr("Category"));
    LockReasons::watch(this);
    connect(this, qOverload<int>(&QComboBox::activated), this, &MacCategoryComboBox::activated);
    rebuild();
}

MacCategoryComboBox::~MacCategoryComboBox() = default;

void MacCategoryComboBox::rebuild()
{
    const LockReasons::Refresh refresh(this);
    const mac_cat_t previous = value();
    clear();

    if (varnel_mac_enabled() == 0) {
        LockReasons::record(this, LockReasons::Built::MacOff);
        setEnabled(false);
        return;
    }
    // Every other way out before the list is filled is a read that failed.
    LockReasons::record(this, LockReasons::Built::Unreadable);

    mac_cat_t low = minimumSet ? minimum : 0;
    mac_cat_t high = maximumSet ? maximum : allCategories;

    // A user's range is a set of categories: with a user, a category is
    // offered when its mask lies within the user's maximum as a set.
    bool byUser = false;
    // This database is walked, not merely looked up: rewound before the
    // lookup and the walk ended before it is closed, with or without a user.
    {
        Platform::UserMacDatabase users;
        if (!users.isOpen() || !users.rewind())
            return;
        if (uidSet) {
            const Platform::UserMacEntry record(getmacuid_r(users.handle(), uid));
            byUser = true;
            low = 0;
            high = record ? record->max_categories : 0;
        }
    }

    {
        Platform::CategoryDatabase categories;
        if (!categories.isOpen() || !categories.rewind())
            return;
        categories.forEach([&](const category_entry &entry) {
            const bool offered = byUser ? (entry.mask & high) == entry.mask : entry.mask >= low && entry.mask <= high;
            if (offered)
                addItem(QString::fromLocal8Bit(entry.name), dataOf(entry.mask));
        });
    }

    setValue(previous);
    setEnabled(count() > 0);
    ComboPicker::recordFilled(this);
}

mac_cat_t MacCategoryComboBox::value()
{
    return currentData(Qt::UserRole).toULongLong();
}

void MacCategoryComboBox::setUid(uid_t uid)
{
    this->uid = uid;
    uidSet = true;
    rebuild();
}

void MacCategoryComboBox::setMinimumValue(mac_cat_t value)
{
    minimum = value;
    minimumSet = true;
    rebuild();
}

void MacCategoryComboBox::setMaximumValue(mac_cat_t value)
{
    maximum = value;
    maximumSet = true;
    rebuild();
}

void MacCategoryComboBox::setValue(mac_cat_t value)
{
    const int found = findData(dataOf(value), Qt::UserRole);
    setCurrentIndex(found >= 0 ? found : 0);
}

void MacCategoryComboBox::activated(int index)
{
    Q_EMIT valueChanged(itemData(index, Qt::UserRole).toULongLong());
}

} // namespace VarnelQt5
