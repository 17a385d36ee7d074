// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelWords.h"

#include <MacCategoryComboBox.h>
#include <MacLevelComboBox.h>

#include <QStringList>

using namespace VarnelQt5;

LabelWords::LabelWords()
{
    // Without a user the level picker fills itself only when asked to.
    MacLevelComboBox levels;
    levels.rebuild();
    for (int i = 0; i < levels.count(); ++i)
        m_levels.insert(levels.itemData(i).toInt(), levels.itemText(i));
    const MacCategoryComboBox categories;
    for (int i = 0; i < categories.count(); ++i)
        m_categories.insert(categories.itemData(i).toULongLong(), categories.itemText(i));
}

QString LabelWords::level(mac_lev_t level) const
{
    return m_levels.value(level, tr("level %1").arg(level));
}

QString LabelWords::categories(mac_cat_t set) const
{
    QStringList names;
    for (int bit = 0; bit < 64; ++bit) {
        const mac_cat_t mask = mac_cat_t(1) << bit;
        if (set & mask)
            names.append(m_categories.value(mask, tr("category %1").arg(bit)));
    }
    return names.isEmpty() ? tr("no categories") : names.join(QStringLiteral(", "));
}

QString LabelWords::hex(qulonglong value)
{
    return QStringLiteral("0x") + QString::number(value, 16);
}
