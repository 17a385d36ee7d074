// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_COMMON_H
#define VARNELQT5_COMMON_H

#include "varnelcommon_export.h"

#include <QString>

#include <sys/types.h>

namespace VarnelQt5 {

// Lookups in the system's user database.
class VARNELCOMMON_EXPORT Common
{
public:
    // The process-wide instance.
    static Common *ptr();

    // The uid of the named user; (uid_t)-1 and *ok false when there is none.
    static uid_t uidByName(const QString &name, bool *ok);
    // The name of the user; the uid in decimal and *ok false when there is none.
    static QString nameByUid(unsigned int uid, bool *ok);

private:
    Common() = default;
    Q_DISABLE_COPY(Common)
};

} // namespace VarnelQt5

#endif
