// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACFILEITEM_H
#define VARNELQT5_MACFILEITEM_H

#include "HierarchyItem.h"
#include "varnelmac_export.h"

#include <QString>

namespace VarnelQt5 {

/**
 * One entry of a directory tree: its name, its inode number and whether the
 * person ticked it. MacFileModel builds and shows a tree of them.
 *
 * \code
 * VarnelQt5::MacFileItem root(nullptr);
 * root.load(QStringLiteral("/etc/X11"), QStringLiteral("X11"));
 * for (const HierarchyItem *child : root.childrens())
 *     qDebug() << static_cast<const VarnelQt5::MacFileItem *>(child)->name;
 * \endcode
 */
class VARNELMAC_EXPORT MacFileItem : public HierarchyItem
{
public:
    /** Empty name, id 0, unchecked; not appended to the parent. */
    explicit MacFileItem(HierarchyItem *parent);
    ~MacFileItem() override;

    /** A new MacFileItem with that parent: the item factory of MacFileModel. */
    static HierarchyItem *createItem(HierarchyItem *parent);
    /**
     * The inode number of \a path itself (links are not followed); 0 when it
     * cannot be read, or when it does not fit an unsigned long.
     */
    static unsigned long getId(const char *path);

    /**
     * Names the item and fills its subtree from the directory \a path:
     * subdirectories first, then regular files, each group in the directory
     * listing's name order ignoring case. Hidden entries, symbolic links and
     * special files are left out; an unreadable directory gives no children,
     * and one that cannot be entered is a leaf, its siblings unaffected.
     * There is no depth limit: the walk needs no stack frame per level and
     * memory in proportion to the tree. Always true.
     */
    virtual bool load(const QString &path, const QString &name);

    /** The entry's name in its directory. Read and written directly by MacFileModel. */
    QString name;
    /** The entry's inode number (see getId()). */
    unsigned long id;
    /** Whether the entry is ticked. */
    bool checked;
};

} // namespace VarnelQt5

#endif
