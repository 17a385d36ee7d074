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

QString unreadableDirectory(int error)
{
    return QStringLiteral("cannot read the directory: %1").arg(PathReason::system(error).text());
}

} // namespace

// The directories on the way down, the deepest few of them open; whatever
// is open when the walk ends is closed with it.
class TreeWalk::Descent
{
public:
    explicit Descent(const Report &report) : report(report) {}
    ~Descent()
    {
        for (Level &level : levels) {
            if (level.fd >= 0)
                ::close(level.fd);
        }
    }
    Descent(const Descent &) = delete;
    Descent &operator=(const Descent &) = delete;

    bool done() const { return levels.empty(); }
    Level &deepest() { return levels.back(); }

    // Goes down into the directory open at fd, which it then owns. What
    // could be listed is still done when the listing fails.
    void enter(int fd, const struct stat &what, const QByteArray &shown)
    {
        Level level;
        level.fd = fd;
        level.device = what.st_dev;
        level.inode = what.st_ino;
        level.path = shown;
        if (!listNames(fd, &level.names))
            report(shown, unreadableDirectory(errno), true);
        std::sort(level.names.begin(), level.names.end());
        if (levels.size() - firstOpen >= openLevels) {
            ::close(levels[firstOpen].fd);
            levels[firstOpen].fd = -1;
            ++firstOpen;
        }
        levels.push_back(std::move(level));
    }

    // Leaves the deepest directory. A directory closed on the way down is
    // opened again from the one left, and must be the very one it was;
    // false, said, when it is not.
    bool leave()
    {
        const std::size_t top = levels.size() - 1;
        if (top > 0 && levels[top - 1].fd < 0) {
            Level &parent = levels[top - 1];
            const int up = ::openat(levels[top].fd, "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            struct stat again;
            if (up < 0 || ::fstat(up, &again) != 0 || again.st_dev != parent.device || again.st_ino != parent.inode) {
                report(parent.path, QStringLiteral("cannot go on in the directory: it was moved or replaced meanwhile"),
                       true);
                if (up >= 0)
                    ::close(up);
                return false;
            }
            parent.fd = up;
            firstOpen = top - 1;
        }
        ::close(levels[top].fd);
        levels.pop_back();
        return true;
    }

private:
    const Report &report;
    std::vector<Level> levels;
    // The levels from this one to the deepest are open, those above it not.
    std::size_t firstOpen = 0;
};

bool TreeWalk::below(const QByteArray &path)
{
    // The named directory itself may be reached through a link.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        report(path, unreadableDirectory(errno), true);
        if (fd >= 0)
            ::close(fd);
        return true;
    }
    device = status.st_dev;

    Descent descent(report);
    descent.enter(fd, status, path);
    while (!descent.done()) {
        Level &deepest = descent.deepest();
        if (deepest.next == deepest.names.size()) {
            if (!descent.leave())
                return true;
        } else if (!visitNext(descent)) {
            return false;
        }
    }
    return true;
}

bool TreeWalk::visitNext(Descent &descent)
{
    Level &deepest = descent.deepest();
    const QByteArray &name = deepest.names[deepest.next++];
    const QByteArray child = (deepest.path.endsWith('/') ? deepest.path : deepest.path + '/') + name;
    // Opened as it is, never followed: the label goes onto this object and
    // no other, even should a link be put in its place.
    const int object = ::openat(deepest.fd, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    struct stat what;
    if (object < 0 || ::fstat(object, &what) != 0) {
        report(child, QStringLiteral("cannot look at it: %1").arg(PathReason::system(errno).text()), true);
        if (object >= 0)
            ::close(object);
        return true;
    }
    bool going = true;
    int inside = -1;
    int error = 0;
    if (const char *kind = unlabellable(what.st_mode)) {
        report(child, QStringLiteral("skipped: %1").arg(QLatin1String(kind)), false);
    } else if (oneFileSystem && what.st_dev != device) {
        report(child, QStringLiteral("skipped: on another file system"), false);
    } else {
        const QByteArray labelPath = "/proc/self/fd/" + QByteArray::number(object);
        const bool directory = S_ISDIR(what.st_mode);
        going = visit(child, labelPath.constData(), directory);
        if (going && directory) {
            inside = ::openat(object, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            error = errno;
        }
    }
    ::close(object);
    if (inside >= 0)
        descent.enter(inside, what, child); // child is a copy: entering moves the levels
    else if (error != 0)
        report(child, unreadableDirectory(error), true);
    return going;
}
