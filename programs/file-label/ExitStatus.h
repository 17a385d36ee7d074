// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_EXITSTATUS_H
#define VARNEL_EXITSTATUS_H

// varnel-file-label's exit status, as its --help and manual page give it.
enum ExitStatus : int {
    // Every path went well.
    Done = 0,
    // A path failed (each named on standard error), or the output could not
    // be written.
    PathFailed = 1,
    // Bad arguments, a malformed label, or no display for the window.
    BadArguments = 2,
};

#endif
