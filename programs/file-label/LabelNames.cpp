// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelNames.h"

#include "LabelLibrary.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace LabelTexts = VarnelQt5::LabelTexts;

namespace {

// Texts of the label library are the caller's to free. faithful tells
// whether the text gives back the very bytes the library wrote.
QString takeText(char *text, bool *faithful = nullptr)
{
    const QByteArray bytes(text);
    const QString taken = text ? QString::fromLocal8Bit(bytes) : QString();
    std::free(text);
    if (faithful)
        *faithful = taken.toLocal8Bit() == bytes;
    return taken;
}

// The library writes a value without a name as its number.
bool isNumber(const QString &text)
{
    quint64 ignored;
    return FileLabel::parseNumber(text, ~quint64(0), &ignored);
}

// Names of integrity levels are asked one value at a time: the low ones and
// the system's maximum, as far as a policy names them in practice.
constexpr TAV_ILEV_T integrityNamesAsked = 256;

} // namespace

LabelNames::LabelNames()
{
    const std::unique_ptr<mac_label, void (*)(mac_label *)> label(mac_init(LabelTexts::wholeLabelType), mac_free);
    if (label) {
        for (uint level = 0; level <= 0xff; ++level) {
            mac_set_lev(label.get(), mac_lev_t(level));
            bool faithful = true;
            const QString text = takeText(mac_to_text(label.get(), 0, LabelTexts::LevelForm), &faithful);
            if (!text.isEmpty() && !isNumber(text))
                names[Level].insert(level, text);
            if (!faithful)
                garbled[Level].insert(level);
        }
        mac_set_lev(label.get(), 0);
        for (int bit = 0; bit < VarnelQt5::categoryCount; ++bit) {
            mac_set_cat(label.get(), VarnelQt5::categoryBit(bit));
            bool faithful = true;
            const QString text = takeText(mac_to_text(label.get(), 0, LabelTexts::CategoriesForm), &faithful);
            if (!text.isEmpty() && !isNumber(text))
                names[Category].insert(quint64(bit), text);
            if (!faithful)
                garbled[Category].insert(quint64(bit));
        }
    }
    const TAV_ILEV_T maximum = tav_get_max_ilev();
    const auto integrityName = [this](TAV_ILEV_T ilevel) {
        bool faithful = true;
        const QString text = takeText(tav_ilev_get_text(ilevel, 0), &faithful);
        if (!text.isEmpty())
            names[Integrity].insert(ilevel, text);
        if (!faithful)
            garbled[Integrity].insert(ilevel);
    };
    for (TAV_ILEV_T ilevel = 0; ilevel < integrityNamesAsked && ilevel <= maximum; ++ilevel)
        integrityName(ilevel);
    if (maximum >= integrityNamesAsked)
        integrityName(maximum);
    for (int field = Level; field <= Category; ++field) {
        for (auto it = names[field].cbegin(); it != names[field].cend(); ++it)
            values[field][it.value()] << (field == Category ? quint64(1) << it.key() : it.key());
    }
}

QString LabelNames::name(Field field, quint64 value) const
{
    return names[field].value(value);
}

// A name stands for its value in a label only where it reads back as that
// value alone: no separator of the label or of a line in it (a control
// character, ':' or ','), no number, no twin, and the very bytes the
// policy gave.
bool LabelNames::usable(Field field, quint64 value) const
{
    const QString name = names[field].value(value);
    const bool control = std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control;
    });
    return !name.isEmpty() && !control && !name.contains(QLatin1Char(':')) && !name.contains(QLatin1Char(','))
        && !isNumber(name) && name.trimmed() == name && values[field].value(name).size() == 1
        && !garbled[field].contains(value);
}

QString LabelNames::text(const FileLabel &label) const
{
    QStringList categories;
    mac_cat_t unnamed = 0;
    VarnelQt5::forEachCategory(label.categories, [&](int bit) {
        if (usable(Category, quint64(bit)))
            categories << name(Category, quint64(bit));
        else
            unnamed |= VarnelQt5::categoryBit(bit);
    });
    if (unnamed != 0 || categories.isEmpty())
        categories << QStringLiteral("0x%1").arg(qulonglong(unnamed), 0, 16);
    return QStringLiteral("%1:%2:%3:0x%4")
        .arg(usable(Level, label.level) ? name(Level, label.level) : QString::number(uint(label.level)),
             usable(Integrity, label.ilevel) ? name(Integrity, label.ilevel) : QString::number(label.ilevel),
             categories.join(QLatin1Char(',')))
        .arg(label.type, 0, 16);
}

bool LabelNames::resolve(Field field, const QString &name, quint64 *value, QString *error) const
{
    static const char *const words[] = {"level", "integrity level", "category"};
    const QList<quint64> found = values[field].value(name);
    if (found.size() == 1) {
        *value = found.constFirst();
        return true;
    }
    if (found.isEmpty()) {
        *error = QStringLiteral("no %1 of the policy is named '%2'").arg(QLatin1String(words[field]), name);
        return false;
    }
    QStringList shared;
    for (const quint64 each : found)
        shared << (field == Category ? QStringLiteral("0x%1").arg(each, 0, 16) : QString::number(each));
    *error = QStringLiteral("the %1 name '%2' is shared by %3")
                 .arg(QLatin1String(words[field]), name, shared.join(QLatin1String(" and ")));
    return false;
}
