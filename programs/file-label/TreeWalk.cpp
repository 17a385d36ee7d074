// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "TreeWalk.h"

#include "PathReason.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What an object is that cannot carry a label; null for one that can.
const char *unlabellable(mode_t mode)
{
    if (S_ISREG(mode) || S_ISDIR(mode))
        return nullptr;
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISFIFO(mode))
        return "a fifo";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "neither a file nor a directory";
}

// The names in the directory open at fd, but for itself and its parent;
// false with errno when it cannot be read whole.
bool listNames(int fd, std::vector<QByteArray> *names)
{
    const int listed = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR *dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!dir) {
        const int error = errno;
        if (listed >= 0)
            ::close(listed);
        errno = error;
        return false;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        names->emplace_back(name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return error == 0;
}

} // namespace

TreeWalk::TreeWalk(bool oneFileSystem, Visit visit, Report report)
    : oneFileSystem(oneFileSystem)
    , visit(std::move(visit))
    , report(std::move(report))
{
}

namespace {

// How many directories of the way down stay open at most; the others are
// opened again through ".." on the way back up, so that the depth of a tree
// is not bounded by the open-file limit.
constexpr std::size_t openLevels = 8;

// A directory on the way down: what it is, and the names in it still to do.
struct Level {
    int fd = -1; // -1 while closed to spare descriptors
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray path;
    std::vector<QByteArray> names;
    std::size_t next = 0;
};

} // namespace

bool TreeWalk::below(const QByteArray &path)
{
    // The named directory itself may be reached through a link.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        report(path, QStringLiteral("cannot read the directory: %1").arg(PathReason::system(errno).text()), true);
        if (fd >= 0)
            ::close(fd);
        return true;
    }
    device = status.st_dev;

    std::vector<Level> levels;
    // The levels from this one to the deepest are open, those above it not.
    std::size_t firstOpen = 0;
    const auto enter = [&](int opened, const struct stat &what, const QByteArray &shown) {
        Level level;
        level.fd = opened;
        level.device = what.st_dev;
        level.inode = what.st_ino;
        level.path = shown;
        if (!listNames(opened, &level.names)) {
            report(shown, QStringLiteral("cannot read the directory: %1").arg(PathReason::system(errno).text()), true);
            // What could be listed is still done.
        }
        std::sort(level.names.begin(), level.names.end());
        if (levels.size() - firstOpen >= openLevels) {
            ::close(levels[firstOpen].fd);
            levels[firstOpen].fd = -1;
            ++firstOpen;
        }
        levels.push_back(std::move(level));
    };
    const auto closeAll = [&] {
        for (Level &level : levels) {
            if (level.fd >= 0)
                ::close(level.fd);
        }
    };
    enter(fd, status, path);

    while (!levels.empty()) {
        const std::size_t top = levels.size() - 1;
        if (levels[top].next == levels[top].names.size()) {
            // Back up: a directory closed on the way down is opened again
            // from the one below it, and must be the very one left.
            if (top > 0 && levels[top - 1].fd < 0) {
                Level &parent = levels[top - 1];
                const int up = ::openat(levels[top].fd, "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                struct stat again;
                if (up < 0 || ::fstat(up, &again) != 0 || again.st_dev != parent.device
                    || again.st_ino != parent.inode) {
                    report(parent.path,
                           QStringLiteral("cannot go on in the directory: it was moved or replaced meanwhile"), true);
                    if (up >= 0)
                        ::close(up);
                    closeAll();
                    return true;
                }
                parent.fd = up;
                firstOpen = top - 1;
            }
            ::close(levels[top].fd);
            levels.pop_back();
            continue;
        }
        const QByteArray &name = levels[top].names[levels[top].next++];
        const QByteArray &prefix = levels[top].path;
        const QByteArray child = (prefix.endsWith('/') ? prefix : prefix + '/') + name;
        // Opened as it is, never followed: the label goes onto this object
        // and no other, even should a link be put in its place.
        int object = ::openat(levels[top].fd, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        struct stat what;
        if (object < 0 || ::fstat(object, &what) != 0) {
            report(child, QStringLiteral("cannot look at it: %1").arg(PathReason::system(errno).text()), true);
            if (object >= 0)
                ::close(object);
            continue;
        }
        bool going = true;
        if (const char *kind = unlabellable(what.st_mode)) {
            report(child, QStringLiteral("skipped: %1").arg(QLatin1String(kind)), false);
        } else if (oneFileSystem && what.st_dev != device) {
            report(child, QStringLiteral("skipped: on another file system"), false);
        } else {
            const QByteArray labelPath = "/proc/self/fd/" + QByteArray::number(object);
            const bool directory = S_ISDIR(what.st_mode);
            going = visit(child, labelPath.constData(), directory);
            if (going && directory) {
                const int inside = ::openat(object, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                const int error = errno;
                ::close(object);
                object = -1;
                if (inside < 0)
                    report(child,
                           QStringLiteral("cannot read the directory: %1").arg(PathReason::system(error).text()),
                           true);
                else
                    enter(inside, what, child);
            }
        }
        if (object >= 0)
            ::close(object);
        if (!going) {
            closeAll();
            return false;
        }
    }
    return true;
}
