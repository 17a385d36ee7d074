// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_GALLERY_LABELWORDS_H
#define VARNEL_GALLERY_LABELWORDS_H

#include <VarnelMacTypes.h>

#include <QHash>
#include <QCoreApplication>
#include <QString>

// Names for the numbers of a label, learnt once from pickers that are given
// no user and so list every level and category of the policy.
class LabelWords
{
    Q_DECLARE_TR_FUNCTIONS(LabelWords)

public:
    LabelWords();

    // The level's name, or "level N" for a level without one.
    QString level(mac_lev_t level) const;
    // The names of the set's categories in ascending bit order, joined with
    // ", "; "no categories" for the empty set.
    QString categories(mac_cat_t set) const;

    static QString hex(qulonglong value);

private:
    QHash<int, QString> m_levels;
    QHash<mac_cat_t, QString> m_categories;
};

#endif
