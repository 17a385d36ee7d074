// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef HIERARCHYMODEL_H
#define HIERARCHYMODEL_H

#include "HierarchyItem.h"
#include "varnelmac_export.h"

#include <QAbstractItemModel>

/**
 * An item model over a tree of HierarchyItems, built whole by the subclass's
 * constructor; its structure never changes afterwards.
 *
 * Index convention: a valid index carries, as its internal pointer, the item
 * that owns the row (the parent of the item shown); the item shown is that
 * owner's child at the index's row. The invalid index stands for the root.
 *
 * A subclass provides columnCount() and data(); rowCount(), index() and
 * parent() follow the tree.
 *
 * \code
 * class Tree : public HierarchyModel
 * {
 * public:
 *     explicit Tree(QObject *parent) : HierarchyModel(parent)
 *     {
 *         HierarchyItem *root = indexToItem(QModelIndex());
 *         root->childrens().append(HierarchyItem::createItem(root));
 *     }
 *     int columnCount(const QModelIndex &) const override { return 1; }
 *     QVariant data(const QModelIndex &, int) const override { return {}; }
 * };
 * \endcode
 */
class VARNELMAC_EXPORT HierarchyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    /**
     * The root item is createItem(nullptr); a subclass constructor finds it
     * in place (indexToItem() of the invalid index) and fills it.
     */
    explicit HierarchyModel(QObject *parent,
                            HierarchyItem *(*createItem)(HierarchyItem *) = &HierarchyItem::createItem);
    /** Deletes the tree. */
    ~HierarchyModel() override;

    /**
     * Column 0 index of the item; invalid for the root or an item missing
     * from its parent's child list.
     */
    QModelIndex itemToIndex(HierarchyItem *item) const;
    /** The root for an invalid index. A valid index must still be current. */
    HierarchyItem *indexToItem(const QModelIndex &index) const;

    /** The index of the child at \a row of \a parent's item; invalid outside its rows or columns. */
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    /** The index of the item that owns \a index's row; invalid for a top-level row. */
    QModelIndex parent(const QModelIndex &index) const override;
    /** The children of \a parent's item; a parent without columns has no rows, whatever its item holds. */
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

private:
    Q_DISABLE_COPY(HierarchyModel)

    HierarchyItem *(*m_createItem)(HierarchyItem *);
    HierarchyItem *m_root;
};

#endif
