// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PICKERMETATYPES_P_H
#define VARNEL_PICKERMETATYPES_P_H

#include "VarnelMacTypes.h"

#include <QMetaType>

namespace VarnelQt5 {

// The pickers' signals and slots carry the label value types under their
// typedef names; registered, they also pass through queued connections and
// signal spies of the host.
inline void registerPickerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<mac_lev_t>("mac_lev_t");
        qRegisterMetaType<mac_cat_t>("mac_cat_t");
        qRegisterMetaType<TAV_ILEV_T>("TAV_ILEV_T");
        qRegisterMetaType<uid_t>("uid_t");
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace VarnelQt5

#endif
