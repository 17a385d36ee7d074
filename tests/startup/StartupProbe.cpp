// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Lets the start-up host read what the library's load-time code set up.

#include "LibraryGlobals_p.h"

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

PROBE_EXPORT bool startupProbeStrictMode()
{
    return VarnelQt5::strictModeFlag;
}

PROBE_EXPORT const QString *startupProbeString(int which)
{
    switch (which) {
    case 0:
        return &VarnelQt5::x11Directory;
    case 1:
        return &VarnelQt5::initScriptsDirectory;
    case 2:
        return &VarnelQt5::listSeparator;
    case 3:
        return &VarnelQt5::fieldSeparator;
    }
    return nullptr;
}
