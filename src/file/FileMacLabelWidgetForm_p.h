// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILEMACLABELWIDGETFORM_P_H
#define VARNEL_FILEMACLABELWIDGETFORM_P_H

class QGridLayout;
class QLabel;
class QListView;
class QWidget;

namespace VarnelQt5 {

class ILevelComboBox;
class MacCategoryListWidget;
class MacLevelComboBox;
class MacTypeComboBox;

// The objects of the file label form. They are children of the widget the
// form is set up on, which owns them; the record only points at them.
struct FileMacLabelWidgetForm {
    QGridLayout *gridLayout = nullptr;
    MacCategoryListWidget *_categoryListWidget = nullptr;
    MacLevelComboBox *_levelComboBox = nullptr;
    ILevelComboBox *_integrityComboBox = nullptr;
    MacTypeComboBox *_typeComboBox = nullptr;
    QLabel *_specialLabelLabel = nullptr;
    QListView *_specialListView = nullptr;
    QLabel *_categoriesLabelLabellabel = nullptr;
    QLabel *_typeLabelLabel = nullptr;
    QLabel *_levelLabelLanel = nullptr;
    QLabel *_integrityLabelLabel = nullptr;

    void setupUi(QWidget *widget);
    void retranslateUi(QWidget *widget);
};

} // namespace VarnelQt5

#endif
