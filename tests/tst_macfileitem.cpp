// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The directory walk of MacFileItem where the file system stands in its way:
// directories that can be read but not searched, and trees deeper than any
// path can name.

#include "MacFileItem.h"

#include <QFile>
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
#include <vector>

using VarnelQt5::MacFileItem;

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

} // namespace

class TestMacFileItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unsearchableDirectory_data();
    void unsearchableDirectory();
    void deepTree_data();
    void deepTree();
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

QTEST_GUILESS_MAIN(TestMacFileItem)
#include "tst_macfileitem.moc"
