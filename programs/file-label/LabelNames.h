// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELNAMES_H
#define VARNEL_LABELNAMES_H

#include "FileLabel.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

// The names the policy gives levels, integrity levels and categories, asked
// of the label library once, so that labels can be written and read with
// names instead of numbers.
class LabelNames
{
public:
    enum Field { Level, Integrity, Category };

    LabelNames();

    // The name of a level, an integrity level or a category (by its bit
    // number); empty where the policy has none.
    QString name(Field field, quint64 value) const;
    // The label as LEVEL:ILEVEL:CATEGORIES:0xTYPE with names where they
    // read back as the same value, numbers elsewhere; categories without a
    // usable name follow the names as one 0x-prefixed mask.
    QString text(const FileLabel &label) const;
    // The value named name (a category's mask); false when no entry or more
    // than one has that name, error saying which.
    bool resolve(Field field, const QString &name, quint64 *value, QString *error) const;

private:
    bool usable(Field field, quint64 value) const;

    QMap<quint64, QString> names[3];
    // Values whose name does not give back the policy's bytes as text.
    QSet<quint64> garbled[3];
    QHash<QString, QList<quint64>> values[3];
};

#endif
