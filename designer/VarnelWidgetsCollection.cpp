// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "VarnelWidgetsCollection.h"

#include "VarnelWidgetPlugin.h"

#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <LoginMacLabelWidget.h>
#include <MacCategoryComboBox.h>
#include <MacCategoryFilterEdit.h>
#include <MacCategoryListWidget.h>
#include <MacCategoryPushButton.h>
#include <MacCategoryWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <unistd.h>

namespace {

// The pickers that depend on a user are shown with what the person running
// Designer may choose, so that a form looks as it will for them.
QWidget *createMacLevelComboBox(QWidget *parent)
{
    return new VarnelQt5::MacLevelComboBox(getuid(), parent);
}

QWidget *createILevelComboBox(QWidget *parent)
{
    return new VarnelQt5::ILevelComboBox(getuid(), parent);
}

QWidget *createMacCategoryListWidget(QWidget *parent)
{
    return new VarnelQt5::MacCategoryListWidget(getuid(), parent);
}

QWidget *createMacCategoryComboBox(QWidget *parent)
{
    auto *picker = new VarnelQt5::MacCategoryComboBox(parent);
    picker->setUid(getuid());
    return picker;
}

QWidget *createMacCategoryPushButton(QWidget *parent)
{
    return new VarnelQt5::MacCategoryPushButton(parent);
}

QWidget *createMacCategoryWidget(QWidget *parent)
{
    auto *editor = new VarnelQt5::MacCategoryWidget(parent);
    editor->setUid(getuid());
    return editor;
}

// Bound to no list: the form binds it with setCategoryList().
QWidget *createMacCategoryFilterEdit(QWidget *parent)
{
    return new VarnelQt5::MacCategoryFilterEdit(parent);
}

QWidget *createMacTypeComboBox(QWidget *parent)
{
    return new VarnelQt5::MacTypeComboBox(parent);
}

QWidget *createLoginMacLabelWidget(QWidget *parent)
{
    // The constructor code generated from a form calls.
    return new VarnelQt5::LoginMacLabelWidget(parent);
}

QWidget *createFileMacLabelWidget(QWidget *parent)
{
    return new VarnelQt5::FileMacLabelWidget(parent);
}

const VarnelWidgetDescription descriptions[] = {
    {"VarnelQt5::MacLevelComboBox", "MacLevelComboBox.h", "maclevelcombobox.png",
     "Confidentiality level picker",
     "A combo box of the confidentiality levels a user may use, within optional bounds.",
     160, 28, createMacLevelComboBox},
    {"VarnelQt5::ILevelComboBox", "ILevelComboBox.h", "ilevelcombobox.png",
     "Integrity level picker",
     "A combo box of the integrity levels a user may use, within optional bounds.",
     160, 28, createILevelComboBox},
    {"VarnelQt5::MacCategoryListWidget", "MacCategoryListWidget.h", "maccategorylistwidget.png",
     "Category checklist",
     "A checklist of the categories a user may use; categories the bounds force on stay "
     "checked.",
     200, 160, createMacCategoryListWidget},
    {"VarnelQt5::MacCategoryComboBox", "MacCategoryComboBox.h", "maccategorycombobox.png",
     "Single category picker",
     "A combo box from which a person picks exactly one category.",
     160, 28, createMacCategoryComboBox},
    {"VarnelQt5::MacCategoryPushButton", "MacCategoryPushButton.h", "maccategorypushbutton.png",
     "Category checklist button",
     "A button that shows a category checklist in a window of its own.",
     120, 28, createMacCategoryPushButton},
    {"VarnelQt5::MacCategoryWidget", "MacCategoryWidget.h", "maccategorywidget.png",
     "Category set editor",
     "The current category set as text, with a button that pops up a category checklist.",
     240, 28, createMacCategoryWidget},
    {"VarnelQt5::MacCategoryFilterEdit", "MacCategoryFilterEdit.h", "maccategoryfilteredit.png",
     "Category filter",
     "A line edit that hides the rows of a category checklist whose name does not contain the "
     "typed text; checked rows stay.",
     200, 28, createMacCategoryFilterEdit},
    {"VarnelQt5::MacTypeComboBox", "MacTypeComboBox.h", "mactypecombobox.png",
     "Label type picker",
     "A combo box of label types, named as the label services name them.",
     160, 28, createMacTypeComboBox},
    {"VarnelQt5::LoginMacLabelWidget", "LoginMacLabelWidget.h", "loginmaclabelwidget.png",
     "Login label chooser",
     "Lets a user choose the label of a login: level, integrity level, categories and roles, "
     "each bounded by what the user may use.",
     420, 360, createLoginMacLabelWidget},
    {"VarnelQt5::FileMacLabelWidget", "FileMacLabelWidget.h", "filemaclabelwidget.png",
     "File label editor",
     "Shows the label of a file or directory and lets a person change its level, integrity "
     "level, categories and special attributes.",
     420, 360, createFileMacLabelWidget},
};

} // namespace

VarnelWidgetsCollection::VarnelWidgetsCollection(QObject *parent)
    : QObject(parent)
{
    for (const VarnelWidgetDescription &description : descriptions)
        widgets.append(new VarnelWidgetPlugin(description, this));
}

QList<QDesignerCustomWidgetInterface *> VarnelWidgetsCollection::customWidgets() const
{
    return widgets;
}
