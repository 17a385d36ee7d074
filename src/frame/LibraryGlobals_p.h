// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LIBRARYGLOBALS_P_H
#define VARNEL_LIBRARYGLOBALS_P_H

#include <QString>

namespace VarnelQt5 {

// Whether the system ran in strict mode when the library was loaded. Read once;
// code that needs the mode of the moment asks the platform itself.
extern const bool strictModeFlag;

// Roots of the login widget's two role trees.
extern const QString x11Directory;
extern const QString initScriptsDirectory;
// Separators of the vexor command line and of a label's text form.
extern const QString listSeparator;
extern const QString fieldSeparator;

} // namespace VarnelQt5

#endif
