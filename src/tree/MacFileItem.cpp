// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacFileItem.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
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

// An inode number as an id; one that does not fit the id's type (on a
// system whose long is narrower than its inode numbers) is reported as 0, as
// for an entry that cannot be read, rather than cut to another number.
template<typename Inode>
unsigned long idOf(Inode inode)
{
    return static_cast<unsigned long long>(inode) <= ULONG_MAX ? static_cast<unsigned long>(inode) : 0UL;
}

// A directory by its device and inode number.
struct DirKey {
    dev_t dev;
    ino_t ino;
    bool operator==(const DirKey &other) const { return dev == other.dev && ino == other.ino; }
};

inline size_t qHash(const DirKey &key, size_t seed = 0)
{
    return ::qHash(quint64(key.ino), seed) ^ ::qHash(quint64(key.dev), seed);
}

// Where a regular file's inode number may be taken from its directory entry
// instead of from lstat. On the file systems named below the two agree for
// every entry that is not a mount point, so the directories holding a mount
// point are read the long way: known by device and inode, however they are
// reached, and with them every directory of a device where some directory
// holding a mount point could not be looked at.
struct InodeShortcut {
    bool usable = false;
    QSet<DirKey> dirsHoldingMounts;
    QSet<quint64> devicesUnsure;

    bool appliesTo(int fd, const struct stat &dir) const
    {
        if (!usable || dirsHoldingMounts.contains(DirKey{dir.st_dev, dir.st_ino})
            || devicesUnsure.contains(quint64(dir.st_dev)))
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
    struct Mount {
        QByteArray id;
        QByteArray parentId;
        QByteArray point;
    };
    QList<Mount> mounts;
    QHash<QByteArray, quint64> devices; // mount id -> its device
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        const QList<QByteArray> majorMinor = fields.at(2).split(':');
        bool majorOk = false;
        bool minorOk = false;
        const unsigned major = majorMinor.value(0).toUInt(&majorOk);
        const unsigned minor = majorMinor.value(1).toUInt(&minorOk);
        QByteArray point = unescapeMountPoint(fields.at(4));
        const int slash = point.lastIndexOf('/');
        if (slash < 0 || !majorOk || !minorOk)
            return shortcut;
        // The directory that holds the mount point; the file system's root
        // for a mount on a top-level directory, none for the root's own.
        if (point == "/")
            point.clear();
        else
            point.truncate(slash == 0 ? 1 : slash);
        devices.insert(fields.at(0), quint64(makedev(major, minor)));
        mounts.append(Mount{fields.at(0), fields.at(1), point});
    }
    for (const Mount &mount : mounts) {
        if (mount.point.isEmpty())
            continue;
        struct stat st;
        if (::stat(mount.point.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            shortcut.dirsHoldingMounts.insert(DirKey{st.st_dev, st.st_ino});
            continue;
        }
        // Out of this process's sight; should the walk come upon it by
        // another way, every directory of its device is read the long way.
        const auto device = devices.constFind(mount.parentId);
        if (device == devices.constEnd())
            return shortcut;
        shortcut.devicesUnsure.insert(*device);
    }
    shortcut.usable = !mounts.isEmpty();
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
// self is the directory's own status, searchable whether it could be had
// through the directory (which takes search permission) or only from fd.
void readDirectory(int fd, const struct stat &self, bool searchable, const InodeShortcut &shortcut,
                   Listing &listing)
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
    const bool entryInodes = searchable && shortcut.appliesTo(fd, self);
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
            listing.files.push_back(Entry{int(listing.names.size()), length, idOf(ent->d_ino),
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
        const Entry entry{int(listing.names.size()), length, statted ? idOf(st.st_ino) : 0UL,
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

// The walk holds the descriptors of the directories down to this depth and
// of the last few directories above the one it is in; any other directory it
// opens again by name when it has more subdirectories to enter, so that a
// deep tree cannot run the process out of descriptors.
constexpr std::size_t HeldAtTop = 64;
constexpr std::size_t HeldAbove = 32;

constexpr int OpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW;

// A directory the walk is in, from the top down to the current one.
struct Frame {
    MacFileItem *item;
    Listing listing;
    std::size_t nextDir = 0; // of listing.dirs, and of item's children
    int fd = -1; // -1 when given up
    dev_t dev = 0;
    ino_t ino = 0;
    bool lost = false; // could not be opened again

    const char *enteredName() const { return listing.nameOf(listing.dirs.at(nextDir - 1)); }
};

// Lists the directory open at fd into a new frame for item and gives item
// its children: subdirectories first, then files, each group sorted. Takes
// over fd.
void enter(std::vector<Frame> &stack, MacFileItem *item, int fd, const InodeShortcut &shortcut)
{
    stack.emplace_back();
    Frame &frame = stack.back();
    frame.item = item;
    frame.fd = fd;
    struct stat self;
    const bool searchable = ::fstatat(fd, ".", &self, AT_SYMLINK_NOFOLLOW) == 0;
    if (!searchable && ::fstat(fd, &self) != 0) {
        ::close(fd);
        frame.fd = -1;
        frame.lost = true;
        return;
    }
    frame.dev = self.st_dev;
    frame.ino = self.st_ino;
    Listing &listing = frame.listing;
    readDirectory(fd, self, searchable, shortcut, listing);
    sortByName(listing, listing.dirs);
    sortByName(listing, listing.files);

    QList<HierarchyItem *> &children = item->childrens();
    children.reserve(int(listing.dirs.size() + listing.files.size()));
    for (const std::vector<Entry> *group : {&listing.dirs, &listing.files}) {
        for (const Entry &entry : *group) {
            auto *child = new MacFileItem(item);
            child->name = decodeName(listing.nameOf(entry), entry.nameLength, entry.ascii);
            child->id = entry.id;
            children.append(child);
        }
    }
    // Only the subdirectories' names are needed further on.
    listing.files = std::vector<Entry>();
}

// The descriptor of the directory at stack[depth], opened again when it was
// given up: by name from the nearest directory above it that is still held,
// never through a directory below it (which might not be searchable, or
// have been moved away), links not followed, and each step checked against
// the device and inode seen on the way down. -1 when that fails.
int descriptorAt(std::vector<Frame> &stack, std::size_t depth)
{
    Frame &target = stack[depth];
    if (target.fd >= 0 || target.lost)
        return target.fd;
    std::size_t held = depth;
    while (held > 0 && stack[held].fd < 0)
        --held;
    int fd = stack[held].fd;
    if (fd < 0) {
        target.lost = true;
        return -1;
    }
    for (std::size_t level = held + 1; level <= depth; ++level) {
        Frame &frame = stack[level];
        const int next = ::openat(fd, stack[level - 1].enteredName(), OpenFlags);
        if (level - 1 > held && stack[level - 1].fd != fd)
            ::close(fd);
        struct stat st;
        if (next < 0 || ::fstat(next, &st) != 0 || st.st_dev != frame.dev || st.st_ino != frame.ino) {
            if (next >= 0)
                ::close(next);
            target.lost = true;
            return -1;
        }
        // The levels just above the target are kept, as the walk comes
        // back through them next.
        if (level + HeldAbove > depth)
            frame.fd = next;
        fd = next;
    }
    return target.fd;
}

void walk(MacFileItem *top, int topFd, const InodeShortcut &shortcut)
{
    std::vector<Frame> stack;
    enter(stack, top, topFd, shortcut);
    while (!stack.empty()) {
        const std::size_t depth = stack.size() - 1;
        Frame &frame = stack.back();
        if (frame.nextDir >= frame.listing.dirs.size()) {
            if (frame.fd >= 0)
                ::close(frame.fd);
            stack.pop_back();
            continue;
        }
        auto *child = static_cast<MacFileItem *>(frame.item->childrens().at(int(frame.nextDir)));
        ++frame.nextDir;
        // A directory that cannot be entered is a leaf; its siblings are
        // not touched by that. Seen as a directory, not a link; should it
        // have been swapped for a link since, it is not entered.
        const int fd = descriptorAt(stack, depth);
        const int childFd = fd >= 0 ? ::openat(fd, frame.enteredName(), OpenFlags) : -1;
        if (childFd < 0)
            continue;
        // The descriptor furthest up the recent ones is given up.
        if (depth >= HeldAtTop + HeldAbove) {
            Frame &far = stack[depth - HeldAbove];
            if (far.fd >= 0) {
                ::close(far.fd);
                far.fd = -1;
            }
        }
        enter(stack, child, childFd, shortcut);
    }
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
    return idOf(st.st_ino);
}

bool MacFileItem::load(const QString &path, const QString &name)
{
    this->name = name;
    QByteArray dirPath = QFile::encodeName(QDir(path).absolutePath());
    if (dirPath.endsWith('/'))
        dirPath.chop(1);
    // The top may be reached through a link; nothing below it is.
    const int fd = ::open(dirPath.isEmpty() ? "/" : dirPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    walk(this, fd, readMountTable());
    return true;
}

} // namespace VarnelQt5
