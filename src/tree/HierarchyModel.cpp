// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "HierarchyModel.h"

#include "HierarchyItem.h"

HierarchyModel::HierarchyModel(QObject *parent, HierarchyItem *(*createItem)(HierarchyItem *))
    : QAbstractItemModel(parent)
    , m_createItem(createItem)
    , m_root(createItem ? createItem(nullptr) : nullptr)
{
}

HierarchyModel::~HierarchyModel()
{
    delete m_root;
}

QModelIndex HierarchyModel::itemToIndex(HierarchyItem *item) const
{
    if (!item || item->isRoot())
        return QModelIndex();
    HierarchyItem *owner = item->parent();
    const int row = owner->childrens().indexOf(item);
    if (row < 0)
        return QModelIndex();
    return createIndex(row, 0, owner);
}

HierarchyItem *HierarchyModel::indexToItem(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_root;
    return static_cast<HierarchyItem *>(index.internalPointer())->childrens().at(index.row());
}

QModelIndex HierarchyModel::index(int row, int column, const QModelIndex &parent) const
{
    const HierarchyItem *owner = indexToItem(parent);
    if (!owner || row < 0 || row >= owner->childCount() || column < 0
        || column >= columnCount(parent))
        return QModelIndex();
    return createIndex(row, column, const_cast<HierarchyItem *>(owner));
}

QModelIndex HierarchyModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return QModelIndex();
    return itemToIndex(static_cast<HierarchyItem *>(index.internalPointer()));
}

int HierarchyModel::rowCount(const QModelIndex &parent) const
{
    // Rows under a parent that has no columns could never be reached through
    // index(), and views would ask for them anyway.
    if (columnCount(parent) <= 0)
        return 0;
    const HierarchyItem *item = indexToItem(parent);
    return item ? item->childCount() : 0;
}
