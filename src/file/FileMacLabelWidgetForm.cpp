// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidgetForm_p.h"

#include "FormCaption_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListView>

namespace VarnelQt5 {

namespace {

template <typename Child>
Child *named(Child *child, const char *name)
{
    child->setObjectName(QLatin1String(name));
    return child;
}

} // namespace

void FileMacLabelWidgetForm::setupUi(QWidget *widget)
{
    if (widget->objectName().isEmpty())
        widget->setObjectName(QStringLiteral("FileMacLabelWidget"));
    widget->resize(400, 322);

    gridLayout = named(new QGridLayout(widget), "gridLayout");
    _categoryListWidget = named(new MacCategoryListWidget(widget), "_categoryListWidget");
    gridLayout->addWidget(_categoryListWidget, 3, 1, 1, 1);
    _levelComboBox = named(new MacLevelComboBox(widget), "_levelComboBox");
    gridLayout->addWidget(_levelComboBox, 1, 1, 1, 1);
    _integrityComboBox = named(new ILevelComboBox(widget), "_integrityComboBox");
    gridLayout->addWidget(_integrityComboBox, 2, 1, 1, 1);
    _typeComboBox = named(new MacTypeComboBox(widget), "_typeComboBox");
    gridLayout->addWidget(_typeComboBox, 0, 1, 1, 1);
    _specialLabelLabel = named(new QLabel(widget), "_specialLabelLabel");
    _specialLabelLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    gridLayout->addWidget(_specialLabelLabel, 4, 0, 1, 1);
    _specialListView = named(new QListView(widget), "_specialListView");
    gridLayout->addWidget(_specialListView, 4, 1, 1, 1);
    _categoriesLabelLabellabel = named(new QLabel(widget), "_categoriesLabelLabellabel");
    _categoriesLabelLabellabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    gridLayout->addWidget(_categoriesLabelLabellabel, 3, 0, 1, 1);
    _typeLabelLabel = named(new QLabel(widget), "_typeLabelLabel");
    gridLayout->addWidget(_typeLabelLabel, 0, 0, 1, 1);
    _levelLabelLanel = named(new QLabel(widget), "_levelLabelLanel");
    gridLayout->addWidget(_levelLabelLanel, 1, 0, 1, 1);
    _integrityLabelLabel = named(new QLabel(widget), "_integrityLabelLabel");
    gridLayout->addWidget(_integrityLabelLabel, 2, 0, 1, 1);

    retranslateUi(widget);

    // The keyboard goes down the form as it is shown, not in the order in
    // which its parts were made.
    QWidget::setTabOrder(_typeComboBox, _levelComboBox);
    QWidget::setTabOrder(_levelComboBox, _integrityComboBox);
    QWidget::setTabOrder(_integrityComboBox, _categoryListWidget);
    QWidget::setTabOrder(_categoryListWidget, _specialListView);
}

void FileMacLabelWidgetForm::retranslateUi(QWidget *widget)
{
    widget->setWindowTitle(QCoreApplication::translate("FileMacLabelWidget", "Form"));
    _specialLabelLabel->setText(QCoreApplication::translate("FileMacLabelWidget", "Specials:"));
    _categoriesLabelLabellabel->setText(QCoreApplication::translate("FileMacLabelWidget", "Categories:"));
    _typeLabelLabel->setText(QCoreApplication::translate("FileMacLabelWidget", "Type:"));
    _levelLabelLanel->setText(QCoreApplication::translate("FileMacLabelWidget", "Level:"));
    _integrityLabelLabel->setText(QCoreApplication::translate("FileMacLabelWidget", "Integrity:"));

    nameAfterCaption(_typeLabelLabel, _typeComboBox);
    nameAfterCaption(_levelLabelLanel, _levelComboBox);
    nameAfterCaption(_integrityLabelLabel, _integrityComboBox);
    nameAfterCaption(_categoriesLabelLabellabel, _categoryListWidget);
    nameAfterCaption(_specialLabelLabel, _specialListView);
}

} // namespace VarnelQt5
