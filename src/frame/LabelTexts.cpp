// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelTexts_p.h"

#include "PlatformHandles_p.h"

namespace VarnelQt5 {
namespace LabelTexts {

Answer ask(std::uint32_t type, mac_lev_t level, mac_cat_t categories, Form form)
{
    Answer answer;
    const Platform::MacLabel object(mac_init(type));
    if (!object)
        return answer;
    answer.hasObject = true;
    mac_set_lev(object.get(), level);
    mac_set_cat(object.get(), categories);
    const Platform::Text text(mac_to_text(object.get(), 0, form));
    answer.hasText = text != nullptr;
    answer.text = QString::fromLocal8Bit(text.get());
    return answer;
}

QString levelName(mac_lev_t level)
{
    return ask(levelCategoryType, level, 0, LevelForm).text;
}

QString categoryNames(mac_cat_t set, bool *hasObject)
{
    const Answer answer = ask(levelCategoryType, 0, set, CategoriesForm);
    if (hasObject)
        *hasObject = answer.hasObject;
    QString names = answer.text;
    names.replace(QLatin1Char(','), QStringLiteral(", "));
    return names;
}

} // namespace LabelTexts
} // namespace VarnelQt5
