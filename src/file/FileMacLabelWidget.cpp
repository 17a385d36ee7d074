// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidget.h"

#include "FileLabelRules_p.h"
#include "AccessibleRows_p.h"
#include "CategoryBits_p.h"
#include "FileMacLabelWidgetForm_p.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "PlatformHandles_p.h"
#include "SpecialAttributesListModel.h"
#include "SpecialAttributesListModel_p.h"
#include "SpecialAttributesProxyListModel_p.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QSet>
#include <QSignalBlocker>
#include <QStringList>

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unordered_map>

namespace VarnelQt5 {

namespace {

// The rules of a file's label, shared with varnel-file-label's command line.
using FileLabelRules::bitOf;
using FileLabelRules::directoryBits;
using FileLabelRules::eholeBit;
using FileLabelRules::fileBits;
using FileLabelRules::namedAttributes;
using FileLabelRules::namedBits;
using FileLabelRules::supportFlags;
using FileLabelRules::wholeBit;

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

// Which object a path names: a recreated file may get the same device and
// inode number, but not the same birth time where the file system keeps one.
struct Identity {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    bool hasBirth = false;
    long long birthSeconds = 0;
    unsigned birthNanoseconds = 0;
    mode_t kind = 0;

    bool operator==(const Identity &other) const
    {
        return known && other.known && device == other.device && inode == other.inode && kind == other.kind
            && hasBirth == other.hasBirth && birthSeconds == other.birthSeconds
            && birthNanoseconds == other.birthNanoseconds;
    }
};

Identity identify(const QByteArray &encodedPath)
{
    Identity identity;
    struct statx status;
    if (statx(AT_FDCWD, encodedPath.constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) == 0) {
        identity.known = true;
        identity.device = makedev(status.stx_dev_major, status.stx_dev_minor);
        identity.inode = status.stx_ino;
        identity.kind = status.stx_mode & S_IFMT;
        identity.hasBirth = (status.stx_mask & STATX_BTIME) != 0;
        if (identity.hasBirth) {
            identity.birthSeconds = status.stx_btime.tv_sec;
            identity.birthNanoseconds = status.stx_btime.tv_nsec;
        }
        return identity;
    }
    struct stat plain;
    if (stat(encodedPath.constData(), &plain) == 0) {
        identity.known = true;
        identity.device = plain.st_dev;
        identity.inode = plain.st_ino;
        identity.kind = plain.st_mode & S_IFMT;
    }
    return identity;
}

using Parts = FileLabelRules::LabelParts;

// What a widget keeps beyond its controls, outside its class so that the
// class keeps its size. GUI thread only.
struct WidgetState {
    // Whether getfmac() was called, and whether its last call read a label.
    bool loadTried = false;
    bool holdsLabel = false;
    // The object the form was read from, and the label it held when read or
    // when chmac() last wrote it.
    QByteArray path;
    Identity object;
    Parts expected;
    FileMacLabelWidget::WriteFailure failure = FileMacLabelWidget::NoWriteFailure;

    // The hole whose check last rewrote the form, and what it replaced;
    // -1 once another edit came between.
    int undoAttribute = -1;
    Parts replaced;

    // Nesting of the form's own reactions, and of its own unchecks.
    int collecting = 0;
    int automatic = 0;
    QStringList notes;
    QString message;
    QLabel *messageLabel = nullptr;
};

std::unordered_map<const FileMacLabelWidget *, std::unique_ptr<WidgetState>> &widgetStates()
{
    static std::unordered_map<const FileMacLabelWidget *, std::unique_ptr<WidgetState>> states;
    return states;
}

WidgetState &stateOf(const FileMacLabelWidget *widget)
{
    std::unique_ptr<WidgetState> &state = widgetStates()[widget];
    if (!state)
        state.reset(new WidgetState);
    return *state;
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

// A level or integrity level as the picker names it, else its number.
QString nameIn(const QComboBox *picker, quint64 value)
{
    for (int row = 0; row < picker->count(); ++row) {
        if (picker->itemData(row).toULongLong() == value && !picker->itemText(row).isEmpty())
            return picker->itemText(row);
    }
    return QString::number(value);
}

// Categories as the checklist names them, joined by commas.
QString categoryNames(MacCategoryListWidget *list, mac_cat_t categories)
{
    QStringList names;
    forEachCategory(categories, [list, &names](int number) {
        const mac_cat_t mask = categoryBit(number);
        QString name;
        for (int row = 0; row < list->count() && name.isEmpty(); ++row) {
            // A row shows "NUMBER:NAME".
            if (list->cat4Item(row) == mask)
                name = list->item(row)->text().section(QLatin1Char(':'), 1);
        }
        names << (name.isEmpty() ? FileMacLabelWidget::tr("category %1").arg(number) : name);
    });
    return names.join(QLatin1String(", "));
}

// "a", "a and b", "a, b and c".
QString joinedList(QStringList items)
{
    if (items.size() < 2)
        return items.value(0);
    const QString last = items.takeLast();
    return FileMacLabelWidget::tr("%1 and %2").arg(items.join(QLatin1String(", ")), last);
}

void publish(FileMacLabelWidget *widget, const QString &message)
{
    WidgetState &state = stateOf(widget);
    if (message == state.message)
        return;
    state.message = message;
    state.messageLabel->setText(message);
    state.messageLabel->setVisible(!message.isEmpty());
    Q_EMIT widget->reactionMessageChanged(message);
}

// One edit with all the form does on its own after it: the notes made
// within are said together once the outermost scope ends, and an edit
// without any clears the last message.
class NoteScope
{
public:
    explicit NoteScope(FileMacLabelWidget *widget)
        : widget(widget)
        , state(stateOf(widget))
    {
        if (state.collecting++ == 0)
            state.notes.clear();
    }
    ~NoteScope()
    {
        if (--state.collecting == 0)
            publish(widget, state.notes.join(QLatin1Char(' ')));
    }
    Q_DISABLE_COPY(NoteScope)

private:
    FileMacLabelWidget *const widget;
    WidgetState &state;
};

// The values the form's pickers hold.
Parts pickerValues(const FileMacLabelWidgetForm *form)
{
    Parts parts;
    parts.level = form->_levelComboBox->value();
    parts.ilevel = form->_integrityComboBox->value();
    parts.categories = form->_categoryListWidget->value();
    return parts;
}

// Sets the three pickers to the values of parts, adding a value a list
// lacks, with each picker's signals blocked: what the form sets on its own
// is no edit of the person's.
void setPickersQuietly(const FileMacLabelWidgetForm *form, const Parts &parts)
{
    {
        const QSignalBlocker blocker(form->_levelComboBox);
        form->_levelComboBox->setValue(parts.level, true);
    }
    {
        const QSignalBlocker blocker(form->_integrityComboBox);
        form->_integrityComboBox->setValue(parts.ilevel, true);
    }
    const QSignalBlocker blocker(form->_categoryListWidget);
    form->_categoryListWidget->setValue(parts.categories);
}

// "set the level to A, the integrity level to B, added C and removed D".
QString describeChange(const FileMacLabelWidgetForm *form, const Parts &from, const Parts &to)
{
    QStringList settings;
    if (to.level != from.level)
        settings << FileMacLabelWidget::tr("the level to %1").arg(nameIn(form->_levelComboBox, to.level));
    if (to.ilevel != from.ilevel)
        settings << FileMacLabelWidget::tr("the integrity level to %1")
                        .arg(nameIn(form->_integrityComboBox, to.ilevel));
    QStringList actions;
    if (!settings.isEmpty())
        actions << FileMacLabelWidget::tr("set %1").arg(settings.join(QLatin1String(", ")));
    MacCategoryListWidget *list = form->_categoryListWidget;
    if (to.categories & ~from.categories)
        actions << FileMacLabelWidget::tr("added %1").arg(categoryNames(list, to.categories & ~from.categories));
    if (from.categories & ~to.categories)
        actions << FileMacLabelWidget::tr("removed %1").arg(categoryNames(list, from.categories & ~to.categories));
    return joinedList(actions);
}

// Sets the pickers to target quietly and notes what that changed, in
// sentence, whose %1 is the attribute's name and %2 the change. Returns the
// values replaced.
Parts rewritePickers(const FileMacLabelWidgetForm *form, const Parts &target, const QString &sentence,
                     const QString &name, QStringList &notes)
{
    const Parts before = pickerValues(form);
    setPickersQuietly(form, target);
    const QString what = describeChange(form, before, pickerValues(form));
    if (!what.isEmpty())
        notes << sentence.arg(name, what);
    return before;
}

// The values checking a hole puts into the form: none for "ehole", the
// root's for "whole". False where the check rewrites nothing: another
// attribute, or "whole" without the root's label to copy, where the pickers
// keep their values and the type check decides whether "whole" stays.
bool holeTarget(int attribute, Parts &target)
{
    if (attribute == SpecialAttributesListModel::Ehole) {
        target = Parts();
        return true;
    }
    if (attribute != SpecialAttributesListModel::Whole)
        return false;
    const Platform::LabelHandle root(tav_get_path("/"));
    if (!root)
        return false;
    target = Parts::of(root.get());
    return true;
}

// Whether the object at the path is of the kind the form's rows are for;
// one that cannot be looked at is left to the write.
bool kindFits(const QByteArray &encodedPath, bool forContainer)
{
    const int directory = isDirectory(encodedPath);
    return directory < 0 || (directory == 1) == forContainer;
}

// Whether the object the form was read from holds another label than when
// it was read, or another object stands at its place: held is what it holds
// now, object what the path names now.
bool changedSinceRead(const WidgetState &state, const tav_label *held, const Identity &object)
{
    const bool sameObject = !state.object.known || object == state.object;
    return !held || !sameObject || !(Parts::of(held) == state.expected);
}

// The type the form gives: its attributes, and those of the held type that
// belong to the other kind of object or to no row.
uint16_t formType(const SpecialAttributesListModel *model, uint16_t heldType)
{
    uint16_t type = 0;
    for (const SpecialAttributesListModel::Attributes attribute : namedAttributes) {
        if (model->checkState(attribute) == Qt::Checked)
            type |= bitOf(attribute);
    }
    if (model->checkState(SpecialAttributesListModel::OtherAttributes) == Qt::Checked)
        type |= uint16_t(model->otherAttribute());
    return type | (heldType & uint16_t(~(model->isForContainer() ? directoryBits : fileBits)));
}

// Puts the form onto label, the object's own (held) or a new one, and writes
// it. A part whose picker is empty keeps the label's value. A hole goes only
// onto a label that can carry it, tested on the label written rather than
// on the pickers; one the object already holds on the same level, integrity
// level and categories is left as it is.
bool writeForm(const FileMacLabelWidgetForm *form, const SpecialAttributesListModel *model,
               const QByteArray &encodedPath, tav_label *label, bool held)
{
    const Parts before = Parts::of(label);
    if (form->_levelComboBox->count() > 0)
        tavl_set_lev(label, form->_levelComboBox->value());
    if (form->_integrityComboBox->count() > 0)
        tavl_set_ilev(label, form->_integrityComboBox->value());
    tavl_set_cat(label, form->_categoryListWidget->value());
    const uint16_t type = formType(model, before.type);
    tavl_set_type(label, type);

    if (!model->isForContainer()) {
        const bool samePlace = held && tavl_lev(label) == before.level && tavl_ilev(label) == before.ilevel
            && tavl_cat(label) == before.categories;
        if (FileLabelRules::unsupportedHoles(label, type, samePlace ? before.type : 0) != 0)
            return false;
    }
    return tav_set_path(encodedPath.constData(), label) == 0;
}

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

    // A picker's edit ends what unchecking a hole could give back, and
    // replaces the last message (the type check below may say why a hole
    // went).
    const auto pickerEdited = [this] {
        const NoteScope notes(this);
        stateOf(this).undoAttribute = -1;
    };
    connect(form->_levelComboBox, &MacLevelComboBox::valueChanged, this, pickerEdited);
    connect(form->_integrityComboBox, &ILevelComboBox::valueChanged, this, pickerEdited);
    connect(form->_categoryListWidget, &MacCategoryListWidget::valueChanged, this, pickerEdited);

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

    // What the form changes on its own is said where every host shows it,
    // under the explanation of the current attribute.
    WidgetState &state = stateOf(this);
    state.messageLabel = new QLabel(this);
    state.messageLabel->setObjectName(QStringLiteral("_reactionLabel"));
    state.messageLabel->setTextFormat(Qt::PlainText);
    state.messageLabel->setWordWrap(true);
    state.messageLabel->setVisible(false);
    form->gridLayout->addWidget(state.messageLabel, 6, 0, 1, 2);
}

FileMacLabelWidget::~FileMacLabelWidget()
{
    widgetStates().erase(this);
    delete form;
}

FileMacLabelWidget::WriteFailure FileMacLabelWidget::lastWriteFailure() const
{
    return stateOf(this).failure;
}

QString FileMacLabelWidget::reactionMessage() const
{
    return stateOf(this).message;
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
    WidgetState &state = stateOf(this);
    // Until a label is read the form holds no object's label: writing it
    // would give an object the previous one's.
    state.loadTried = true;
    state.holdsLabel = false;
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
        // Identified first: an object put in its place before the read is
        // then taken for another one, never the other way round.
        const Identity object = identify(encodedPath);
        const Platform::LabelHandle label(tav_get_path(encodedPath.constData()));
        if (!label)
            return;
        state.holdsLabel = true;
        state.path = encodedPath;
        state.object = object;
        state.expected = Parts::of(label.get());
        state.undoAttribute = -1;

        // The pickers are set quietly and the reactions stay out of the
        // load, so that the form shows the stored label as it is; the load
        // announces itself once at the end, its label given back.
        const QSignalBlocker blocker(this);
        const LoadScope loading(this);
        setPickersQuietly(form, state.expected);

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
    publish(this, QString());
    Q_EMIT changed();
}

bool FileMacLabelWidget::chmac(const QString &path)
{
    WidgetState &state = stateOf(this);
    if (state.loadTried && !state.holdsLabel) {
        state.failure = NoLabelLoaded;
        return false;
    }
    state.failure = WriteRefused;
    QByteArray encodedPath;
    // The form's rows are those of one kind of object; written onto the
    // other kind they would drop its attributes and set foreign ones.
    if (!encodePath(path, &encodedPath) || !kindFits(encodedPath, model->isForContainer()))
        return false;

    // The object the form was read from, by its path or by another name.
    const Identity object = identify(encodedPath);
    const bool readHere = state.holdsLabel && (encodedPath == state.path || object == state.object);

    // The object's own label is the base, so that whatever the form does not
    // hold (the type's high half, the other kind's attributes, a part whose
    // picker is empty) is written back as it is. Read as late as can be, it
    // also shows whether another writer came since the form was read.
    const Platform::LabelHandle held(tav_get_path(encodedPath.constData()));
    if (readHere && changedSinceRead(state, held.get(), object)) {
        state.failure = LabelChangedSinceRead;
        return false;
    }
    if (!held && (form->_levelComboBox->count() == 0 || form->_integrityComboBox->count() == 0))
        return false;
    const Platform::LabelHandle fresh(held ? nullptr : tavl_get_new());
    tav_label *label = held ? held.get() : fresh.get();
    if (!label || !writeForm(form, model, encodedPath, label, bool(held)))
        return false;
    state.failure = NoWriteFailure;
    if (readHere)
        state.expected = Parts::of(label);
    // What is written is the base of what comes next.
    state.undoAttribute = -1;
    return true;
}

void FileMacLabelWidget::reactToAttribute(int attribute)
{
    if (loadingWidgets().contains(this))
        return;
    // Greying a row out or enabling it again changes no value.
    if (SpecialAttributes::roleBeingChanged() == Qt::UserRole)
        return;

    WidgetState &state = stateOf(this);
    const NoteScope notes(this);
    const bool hole = attribute == SpecialAttributesListModel::Ehole || attribute == SpecialAttributesListModel::Whole;
    const bool checked = model->checkState(SpecialAttributesListModel::Attributes(attribute)) == Qt::Checked;
    const QString name = model->index(model->rowForAttribute(attribute), 0).data().toString();

    if (state.automatic > 0) {
        // The type check's own uncheck, which it explains itself.
    } else if (hole && !checked && state.undoAttribute == attribute) {
        // Unchecked right after its check rewrote the form: the values it
        // replaced come back.
        state.undoAttribute = -1;
        rewritePickers(form, state.replaced, tr("Unchecking %1 %2."), name, state.notes);
        checkTypeSupport();
    } else {
        state.undoAttribute = -1;
        Parts target;
        if (checked && holeTarget(attribute, target)) {
            state.replaced = rewritePickers(form, target, tr("Checking %1 %2."), name, state.notes);
            state.undoAttribute = attribute;
        }
        // Checking a hole rewrote the label the holes depend on; unchecking
        // one leaves the other as it was.
        if (hole && checked)
            checkTypeSupport();
    }
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
    WidgetState &state = stateOf(this);
    const NoteScope notes(this);
    // "Secret", "Secret and integrity level High with Finance, Legal".
    QString place = nameIn(form->_levelComboBox, tavl_lev(label.get()));
    if (tavl_ilev(label.get()) != 0)
        place = tr("%1 and integrity level %2").arg(place, nameIn(form->_integrityComboBox, tavl_ilev(label.get())));
    if (tavl_cat(label.get()) != 0)
        place = tr("%1 with %2").arg(place, categoryNames(form->_categoryListWidget, tavl_cat(label.get())));
    const auto uncheck = [&](SpecialAttributesListModel::Attributes attribute) {
        const QString name = model->index(model->rowForAttribute(attribute), 0).data().toString();
        state.notes << tr("%1 was unchecked: a label at %2 cannot carry it.").arg(name, place);
        ++state.automatic;
        model->setCheckState(attribute, Qt::Unchecked);
        --state.automatic;
    };
    if (ehole && tavl_supports_type(label.get(), eholeBit, supportFlags) == 0)
        uncheck(SpecialAttributesListModel::Ehole);
    if (whole && tavl_supports_type(label.get(), wholeBit, supportFlags) == 0)
        uncheck(SpecialAttributesListModel::Whole);
}

} // namespace VarnelQt5
