// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_CATEGORYBITS_P_H
#define VARNEL_CATEGORYBITS_P_H

// A set of categories is a 64-bit mask: category n is bit 1 << n.

#include "VarnelMacTypes.h"

namespace VarnelQt5 {

constexpr int categoryCount = 64;
constexpr mac_cat_t allCategories = ~mac_cat_t(0);

constexpr mac_cat_t categoryBit(int number)
{
    return mac_cat_t(1) << number;
}

// Hands each category of set to f by its number, ascending.
template <typename F>
void forEachCategory(mac_cat_t set, F &&f)
{
    for (int number = 0; number < categoryCount; ++number) {
        if (set & categoryBit(number))
            f(number);
    }
}

// The category's number, or categoryCount for a mask that is not a single
// bit.
constexpr int categoryNumber(mac_cat_t mask)
{
    for (int number = 0; number < categoryCount; ++number) {
        if (mask == categoryBit(number))
            return number;
    }
    return categoryCount;
}

} // namespace VarnelQt5

#endif
