// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_CATEGORYROWS_P_H
#define VARNEL_CATEGORYROWS_P_H

// What the category filter and the type-ahead need to know of a row "N:NAME"
// of a category list, without reading the number back out of its text.

#include <QString>

class QListWidget;
class QListWidgetItem;

namespace VarnelQt5 {
namespace CategoryRows {

// The category's name as the policy gives it ("Unknown" for a row the
// policy does not name); for a row of another kind, the text after the
// first ":".
QString name(const QListWidgetItem *row);

// The category's number in decimal; for a row of another kind, the text
// before the first ":".
QString number(const QListWidgetItem *row);

// Lets typed letters find the next row whose name starts with them, as typed
// digits find the next row of that number; Qt's search timeout and
// wrap-around apply, and hidden or locked rows are passed over.
void installTypeAhead(QListWidget *list);

} // namespace CategoryRows
} // namespace VarnelQt5

#endif
