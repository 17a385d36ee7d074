// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginParent_p.h"

#include "LoginMacLabelWidget.h"

namespace VarnelQt5 {

bool insideReadOnlyLoginWidget(const QObject *picker)
{
    const auto *login = qobject_cast<const LoginMacLabelWidget *>(picker->parent());
    return login && !login->editable();
}

} // namespace VarnelQt5
