// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FORMCAPTION_P_H
#define VARNEL_FORMCAPTION_P_H

// A form's caption label names the picker beside it, for assistive tools and
// for the keyboard, without a text of its own that could drift from what the
// form shows.

#include <QLabel>
#include <QString>
#include <QWidget>

namespace VarnelQt5 {

// The caption as a name: no mnemonic marks, no trailing colon ("Level:" is
// named "Level").
inline QString captionName(const QString &caption)
{
    QString name;
    name.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            // "&&" stands for one ampersand; a single one marks a mnemonic.
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                name.append(caption.at(++i));
            continue;
        }
        name.append(caption.at(i));
    }
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

// Makes caption the label of field: its buddy (so that assistive tools
// report it as the field's label and a mnemonic in it focuses the field) and
// the source of the field's name. Call after the caption's text is set.
inline void nameAfterCaption(QLabel *caption, QWidget *field)
{
    caption->setBuddy(field);
    field->setAccessibleName(captionName(caption->text()));
}

} // namespace VarnelQt5

#endif
