// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"

#include "ComboPicker_p.h"
#include "LoginParent_p.h"
#include "LockReasons_p.h"
#include "PickerMetaTypes_p.h"
#include "PlatformHandles_p.h"

#include <QMap>

namespace VarnelQt5 {

namespace {

// The system's maximum integrity level, shared by every integrity picker of
// the process. It only ever grows out of 0.
TAV_ILEV_T maxIntegrityLevel = 0;

void refreshMaxIntegrityLevel()
{
    const TAV_ILEV_T level = tav_get_max_ilev();
    if (level != 0)
        maxIntegrityLevel = level;
}

TAV_ILEV_T ilevelOf(const QVariant &data)
{
    return data.toUInt();
}

QVariant dataOf(TAV_ILEV_T level)
{
    return QVariant(uint(level));
}

} // namespace

ILevelComboBox::ILevelComboBox(QWidget *parent)
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
    setAccessibleName(tr("Integrity level"));
    LockReasons::watch(this);
    refreshMaxIntegrityLevel();
    connect(this, qOverload<int>(&QComboBox::activated), this, &ILevelComboBox::activated);
}

// Built like the plain picker, so that it knows the system's maximum and
// hears the person's picks even when it is the only integrity picker.
ILevelComboBox::ILevelComboBox(uid_t uid, QWidget *parent)
    : ILevelComboBox(parent)
{
    setUid(uid);
}

ILevelComboBox::~ILevelComboBox() = default;

TAV_ILEV_T ILevelComboBox::value() const
{
    return ilevelOf(currentData(Qt::UserRole));
}

TAV_ILEV_T ILevelComboBox::minimumValue() const
{
    return minimum;
}

TAV_ILEV_T ILevelComboBox::maximumValue() const
{
    return maximumSet ? maximum : maxIntegrityLevel;
}

bool ILevelComboBox::isSuitable() const
{
    return count() > 0;
}

bool ILevelComboBox::isRebuilt() const
{
    return rebuilt;
}

bool ILevelComboBox::isVariability() const
{
    return isEnabled() && !isHidden() && count() > 1;
}

bool ILevelComboBox::rebuild()
{
    const LockReasons::Refresh refresh(this);
    rebuilt = true;
    TAV_ILEV_T remembered = value();
    clear();

    if (maxIntegrityLevel == 0) {
        LockReasons::record(this, LockReasons::Built::NoLevels);
        setEnabled(false);
        return false;
    }
    // Every other way out before the list is filled is a read that failed.
    LockReasons::record(this, LockReasons::Built::Unreadable);

    const bool readOnlyLogin = insideReadOnlyLoginWidget(this);

    // The user's highest level, when a user is set. The record is given back
    // after the candidates have been named.
    Platform::UserMicEntry userRecord;
    bool hasUserBound = false;
    unsigned char userMaximum = 0;
    if (uidSet) {
        if (!Platform::lookupUserMic(uid, userRecord))
            return false;
        hasUserBound = true;
        if (userRecord) {
            userMaximum = userRecord->max_ilevel;
        } else if (readOnlyLogin) {
            // A read-only login widget shows the process's own label; without
            // that label nothing beyond level 0 is offered.
            if (const Platform::LabelHandle label = Platform::processLabel())
                userMaximum = static_cast<unsigned char>(tavl_ilev(label.get()));
        }
    }

    const TAV_ILEV_T current = tav_get_current_ilev();

    QMap<TAV_ILEV_T, QString> names;
    for (const TAV_ILEV_T candidate : {TAV_ILEV_T(0), maxIntegrityLevel}) {
        if (hasUserBound && candidate > userMaximum)
            continue;
        if (minimumSet && candidate < minimum)
            continue;
        if (maximumSet && candidate > maximum)
            continue;
        const Platform::Text text(tav_ilev_get_text(candidate, 0));
        if (!text)
            return false;
        names.insert(candidate, QString::fromLocal8Bit(text.get()));

        // Inside a read-only login widget the user's highest level is
        // preselected; without a user (and so without a record) the process's
        // own level is, as everywhere else.
        if (readOnlyLogin && hasUserBound) {
            if (candidate == userMaximum)
                remembered = candidate;
        } else if (candidate == current) {
            remembered = candidate;
        }
    }
    userRecord.reset();

    for (auto it = names.cbegin(); it != names.cend(); ++it)
        addItem(it.value(), dataOf(it.key()));

    setValuePrivate(remembered, false);
    setEnabled(count() > 1);
    ComboPicker::recordFilled(this);
    return true;
}

bool ILevelComboBox::setValuePrivate(TAV_ILEV_T value, bool force)
{
    if (count() == 0)
        return true;

    const int found = findData(dataOf(value), Qt::UserRole, Qt::MatchExactly);
    if (found >= 0) {
        setCurrentIndex(found);
        return true;
    }
    if (!force)
        return false;

    const Platform::Text text(tav_ilev_get_text(value, 1));
    if (!text)
        return false;

    const int position = ComboPicker::insertionRow(this, value);
    const QString shown = QString::fromLocal8Bit(text.get());
    insertItem(position, shown, dataOf(value));
    ComboPicker::explainUnnamed(this, position, value, shown,
                                tr("The policy names no integrity level %1").arg(value));
    setCurrentIndex(position);
    return true;
}

bool ILevelComboBox::setUid(uid_t uid)
{
    this->uid = uid;
    uidSet = true;
    return rebuild();
}

bool ILevelComboBox::setMinimumValue(TAV_ILEV_T value)
{
    minimum = value;
    minimumSet = true;
    return rebuild();
}

bool ILevelComboBox::setMaximumValue(TAV_ILEV_T value)
{
    maximum = value;
    maximumSet = true;
    return rebuild();
}

bool ILevelComboBox::setValue(TAV_ILEV_T value, bool force)
{
    return ComboPicker::setValue(this, value, force, &ILevelComboBox::valueChanged);
}

void ILevelComboBox::activated(int index)
{
    Q_EMIT valueChanged(ilevelOf(itemData(index, Qt::UserRole)));
}

} // namespace VarnelQt5
