// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACFILEITEM_P_H
#define VARNELQT5_MACFILEITEM_P_H

#include "MacFileItem.h"

#include <typeinfo>

namespace VarnelQt5 {

// The item as a MacFileItem, or null when it is some other kind of item.
// Items built by a directory walk are exactly MacFileItems, so the cheap
// type comparison answers nearly every call.
inline MacFileItem *asFileItem(HierarchyItem *item)
{
    if (!item)
        return nullptr;
    if (typeid(*item) == typeid(MacFileItem))
        return static_cast<MacFileItem *>(item);
    return dynamic_cast<MacFileItem *>(item);
}

inline const MacFileItem *asFileItem(const HierarchyItem *item)
{
    return asFileItem(const_cast<HierarchyItem *>(item));
}

} // namespace VarnelQt5

#endif
