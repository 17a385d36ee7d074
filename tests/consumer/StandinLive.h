// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef STANDINLIVE_H
#define STANDINLIVE_H

// The stand-in's count of live platform objects. A program of the library's
// links the library alone, which brings the stand-in with it, so the count is
// looked up in the running process; -1 when the stand-in is not loaded.

#include <dlfcn.h>

inline long standinLive()
{
    using Live = long (*)();
    const auto live = reinterpret_cast<Live>(dlsym(RTLD_DEFAULT, "varnel_standin_live"));
    return live ? live() : -1;
}

#endif
