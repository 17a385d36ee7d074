// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "TreeWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

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

bool TreeWalk::below(const QByteArray &path)
{
    // The named directory itself may be reached through a link.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        report(path, QStringLiteral("cannot read the directory: %1").arg(errorText(errno)), true);
        if (fd >= 0)
            ::close(fd);
        return true;
    }
    device = status.st_dev;
    const bool going = walk(fd, path);
    ::close(fd);
    return going;
}

bool TreeWalk::walk(int fd, const QByteArray &path)
{
    std::vector<QByteArray> names;
    if (!listNames(fd, &names)) {
        report(path, QStringLiteral("cannot read the directory: %1").arg(errorText(errno)), true);
        // What could be listed is still done.
    }
    std::sort(names.begin(), names.end());
    const QByteArray prefix = path.endsWith('/') ? path : path + '/';
    for (const QByteArray &name : names) {
        const QByteArray child = prefix + name;
        // Opened as it is, never followed: the label goes onto this object
        // and no other, even should a link be put in its place.
        int object = ::openat(fd, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        struct stat status;
        if (object < 0 || ::fstat(object, &status) != 0) {
            report(child, QStringLiteral("cannot look at it: %1").arg(errorText(errno)), true);
            if (object >= 0)
                ::close(object);
            continue;
        }
        bool going = true;
        if (const char *what = unlabellable(status.st_mode)) {
            report(child, QStringLiteral("skipped: %1").arg(QLatin1String(what)), false);
        } else if (oneFileSystem && status.st_dev != device) {
            report(child, QStringLiteral("skipped: on another file system"), false);
        } else {
            const QByteArray labelPath = "/proc/self/fd/" + QByteArray::number(object);
            const bool directory = S_ISDIR(status.st_mode);
            going = visit(child, labelPath.constData(), directory);
            if (going && directory) {
                // One descriptor a level, the one that reads it.
                const int inside = ::openat(object, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                const int error = errno;
                ::close(object);
                object = -1;
                if (inside < 0) {
                    report(child, QStringLiteral("cannot read the directory: %1").arg(errorText(error)), true);
                } else {
                    going = walk(inside, child);
                    ::close(inside);
                }
            }
        }
        if (object >= 0)
            ::close(object);
        if (!going)
            return false;
    }
    return true;
}
