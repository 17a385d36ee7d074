// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LOGINPARENT_P_H
#define VARNEL_LOGINPARENT_P_H

class QObject;

namespace VarnelQt5 {

// Whether a picker sits directly in a login label widget that only shows the
// calling process's own label. Such a picker bounds itself by that label when
// the user has no record of their own.
bool insideReadOnlyLoginWidget(const QObject *picker);

} // namespace VarnelQt5

#endif
