// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginMacLabelWidgetForm_p.h"

#include "LoginFormParts_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace VarnelQt5 {
namespace Ui {

void LoginMacLabelWidget::setupUi(QWidget *host)
{
    if (host->objectName().isEmpty())
        host->setObjectName(QStringLiteral("LoginMacLabelWidget"));
    host->resize(508, 574);

    gridLayout_5 = new QGridLayout(host);
    gridLayout_5->setSpacing(6);
    gridLayout_5->setContentsMargins(11, 11, 11, 11);
    gridLayout_5->setObjectName(QStringLiteral("gridLayout_5"));

    gridLayout_4 = new QGridLayout();
    gridLayout_4->setSpacing(6);
    gridLayout_4->setObjectName(QStringLiteral("gridLayout_4"));

    _levelLabelLabel = new QLabel(host);
    _levelLabelLabel->setObjectName(QStringLiteral("_levelLabelLabel"));
    gridLayout_4->addWidget(_levelLabelLabel, 0, 0, 1, 1);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setSpacing(6);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    _levelHintLabel = new QLabel(host);
    _levelHintLabel->setObjectName(QStringLiteral("_levelHintLabel"));
    horizontalLayout->addWidget(_levelHintLabel);
    _levelComboBox = new MacLevelComboBox(host);
    _levelComboBox->setObjectName(QStringLiteral("_levelComboBox"));
    horizontalLayout->addWidget(_levelComboBox);
    gridLayout_4->addLayout(horizontalLayout, 0, 1, 1, 1);

    _integrityLabel = new QLabel(host);
    _integrityLabel->setObjectName(QStringLiteral("_integrityLabel"));
    gridLayout_4->addWidget(_integrityLabel, 1, 0, 1, 1);

    _integrityComboBox = new ILevelComboBox(host);
    _integrityComboBox->setObjectName(QStringLiteral("_integrityComboBox"));
    gridLayout_4->addWidget(_integrityComboBox, 1, 1, 1, 1);

    _categoryLabelLabel = new QLabel(host);
    _categoryLabelLabel->setObjectName(QStringLiteral("_categoryLabelLabel"));
    _categoryLabelLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    gridLayout_4->addWidget(_categoryLabelLabel, 2, 0, 1, 1);

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
    gridLayout_4->addLayout(horizontalLayout_2, 2, 1, 1, 1);

    gridLayout_5->addLayout(gridLayout_4, 0, 0, 1, 1);

    _buttonLayout = new QVBoxLayout();
    _buttonLayout->setSpacing(6);
    _buttonLayout->setObjectName(QStringLiteral("_buttonLayout"));
    gridLayout_5->addLayout(_buttonLayout, 0, 1, 1, 1);

    setupRolesGroupBox(this, host);
    gridLayout_5->addWidget(_rolesGroupBox, 1, 0, 1, 2);

    host->setWindowTitle(QCoreApplication::translate("LoginMacLabelWidget", "LoginMacLabelWidget"));
    _levelLabelLabel->setText(QCoreApplication::translate("LoginMacLabelWidget", "Level:"));
    _levelHintLabel->setText(QCoreApplication::translate("LoginMacLabelWidget", "TextLabel"));
    _integrityLabel->setText(QCoreApplication::translate("LoginMacLabelWidget", "Integrity:"));
    _categoryLabelLabel->setText(QCoreApplication::translate("LoginMacLabelWidget", "Category:"));
    _categoryHintLabel->setText(QCoreApplication::translate("LoginMacLabelWidget", "TextLabel"));
    _rolesGroupBox->setTitle(QCoreApplication::translate("LoginMacLabelWidget", "Roles"));
    _userTabWidget->setTabText(_userTabWidget->indexOf(_userTab),
                               QCoreApplication::translate("LoginMacLabelWidget", "User"));
    _userTabWidget->setTabText(_userTabWidget->indexOf(_adminTab),
                               QCoreApplication::translate("LoginMacLabelWidget", "Administrative"));

    setupFormNamesAndTabOrder(this);

    _userTabWidget->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(host);
}

} // namespace Ui
} // namespace VarnelQt5
