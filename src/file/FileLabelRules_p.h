// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILELABELRULES_P_H
#define VARNEL_FILELABELRULES_P_H

// The rules of a file's label that the file label widget and the command
// line of varnel-file-label share: which type bit is which special
// attribute, what each kind of object may carry, which attributes a person
// is not offered, and when a hole may stand on a label. An internal static
// library that both link; nothing of it is exported.

#include "SpecialAttributesListModel.h"
#include "VarnelMacTypes.h"

#include <cstdint>

extern "C" {
struct tav_label;
}

namespace VarnelQt5 {
namespace FileLabelRules {

// A label's parts as the label library hands them out.
struct LabelParts {
    mac_lev_t level = 0;
    TAV_ILEV_T ilevel = 0;
    mac_cat_t categories = 0;
    uint16_t type = 0;

    // The parts of label; all zero for none.
    static LabelParts of(const tav_label *label);

    bool operator==(const LabelParts &other) const
    {
        return level == other.level && ilevel == other.ilevel && categories == other.categories
            && type == other.type;
    }
};

// The attributes with a type bit of their own: attribute n is bit 1 << n.
constexpr SpecialAttributesListModel::Attributes namedAttributes[] = {
    SpecialAttributesListModel::Ccnr,  SpecialAttributesListModel::Ccnri,
    SpecialAttributesListModel::Ehole, SpecialAttributesListModel::Whole,
    SpecialAttributesListModel::Silev, SpecialAttributesListModel::Irelax};

constexpr uint16_t bitOf(SpecialAttributesListModel::Attributes attribute)
{
    return uint16_t(1u << attribute);
}

constexpr uint16_t namedBits = 0x3f;

// The type bits the rows of each kind show; the form never holds the others.
constexpr uint16_t otherBits = uint16_t(~namedBits);
constexpr uint16_t fileBits = bitOf(SpecialAttributesListModel::Ehole) | bitOf(SpecialAttributesListModel::Whole)
    | bitOf(SpecialAttributesListModel::Silev) | otherBits;
constexpr uint16_t directoryBits = bitOf(SpecialAttributesListModel::Ccnr) | bitOf(SpecialAttributesListModel::Ccnri)
    | bitOf(SpecialAttributesListModel::Irelax) | otherBits;
static_assert(fileBits == 0xffdc && directoryBits == 0xffe3, "each named bit belongs to one kind of object");

constexpr uint16_t kindBits(bool directory)
{
    return directory ? directoryBits : fileBits;
}

constexpr int eholeBit = bitOf(SpecialAttributesListModel::Ehole);
constexpr int wholeBit = bitOf(SpecialAttributesListModel::Whole);
constexpr uint16_t holeBits = uint16_t(eholeBit | wholeBit);
// The label library's own flag for the support question.
constexpr int supportFlags = 0x8000;

// The type bits of the attributes checked in model, those of its rows only.
inline uint16_t typeOf(const SpecialAttributesListModel &model)
{
    uint16_t type = 0;
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes) {
        if (model.checkState(attribute) == Qt::Checked)
            type |= bitOf(attribute);
    }
    if (model.checkState(SpecialAttributesListModel::OtherAttributes) == Qt::Checked)
        type |= uint16_t(model.otherAttribute());
    return type;
}

// Checks in model the attributes type holds, the bits without a name as
// the other attributes.
inline void showType(SpecialAttributesListModel &model, uint16_t type)
{
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes)
        model.setCheckState(attribute, (type & bitOf(attribute)) ? Qt::Checked : Qt::Unchecked);
    const uint16_t rest = type & otherBits;
    if (rest != 0)
        model.setOtherAttribute(rest);
    model.setCheckState(SpecialAttributesListModel::OtherAttributes, rest != 0 ? Qt::Checked : Qt::Unchecked);
}

// The named attributes a person is not offered on this kind of object unless
// it holds them already: the deprecated "ccnri", and "irelax" outside strict
// mode.
uint16_t hiddenBits(bool directory);
// Whether a row of this attribute is hidden unless checked.
bool hiddenUnlessHeld(SpecialAttributesListModel::Attributes attribute);

// Whether a label with the level, integrity level and categories of label
// may carry the hole bit (eholeBit or wholeBit); the label library decides.
bool supportsHole(const tav_label *label, int bit);
// The hole bits of type that a label with the parts of label may not carry.
// A hole in kept (one the object holds on the same level, integrity level and
// categories) is left as it is, asked of no one.
uint16_t unsupportedHoles(const tav_label *label, uint16_t type, uint16_t kept = 0);

} // namespace FileLabelRules
} // namespace VarnelQt5

#endif
