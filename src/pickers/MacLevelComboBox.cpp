// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacLevelComboBox.h"

#include "ComboPicker_p.h"
#include "LabelTexts_p.h"
#include "LoginParent_p.h"
#include "LockReasons_p.h"
#include "PickerMetaTypes_p.h"
#include "PlatformHandles_p.h"

#include <QMap>

namespace VarnelQt5 {

namespace {

mac_lev_t levelOf(const QVariant &data)
{
    return static_cast<mac_lev_t>(data.toInt());
}

// Inclusive level bounds.
struct LevelRange {
    mac_lev_t low;
    mac_lev_t high;

    bool contains(mac_lev_t level) const { return level >= low && level <= high; }
};

} // namespace

MacLevelComboBox::MacLevelComboBox(QWidget *parent)
    : QComboBox(parent)
    , minimum(0)
    , maximum(0)
    , uid(0)
    , uidSet(false)
    , minimumSet(false)
    , maximumSet(false)
    , rebuilt(false)
{
    registerPickerMetaTypes();
    // What assistive tools call the picker until a host or a form names it.
    setAccessibleName(tr("Level"));
    LockReasons::watch(this);
    connect(this, qOverload<int>(&QComboBox::activated), this, &MacLevelComboBox::activated);
}

MacLevelComboBox::MacLevelComboBox(uid_t uid, QWidget *parent)
    : MacLevelComboBox(parent)
{
    setUid(uid);
}

MacLevelComboBox::~MacLevelComboBox() = default;

mac_lev_t MacLevelComboBox::value()
{
    return levelOf(currentData(Qt::UserRole));
}

mac_lev_t MacLevelComboBox::minimumValue()
{
    return minimum;
}

mac_lev_t MacLevelComboBox::maximumValue()
{
    return maximum;
}

QList<mac_lev_t> MacLevelComboBox::allValues() const
{
    QList<mac_lev_t> values;
    values.reserve(count());
    for (int i = 0; i < count(); ++i)
        values.append(levelOf(itemData(i, Qt::UserRole)));
    return values;
}

bool MacLevelComboBox::isSuitable()
{
    return count() > 0;
}

bool MacLevelComboBox::isRebuilt() const
{
    return rebuilt;
}

bool MacLevelComboBox::rebuild()
{
    const LockReasons::Refresh refresh(this);
    rebuilt = true;
    const mac_lev_t previous = value();
    clear();

    if (varnel_mac_enabled() == 0) {
        LockReasons::record(this, LockReasons::Built::MacOff);
        setEnabled(false);
        return false;
    }
    // Every other way out before the list is filled is a read that failed.
    LockReasons::record(this, LockReasons::Built::Unreadable);

    // The record stays until the level database is closed: it is given back
    // last, after the walk.
    Platform::UserMacEntry userRecord;
    bool hasRange = false;
    LevelRange range{0, 0};
    if (uidSet) {
        if (!Platform::lookupUserMac(uid, userRecord))
            return false;
        hasRange = true;
        if (userRecord) {
            range = {userRecord->min_level, userRecord->max_level};
        } else if (insideReadOnlyLoginWidget(this)) {
            // Without a label of its own the process gets nothing beyond level 0.
            if (const Platform::LabelHandle label = Platform::processLabel()) {
                const mac_lev_t level = tavl_lev(label.get());
                range = {level, level};
            }
        }
    }

    QMap<mac_lev_t, QString> names;
    {
        Platform::LevelDatabase db;
        if (!db.isOpen() || !db.rewind())
            return false;
        db.forEach([&](const level_entry &entry) {
            const mac_lev_t level = entry.level;
            if (hasRange && !range.contains(level))
                return;
            if (minimumSet && level < minimum)
                return;
            if (maximumSet && level > maximum)
                return;
            names.insert(level, QString::fromLocal8Bit(entry.name));
        });
    }
    userRecord.reset();

    for (auto it = names.cbegin(); it != names.cend(); ++it)
        addItem(it.value(), QVariant(int(it.key())));

    setValuePrivate(previous, false);
    setEnabled(count() > 1);
    ComboPicker::recordFilled(this);
    return true;
}

bool MacLevelComboBox::setValuePrivate(mac_lev_t value, bool force)
{
    if (count() == 0)
        return true;

    const int found = findData(QVariant(int(value)), Qt::UserRole, Qt::MatchExactly);
    if (found >= 0) {
        setCurrentIndex(found);
        return true;
    }
    if (!force)
        return false;

    const int position = ComboPicker::insertionRow(this, value);
    const QString text = LabelTexts::levelName(value);
    insertItem(position, text, QVariant(int(value)));
    ComboPicker::explainUnnamed(this, position, value, text, tr("The policy names no level %1").arg(value));
    setCurrentIndex(position);
    return true;
}

bool MacLevelComboBox::setUid(uid_t uid)
{
    this->uid = uid;
    uidSet = true;
    return rebuild();
}

bool MacLevelComboBox::setMinimumValue(mac_lev_t value)
{
    minimum = value;
    minimumSet = true;
    return rebuild();
}

bool MacLevelComboBox::setMaximumValue(mac_lev_t value)
{
    maximum = value;
    maximumSet = true;
    return rebuild();
}

bool MacLevelComboBox::setValue(mac_lev_t value, bool force)
{
    return ComboPicker::setValue(this, value, force, &MacLevelComboBox::valueChanged);
}

void MacLevelComboBox::activated(int index)
{
    Q_EMIT valueChanged(levelOf(itemData(index, Qt::UserRole)));
}

} // namespace VarnelQt5
