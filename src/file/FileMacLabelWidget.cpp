// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidget.h"

#include "AccessibleRows_p.h"
#include "FileMacLabelWidgetForm_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "PlatformHandles_p.h"
#include "SpecialAttributesListModel.h"
#include "SpecialAttributesProxyListModel_p.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QSet>
#include <QSignalBlocker>

#include <sys/stat.h>

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

// The type bits the rows of each mode show; the form never holds the others.
constexpr uint16_t otherBits = uint16_t(~namedBits);
constexpr uint16_t fileBits = bitOf(SpecialAttributesListModel::Ehole) | bitOf(SpecialAttributesListModel::Whole)
    | bitOf(SpecialAttributesListModel::Silev) | otherBits;
constexpr uint16_t directoryBits = bitOf(SpecialAttributesListModel::Ccnr) | bitOf(SpecialAttributesListModel::Ccnri)
    | bitOf(SpecialAttributesListModel::Irelax) | otherBits;
static_assert(fileBits == 0xffdc && directoryBits == 0xffe3, "each named bit belongs to one kind of object");

constexpr int eholeBit = bitOf(SpecialAttributesListModel::Ehole);
constexpr int wholeBit = bitOf(SpecialAttributesListModel::Whole);
// The label library's own flag for the support question.
constexpr int supportFlags = 0x8000;

// A path names exactly one object only when its text survives the local
// encoding whole: a NUL would end it early and an unencodable character
// would turn into another one, both naming another object.
bool encodePath(const QString &path, QByteArray *encoded)
{
    if (path.contains(QChar(0)))
        return false;
    // The codecs' own test lets a lone surrogate pass, which is then dropped.
    *encoded = path.toLocal8Bit();
    return QString::fromLocal8Bit(*encoded) == path;
}

// -1 when the object cannot be looked at.
int isDirectory(const QByteArray &encodedPath)
{
    struct stat status;
    if (stat(encodedPath.constData(), &status) != 0)
        return -1;
    return S_ISDIR(status.st_mode) ? 1 : 0;
}

// The widgets in the middle of getfmac(): setting the check boxes to the
// stored label is no edit, so neither reaction runs for it. GUI thread only.
QSet<const FileMacLabelWidget *> &loadingWidgets()
{
    static QSet<const FileMacLabelWidget *> widgets;
    return widgets;
}

class LoadScope
{
public:
    explicit LoadScope(const FileMacLabelWidget *widget)
        : widget(widget)
        , outermost(!loadingWidgets().contains(widget))
    {
        loadingWidgets().insert(widget);
    }
    ~LoadScope()
    {
        if (outermost)
            loadingWidgets().remove(widget);
    }
    Q_DISABLE_COPY(LoadScope)

private:
    const FileMacLabelWidget *widget;
    const bool outermost;
};

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
    AccessibleRows::announceCheckChanges(form->_specialListView);
    // What the short name of the current attribute means, in sight of a
    // person who cannot open its tool tip; one line when there is none, so
    // that moving along the list does not make the form jump much.
    auto *explanation = new QLabel(this);
    explanation->setObjectName(QStringLiteral("_specialExplanationLabel"));
    explanation->setTextFormat(Qt::PlainText);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form->gridLayout->addWidget(explanation, 5, 1, 1, 1);
    const auto explain = [this, explanation] {
        const QModelIndex row = form->_specialListView->currentIndex();
        explanation->setText(row.isValid() ? row.data(Qt::ToolTipRole).toString().simplified() : QString());
    };
    connect(form->_specialListView->selectionModel(), &QItemSelectionModel::currentChanged, explanation, explain);
    connect(proxy, &QAbstractItemModel::modelReset, explanation, explain);
    connect(proxy, &QAbstractItemModel::layoutChanged, explanation, explain);
    // The few attributes need no more than their rows; the height to spare
    // goes to the categories, which may be many.
    QListView *specials = form->_specialListView;
    specials->setMaximumHeight(4 * qMax(specials->sizeHintForRow(0), specials->fontMetrics().height())
                               + 2 * specials->frameWidth());
    form->gridLayout->setRowStretch(3, 1);

    // The type check follows the edits that can take away a hole's support
    // (the pickers here, checking a hole in the attribute reaction), and
    // runs before changed() is heard, so that listeners see its outcome.
    // Other edits leave a hole as the object holds it.
    connect(form->_levelComboBox, &MacLevelComboBox::valueChanged, this, &FileMacLabelWidget::checkTypeSupport);
    connect(form->_integrityComboBox, &ILevelComboBox::valueChanged, this,
            &FileMacLabelWidget::checkTypeSupport);
    connect(form->_categoryListWidget, &MacCategoryListWidget::valueChanged, this,
            &FileMacLabelWidget::checkTypeSupport);

    connect(form->_typeComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &FileMacLabelWidget::changed);
    connect(form->_levelComboBox, &MacLevelComboBox::valueChanged, this, &FileMacLabelWidget::changed);
    connect(form->_integrityComboBox, &ILevelComboBox::valueChanged, this, &FileMacLabelWidget::changed);
    connect(form->_categoryListWidget, &MacCategoryListWidget::valueChanged, this,
            &FileMacLabelWidget::changed);

    connect(model, &SpecialAttributesListModel::attributeChanged, this,
            &FileMacLabelWidget::reactToAttribute);
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
    QByteArray encodedPath;
    if (!encodePath(path, &encodedPath))
        return;
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
        const Platform::LabelHandle label(tav_get_path(encodedPath.constData()));
        if (!label)
            return;

        // The pickers' signals stay inside the load, and the reactions stay
        // out of it, so that the form shows the stored label as it is; the
        // load announces itself once at the end, its label given back.
        const QSignalBlocker blocker(this);
        const LoadScope loading(this);
        form->_levelComboBox->setValue(tavl_lev(label.get()), true);
        form->_integrityComboBox->setValue(tavl_ilev(label.get()), true);
        form->_categoryListWidget->setValue(tavl_cat(label.get()));

        const uint16_t type = tavl_type(label.get());
        model->setForContainer(isDirectory(encodedPath) == 1);
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
    QByteArray encodedPath;
    if (!encodePath(path, &encodedPath))
        return false;

    // The form's rows are those of one kind of object; written onto the
    // other kind they would drop its attributes and set foreign ones.
    const bool forContainer = model->isForContainer();
    const int directory = isDirectory(encodedPath);
    if (directory >= 0 && (directory == 1) != forContainer)
        return false;

    // The object's own label is the base, so that whatever the form does not
    // hold (the type's high half, the other kind's attributes, a part whose
    // picker is empty) is written back as it is.
    const Platform::LabelHandle held(tav_get_path(encodedPath.constData()));
    const bool levelShown = form->_levelComboBox->count() > 0;
    const bool integrityShown = form->_integrityComboBox->count() > 0;
    if (!held && (!levelShown || !integrityShown))
        return false;
    const Platform::LabelHandle fresh(held ? nullptr : tavl_get_new());
    tav_label *label = held ? held.get() : fresh.get();
    if (!label)
        return false;

    const mac_lev_t heldLevel = tavl_lev(label);
    const TAV_ILEV_T heldIntegrity = tavl_ilev(label);
    const mac_cat_t heldCategories = tavl_cat(label);
    const uint16_t heldType = tavl_type(label);

    if (levelShown)
        tavl_set_lev(label, form->_levelComboBox->value());
    if (integrityShown)
        tavl_set_ilev(label, form->_integrityComboBox->value());
    tavl_set_cat(label, form->_categoryListWidget->value());

    uint16_t type = 0;
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes) {
        if (model->checkState(attribute) == Qt::Checked)
            type |= bitOf(attribute);
    }
    if (model->checkState(SpecialAttributesListModel::OtherAttributes) == Qt::Checked)
        type |= uint16_t(model->otherAttribute());
    type |= heldType & uint16_t(~(forContainer ? directoryBits : fileBits));
    tavl_set_type(label, type);

    // A hole goes only onto a label that can carry it, tested on the label
    // written rather than on the pickers; one the object already holds on
    // the same level, integrity level and categories is left as it is.
    if (!forContainer) {
        const bool samePlace = held && tavl_lev(label) == heldLevel && tavl_ilev(label) == heldIntegrity
            && tavl_cat(label) == heldCategories;
        for (const int bit : {eholeBit, wholeBit}) {
            if ((type & bit) && !(samePlace && (heldType & bit))
                && tavl_supports_type(label, bit, supportFlags) == 0)
                return false;
        }
    }
    return tav_set_path(encodedPath.constData(), label) == 0;
}

void FileMacLabelWidget::reactToAttribute(int attribute)
{
    if (loadingWidgets().contains(this))
        return;
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
    // Checking a hole rewrote the label the holes depend on; unchecking one
    // leaves the other as it was.
    if ((attribute == SpecialAttributesListModel::Ehole || attribute == SpecialAttributesListModel::Whole)
        && model->checkState(SpecialAttributesListModel::Attributes(attribute)) == Qt::Checked)
        checkTypeSupport();
    Q_EMIT changed();
}

void FileMacLabelWidget::checkTypeSupport()
{
    if (model->isForContainer() || loadingWidgets().contains(this))
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
