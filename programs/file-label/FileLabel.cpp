// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileLabel.h"

#include "LabelNames.h"

#include <QStringList>

bool FileLabel::parseNumber(const QString &text, quint64 maximum, quint64 *value)
{
    const bool hex = text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"));
    const QString digits = hex ? text.mid(2) : text;
    if (digits.isEmpty() || digits.size() > 20)
        return false;
    for (const QChar c : digits) {
        const bool decimal = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!decimal && !(hex && letter))
            return false;
    }
    bool ok = false;
    *value = digits.toULongLong(&ok, hex ? 16 : 10);
    return ok && *value <= maximum;
}

namespace {

// A field that is no number, read with the policy's names.
bool parseNamed(const QString &field, int index, const LabelNames &names, quint64 *value, QString *error)
{
    if (index == 0 || index == 1)
        return names.resolve(index == 0 ? LabelNames::Level : LabelNames::Integrity, field, value, error);
    *value = 0;
    const QStringList parts = field.split(QLatin1Char(','));
    for (const QString &part : parts) {
        quint64 mask = 0;
        if (!FileLabel::parseNumber(part, ~quint64(0), &mask) && !names.resolve(LabelNames::Category, part, &mask, error))
            return false;
        *value |= mask;
    }
    return true;
}

} // namespace

bool FileLabel::parse(const QString &text, FileLabel *label, bool *hasType, QString *error, const LabelNames *names)
{
    const QStringList fields = text.split(QLatin1Char(':'));
    if (fields.size() != 3 && fields.size() != 4) {
        *error = QStringLiteral("malformed label '%1': expected LEVEL:ILEVEL:CATEGORIES[:TYPE]").arg(text);
        return false;
    }
    static const char *const fieldNames[] = {"level", "integrity level", "categories", "type"};
    static const quint64 maxima[] = {0xff, 0xffffffffu, ~quint64(0), 0xffff};
    quint64 values[4] = {0, 0, 0, 0};
    for (int i = 0; i < fields.size(); ++i) {
        if (parseNumber(fields.at(i), maxima[i], &values[i]))
            continue;
        QString why;
        // A number too wide for its field is no name either.
        quint64 wide = 0;
        if (names && i < 3 && !parseNumber(fields.at(i), ~quint64(0), &wide)
            && parseNamed(fields.at(i), i, *names, &values[i], &why))
            continue;
        *error = QStringLiteral("malformed %1 '%2' in label '%3': a decimal or 0x-prefixed number up to %4")
                     .arg(QLatin1String(fieldNames[i]), fields.at(i), text)
                     .arg(maxima[i]);
        if (!why.isEmpty())
            *error += QStringLiteral(" or a name (%1)").arg(why);
        return false;
    }
    label->level = mac_lev_t(values[0]);
    label->ilevel = TAV_ILEV_T(values[1]);
    label->categories = mac_cat_t(values[2]);
    label->type = uint16_t(values[3]);
    *hasType = fields.size() == 4;
    return true;
}

QString FileLabel::text() const
{
    return QStringLiteral("%1:%2:0x%3:0x%4")
        .arg(uint(level))
        .arg(ilevel)
        .arg(qulonglong(categories), 0, 16)
        .arg(type, 0, 16);
}
