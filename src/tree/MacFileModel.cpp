// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacFileModel.h"

#include "MacFileItem_p.h"
#include "PreOrder_p.h"

#include <algorithm>
#include <typeinfo>
#include <utility>
#include <vector>

namespace VarnelQt5 {

namespace {

bool allChecked(const HierarchyItem *owner)
{
    return std::all_of(owner->childrens().cbegin(), owner->childrens().cend(), [](const HierarchyItem *sibling) {
        const MacFileItem *file = asFileItem(sibling);
        return !file || file->checked;
    });
}

// The item's parent as a MacFileItem when it has an index: the root has
// none, so nothing above a top-level row is changed.
MacFileItem *indexedParent(const HierarchyItem *item)
{
    HierarchyItem *owner = item->parent();
    return owner && !owner->isRoot() ? asFileItem(owner) : nullptr;
}

void clearCheckedAncestors(MacFileModel *model, HierarchyItem *from)
{
    // Clears from and then each checked ancestor in turn, up to the first
    // one not checked; their other children stay as they are.
    for (MacFileItem *ancestor = asFileItem(from); ancestor;) {
        ancestor->checked = false;
        const QModelIndex at = model->itemToIndex(ancestor);
        Q_EMIT model->dataChanged(at, at);
        MacFileItem *above = indexedParent(ancestor);
        ancestor = above && above->checked ? above : nullptr;
    }
}

} // namespace

MacFileModel::MacFileModel(const QString &path, QObject *parent,
                           HierarchyItem *(*createItem)(HierarchyItem *))
    : HierarchyModel(parent, createItem)
    , path(path)
{
    // A factory that breaks its contract leaves the tree empty rather than
    // having a foreign item loaded as a directory.
    if (MacFileItem *root = asFileItem(indexToItem(QModelIndex())))
        root->load(path, QStringLiteral("root"));
}

MacFileModel::~MacFileModel() = default;

int MacFileModel::columnCount(const QModelIndex &parent) const
{
    return (!parent.isValid() || parent.column() == 0) ? 3 : 0;
}

QVariant MacFileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const MacFileItem *item = asFileItem(indexToItem(index));
    if (!item)
        return QVariant();
    switch (index.column()) {
    case 0:
        if (role == Qt::DisplayRole)
            return item->name;
        if (role == Qt::CheckStateRole)
            return int(item->checked ? Qt::Checked : Qt::Unchecked);
        // Made when asked for, so that it follows the check flag and costs
        // nothing while the tree loads.
        if (role == Qt::AccessibleDescriptionRole)
            return item->checked ? tr("%1, checked").arg(item->name) : tr("%1, unchecked").arg(item->name);
        break;
    case 2:
        if (role == Qt::DisplayRole)
            return qulonglong(item->id);
        break;
    default:
        break;
    }
    return QVariant();
}

bool MacFileModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0)
        return false;
    if (role != Qt::EditRole && role != Qt::CheckStateRole)
        return false;
    MacFileItem *item = asFileItem(indexToItem(index));
    if (!item)
        return false;
    HierarchyItem *owner = static_cast<HierarchyItem *>(index.internalPointer());
    const MacFileItem *parentItem = asFileItem(owner);
    // The root has no index: nothing above a top-level row is changed.
    const bool hasParentIndex = parentItem && !owner->isRoot();

    // Without a subclass that could watch the calls, each step follows by a
    // loop that emits exactly what the calls would, so that no depth of
    // tree nests calls a level at a time.
    const bool plain = typeid(*this) == typeid(MacFileModel);

    if (role == Qt::EditRole) {
        item->checked = value.toBool();
        Q_EMIT dataChanged(index, index);
        if (!item->checked && hasParentIndex && parentItem->checked) {
            if (plain)
                clearCheckedAncestors(this, owner);
            else
                setData(itemToIndex(owner), false, Qt::EditRole);
        }
        return true;
    }

    item->checked = !item->checked;
    Q_EMIT dataChanged(index, index);
    const bool checked = item->checked;

    if (plain) {
        invertDifferingChildren(item, checked);
    } else {
        const QList<HierarchyItem *> &children = item->childrens();
        for (int row = 0; row < children.size(); ++row) {
            const MacFileItem *child = asFileItem(children.at(row));
            if (child && child->checked != checked)
                setData(createIndex(row, 0, item), true, Qt::CheckStateRole);
        }
    }

    if (!hasParentIndex)
        return true;
    if (checked && !parentItem->checked) {
        if (!allChecked(owner))
            return true;
        if (!plain) {
            setData(itemToIndex(owner), true, Qt::CheckStateRole);
            return true;
        }
        // Each ancestor completed in turn is checked; its children are all
        // checked already, so none of them is inverted.
        for (MacFileItem *ancestor = asFileItem(owner); ancestor;) {
            ancestor->checked = true;
            const QModelIndex at = itemToIndex(ancestor);
            Q_EMIT dataChanged(at, at);
            MacFileItem *above = indexedParent(ancestor);
            if (!above || above->checked || !allChecked(above))
                break;
            ancestor = above;
        }
    } else if (!checked && parentItem->checked) {
        if (plain)
            clearCheckedAncestors(this, owner);
        else
            setData(itemToIndex(owner), false, Qt::EditRole);
    }
    return true;
}

void MacFileModel::invertDifferingChildren(MacFileItem *item, bool checked)
{
    // Each child inverted here finds its parent checked as itself, so no
    // upward step follows. Depth first in pre-order, as the calls would go,
    // on a stack of its own.
    std::vector<std::pair<MacFileItem *, int>> pending{{item, 0}};
    while (!pending.empty()) {
        auto &top = pending.back();
        MacFileItem *owner = top.first;
        const QList<HierarchyItem *> &children = owner->childrens();
        if (top.second >= children.size()) {
            pending.pop_back();
            continue;
        }
        const int row = top.second++;
        MacFileItem *child = asFileItem(children.at(row));
        if (!child || child->checked == checked)
            continue;
        child->checked = checked;
        const QModelIndex index = createIndex(row, 0, owner);
        Q_EMIT dataChanged(index, index);
        if (!child->isLeaf())
            pending.emplace_back(child, 0);
    }
}

QVariant MacFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    if (section == 0)
        return tr("Name");
    if (section == 2)
        return tr("Id");
    return QVariant();
}

Qt::ItemFlags MacFileModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = HierarchyModel::flags(index);
    if (index.isValid() && index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QList<unsigned long> MacFileModel::checkedIds() const
{
    QList<unsigned long> ids;
    forEachDescendant(indexToItem(QModelIndex()), [&ids](const HierarchyItem *child) {
        const MacFileItem *file = asFileItem(child);
        if (file && file->checked)
            ids.append(file->id);
    });
    return ids;
}

} // namespace VarnelQt5
