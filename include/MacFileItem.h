#ifndef VARNELQT5_MACFILEITEM_H
#define VARNELQT5_MACFILEITEM_H

#include "HierarchyItem.h"
#include "varnelmacqt5_export.h"

#include <QString>

namespace VarnelQt5 {

// One entry of a directory tree: its name, its inode number and whether the
// person ticked it.
class VARNELMACQT5_EXPORT MacFileItem : public HierarchyItem
{
public:
    // Empty name, id 0, unchecked; not appended to the parent.
    explicit MacFileItem(HierarchyItem *parent);
    ~MacFileItem() override;

    // A new MacFileItem with that parent: the item factory of MacFileModel.
    static HierarchyItem *createItem(HierarchyItem *parent);
    // The inode number of path itself (links are not followed); 0 when it
    // cannot be read.
    static unsigned long getId(const char *path);

    // Names the item and fills its subtree from the directory path:
    // subdirectories first, then regular files, each group in the directory
    // listing's name order ignoring case. Hidden entries, symbolic links and
    // special files are left out; an unreadable directory gives no children.
    // Always true.
    virtual bool load(const QString &path, const QString &name);

    // Read and written directly by MacFileModel.
    QString name;
    unsigned long id;
    bool checked;
};

} // namespace VarnelQt5

#endif
