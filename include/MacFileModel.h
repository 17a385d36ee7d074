#ifndef VARNELQT5_MACFILEMODEL_H
#define VARNELQT5_MACFILEMODEL_H

#include "HierarchyModel.h"
#include "MacFileItem.h"
#include "varnelmacqt5_export.h"

#include <QList>
#include <QString>

namespace VarnelQt5 {

// A directory tree, read once in the constructor, shown as check boxes.
// Column 0 is the name with its check box, column 1 is empty, column 2 is
// the inode number. Ticking an item ticks its subtree, and a directory whose
// last unticked child is ticked becomes ticked; unticking an item unticks
// its subtree and every ticked ancestor.
class VARNELMACQT5_EXPORT MacFileModel : public HierarchyModel
{
    Q_OBJECT

public:
    // The factory must create MacFileItems (or items derived from them).
    MacFileModel(const QString &path, QObject *parent,
                 HierarchyItem *(*createItem)(HierarchyItem *) = &MacFileItem::createItem);
    ~MacFileModel() override;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Qt::CheckStateRole inverts the flag whatever the value (and the
    // subtree and ancestors follow); Qt::EditRole sets it to value.toBool()
    // and, when cleared, clears the ticked ancestors only.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The ids of the checked entries, depth first in pre-order.
    QList<unsigned long> checkedIds() const;

private:
    Q_DISABLE_COPY(MacFileModel)

    void invertDifferingChildren(MacFileItem *item, bool checked);

    QString path;
};

} // namespace VarnelQt5

#endif
