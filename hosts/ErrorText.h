// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_ERRORTEXT_H
#define VARNEL_ERRORTEXT_H

#include <QString>

#include <cstring>

// The system's words for an errno value, decoded from the locale's encoding.
inline QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

#endif
