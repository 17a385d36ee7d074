// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "NewLoginMacLabelWidgetForm_p.h"

#include "LoginFormParts_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QTabWidget>
#include <QVBoxLayout>

namespace VarnelQt5 {
namespace Ui {

void NewLoginMacLabelWidget::setupUi(QWidget *host)
{
    if (host->objectName().isEmpty())
        host->setObjectName(QStringLiteral("NewLoginMacLabelWidget"));
    host->resize(1478, 574);
    // Reaches every push button inside the host, the dialog's buttons too.
    host->setStyleSheet(QStringLiteral("QPushButton {\n"
                                       "    background-color: #5885A7;\n"
                                       "\tcolor:#FFFFFF;\n"
                                       "\tborder-color:#43657E;\n"
                                       "}"));

    gridLayout_5 = new QGridLayout(host);
    gridLayout_5->setSpacing(6);
    gridLayout_5->setContentsMargins(11, 11, 11, 11);
    gridLayout_5->setObjectName(QStringLiteral("gridLayout_5"));
    gridLayout_5->setContentsMargins(0, -1, 0, -1);

    verticalLayout = new QVBoxLayout();
    verticalLayout->setSpacing(10);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));

    gridLayout_4 = new QGridLayout();
    gridLayout_4->setSpacing(8);
    gridLayout_4->setObjectName(QStringLiteral("gridLayout_4"));
    gridLayout_4->setContentsMargins(20, -1, 20, -1);

    _levelLabelLabel = new QLabel(host);
    _levelLabelLabel->setObjectName(QStringLiteral("_levelLabelLabel"));
    _levelLabelLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gridLayout_4->addWidget(_levelLabelLabel, 0, 0, 1, 1);

    _categoryLabelLabel = new QLabel(host);
    _categoryLabelLabel->setObjectName(QStringLiteral("_categoryLabelLabel"));
    _categoryLabelLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    gridLayout_4->addWidget(_categoryLabelLabel, 3, 0, 1, 1);

    _integrityLabel = new QLabel(host);
    _integrityLabel->setObjectName(QStringLiteral("_integrityLabel"));
    _integrityLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gridLayout_4->addWidget(_integrityLabel, 1, 0, 1, 1);

    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setSpacing(6);
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    _categoryHintLabel = new QLabel(host);
    _categoryHintLabel->setObjectName(QStringLiteral("_categoryHintLabel"));
    _categoryHintLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    horizontalLayout_2->addWidget(_categoryHintLabel);
    _categoryListWidget = new MacCategoryListWidget(host);
    _categoryListWidget->setObjectName(QStringLiteral("_categoryListWidget"));
    setFormSizePolicy(_categoryListWidget, QSizePolicy::Preferred, QSizePolicy::Maximum);
    horizontalLayout_2->addWidget(_categoryListWidget);
    gridLayout_4->addLayout(horizontalLayout_2, 3, 1, 1, 1);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setSpacing(6);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    _levelHintLabel = new QLabel(host);
    _levelHintLabel->setObjectName(QStringLiteral("_levelHintLabel"));
    horizontalLayout->addWidget(_levelHintLabel);
    _levelComboBox = new MacLevelComboBox(host);
    _levelComboBox->setObjectName(QStringLiteral("_levelComboBox"));
    _levelComboBox->setMinimumSize(QSize(158, 0));
    horizontalLayout->addWidget(_levelComboBox);
    gridLayout_4->addLayout(horizontalLayout, 0, 1, 1, 1);

    _integrityComboBox = new ILevelComboBox(host);
    _integrityComboBox->setObjectName(QStringLiteral("_integrityComboBox"));
    _integrityComboBox->setMinimumSize(QSize(158, 0));
    gridLayout_4->addWidget(_integrityComboBox, 1, 1, 1, 1);

    verticalSpacer = new QSpacerItem(20, 10, QSizePolicy::Minimum, QSizePolicy::Expanding);
    gridLayout_4->addItem(verticalSpacer, 2, 1, 1, 1);

    verticalLayout->addLayout(gridLayout_4);

    setupRolesGroupBox(this, host);
    gridLayout->setContentsMargins(20, -1, 20, -1);
    verticalLayout->addWidget(_rolesGroupBox);

    verticalLayout_2 = new QVBoxLayout();
    verticalLayout_2->setSpacing(0);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setContentsMargins(-1, 12, -1, 6);
    line = new QFrame(host);
    line->setObjectName(QStringLiteral("line"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    setFormSizePolicy(line, QSizePolicy::Preferred, QSizePolicy::Fixed);
    verticalLayout_2->addWidget(line);
    verticalLayout->addLayout(verticalLayout_2);

    _buttonLayout = new QHBoxLayout();
    _buttonLayout->setSpacing(6);
    _buttonLayout->setObjectName(QStringLiteral("_buttonLayout"));
    _buttonLayout->setContentsMargins(20, -1, 20, -1);
    verticalLayout->addLayout(_buttonLayout);

    gridLayout_5->addLayout(verticalLayout, 0, 0, 1, 1);

    host->setWindowTitle(QCoreApplication::translate("NewLoginMacLabelWidget", "LoginMacLabelWidget"));
    _levelLabelLabel->setText(QCoreApplication::translate("NewLoginMacLabelWidget", "Level:"));
    _categoryLabelLabel->setText(QCoreApplication::translate("NewLoginMacLabelWidget", "Category:"));
    _integrityLabel->setText(QCoreApplication::translate("NewLoginMacLabelWidget", "Integrity:"));
    _categoryHintLabel->setText(QCoreApplication::translate("NewLoginMacLabelWidget", "TextLabel"));
    _levelHintLabel->setText(QCoreApplication::translate("NewLoginMacLabelWidget", "TextLabel"));
    _rolesGroupBox->setTitle(QCoreApplication::translate("NewLoginMacLabelWidget", "Roles"));
    _userTabWidget->setTabText(_userTabWidget->indexOf(_userTab),
                               QCoreApplication::translate("NewLoginMacLabelWidget", "User"));
    _userTabWidget->setTabText(_userTabWidget->indexOf(_adminTab),
                               QCoreApplication::translate("NewLoginMacLabelWidget", "Administrative"));

    setupFormNamesAndTabOrder(this);

    _userTabWidget->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(host);
}

} // namespace Ui
} // namespace VarnelQt5
