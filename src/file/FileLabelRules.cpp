// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileLabelRules_p.h"

#include "labelpolicy.h"

namespace VarnelQt5 {
namespace FileLabelRules {

LabelParts LabelParts::of(const tav_label *label)
{
    LabelParts parts;
    if (!label)
        return parts;
    parts.level = tavl_lev(label);
    parts.ilevel = tavl_ilev(label);
    parts.categories = tavl_cat(label);
    parts.type = tavl_type(label);
    return parts;
}

bool hiddenUnlessHeld(SpecialAttributesListModel::Attributes attribute)
{
    // The strict mode can be switched at any time, so it is asked each time.
    return attribute == SpecialAttributesListModel::Ccnri
        || (attribute == SpecialAttributesListModel::Irelax && varnel_strict_mode() == 0);
}

uint16_t hiddenBits(bool directory)
{
    uint16_t bits = 0;
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes) {
        if ((kindBits(directory) & bitOf(attribute)) && hiddenUnlessHeld(attribute))
            bits |= bitOf(attribute);
    }
    return bits;
}

bool supportsHole(const tav_label *label, int bit)
{
    return tavl_supports_type(label, bit, supportFlags) != 0;
}

uint16_t unsupportedHoles(const tav_label *label, uint16_t type, uint16_t kept)
{
    uint16_t refused = 0;
    for (const int bit : {eholeBit, wholeBit}) {
        if ((type & bit) && !(kept & bit) && !supportsHole(label, bit))
            refused |= uint16_t(bit);
    }
    return refused;
}

} // namespace FileLabelRules
} // namespace VarnelQt5
