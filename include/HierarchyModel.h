#ifndef HIERARCHYMODEL_H
#define HIERARCHYMODEL_H

#include "HierarchyItem.h"
#include "varnelmacqt5_export.h"

#include <QAbstractItemModel>

// An item model over a tree of HierarchyItems, built whole by the subclass's
// constructor; its structure never changes afterwards.
//
// Index convention: a valid index carries, as its internal pointer, the item
// that owns the row (the parent of the item shown); the item shown is that
// owner's child at the index's row. The invalid index stands for the root.
class VARNELMACQT5_EXPORT HierarchyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    // The root item is createItem(nullptr); a subclass constructor finds it
    // in place and fills it.
    explicit HierarchyModel(QObject *parent,
                            HierarchyItem *(*createItem)(HierarchyItem *) = &HierarchyItem::createItem);
    ~HierarchyModel() override;

    // Column 0 index of the item; invalid for the root or an item missing
    // from its parent's child list.
    QModelIndex itemToIndex(HierarchyItem *item) const;
    // The root for an invalid index. A valid index must still be current.
    HierarchyItem *indexToItem(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    // A parent without columns has no rows, whatever its item holds.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

private:
    Q_DISABLE_COPY(HierarchyModel)

    HierarchyItem *(*m_createItem)(HierarchyItem *);
    HierarchyItem *m_root;
};

#endif
