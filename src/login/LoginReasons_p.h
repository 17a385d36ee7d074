// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LOGINREASONS_P_H
#define VARNEL_LOGINREASONS_P_H

namespace VarnelQt5 {

class LoginMacLabelWidget;

// Lets login explain itself as a whole: read-only, it names the running
// program's label as the reason, for itself and for its level, integrity and
// category pickers; otherwise the first row it hid because its picker could
// not be built gives the picker's reason. Called once its pickers exist and
// before it builds them for a user.
void speakForPickers(LoginMacLabelWidget *login);

} // namespace VarnelQt5

#endif
