// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_UNRESOLVEDUSER_P_H
#define VARNEL_UNRESOLVEDUSER_P_H

#include <sys/types.h>

namespace VarnelQt5 {

// Stands for the calling user where a user id is asked for.
constexpr uid_t callingUserId = static_cast<uid_t>(-1);

// Stands for a login name that the user database does not know.
// callingUserId would mean the calling user, so such a name gets an id that
// no user has: only what a user without a record of their own may use is
// offered, and no last choice is loaded or saved for it.
constexpr uid_t unresolvedUserId = static_cast<uid_t>(-2);

} // namespace VarnelQt5

#endif
