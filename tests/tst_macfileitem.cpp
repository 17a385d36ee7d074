// The directory walk of MacFileItem where the file system stands in its way:
// directories that can be read but not searched.

#include "MacFileItem.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace

class TestMacFileItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unsearchableDirectory_data();
    void unsearchableDirectory();
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

QTEST_GUILESS_MAIN(TestMacFileItem)
#include "tst_macfileitem.moc"
