// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef HIERARCHYITEM_H
#define HIERARCHYITEM_H

#include "varnelmac_export.h"

#include <QList>

/**
 * A node of a tree that owns its children. It carries no data of its own;
 * subclasses add the payload.
 *
 * Creating an item only records its parent: whoever creates a child appends
 * it to the parent's child list. Deleting an item deletes its subtree.
 *
 * \code
 * auto *root = new HierarchyItem(nullptr);
 * root->childrens().append(HierarchyItem::createItem(root));
 * Q_ASSERT(root->childCount() == 1 && !root->isLeaf());
 * delete root; // and its child
 * \endcode
 */
class VARNELMAC_EXPORT HierarchyItem
{
public:
    /**
     * Records the parent only: whoever creates a child appends it to the
     * parent's child list.
     */
    explicit HierarchyItem(HierarchyItem *parent);
    /**
     * Deletes the subtree, children in list order, each subtree before its
     * next sibling. The parent's child list is left alone. However deep the
     * tree, this takes no stack frame per level: far down a deep tree an
     * item's children are deleted just after the item itself rather than
     * within its destructor.
     */
    virtual ~HierarchyItem();

    /** A plain item with that parent; usable as a model's item factory. */
    static HierarchyItem *createItem(HierarchyItem *parent);

    /** The parent; null for a root. */
    HierarchyItem *parent() const;
    /** Replaces the parent pointer only; no child list is touched. */
    void setParent(HierarchyItem *parent);
    /** Whether the item has no parent. */
    bool isRoot() const;
    /** Whether the item has no children. */
    bool isLeaf() const;
    /** The number of children. */
    int childCount() const;
    /** The children, in order. */
    const QList<HierarchyItem *> &childrens() const;
    /** The children, in order, for appending and rearranging them; the item deletes whatever the list holds. */
    QList<HierarchyItem *> &childrens();
    /** Every descendant, depth first in pre-order, this item excluded. */
    QList<HierarchyItem *> childrensAll() const;

private:
    Q_DISABLE_COPY(HierarchyItem)

    HierarchyItem *m_parent;
    QList<HierarchyItem *> m_children;
};

#endif
