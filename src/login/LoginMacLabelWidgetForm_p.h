// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LOGINMACLABELWIDGETFORM_P_H
#define VARNEL_LOGINMACLABELWIDGETFORM_P_H

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QTabWidget;
class QTreeView;
class QVBoxLayout;
class QWidget;

namespace VarnelQt5 {

class ILevelComboBox;
class MacCategoryListWidget;
class MacLevelComboBox;

namespace Ui {

// The plain form of the login label widget: pickers beside a button column,
// the roles underneath. The host owns every widget and layout.
class LoginMacLabelWidget
{
public:
    QGridLayout *gridLayout_5;
    QGridLayout *gridLayout_4;
    QLabel *_levelLabelLabel;
    QHBoxLayout *horizontalLayout;
    QLabel *_levelHintLabel;
    MacLevelComboBox *_levelComboBox;
    QLabel *_integrityLabel;
    ILevelComboBox *_integrityComboBox;
    QLabel *_categoryLabelLabel;
    QHBoxLayout *horizontalLayout_2;
    QLabel *_categoryHintLabel;
    MacCategoryListWidget *_categoryListWidget;
    QVBoxLayout *_buttonLayout;
    QGroupBox *_rolesGroupBox;
    QGridLayout *gridLayout;
    QTabWidget *_userTabWidget;
    QWidget *_userTab;
    QGridLayout *gridLayout_2;
    QTreeView *_userTreeView;
    QWidget *_adminTab;
    QGridLayout *gridLayout_3;
    QTreeView *_adminTreeView;

    void setupUi(QWidget *host);
};

} // namespace Ui
} // namespace VarnelQt5

#endif
