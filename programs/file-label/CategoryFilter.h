// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_CATEGORYFILTER_H
#define VARNEL_CATEGORYFILTER_H

namespace VarnelQt5 {
class FileMacLabelWidget;
}

// Puts a category filter above the form's category list and one line of the
// chosen category names below it, in the list's place in the form's grid: a
// checked category far down the list is seen without scrolling.
void addCategoryFilter(VarnelQt5::FileMacLabelWidget *form);

#endif
