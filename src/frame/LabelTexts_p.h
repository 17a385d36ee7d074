// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELTEXTS_P_H
#define VARNEL_LABELTEXTS_P_H

// What the label services call a level, a set of categories or a whole
// label, asked through a label object made for the purpose.

#include "VarnelMacTypes.h"

#include <QString>

#include <cstdint>

namespace VarnelQt5 {
namespace LabelTexts {

// mac_init's type for an object that only carries a level and categories;
// the type picker calls it "None".
constexpr std::uint32_t levelCategoryType = 0x10000;
// mac_init's type for an object whose whole text is wanted.
constexpr std::uint32_t wholeLabelType = 0;

// mac_to_text's forms.
enum Form : int {
    WholeForm = 0,      // "LEVEL:CATEGORIES"
    LevelForm = 3,      // the level's name
    CategoriesForm = 5, // the categories' names joined by ","
    TypeForm = 9,       // the name of the object's type
};

// What the services gave: an object may be missing, and so may its text.
struct Answer {
    bool hasObject = false;
    bool hasText = false;
    // Decoded from the local 8-bit encoding; empty without a text.
    QString text;
};

// Makes an object of type holding level and categories, and asks for its
// text in form.
Answer ask(std::uint32_t type, mac_lev_t level, mac_cat_t categories, Form form);

// The level's name; empty when the services give none.
QString levelName(mac_lev_t level);

// The names of the categories of set, separated by ", "; empty when the
// services give none. hasObject, where given, tells whether there was an
// object to ask.
QString categoryNames(mac_cat_t set, bool *hasObject = nullptr);

} // namespace LabelTexts
} // namespace VarnelQt5

#endif
