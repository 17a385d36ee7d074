// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The directory walk of MacFileItem where the file system stands in its way:
// directories that can be read but not searched, and trees deeper than any
// path can name.

#include "MacFileItem.h"
#include "MacFileModel.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <vector>

#include <dirent.h>
#include <dlfcn.h>
#include <malloc.h>

using VarnelQt5::MacFileItem;
using VarnelQt5::MacFileModel;

namespace {

// Moves a directory away the moment the walk lists it, as someone else
// might while the walk is inside it.
struct MoveOnListing {
    bool armed = false;
    bool fired = false;
    dev_t dev = 0;
    ino_t ino = 0;
    QByteArray from;
    QByteArray to;
} moveOnListing;

} // namespace

// Stands in front of the C library's, for the library's walk too.
extern "C" __attribute__((visibility("default"))) DIR *fdopendir(int fd)
{
    using Real = DIR *(*)(int);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fdopendir"));
    struct stat st;
    if (moveOnListing.armed && ::fstat(fd, &st) == 0 && st.st_dev == moveOnListing.dev
        && st.st_ino == moveOnListing.ino) {
        moveOnListing.armed = false;
        moveOnListing.fired = ::rename(moveOnListing.from.constData(), moveOnListing.to.constData()) == 0;
    }
    return real(fd);
}

namespace {

// The children of an item as "name id" lines.
QByteArrayList describe(const HierarchyItem *item)
{
    QByteArrayList lines;
    for (const HierarchyItem *child : item->childrens()) {
        const auto *file = static_cast<const MacFileItem *>(child);
        lines.append(QFile::encodeName(file->name) + ' ' + QByteArray::number(qulonglong(file->id)));
    }
    return lines;
}

unsigned long inodeAt(int dirFd, const char *name)
{
    struct stat st;
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? st.st_ino : 0;
}

// A user id and group id that no account and no group has.
bool unusedIds(uid_t *uid, gid_t *gid)
{
    for (unsigned id = 47000; id < 48000; ++id) {
        if (!::getpwuid(id) && !::getgrgid(id)) {
            *uid = id;
            *gid = id;
            return true;
        }
    }
    return false;
}

// A chain of directories, each holding the next one and a file, with a file
// "leaf" at the bottom; made and removed relative to each directory, since
// its paths may be longer than any path the system accepts.
class DeepTree
{
public:
    DeepTree(const QString &top, int levels, int nameLength)
        : m_top(QFile::encodeName(top))
        , m_dirName(nameLength, 'd')
        , m_fileName(nameLength, 'f')
    {
        int fd = ::open(m_top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 0; fd >= 0 && level < levels; ++level) {
            const int file = ::openat(fd, m_fileName.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (file < 0 || ::close(file) != 0 || ::mkdirat(fd, m_dirName.constData(), 0755) != 0)
                break;
            expected.append({m_dirName + ' ' + QByteArray::number(qulonglong(inodeAt(fd, m_dirName.constData()))),
                             m_fileName + ' ' + QByteArray::number(qulonglong(inodeAt(fd, m_fileName.constData())))});
            const int next = ::openat(fd, m_dirName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
        }
        if (fd >= 0) {
            const int leaf = ::openat(fd, "leaf", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (leaf >= 0 && ::close(leaf) == 0)
                expected.append({"leaf " + QByteArray::number(qulonglong(inodeAt(fd, "leaf")))});
            ::close(fd);
        }
    }

    // Moves each level's directory up to the top before removing the level,
    // so that no path ever grows.
    ~DeepTree()
    {
        const int top = ::open(m_top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (;;) {
            const int fd = ::openat(top, m_dirName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0)
                break;
            ::unlinkat(fd, m_fileName.constData(), 0);
            ::unlinkat(fd, "leaf", 0);
            const bool deeper = ::renameat(fd, m_dirName.constData(), top, "next") == 0;
            ::close(fd);
            if (::unlinkat(top, m_dirName.constData(), AT_REMOVEDIR) != 0
                || (deeper && ::renameat(top, "next", top, m_dirName.constData()) != 0))
                break;
        }
        ::unlinkat(top, m_fileName.constData(), 0);
        ::close(top);
    }

    DeepTree(const DeepTree &) = delete;
    DeepTree &operator=(const DeepTree &) = delete;

    QByteArray dirName() const { return m_dirName; }

    // What each level should show, top first.
    QList<QByteArrayList> expected;

private:
    QByteArray m_top;
    QByteArray m_dirName;
    QByteArray m_fileName;
};

// What a forked child reported, and whether it ended as it should.
struct ChildRun {
    bool exited = false; // normally, with status 0
    QByteArray report;
};

// Runs body in a forked child, so that a crash fails one row rather than
// the runner; as root the child first becomes a user without any right to
// the tree beyond what its modes grant (and says so when it cannot).
ChildRun runForked(const std::function<QByteArray()> &body, bool unprivileged)
{
    uid_t uid = 0;
    gid_t gid = 0;
    const bool drop = unprivileged && ::geteuid() == 0;
    ChildRun run;
    int channel[2];
    if ((drop && !unusedIds(&uid, &gid)) || ::pipe(channel) != 0)
        return run;
    const pid_t child = ::fork();
    if (child < 0)
        return run;
    if (child == 0) {
        ::close(channel[0]);
        QByteArray report = "no unprivileged user";
        if (!drop
            || (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0 && ::geteuid() == uid))
            report = body();
        const bool written = ::write(channel[1], report.constData(), size_t(report.size())) == report.size();
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        run.report.append(buffer, int(n));
    ::close(channel[0]);
    int status = 0;
    run.exited = ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// Every item below root but the chain of directories named "d", as
// "depth name id" lines in pre-order, and how many "d" there were; walked
// without recursion, as the tree may be deep.
QByteArrayList describeBranches(const HierarchyItem *root)
{
    QByteArrayList lines;
    int chain = 0;
    std::vector<std::pair<const HierarchyItem *, int>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [item, depth] = pending.back();
        pending.pop_back();
        const QList<HierarchyItem *> &children = item->childrens();
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            pending.emplace_back(*it, depth + 1);
        if (item == root)
            continue;
        const auto *file = static_cast<const MacFileItem *>(item);
        if (file->name == QLatin1String("d"))
            ++chain;
        else
            lines.append(QByteArray::number(depth) + ' ' + QFile::encodeName(file->name) + ' '
                         + QByteArray::number(qulonglong(file->id)));
    }
    lines.append("d " + QByteArray::number(chain));
    return lines;
}

// The process's resident memory: now, and at its peak.
qint64 residentKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// How far a load of top raises the peak of resident memory, in KiB.
QByteArray peakGrowthOfLoad(const QString &top)
{
    // Free memory the child inherited would hide what the load takes.
    ::malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const qint64 before = residentKiB("VmRSS:");
    MacFileItem root(nullptr);
    root.load(top, QStringLiteral("root"));
    const qint64 peak = residentKiB("VmHWM:");
    return QByteArray::number(before >= 0 && peak >= 0 ? peak - before : -1);
}

// Loads a chain of directories ending in "leaf", ticks it all, unticks and
// ticks the leaf again, and frees it: the depth of the leaf, then the
// checked counts in that order.
QByteArray tickThroughChain(const QString &top)
{
    QByteArrayList counts;
    {
        MacFileModel model(top, nullptr);
        QModelIndex bottom;
        int depth = 0;
        for (QModelIndex at = model.index(0, 0); at.isValid(); at = model.index(0, 0, at)) {
            bottom = at;
            ++depth;
        }
        counts.append(QByteArray::number(depth));
        model.setData(model.index(0, 0), true, Qt::CheckStateRole);
        counts.append(QByteArray::number(model.checkedIds().size()));
        model.setData(bottom, true, Qt::CheckStateRole);
        counts.append(QByteArray::number(model.checkedIds().size()));
        model.setData(bottom, true, Qt::CheckStateRole);
        counts.append(QByteArray::number(model.checkedIds().size()));
    }
    counts.append("freed");
    return counts.join(' ');
}

} // namespace

class TestMacFileItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unsearchableDirectory_data();
    void unsearchableDirectory();
    void deepTree_data();
    void deepTree();
    void hostileTree_data();
    void hostileTree();
    void largeFileOffsets();
};

void TestMacFileItem::unsearchableDirectory_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("searchable");

    QTest::newRow("readable and searchable") << 0555 << true << true;
    QTest::newRow("readable, not searchable") << 0444 << true << false;
    QTest::newRow("searchable, not readable") << 0111 << false << true;
}

// Run as a user without any right to the tree beyond what its modes grant:
// an id is 0 exactly where lstat of the entry fails.
void TestMacFileItem::unsearchableDirectory()
{
    QFETCH(int, mode);
    QFETCH(bool, listed);
    QFETCH(bool, searchable);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray top = QFile::encodeName(dir.path());
    const QByteArray inner = top + "/inner";
    QVERIFY(::chmod(top.constData(), 0755) == 0 && ::mkdir(inner.constData(), 0755) == 0
            && ::mkdir(QByteArray(inner + "/sub").constData(), 0755) == 0);
    QFile file(QFile::decodeName(inner + "/file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const int innerFd = ::open(inner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(innerFd >= 0);
    const QByteArrayList real{"sub " + QByteArray::number(qulonglong(inodeAt(innerFd, "sub"))),
                              "file " + QByteArray::number(qulonglong(inodeAt(innerFd, "file")))};
    ::close(innerFd);
    QVERIFY(::chmod(inner.constData(), mode_t(mode)) == 0);

    uid_t uid = 0;
    gid_t gid = 0;
    QVERIFY2(unusedIds(&uid, &gid), "no unused user id");
    int channel[2];
    QVERIFY(::pipe(channel) == 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(channel[0]);
        QByteArray report = "no unprivileged user";
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0 && ::getuid() == uid
            && ::geteuid() == uid && ::getegid() == gid) {
            MacFileItem root(nullptr);
            root.load(QFile::decodeName(top), QStringLiteral("root"));
            report = describe(root.childrens().value(0)).join('\n');
        }
        const bool written = ::write(channel[1], report.constData(), size_t(report.size())) == report.size();
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, int(n));
    ::close(channel[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::chmod(inner.constData(), 0755);

    QByteArrayList expected;
    if (listed)
        expected = searchable ? real : QByteArrayList{"sub 0", "file 0"};
    QCOMPARE(report, expected.join('\n'));
}

void TestMacFileItem::deepTree_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<int>("descriptors"); // the process's limit while loading; 0: as it is

    // Both are far longer than PATH_MAX as one path; the second is also
    // deeper than the process may hold descriptors at once.
    QTest::newRow("long names") << 40 << 200 << 0;
    QTest::newRow("more levels than descriptors") << 1200 << 3 << 256;
}

// Every readable directory shows its children with their ids, however deep.
void TestMacFileItem::deepTree()
{
    QFETCH(int, levels);
    QFETCH(int, nameLength);
    QFETCH(int, descriptors);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DeepTree tree(dir.path(), levels, nameLength);
    QCOMPARE(tree.expected.size(), levels + 1);
    QVERIFY((nameLength + 1) * levels > PATH_MAX);

    MacFileItem root(nullptr);
    struct rlimit saved;
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    if (descriptors > 0) {
        struct rlimit lowered = saved;
        lowered.rlim_cur = rlim_t(descriptors);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    }
    const bool loaded = root.load(dir.path(), QStringLiteral("root"));
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    QVERIFY(loaded);
    const HierarchyItem *item = &root;
    for (int level = 0; level <= levels; ++level) {
        QVERIFY(item);
        const QByteArrayList shown = describe(item);
        QVERIFY2(shown == tree.expected.at(level),
                 QByteArray(QByteArray::number(level) + ": " + shown.join(", ").left(120)).constData());
        item = item->childrens().value(0);
    }
    QVERIFY(item->childrens().isEmpty());
}

namespace {

enum Hostile {
    Branches, // a chain with branches at its end and an uncle above
    Chain, // a chain of one-letter directories, ticked through
    Memory, // chains of long names, loaded at one depth and at twice it
};

} // namespace

void TestMacFileItem::hostileTree_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("uncleUp"); // levels above the chain's end where z sits
    QTest::addColumn<int>("modeOfA");
    QTest::addColumn<bool>("moveB"); // moved away while the walk lists it

    // Below the chain's end: A (holding f), B (holding x); beside the chain
    // uncleUp levels up: z (holding y). Run as a user other than root.
    QTest::newRow("unsearchable at depth 10") << int(Branches) << 10 << 1 << 0444 << false;
    QTest::newRow("unsearchable at depth 66") << int(Branches) << 66 << 1 << 0444 << false;
    // Far enough down that the walk must open the great-uncle's parent again.
    QTest::newRow("unsearchable at depth 200, z 60 up") << int(Branches) << 200 << 60 << 0444 << false;
    QTest::newRow("moved away at depth 66") << int(Branches) << 66 << 1 << 0755 << true;
    QTest::newRow("moved away at depth 200, z 60 up") << int(Branches) << 200 << 60 << 0755 << true;
    QTest::newRow("20,000 levels") << int(Chain) << 20000 << 0 << 0 << false;
    // 100,000 levels take minutes to make and remove on a disk; the
    // generic tree's own test frees and lists that many in memory.
    QTest::newRow("1,000 and 2,000 levels of long names") << int(Memory) << 1000 << 0 << 0 << false;
}

// Nothing is dropped, nothing crashes, and memory grows with the tree.
void TestMacFileItem::hostileTree()
{
    QFETCH(int, shape);
    QFETCH(int, levels);

    // Deep chains are made in memory where that is offered: on a busy disk
    // making and removing them takes minutes.
    const bool inMemory = shape != Branches && ::access("/dev/shm", W_OK | X_OK) == 0;
    QTemporaryDir dir(inMemory ? QStringLiteral("/dev/shm/tst_macfileitem-XXXXXX") : QString());
    QVERIFY(dir.isValid());
    const QByteArray top = QFile::encodeName(dir.path());
    QVERIFY(::chmod(top.constData(), 0755) == 0);

    if (shape == Chain) {
        // Directories only, and removed by rm, which walks without paths.
        int fd = ::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 0; fd >= 0 && level < levels; ++level) {
            const int next = ::mkdirat(fd, "d", 0755) == 0 ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
            ::close(fd);
            fd = next;
        }
        const int leaf = fd >= 0 ? ::openat(fd, "leaf", O_WRONLY | O_CREAT | O_CLOEXEC, 0644) : -1;
        ::close(fd);
        QVERIFY(leaf >= 0 && ::close(leaf) == 0);
        const ChildRun run = runForked([&] { return tickThroughChain(dir.path()); }, false);
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path() + QStringLiteral("/d")});
        QVERIFY2(run.exited, run.report.constData());
        // levels directories and the leaf: the top directory takes them all;
        // the leaf unticked clears every directory; ticked again, every
        // directory is completed up to the top.
        const QByteArray all = QByteArray::number(levels + 1);
        QCOMPARE(run.report, QByteArray::number(levels + 1) + ' ' + all + " 0 " + all + " freed");
        return;
    }

    if (shape == Memory) {
        qint64 growth[2] = {0, 0};
        for (int twice = 0; twice < 2; ++twice) {
            QTemporaryDir sub(dir.path() + QStringLiteral("/t"));
            QVERIFY(sub.isValid());
            DeepTree tree(sub.path(), levels * (twice + 1), 255);
            QCOMPARE(tree.expected.size(), levels * (twice + 1) + 1);
            const ChildRun run = runForked([&] { return peakGrowthOfLoad(sub.path()); }, false);
            QVERIFY2(run.exited, run.report.constData());
            growth[twice] = run.report.toLongLong();
            QVERIFY2(growth[twice] > 0, run.report.constData());
        }
        qInfo("peak growth of a load: %lld KiB at %d levels, %lld KiB at %d", growth[0], levels, growth[1],
              2 * levels);
        QVERIFY2(double(growth[1]) < 2.5 * double(growth[0]),
                 QByteArray::number(double(growth[1]) / double(growth[0])).constData());
        return;
    }

    QFETCH(int, uncleUp);
    QFETCH(int, modeOfA);
    QFETCH(bool, moveB);
    QByteArray path = top;
    QByteArray uncleParent;
    for (int level = 1; level <= levels; ++level) {
        if (level == levels - uncleUp + 1)
            uncleParent = path;
        path += "/d";
        QVERIFY(::mkdir(path.constData(), 0755) == 0);
    }
    const auto make = [](const QByteArray &at, bool directory) {
        if (directory)
            return ::mkdir(at.constData(), 0755) == 0;
        const int fd = ::open(at.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        return fd >= 0 && ::close(fd) == 0;
    };
    QVERIFY(make(path + "/A", true) && make(path + "/A/f", false) && make(path + "/B", true)
            && make(path + "/B/x", false) && make(uncleParent + "/z", true) && make(uncleParent + "/z/y", false));
    const auto inode = [](const QByteArray &at) {
        struct stat st;
        return QByteArray::number(qulonglong(::lstat(at.constData(), &st) == 0 ? st.st_ino : 0));
    };
    const int zDepth = levels - uncleUp + 1;
    QByteArrayList expected;
    // In pre-order: z comes after the chain's directory beside it, since
    // "d" sorts before "z".
    const QByteArray end = QByteArray::number(levels + 1);
    const QByteArray below = QByteArray::number(levels + 2);
    expected << end + " A " + inode(path + "/A")
             << below + " f " + (modeOfA & 0111 ? inode(path + "/A/f") : QByteArray("0"))
             << end + " B " + inode(path + "/B") << below + " x " + inode(path + "/B/x")
             << QByteArray::number(zDepth) + " z " + inode(uncleParent + "/z")
             << QByteArray::number(zDepth + 1) + " y " + inode(uncleParent + "/z/y")
             << "d " + QByteArray::number(levels);
    QVERIFY(::chmod(QByteArray(path + "/A").constData(), mode_t(modeOfA)) == 0);

    if (moveB) {
        struct stat st;
        QVERIFY(::stat(QByteArray(path + "/B").constData(), &st) == 0);
        moveOnListing.dev = st.st_dev;
        moveOnListing.ino = st.st_ino;
        moveOnListing.from = path + "/B";
        moveOnListing.to = top + "/moved";
        moveOnListing.armed = true;
    }
    const ChildRun run = runForked(
        [&] {
            MacFileItem root(nullptr);
            root.load(dir.path(), QStringLiteral("root"));
            if (moveB && !moveOnListing.fired)
                return QByteArray("B was not moved");
            return describeBranches(&root).join('\n');
        },
        !moveB);
    moveOnListing.armed = false;
    ::chmod(QByteArray(path + "/A").constData(), 0755);
    QVERIFY(run.exited);
    QCOMPARE(run.report, expected.join('\n'));
}

// Large inode numbers and directories need 64-bit offsets on 32-bit
// systems as well; the library is built with the same definitions.
void TestMacFileItem::largeFileOffsets()
{
#if !defined(_FILE_OFFSET_BITS) || _FILE_OFFSET_BITS != 64
    QFAIL("not built with 64-bit file offsets");
#endif
    QCOMPARE(sizeof(ino_t), size_t(8));
    QCOMPARE(sizeof(off_t), size_t(8));
}

QTEST_GUILESS_MAIN(TestMacFileItem)
#include "tst_macfileitem.moc"
