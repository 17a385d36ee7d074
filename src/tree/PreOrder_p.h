// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PREORDER_P_H
#define VARNEL_PREORDER_P_H

#include "HierarchyItem.h"

#include <utility>
#include <vector>

// Visits every descendant of item depth first in pre-order, with a stack of
// its own instead of the call stack, so that no depth of tree can exhaust
// the thread's stack.
template<typename Visit>
void forEachDescendant(const HierarchyItem *item, Visit visit)
{
    std::vector<std::pair<const HierarchyItem *, int>> pending{{item, 0}};
    while (!pending.empty()) {
        auto &top = pending.back();
        const QList<HierarchyItem *> &children = top.first->childrens();
        if (top.second >= children.size()) {
            pending.pop_back();
            continue;
        }
        HierarchyItem *child = children.at(top.second++);
        visit(child);
        pending.emplace_back(child, 0);
    }
}

#endif
