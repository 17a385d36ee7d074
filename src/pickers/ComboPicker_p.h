// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_COMBOPICKER_P_H
#define VARNEL_COMBOPICKER_P_H

// What the level and integrity pickers share: a combo box of numbers kept in
// ascending order, with the number as each item's Qt::UserRole data.

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

// Selects value through the picker's silent setValuePrivate, then emits
// changed with the value now current if that differs from the one before.
// True when value is current afterwards.
template <typename Picker, typename Value>
bool setValue(Picker *picker, Value value, bool force, void (Picker::*changed)(Value))
{
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
