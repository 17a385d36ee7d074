// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "PlatformHandles_p.h"

namespace VarnelQt5 {
namespace Platform {

bool lookupUserMac(uid_t uid, UserMacEntry &entry)
{
    macdb *db = openmacdb_r();
    if (!db) {
        entry.reset();
        return false;
    }
    entry.reset(getmacuid_r(db, uid));
    closemacdb_r(db);
    return true;
}

bool lookupUserMic(uid_t uid, UserMicEntry &entry)
{
    micdb *db = openmicdb_r();
    if (!db) {
        entry.reset();
        return false;
    }
    entry.reset(getmicuid_r(db, uid));
    closemicdb_r(db);
    return true;
}

LabelHandle processLabel()
{
    return LabelHandle(tav_get_pid(0));
}

} // namespace Platform
} // namespace VarnelQt5
