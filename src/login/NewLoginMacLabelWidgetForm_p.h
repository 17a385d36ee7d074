// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_NEWLOGINMACLABELWIDGETFORM_P_H
#define VARNEL_NEWLOGINMACLABELWIDGETFORM_P_H

class QFrame;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QSpacerItem;
class QTabWidget;
class QTreeView;
class QVBoxLayout;
class QWidget;

namespace VarnelQt5 {

class ILevelComboBox;
class MacCategoryListWidget;
class MacLevelComboBox;

namespace Ui {

// The themed form of the login label widget: one wide column with coloured
// push buttons, a separator line and a button row at the bottom. The host
// owns every widget and layout.
class NewLoginMacLabelWidget
{
public:
    QGridLayout *gridLayout_5;
    QVBoxLayout *verticalLayout;
    QGridLayout *gridLayout_4;
    QLabel *_levelLabelLabel;
    QLabel *_categoryLabelLabel;
    QLabel *_integrityLabel;
    QHBoxLayout *horizontalLayout_2;
    QLabel *_categoryHintLabel;
    MacCategoryListWidget *_categoryListWidget;
    QHBoxLayout *horizontalLayout;
    QLabel *_levelHintLabel;
    MacLevelComboBox *_levelComboBox;
    ILevelComboBox *_integrityComboBox;
    QSpacerItem *verticalSpacer;
    QGroupBox *_rolesGroupBox;
    QGridLayout *gridLayout;
    QTabWidget *_userTabWidget;
    QWidget *_userTab;
    QGridLayout *gridLayout_2;
    QTreeView *_userTreeView;
    QWidget *_adminTab;
    QGridLayout *gridLayout_3;
    QTreeView *_adminTreeView;
    QVBoxLayout *verticalLayout_2;
    QFrame *line;
    QHBoxLayout *_buttonLayout;

    void setupUi(QWidget *host);
};

} // namespace Ui
} // namespace VarnelQt5

#endif
