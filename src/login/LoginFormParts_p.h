// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LOGINFORMPARTS_P_H
#define VARNEL_LOGINFORMPARTS_P_H

// What the two forms of the login label widget build alike.

#include "FormCaption_p.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QSizePolicy>
#include <QTabWidget>
#include <QTreeView>
#include <QWidget>

namespace VarnelQt5 {

// The forms set a size policy without stretch and keep the widget's own
// height-for-width.
inline void setFormSizePolicy(QWidget *widget, QSizePolicy::Policy horizontal,
                              QSizePolicy::Policy vertical)
{
    QSizePolicy policy(horizontal, vertical);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    widget->setSizePolicy(policy);
}

// The "Roles" box with its "User" and "Administrative" tabs, each holding a
// tree view, as both forms have it. The caller places the box.
template <typename Form>
void setupRolesGroupBox(Form *form, QWidget *host)
{
    form->_rolesGroupBox = new QGroupBox(host);
    form->_rolesGroupBox->setObjectName(QStringLiteral("_rolesGroupBox"));
    setFormSizePolicy(form->_rolesGroupBox, QSizePolicy::Preferred, QSizePolicy::Expanding);
    form->gridLayout = new QGridLayout(form->_rolesGroupBox);
    form->gridLayout->setSpacing(6);
    form->gridLayout->setContentsMargins(11, 11, 11, 11);
    form->gridLayout->setObjectName(QStringLiteral("gridLayout"));
    form->_userTabWidget = new QTabWidget(form->_rolesGroupBox);
    form->_userTabWidget->setObjectName(QStringLiteral("_userTabWidget"));

    // Each page joins the tab widget while still empty: under the themed
    // form's style sheet a page's whole subtree is restyled when it moves.
    form->_userTab = new QWidget();
    form->_userTab->setObjectName(QStringLiteral("_userTab"));
    form->_userTabWidget->addTab(form->_userTab, QString());
    form->gridLayout_2 = new QGridLayout(form->_userTab);
    form->gridLayout_2->setSpacing(6);
    form->gridLayout_2->setContentsMargins(11, 11, 11, 11);
    form->gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));
    form->_userTreeView = new QTreeView(form->_userTab);
    form->_userTreeView->setObjectName(QStringLiteral("_userTreeView"));
    form->_userTreeView->header()->setProperty("showSortIndicator", QVariant(false));
    form->_userTreeView->header()->setStretchLastSection(false);
    form->gridLayout_2->addWidget(form->_userTreeView, 0, 0, 1, 1);

    form->_adminTab = new QWidget();
    form->_adminTab->setObjectName(QStringLiteral("_adminTab"));
    form->_userTabWidget->addTab(form->_adminTab, QString());
    form->gridLayout_3 = new QGridLayout(form->_adminTab);
    form->gridLayout_3->setSpacing(6);
    form->gridLayout_3->setContentsMargins(11, 11, 11, 11);
    form->gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));
    form->_adminTreeView = new QTreeView(form->_adminTab);
    form->_adminTreeView->setObjectName(QStringLiteral("_adminTreeView"));
    form->gridLayout_3->addWidget(form->_adminTreeView, 0, 0, 1, 1);

    form->gridLayout->addWidget(form->_userTabWidget, 0, 0, 1, 1);
}

// Names the pickers after their captions and the role views after their
// tabs, and sets the keyboard's way along the form: the pickers from top to
// bottom, then the roles. Buttons added to the form later follow them. Runs
// after the texts are set.
template <typename Form>
void setupFormNamesAndTabOrder(Form *form)
{
    nameAfterCaption(form->_levelLabelLabel, form->_levelComboBox);
    nameAfterCaption(form->_integrityLabel, form->_integrityComboBox);
    nameAfterCaption(form->_categoryLabelLabel, form->_categoryListWidget);
    QTabWidget *tabs = form->_userTabWidget;
    form->_userTreeView->setAccessibleName(captionName(tabs->tabText(tabs->indexOf(form->_userTab))));
    form->_adminTreeView->setAccessibleName(captionName(tabs->tabText(tabs->indexOf(form->_adminTab))));

    // The tab widget moves as a whole, its tab bar and pages with it; the
    // views inside already follow the tab bar in the order they were made.
    QWidget::setTabOrder(form->_levelComboBox, form->_integrityComboBox);
    QWidget::setTabOrder(form->_integrityComboBox, form->_categoryListWidget);
    QWidget::setTabOrder(form->_categoryListWidget, tabs);
}

} // namespace VarnelQt5

#endif
