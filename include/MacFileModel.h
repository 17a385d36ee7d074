// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACFILEMODEL_H
#define VARNELQT5_MACFILEMODEL_H

#include "HierarchyModel.h"
#include "MacFileItem.h"
#include "varnelmac_export.h"

#include <QList>
#include <QString>

namespace VarnelQt5 {

/**
 * A directory tree, read once in the constructor, shown as check boxes.
 *
 * Column 0 is the name with its check box, column 1 is empty, column 2 is
 * the inode number. Ticking an item ticks its subtree, and a directory whose
 * last unticked child is ticked becomes ticked; unticking an item unticks
 * its subtree and every ticked ancestor. Every item whose tick changes is
 * announced by its own dataChanged(); the tree's structure never changes.
 *
 * \code
 * auto *roles = new VarnelQt5::MacFileModel(QStringLiteral("/etc/X11/"), this);
 * treeView->setModel(roles);
 * treeView->hideColumn(1);
 * // ... once the person has ticked what they want:
 * const QList<unsigned long> ids = roles->checkedIds();
 * \endcode
 */
class VARNELMAC_EXPORT MacFileModel : public HierarchyModel
{
    Q_OBJECT

public:
    /**
     * Reads the tree under \a path (see MacFileItem::load()). The factory
     * must create MacFileItems (or items derived from them); with any other
     * the tree stays empty.
     */
    MacFileModel(const QString &path, QObject *parent,
                 HierarchyItem *(*createItem)(HierarchyItem *) = &MacFileItem::createItem);
    ~MacFileModel() override;

    /** Three columns under the root and under column 0; none elsewhere. */
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    /** Column 0: the name and check state; column 2: the inode number. */
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /**
     * Column 0 only. Qt::CheckStateRole inverts the flag whatever the value
     * (and the subtree and ancestors follow); Qt::EditRole sets it to
     * value.toBool() and, when cleared, clears the ticked ancestors only;
     * it sets a directory's own flag without its children following.
     */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    /** "Name" over column 0 and "Id" over column 2. */
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /** Column 0 is user-checkable. */
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /**
     * The ids of the checked entries, depth first in pre-order: the inode
     * numbers read when the model was built. The tree is not read again, so
     * an entry replaced since then may have a different number by now, and
     * its old number may belong to another file.
     */
    QList<unsigned long> checkedIds() const;

private:
    Q_DISABLE_COPY(MacFileModel)

    void invertDifferingChildren(MacFileItem *item, bool checked);

    QString path;
};

} // namespace VarnelQt5

#endif
