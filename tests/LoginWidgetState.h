// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_LOGINWIDGETSTATE_H
#define VARNEL_TESTS_LOGINWIDGETSTATE_H

// Everything a login label widget shows and returns, as one line of text, so
// that two widgets can be compared and a failure shows where they differ;
// and what the visible rows show, taken from the rows alone.

#include "ILevelComboBox.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"

#include <QLabel>
#include <QStringList>

#include <cstdlib>

namespace LoginWidgetState {

template <typename T>
T *part(const QWidget &widget, const char *name)
{
    return widget.findChild<T *>(QLatin1String(name));
}

inline QString labelText(VarnelQt5::LoginMacLabelWidget &widget)
{
    char *text = widget.malloc_mac_label_text();
    const QString result = text ? QString::fromLatin1(text) : QStringLiteral("(null)");
    std::free(text);
    return result;
}

// "hidden", or the enabled state and the items of a combo box with the
// current one marked.
inline QString combo(const QComboBox *box)
{
    if (box->isHidden())
        return QStringLiteral("hidden");
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << (i == box->currentIndex() ? QStringLiteral("*") : QString())
                     + box->itemData(i).toString() + QLatin1Char('/') + box->itemText(i);
    return (box->isEnabled() ? QStringLiteral("on[") : QStringLiteral("off[")) + items.join(QLatin1Char(','))
           + QLatin1Char(']');
}

inline QString hint(const QLabel *label)
{
    if (label->isHidden())
        return QStringLiteral("hidden");
    return QLatin1Char('\'') + label->text() + QLatin1Char('\'')
           + (label->toolTip().isEmpty() ? QString() : QStringLiteral(" tip '%1'").arg(label->toolTip()));
}

inline QString caption(const QWidget &widget, const char *name)
{
    return part<QLabel>(widget, name)->isHidden() ? QStringLiteral("-") : QStringLiteral("+");
}

// The category rows the list offers and the ones checked.
inline QString list(VarnelQt5::MacCategoryListWidget *list)
{
    if (list->isHidden())
        return QStringLiteral("hidden");
    mac_cat_t offered = 0;
    for (int row = 0; row < list->count(); ++row)
        offered |= list->cat4Item(row);
    return QStringLiteral("%1[%2=%3]")
        .arg(list->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(offered, 0, 16)
        .arg(list->value(), 0, 16);
}

inline QString describe(VarnelQt5::LoginMacLabelWidget &w)
{
    using namespace VarnelQt5;
    return QStringLiteral("level%1 %2 %3 | integrity%4 %5 | categories%6 %7 %8 | %9 %10 %11")
        .arg(caption(w, "_levelLabelLabel"), combo(part<MacLevelComboBox>(w, "_levelComboBox")),
             hint(part<QLabel>(w, "_levelHintLabel")), caption(w, "_integrityLabel"),
             combo(part<ILevelComboBox>(w, "_integrityComboBox")), caption(w, "_categoryLabelLabel"),
             list(part<MacCategoryListWidget>(w, "_categoryListWidget")),
             hint(part<QLabel>(w, "_categoryHintLabel")), labelText(w))
        .arg(w.editable() ? QStringLiteral("edit") : QStringLiteral("info"))
        .arg(w.isVariability() ? QStringLiteral("variable") : QStringLiteral("fixed"));
}

// The label the visible rows show, as the label text gives it: a hidden
// level or integrity picker shows 0 (strict mode aside), and so do
// categories shown by no visible list; a category hint names what the list
// holds, the information line what the widget returns. Empty when a visible
// combo box has nothing selected but the widget returns a value.
inline QString shownLabel(VarnelQt5::LoginMacLabelWidget &w, bool strict)
{
    using namespace VarnelQt5;
    const auto *level = part<MacLevelComboBox>(w, "_levelComboBox");
    const auto *integrity = part<ILevelComboBox>(w, "_integrityComboBox");
    auto *categories = part<MacCategoryListWidget>(w, "_categoryListWidget");
    const auto *categoryHint = part<QLabel>(w, "_categoryHintLabel");
    const uint levelShown = level->isHidden() ? 0 : level->currentData().toUInt();
    const uint integrityShown = strict || integrity->isHidden() ? 0 : integrity->currentData().toUInt();
    mac_cat_t categoriesShown = 0;
    if (!categories->isHidden() || (w.editable() && !categoryHint->isHidden()))
        categoriesShown = categories->value();
    else if (!w.editable())
        categoriesShown = w.categories(); // checked against the line's names by the caller
    return QStringLiteral("%1:%2:0x%3").arg(levelShown).arg(integrityShown).arg(categoriesShown, 0, 16);
}

} // namespace LoginWidgetState

#endif
