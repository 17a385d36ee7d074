// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FITTEDROWS_P_H
#define VARNEL_FITTEDROWS_P_H

// A list whose rows are read whole where the screen has room for them: it
// asks for the width of its widest row, up to three quarters of the
// screen's available width, never scrolls sideways, and ends a row it cannot
// show whole in an ellipsis, with the whole text in the row's tool tip
// unless the row has a tool tip of its own.

class QListView;

namespace VarnelQt5 {
namespace FittedRows {

// Call once the view has its model.
void fit(QListView *view);

} // namespace FittedRows
} // namespace VarnelQt5

#endif
