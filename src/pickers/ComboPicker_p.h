// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_COMBOPICKER_P_H
#define VARNEL_COMBOPICKER_P_H

// What the level and integrity pickers share: a combo box of numbers kept in
// ascending order, with the number as each item's Qt::UserRole data.

#include "LockReasons_p.h"

#include <QComboBox>

namespace VarnelQt5 {
namespace ComboPicker {

// The row before which value goes so that the items stay ascending.
inline int insertionRow(const QComboBox *combo, qulonglong value)
{
    int row = 0;
    while (row < combo->count() && combo->itemData(row, Qt::UserRole).toULongLong() <= value)
        ++row;
    return row;
}

// Keeps what a rebuild that filled the list found, for the reason a locked
// picker gives.
inline void recordFilled(QComboBox *combo)
{
    if (combo->count() == 0)
        LockReasons::record(combo, LockReasons::Built::Nothing);
    else if (combo->count() == 1)
        LockReasons::record(combo, LockReasons::Built::Single, combo->itemText(0));
    else
        LockReasons::record(combo, LockReasons::Built::Fine);
}

// A value the policy does not name shows as its bare number; the words say
// why, in the row's tool tip and to assistive tools. text is what the label
// services gave for the value.
inline void explainUnnamed(QComboBox *combo, int row, qulonglong value, const QString &text, const QString &why)
{
    if (!text.isEmpty() && text != QString::number(value))
        return;
    combo->setItemData(row, why, Qt::ToolTipRole);
    combo->setItemData(row, why, Qt::AccessibleDescriptionRole);
}

// Selects value through the picker's silent setValuePrivate, then emits
// changed with the value now current if that differs from the one before.
// True when value is current afterwards.
template <typename Picker, typename Value>
bool setValue(Picker *picker, Value value, bool force, void (Picker::*changed)(Value))
{
    const LockReasons::Refresh refresh(picker);
    const Value before = picker->value();
    picker->setValuePrivate(value, force);
    const Value now = picker->value();
    if (now != before)
        Q_EMIT(picker->*changed)(now);
    return picker->currentIndex() >= 0 && now == value;
}

} // namespace ComboPicker
} // namespace VarnelQt5

#endif
