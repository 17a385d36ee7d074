// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_SPECIALATTRIBUTESLISTMODEL_P_H
#define VARNEL_SPECIALATTRIBUTESLISTMODEL_P_H

namespace VarnelQt5 {
namespace SpecialAttributes {

// What the attributeChanged() being delivered now is about, for listeners in
// the library: Qt::CheckStateRole for a check flag, Qt::UserRole for an
// enabled flag, Qt::DisplayRole for the unnamed bits' value, and -1 outside
// the model's own emissions. GUI thread only.
int roleBeingChanged();

} // namespace SpecialAttributes
} // namespace VarnelQt5

#endif
