// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FORMCATEGORYFILTER_H
#define VARNEL_FORMCATEGORYFILTER_H

class QVBoxLayout;

namespace VarnelQt5 {
class FileMacLabelWidget;
}

// Puts a category filter above the form's category list, in the list's cell
// of the form's grid, and lets the keyboard reach it just before the list.
// Returns the cell's column, filter and list, for a host that adds more
// below them; nullptr for a form without a category list.
QVBoxLayout *placeCategoryFilter(VarnelQt5::FileMacLabelWidget *form);

#endif
