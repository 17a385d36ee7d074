// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidget.h"

#include "FileMacLabelWidgetForm_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "PlatformHandles_p.h"
#include "SpecialAttributesListModel.h"
#include "SpecialAttributesProxyListModel_p.h"

#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QSignalBlocker>

namespace VarnelQt5 {

namespace {

// The attributes with a type bit of their own: attribute n is bit 1 << n.
constexpr SpecialAttributesListModel::Attributes namedAttributes[] = {
    SpecialAttributesListModel::Ccnr,  SpecialAttributesListModel::Ccnri,
    SpecialAttributesListModel::Ehole, SpecialAttributesListModel::Whole,
    SpecialAttributesListModel::Silev, SpecialAttributesListModel::Irelax};

constexpr uint16_t bitOf(SpecialAttributesListModel::Attributes attribute)
{
    return uint16_t(1u << attribute);
}

constexpr uint16_t namedBits = 0x3f;

constexpr int eholeBit = bitOf(SpecialAttributesListModel::Ehole);
constexpr int wholeBit = bitOf(SpecialAttributesListModel::Whole);
// The label library's own flag for the support question.
constexpr int supportFlags = 0x8000;

} // namespace

FileMacLabelWidget::FileMacLabelWidget(QWidget *parent)
    : QWidget(parent)
    , form(new FileMacLabelWidgetForm)
    , model(new SpecialAttributesListModel(this))
{
    form->setupUi(this);
    form->_typeLabelLabel->setVisible(false);
    form->_typeComboBox->setVisible(false);

    auto *proxy = new SpecialAttributesProxyListModel(this);
    proxy->setSourceModel(model);
    form->_specialListView->setModel(proxy);

    connect(form->_typeComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &FileMacLabelWidget::changed);
    connect(form->_levelComboBox, &MacLevelComboBox::valueChanged, this, &FileMacLabelWidget::changed);
    connect(form->_integrityComboBox, &ILevelComboBox::valueChanged, this, &FileMacLabelWidget::changed);
    connect(form->_categoryListWidget, &MacCategoryListWidget::valueChanged, this,
            &FileMacLabelWidget::changed);

    connect(model, &SpecialAttributesListModel::attributeChanged, this,
            &FileMacLabelWidget::reactToAttribute);
    connect(this, &FileMacLabelWidget::changed, this, &FileMacLabelWidget::checkTypeSupport);
}

FileMacLabelWidget::~FileMacLabelWidget()
{
    delete form;
}

tav_label *FileMacLabelWidget::currentLabelWithoutFlags() const
{
    tav_label *label = tavl_get_new();
    if (!label)
        return nullptr;
    tavl_set_lev(label, form->_levelComboBox->value());
    tavl_set_ilev(label, form->_integrityComboBox->value());
    tavl_set_cat(label, form->_categoryListWidget->value());
    return label;
}

void FileMacLabelWidget::getfmac(const QString &path)
{
    {
        // Filling the lists is no edit of the label.
        const QSignalBlocker blocker(this);
        if (!form->_levelComboBox->isRebuilt())
            form->_levelComboBox->rebuild();
        if (!form->_integrityComboBox->isRebuilt())
            form->_integrityComboBox->rebuild();
        if (!form->_categoryListWidget->isRebuilt())
            form->_categoryListWidget->rebuild();
    }

    {
        const Platform::LabelHandle label(tav_get_path(path.toLocal8Bit().constData()));
        if (!label)
            return;

        // The pickers' and the attribute reaction's signals stay inside the
        // load; it announces itself once at the end, its label given back.
        const QSignalBlocker blocker(this);
        form->_levelComboBox->setValue(tavl_lev(label.get()), true);
        form->_integrityComboBox->setValue(tavl_ilev(label.get()), true);
        form->_categoryListWidget->setValue(tavl_cat(label.get()));

        const uint16_t type = tavl_type(label.get());
        model->setForContainer(QFileInfo(path).isDir());
        for (const SpecialAttributesListModel::Attributes attribute : namedAttributes)
            model->setCheckState(attribute, (type & bitOf(attribute)) ? Qt::Checked : Qt::Unchecked);

        const uint16_t rest = type & ~namedBits;
        if (rest != 0) {
            model->setOtherAttribute(rest);
            model->setCheckState(SpecialAttributesListModel::OtherAttributes, Qt::Checked);
        } else {
            model->setCheckState(SpecialAttributesListModel::OtherAttributes, Qt::Unchecked);
        }
    }
    Q_EMIT changed();
}

bool FileMacLabelWidget::chmac(const QString &path)
{
    const Platform::LabelHandle label(currentLabelWithoutFlags());
    if (!label)
        return false;
    const QByteArray encodedPath = path.toLocal8Bit();

    // A picker left empty (its database could not be read) holds no value to
    // write: the object keeps its own level or integrity level rather than
    // silently getting 0, and without the object's label nothing is written.
    const bool levelShown = form->_levelComboBox->count() > 0;
    const bool integrityShown = form->_integrityComboBox->count() > 0;
    if (!levelShown || !integrityShown) {
        const Platform::LabelHandle current(tav_get_path(encodedPath.constData()));
        if (!current)
            return false;
        if (!levelShown)
            tavl_set_lev(label.get(), tavl_lev(current.get()));
        if (!integrityShown)
            tavl_set_ilev(label.get(), tavl_ilev(current.get()));
    }

    uint16_t type = 0;
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes) {
        if (model->checkState(attribute) == Qt::Checked)
            type |= bitOf(attribute);
    }
    if (model->checkState(SpecialAttributesListModel::OtherAttributes) == Qt::Checked)
        type |= uint16_t(model->otherAttribute());
    tavl_set_type(label.get(), type);

    return tav_set_path(encodedPath.constData(), label.get()) == 0;
}

void FileMacLabelWidget::reactToAttribute(int attribute)
{
    if (attribute == SpecialAttributesListModel::Ehole
        && model->checkState(SpecialAttributesListModel::Ehole) == Qt::Checked) {
        {
            const QSignalBlocker blocker(form->_levelComboBox);
            form->_levelComboBox->setValue(0, true);
        }
        {
            const QSignalBlocker blocker(form->_integrityComboBox);
            form->_integrityComboBox->setValue(0, true);
        }
        {
            const QSignalBlocker blocker(form->_categoryListWidget);
            form->_categoryListWidget->setValue(0);
        }
    } else if (attribute == SpecialAttributesListModel::Whole
               && model->checkState(SpecialAttributesListModel::Whole) == Qt::Checked) {
        // Without the root's label there is nothing to copy: the pickers keep
        // their values, and the type check decides whether "whole" stays.
        const Platform::LabelHandle root(tav_get_path("/"));
        if (root) {
            {
                const QSignalBlocker blocker(form->_levelComboBox);
                form->_levelComboBox->setValue(tavl_lev(root.get()), true);
            }
            {
                const QSignalBlocker blocker(form->_integrityComboBox);
                form->_integrityComboBox->setValue(tavl_ilev(root.get()), true);
            }
            {
                const QSignalBlocker blocker(form->_categoryListWidget);
                form->_categoryListWidget->setValue(tavl_cat(root.get()));
            }
        }
    }
    Q_EMIT changed();
}

void FileMacLabelWidget::checkTypeSupport()
{
    if (model->isForContainer())
        return;
    const bool ehole = model->checkState(SpecialAttributesListModel::Ehole) == Qt::Checked;
    const bool whole = model->checkState(SpecialAttributesListModel::Whole) == Qt::Checked;
    if (!ehole && !whole)
        return;

    const Platform::LabelHandle label(currentLabelWithoutFlags());
    if (!label)
        return;
    if (ehole && tavl_supports_type(label.get(), eholeBit, supportFlags) == 0)
        model->setCheckState(SpecialAttributesListModel::Ehole, Qt::Unchecked);
    if (whole && tavl_supports_type(label.get(), wholeBit, supportFlags) == 0)
        model->setCheckState(SpecialAttributesListModel::Whole, Qt::Unchecked);
}

} // namespace VarnelQt5
