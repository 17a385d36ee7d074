// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "HierarchyItem.h"

#include "PreOrder_p.h"

#include <utility>
#include <vector>

namespace {

// Nested destructors down to this depth delete their children themselves;
// below it they hand their children to the destructor at this depth, whose
// loop deletes them in the same order, so that a deep tree is freed
// without a stack frame per level.
constexpr int NestedDeletions = 256;

struct Deletion {
    int depth = 0;
    // The child lists handed over, most recent last, each deleted from its
    // front.
    std::vector<QList<HierarchyItem *>> *handedOver = nullptr;
};

thread_local Deletion deletion;

void deleteHandedOver(std::vector<QList<HierarchyItem *>> &handedOver)
{
    while (!handedOver.empty()) {
        QList<HierarchyItem *> &list = handedOver.back();
        if (list.isEmpty()) {
            handedOver.pop_back();
            continue;
        }
        HierarchyItem *child = list.takeFirst();
        // May hand over a list of its own, which then goes first.
        delete child;
    }
}

} // namespace

HierarchyItem::HierarchyItem(HierarchyItem *parent)
    : m_parent(parent)
{
}

HierarchyItem::~HierarchyItem()
{
    if (m_children.isEmpty())
        return;
    if (deletion.depth >= NestedDeletions && deletion.handedOver) {
        deletion.handedOver->push_back(std::move(m_children));
        return;
    }
    std::vector<QList<HierarchyItem *>> handedOver;
    std::vector<QList<HierarchyItem *>> *outer = deletion.handedOver;
    ++deletion.depth;
    deletion.handedOver = &handedOver;
    // One child at a time from the front, so that each subtree is gone
    // before its next sibling is touched.
    while (!m_children.isEmpty()) {
        delete m_children.first();
        m_children.removeFirst();
        deleteHandedOver(handedOver);
    }
    deletion.handedOver = outer;
    --deletion.depth;
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
    forEachDescendant(this, [&all](HierarchyItem *child) { all.append(child); });
    return all;
}
