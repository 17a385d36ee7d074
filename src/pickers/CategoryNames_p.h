// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_CATEGORYNAMES_P_H
#define VARNEL_CATEGORYNAMES_P_H

#include "PlatformHandles_p.h"
#include "VarnelMacTypes.h"

#include <QString>

namespace VarnelQt5 {

// The label services' text of a category set, its entries separated by ", ";
// empty when the services give none.
inline QString categoryNames(mac_cat_t set)
{
    QString text;
    if (const Platform::MacLabel object{mac_init(0x10000)}) {
        mac_set_cat(object.get(), set);
        const Platform::Text names(mac_to_text(object.get(), 0, 5));
        text = QString::fromLocal8Bit(names.get());
    }
    text.replace(QLatin1Char(','), QStringLiteral(", "));
    return text;
}

} // namespace VarnelQt5

#endif
