// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacTypeComboBox.h"

#include "LabelTexts_p.h"
#include "LockReasons_p.h"
#include "PlatformHandles_p.h"

namespace VarnelQt5 {

namespace {

// The type of a label without special attributes.
constexpr unsigned int plainType = LabelTexts::levelCategoryType;

QVariant dataOf(unsigned int type)
{
    return QVariant(uint(type));
}

// The label services' name for a type.
QString typeName(unsigned int type)
{
    const Platform::MacLabel label(mac_init(type));
    if (!label)
        return QString();
    const Platform::Text text(mac_to_text(label.get(), 0, LabelTexts::TypeForm));
    return QString::fromLocal8Bit(text.get());
}

// Appends the entry of a type. The services are asked for every type, the
// plain one included, though the plain one shows under a text of our own.
void appendType(QComboBox *combo, unsigned int type)
{
    const QString name = typeName(type);
    combo->addItem(type == plainType ? MacTypeComboBox::tr("None") : name, dataOf(type));
}

} // namespace

MacTypeComboBox::MacTypeComboBox(QWidget *parent)
    : QComboBox(parent)
    , types({plainType, 0x1002D, 0x1003F, 0x10012})
{
    setAccessibleName(tr("Label type"));
    LockReasons::watch(this);
    for (const unsigned int type : qAsConst(types))
        appendType(this, type);
}

MacTypeComboBox::~MacTypeComboBox() = default;

void MacTypeComboBox::setValue(unsigned int type)
{
    int found = findData(dataOf(type), Qt::UserRole);
    if (found < 0) {
        appendType(this, type);
        found = count() - 1;
    }
    setCurrentIndex(found);
}

unsigned int MacTypeComboBox::value()
{
    return currentData(Qt::UserRole).toUInt();
}

} // namespace VarnelQt5
