// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacFileItem.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <vector>

#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace VarnelQt5 {

namespace {

// One listed entry of a directory; its name lives in the listing's buffer.
struct Entry {
    int nameOffset;
    int nameLength;
    unsigned long id;
    bool ascii;
};

// A directory's subdirectories and regular files, each in the order the
// directory hands them out, with the names as raw bytes.
struct Listing {
    QByteArray names;
    std::vector<Entry> dirs;
    std::vector<Entry> files;

    const char *nameOf(const Entry &entry) const { return names.constData() + entry.nameOffset; }
};

// Where a regular file's inode number may be taken from its directory entry
// instead of from lstat. On the file systems named below the two agree for
// every entry that is not a mount point, so the directories holding a mount
// point are read the long way.
struct InodeShortcut {
    bool usable = false;
    QSet<QByteArray> dirsHoldingMounts;

    bool appliesTo(int fd, const QByteArray &canonicalDir) const
    {
        if (!usable || dirsHoldingMounts.contains(canonicalDir))
            return false;
        struct statfs fs;
        if (::fstatfs(fd, &fs) != 0)
            return false;
        return fs.f_type == EXT4_SUPER_MAGIC || fs.f_type == XFS_SUPER_MAGIC || fs.f_type == TMPFS_MAGIC;
    }
};

// Mount points as the mount table writes them: octal escapes for blanks and
// backslashes.
QByteArray unescapeMountPoint(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && field.at(i + 1) >= '0' && field.at(i + 1) <= '3') {
            out.append(char(field.mid(i + 1, 3).toInt(nullptr, 8)));
            i += 3;
        } else {
            out.append(field.at(i));
        }
    }
    return out;
}

// The shortcut stays off when the mount table cannot be read.
InodeShortcut readMountTable()
{
    InodeShortcut shortcut;
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return shortcut;
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        QByteArray mountPoint = unescapeMountPoint(fields.at(4));
        const int slash = mountPoint.lastIndexOf('/');
        if (slash < 0)
            return shortcut;
        mountPoint.truncate(slash);
        shortcut.dirsHoldingMounts.insert(mountPoint);
    }
    shortcut.usable = !shortcut.dirsHoldingMounts.isEmpty();
    return shortcut;
}

bool isAscii(const char *name, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return false;
    }
    return true;
}

QString decodeName(const char *name, int length, bool ascii)
{
    if (ascii)
        return QString::fromLatin1(name, length);
    return QFile::decodeName(QByteArray::fromRawData(name, length));
}

// Reads the directory open at fd; fd stays open. The inode number comes
// from the entry itself, not the name decoded and encoded again, so names
// that are invalid in the local encoding keep their ids.
void readDirectory(int fd, const QByteArray &canonicalDir, const InodeShortcut &shortcut, Listing &listing)
{
    const int listed = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (listed < 0)
        return;
    DIR *dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return;
    }
    // The entry's own inode number stands in for lstat only where lstat of
    // an entry can succeed at all: a directory that can be read but not
    // searched lists names whose lstat fails.
    struct stat self;
    const bool entryInodes = shortcut.appliesTo(fd, canonicalDir)
                             && ::fstatat(fd, ".", &self, AT_SYMLINK_NOFOLLOW) == 0;
    while (const dirent *ent = ::readdir(dir)) {
        const char *name = ent->d_name;
        // Hidden entries, and the directory itself and its parent.
        if (name[0] == '.')
            continue;
        unsigned char type = ent->d_type;
        if (type != DT_DIR && type != DT_REG && type != DT_UNKNOWN)
            continue;
        const int length = int(std::strlen(name));
        if (type == DT_REG && entryInodes) {
            listing.files.push_back(Entry{int(listing.names.size()), length, static_cast<unsigned long>(ent->d_ino),
                                          isAscii(name, length)});
            listing.names.append(name, length + 1);
            continue;
        }
        struct stat st;
        const bool statted = ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (type == DT_UNKNOWN) {
            if (!statted)
                continue;
            if (S_ISDIR(st.st_mode))
                type = DT_DIR;
            else if (S_ISREG(st.st_mode))
                type = DT_REG;
            else
                continue;
        }
        const Entry entry{int(listing.names.size()), length, statted ? static_cast<unsigned long>(st.st_ino) : 0UL,
                          isAscii(name, length)};
        listing.names.append(name, length + 1);
        (type == DT_DIR ? listing.dirs : listing.files).push_back(entry);
    }
    ::closedir(dir);
}

// Sorts entries as a directory listing does by default: by name made lower
// case, compared code unit by code unit, with the same sort algorithm so
// that names equal but for case come out in the same order too.
void sortByName(const Listing &listing, std::vector<Entry> &entries)
{
    if (entries.size() < 2)
        return;
    const bool ascii = std::all_of(entries.begin(), entries.end(),
                                   [](const Entry &entry) { return entry.ascii; });
    if (ascii) {
        std::sort(entries.begin(), entries.end(), [&listing](const Entry &a, const Entry &b) {
            const unsigned char *x = reinterpret_cast<const unsigned char *>(listing.nameOf(a));
            const unsigned char *y = reinterpret_cast<const unsigned char *>(listing.nameOf(b));
            for (;; ++x, ++y) {
                const int cx = (*x >= 'A' && *x <= 'Z') ? *x + ('a' - 'A') : *x;
                const int cy = (*y >= 'A' && *y <= 'Z') ? *y + ('a' - 'A') : *y;
                if (cx != cy || cx == 0)
                    return cx < cy;
            }
        });
        return;
    }
    struct Keyed {
        QString key;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const Entry &entry : entries)
        keyed.push_back({decodeName(listing.nameOf(entry), entry.nameLength, entry.ascii).toLower(), entry});
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed &a, const Keyed &b) { return a.key.compare(b.key) < 0; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].entry;
}

// Directories deeper than this give up their descriptor while their
// subdirectories are walked, so that a deep tree cannot run the process out
// of descriptors.
constexpr int HeldDescriptors = 64;

// The directory above the one open at childFd, provided it is still the one
// the walk came from (dev and ino of it in parent); -1 otherwise.
int reopenParent(int childFd, const struct stat &parent)
{
    if (childFd < 0)
        return -1;
    const int fd = ::openat(childFd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == parent.st_dev && st.st_ino == parent.st_ino)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Fills item from the directory open at fd, each subdirectory opened
// relative to its parent, so that no path grows with the depth. Returns the
// directory's descriptor, which the caller closes: fd itself, or the same
// directory opened again; -1 when it could not be opened again.
int fill(MacFileItem *item, int fd, const QByteArray &canonicalDir, const InodeShortcut &shortcut, int depth)
{
    Listing listing;
    readDirectory(fd, canonicalDir, shortcut, listing);
    sortByName(listing, listing.dirs);
    sortByName(listing, listing.files);

    struct stat self;
    const bool release = depth >= HeldDescriptors && !listing.dirs.empty() && ::fstat(fd, &self) == 0;

    QList<HierarchyItem *> &children = item->childrens();
    children.reserve(int(listing.dirs.size() + listing.files.size()));
    for (const Entry &entry : listing.dirs) {
        auto *child = new MacFileItem(item);
        child->name = decodeName(listing.nameOf(entry), entry.nameLength, entry.ascii);
        // Seen as a directory, not a link; should it have been swapped for a
        // link since, it is not entered.
        int childFd = fd >= 0 ? ::openat(fd, listing.nameOf(entry), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW)
                              : -1;
        if (childFd >= 0) {
            if (release) {
                ::close(fd);
                fd = -1;
            }
            // The subtree is complete before the child joins its parent. No
            // link is followed, so the canonical path grows by the name.
            const QByteArray name = QByteArray::fromRawData(listing.nameOf(entry), entry.nameLength);
            childFd = fill(child, childFd, canonicalDir + '/' + name, shortcut, depth + 1);
            if (release)
                fd = reopenParent(childFd, self);
            if (childFd >= 0)
                ::close(childFd);
        }
        child->id = entry.id;
        children.append(child);
    }
    for (const Entry &entry : listing.files) {
        auto *child = new MacFileItem(item);
        child->name = decodeName(listing.nameOf(entry), entry.nameLength, entry.ascii);
        child->id = entry.id;
        children.append(child);
    }
    return fd;
}

} // namespace

MacFileItem::MacFileItem(HierarchyItem *parent)
    : HierarchyItem(parent)
    , id(0)
    , checked(false)
{
}

MacFileItem::~MacFileItem() = default;

HierarchyItem *MacFileItem::createItem(HierarchyItem *parent)
{
    return new MacFileItem(parent);
}

unsigned long MacFileItem::getId(const char *path)
{
    struct stat st;
    if (!path || ::lstat(path, &st) != 0)
        return 0;
    return static_cast<unsigned long>(st.st_ino);
}

bool MacFileItem::load(const QString &path, const QString &name)
{
    this->name = name;
    QByteArray dirPath = QFile::encodeName(QDir(path).absolutePath());
    if (dirPath.endsWith('/'))
        dirPath.chop(1);
    // Paths in the mount table are canonical, with the file system's root
    // as the empty path like dirPath.
    InodeShortcut shortcut;
    QByteArray canonicalDir;
    if (char *resolved = ::realpath(dirPath.isEmpty() ? "/" : dirPath.constData(), nullptr)) {
        canonicalDir = resolved;
        std::free(resolved);
        if (canonicalDir == "/")
            canonicalDir.clear();
        shortcut = readMountTable();
    }
    // The top may be reached through a link; nothing below it is.
    const int fd = ::open(dirPath.isEmpty() ? "/" : dirPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const int done = fill(this, fd, canonicalDir, shortcut, 0);
    if (done >= 0)
        ::close(done);
    return true;
}

} // namespace VarnelQt5
