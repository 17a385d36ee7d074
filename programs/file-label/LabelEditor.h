// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELEDITOR_H
#define VARNEL_LABELEDITOR_H

#include "FileLabel.h"

#include <QCoreApplication>
#include <QString>

namespace VarnelQt5 {
class FileMacLabelWidget;
class ILevelComboBox;
class MacCategoryListWidget;
class MacLevelComboBox;
class SpecialAttributesListModel;
} // namespace VarnelQt5

// Reads, sets and writes a file's label through a file label widget, so that
// the window's Apply and the command line's --set take the same road. Each
// step that fails says why in a short text naming no path.
class LabelEditor
{
    Q_DECLARE_TR_FUNCTIONS(LabelEditor)

public:
    explicit LabelEditor(VarnelQt5::FileMacLabelWidget *widget);

    // The label path holds, read from the object itself: the form cannot
    // hold every label (its special attributes react to one another and to
    // the kind of object).
    static bool stored(const QString &path, FileLabel *label, QString *reason);

    // Loads the label of path into the widget.
    bool load(const QString &path, QString *reason);
    // The label the widget holds; false when a part of it cannot be shown.
    bool read(FileLabel *label, QString *reason) const;
    // What the widget's controls hold as they are, an empty picker as 0:
    // two forms compare equal exactly when their controls do.
    FileLabel shown() const;
    // Whether the form holds the label path holds; otherwise says how the
    // two differ.
    bool showsStored(const QString &path, QString *difference) const;
    // Sets the widget to label (its type too when withType); false, naming
    // the first part, when the widget would hold anything else.
    bool set(const FileLabel &label, bool withType, QString *reason);
    // Writes the widget's label to path.
    bool write(const QString &path, QString *reason);

private:
    uint16_t type() const;
    void setType(uint16_t type);

    VarnelQt5::FileMacLabelWidget *widget;
    VarnelQt5::MacLevelComboBox *level;
    VarnelQt5::ILevelComboBox *integrity;
    VarnelQt5::MacCategoryListWidget *categories;
    VarnelQt5::SpecialAttributesListModel *attributes;
};

#endif
