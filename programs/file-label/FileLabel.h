// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILELABEL_H
#define VARNEL_FILELABEL_H

#include <FileLabelRules_p.h>

#include <QString>

#include <cstdint>

class LabelNames;

// A file's label as the tool reads and writes it: level, integrity level,
// categories and the special attributes (the label's 16 type bits).
struct FileLabel : VarnelQt5::FileLabelRules::LabelParts {
    FileLabel() = default;
    explicit FileLabel(const LabelParts &parts) : LabelParts(parts) {}

    // LEVEL:ILEVEL:CATEGORIES[:TYPE], each number decimal or 0x-prefixed
    // hexadecimal and within its field's width. Without TYPE, hasType is
    // cleared; on failure error says why. With names, a level or integrity
    // level may also be a name, and CATEGORIES a list of names and masks
    // joined by commas.
    static bool parse(const QString &text, FileLabel *label, bool *hasType, QString *error,
                      const LabelNames *names = nullptr);
    // A decimal or 0x-prefixed number no greater than maximum.
    static bool parseNumber(const QString &text, quint64 maximum, quint64 *value);
    // LEVEL:ILEVEL:0xCATEGORIES:0xTYPE, as the platform keeps it on the file.
    QString text() const;
};

#endif
