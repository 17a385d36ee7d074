// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "HierarchyItem.h"

namespace {

void appendDescendants(const HierarchyItem *item, QList<HierarchyItem *> &out)
{
    for (HierarchyItem *child : item->childrens()) {
        out.append(child);
        appendDescendants(child, out);
    }
}

} // namespace

HierarchyItem::HierarchyItem(HierarchyItem *parent)
    : m_parent(parent)
{
}

HierarchyItem::~HierarchyItem()
{
    // One child at a time from the front, so that each subtree is gone
    // before its next sibling is touched.
    while (!m_children.isEmpty()) {
        delete m_children.first();
        m_children.removeFirst();
    }
}

HierarchyItem *HierarchyItem::createItem(HierarchyItem *parent)
{
    return new HierarchyItem(parent);
}

HierarchyItem *HierarchyItem::parent() const
{
    return m_parent;
}

void HierarchyItem::setParent(HierarchyItem *parent)
{
    m_parent = parent;
}

bool HierarchyItem::isRoot() const
{
    return m_parent == nullptr;
}

bool HierarchyItem::isLeaf() const
{
    return m_children.isEmpty();
}

int HierarchyItem::childCount() const
{
    return m_children.size();
}

const QList<HierarchyItem *> &HierarchyItem::childrens() const
{
    return m_children;
}

QList<HierarchyItem *> &HierarchyItem::childrens()
{
    return m_children;
}

QList<HierarchyItem *> HierarchyItem::childrensAll() const
{
    QList<HierarchyItem *> all;
    appendDescendants(this, all);
    return all;
}
