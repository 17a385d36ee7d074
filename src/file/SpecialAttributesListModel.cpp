// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "SpecialAttributesListModel.h"

#include "SpecialAttributesListModel_p.h"

#include <QMetaType>

namespace VarnelQt5 {

namespace {

constexpr int attributeCount = 7;
// Both modes show three rows of their own; the row of the unnamed bits
// follows them.
constexpr int namedRows = 3;

constexpr int directoryAttributes[] = {SpecialAttributesListModel::Ccnr,
                                       SpecialAttributesListModel::Ccnri,
                                       SpecialAttributesListModel::Irelax,
                                       SpecialAttributesListModel::OtherAttributes};
constexpr int fileAttributes[] = {SpecialAttributesListModel::Ehole,
                                  SpecialAttributesListModel::Whole,
                                  SpecialAttributesListModel::Silev,
                                  SpecialAttributesListModel::OtherAttributes};

int changingRole = -1;

// Marks what the enclosed attributeChanged() is about, nested emissions
// included.
class ChangeScope
{
public:
    explicit ChangeScope(int role)
        : saved(changingRole)
    {
        changingRole = role;
    }
    ~ChangeScope() { changingRole = saved; }
    Q_DISABLE_COPY(ChangeScope)

private:
    const int saved;
};

bool isAttribute(int attribute)
{
    return attribute >= 0 && attribute < attributeCount;
}

// What assistive tools call a row. The row of the unnamed bits shows only
// their value.
QString rowName(const SpecialAttributesListModel &model, const QModelIndex &index, int attribute)
{
    const QString shown = model.data(index, Qt::DisplayRole).toString();
    if (attribute == SpecialAttributesListModel::OtherAttributes)
        return SpecialAttributesListModel::tr("Other attributes %1").arg(shown);
    return shown;
}

// A row's name and state in words, made when asked for so that it follows
// the check and enabled flags.
QString rowDescription(const SpecialAttributesListModel &model, const QModelIndex &index, int attribute)
{
    const QString name = rowName(model, index, attribute);
    const bool checked = model.data(index, Qt::CheckStateRole).toInt() == Qt::Checked;
    QString words;
    if (!(model.flags(index) & Qt::ItemIsEnabled)) {
        words = checked ? SpecialAttributesListModel::tr("%1, checked, cannot be changed").arg(name)
                        : SpecialAttributesListModel::tr("%1, unchecked, cannot be changed").arg(name);
    } else {
        words = checked ? SpecialAttributesListModel::tr("%1, checked").arg(name)
                        : SpecialAttributesListModel::tr("%1, unchecked").arg(name);
    }
    // The short names say little; what the attribute does follows, as the
    // tool tip says it to the mouse.
    if (attribute == SpecialAttributesListModel::OtherAttributes)
        return words;
    return SpecialAttributesListModel::tr("%1. %2").arg(words,
                                                        model.data(index, Qt::ToolTipRole).toString().simplified());
}

} // namespace

SpecialAttributesListModel::SpecialAttributesListModel(QObject *parent)
    : QAbstractListModel(parent)
    , checked(attributeCount, '\0')
    , enabled(attributeCount, '\1')
    , other(0)
    , forContainer(false)
{
    // So that the signal also passes through queued connections and the
    // host's signal spies, under the name its signature carries.
    qRegisterMetaType<Attributes>();
    qRegisterMetaType<Attributes>("Attributes");
}

SpecialAttributesListModel::~SpecialAttributesListModel() = default;

int SpecialAttributesListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return other != 0 ? namedRows + 1 : namedRows;
}

int SpecialAttributesListModel::attributeForRow(int row) const
{
    if (row < 0 || row > namedRows)
        return -1;
    return forContainer ? directoryAttributes[row] : fileAttributes[row];
}

int SpecialAttributesListModel::rowForAttribute(int attribute) const
{
    const int *attributes = forContainer ? directoryAttributes : fileAttributes;
    for (int row = 0; row <= namedRows; ++row) {
        if (attributes[row] == attribute)
            return row;
    }
    return -1;
}

QVariant SpecialAttributesListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int attribute = attributeForRow(index.row());
    if (!isAttribute(attribute))
        return QVariant();

    switch (role) {
    case Qt::DisplayRole:
        switch (attribute) {
        case Ccnr:
            return tr("ccnr");
        case Ccnri:
            return tr("ccnri (deprecated)");
        case Ehole:
            return tr("ehole");
        case Whole:
            return tr("whole");
        case Silev:
            return tr("silev");
        case Irelax:
            return tr("irelax");
        default:
            return QStringLiteral("0x%1").arg(other, 0, 16);
        }
    case Qt::ToolTipRole:
        switch (attribute) {
        case Ccnr:
            return tr("The folder may contain objects with different security\n"
                      "labels, but not higher than its own label.\n"
                      "Mandatory rules for reading the folder will be ignored,\n"
                      "but a subject will see only objects with security labels that\n"
                      "are lower or equal to its own label.");
        case Ccnri:
            return tr("The folder may contain objects with different integrity\n"
                      "levels, but not higher than its own level. Deprecated.");
        case Ehole:
            return tr("Allow to write data to a file with minimum mandatory label\n"
                      "for subjects with higher labels.");
        case Whole:
            return tr("Allow to write data to a file with maximum mandatory label\n"
                      "for subjects with lower labels.");
        case Silev:
            return tr("Allows executable from given file assign a file integrity\n"
                      "level to a process based on the mask of the maximum system\n"
                      "integrity level");
        case Irelax:
            return tr("Specifies that the directory can be written to by a process\n"
                      "with any integrity level");
        default:
            return tr("Other attributes");
        }
    case Qt::CheckStateRole:
        return int(checked.at(attribute) ? Qt::Checked : Qt::Unchecked);
    case Qt::AccessibleTextRole:
        return rowName(*this, index, attribute);
    case Qt::AccessibleDescriptionRole:
        return rowDescription(*this, index, attribute);
    default:
        return QVariant();
    }
}

bool SpecialAttributesListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    const int attribute = attributeForRow(index.row());
    if (!isAttribute(attribute))
        return false;

    QByteArray *flags = nullptr;
    bool flag = false;
    if (role == Qt::CheckStateRole) {
        // A partly checked attribute means nothing: it counts as unchecked.
        flags = &checked;
        flag = value.toInt() == Qt::Checked;
    } else if (role == Qt::UserRole) {
        flags = &enabled;
        flag = value.toBool();
    } else {
        return false;
    }

    if (bool(flags->at(attribute)) == flag)
        return false;
    (*flags)[attribute] = flag ? '\1' : '\0';
    Q_EMIT dataChanged(index, index);
    const ChangeScope scope(role);
    Q_EMIT attributeChanged(Attributes(attribute));
    return true;
}

Qt::ItemFlags SpecialAttributesListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractListModel::flags(index);
    if (!index.isValid())
        return result;
    const int attribute = attributeForRow(index.row());
    result &= ~Qt::ItemIsEditable;
    result |= Qt::ItemIsUserCheckable;
    if (isAttribute(attribute) && enabled.at(attribute))
        result |= Qt::ItemIsEnabled;
    else
        result &= ~Qt::ItemIsEnabled;
    return result;
}

bool SpecialAttributesListModel::isForContainer() const
{
    return forContainer;
}

void SpecialAttributesListModel::setForContainer(bool container)
{
    if (container == forContainer)
        return;
    forContainer = container;
    // Both modes have as many rows: each row only shows another attribute.
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

int SpecialAttributesListModel::otherAttribute() const
{
    return other;
}

bool SpecialAttributesListModel::setOtherAttribute(int value)
{
    if (value == other)
        return false;
    const int row = rowForAttribute(OtherAttributes);
    if (other == 0) {
        beginInsertRows(QModelIndex(), row, row);
        other = value;
        endInsertRows();
    } else if (value == 0) {
        beginRemoveRows(QModelIndex(), row, row);
        other = 0;
        endRemoveRows();
    } else {
        other = value;
        const QModelIndex changed = index(row, 0);
        Q_EMIT dataChanged(changed, changed);
        const ChangeScope scope(Qt::DisplayRole);
        Q_EMIT attributeChanged(OtherAttributes);
    }
    return true;
}

Qt::CheckState SpecialAttributesListModel::checkState(Attributes attribute) const
{
    const QModelIndex shown = index(rowForAttribute(attribute), 0);
    return Qt::CheckState(data(shown, Qt::CheckStateRole).toInt());
}

bool SpecialAttributesListModel::setCheckState(Attributes attribute, Qt::CheckState state)
{
    return setData(index(rowForAttribute(attribute), 0), int(state), Qt::CheckStateRole);
}

bool SpecialAttributesListModel::setEnabled(Attributes attribute, bool enable)
{
    return setData(index(rowForAttribute(attribute), 0), enable, Qt::UserRole);
}

int SpecialAttributes::roleBeingChanged()
{
    return changingRole;
}

} // namespace VarnelQt5
