// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacFileItem.h"
#include "MacFileModel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using VarnelQt5::MacFileItem;
using VarnelQt5::MacFileModel;

namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

// A directory tree made on disk for one test; paths are relative to it and
// raw bytes, so that names need not be valid in any encoding.
class Tree
{
public:
    Tree() { QVERIFY(dir.isValid()); }
    // Entries whose names do not survive decoding cannot be removed by
    // QTemporaryDir; they go first, last made first.
    ~Tree()
    {
        for (auto it = undecodable.crbegin(); it != undecodable.crend(); ++it)
            ::remove(full(*it).constData());
    }
    void removeAtEnd(const QList<QByteArray> &relatives) { undecodable += relatives; }

    QString path() const { return dir.path(); }
    QByteArray full(const QByteArray &relative) const { return QFile::encodeName(dir.path()) + '/' + relative; }

    bool mkdir(const QByteArray &relative) { return ::mkdir(full(relative).constData(), 0755) == 0; }
    bool touch(const QByteArray &relative)
    {
        const int fd = ::open(full(relative).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        return fd >= 0 && ::close(fd) == 0;
    }
    bool symlink(const QByteArray &target, const QByteArray &relative)
    {
        return ::symlink(target.constData(), full(relative).constData()) == 0;
    }
    bool fifo(const QByteArray &relative) { return ::mkfifo(full(relative).constData(), 0644) == 0; }
    bool socket(const QByteArray &relative)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray where = full(relative);
        if (where.size() >= int(sizeof(address.sun_path)))
            return false;
        qstrcpy(address.sun_path, where.constData());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        return ::close(fd) == 0 && bound;
    }
    unsigned long inode(const QByteArray &relative) const
    {
        struct stat st;
        return ::lstat(full(relative).constData(), &st) == 0 ? st.st_ino : 0;
    }

    // Builds what the lines say: "d name" a directory, "f name" a file.
    bool make(const QList<QByteArray> &lines)
    {
        for (const QByteArray &line : lines) {
            const QByteArray name = line.mid(2);
            if (!(line.startsWith("d ") ? mkdir(name) : touch(name)))
                return false;
        }
        return true;
    }

private:
    QTemporaryDir dir;
    QList<QByteArray> undecodable;
};

// The shown tree as "depth name id" lines, depth first.
void describe(const MacFileModel &model, const QModelIndex &parent, int depth, QStringList &out)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        out.append(QString::number(depth) + QLatin1Char(' ') + index.data().toString() + QLatin1Char(' ')
                   + model.index(row, 2, parent).data().toString());
        describe(model, index, depth + 1, out);
    }
}

// The same description made from a plain directory listing and lstat.
void describeFromDisk(const QString &path, int depth, QStringList &out)
{
    const QDir dir(path);
    const auto line = [&](const QString &name) -> QString {
        struct stat st;
        const QByteArray full = QFile::encodeName(dir.absoluteFilePath(name));
        const unsigned long id = ::lstat(full.constData(), &st) == 0 ? st.st_ino : 0;
        return QString::number(depth) + QLatin1Char(' ') + name + QLatin1Char(' ') + QString::number(id);
    };
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        out.append(line(name));
        describeFromDisk(dir.absoluteFilePath(name), depth + 1, out);
    }
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoSymLinks))
        out.append(line(name));
}

// The index of the item at a path of names such as "D/E/f3".
QModelIndex find(const MacFileModel &model, const QString &path)
{
    QModelIndex index;
    for (const QString &name : path.split(QLatin1Char('/'))) {
        const QModelIndexList hits = model.match(model.index(0, 0, index), Qt::DisplayRole, name, 1,
                                                 Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (hits.isEmpty())
            return QModelIndex();
        index = hits.first();
    }
    return index;
}

QString pathOf(const QModelIndex &index)
{
    const QString name = index.data().toString();
    return index.parent().isValid() ? pathOf(index.parent()) + QLatin1Char('/') + name : name;
}

QStringList checkedPaths(const MacFileModel &model, const QModelIndex &parent = QModelIndex(),
                         const QString &prefix = QString())
{
    QStringList out;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString path = prefix + index.data().toString();
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked)
            out.append(path);
        out += checkedPaths(model, index, path + QLatin1Char('/'));
    }
    return out;
}

// Counts the setData calls a subclass sees.
class CountingModel : public MacFileModel
{
public:
    using MacFileModel::MacFileModel;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        ++calls;
        return MacFileModel::setData(index, value, role);
    }
    int calls = 0;
};

// D(E(f3), f1, f2), G(g1), top
const QList<QByteArray> checkTree{"d D", "d D/E", "f D/E/f3", "f D/f1", "f D/f2", "d G", "f G/g1", "f top"};

} // namespace

class TestMacFileModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void emptyTree_data();
    void emptyTree();
    void order();
    void matchesDirectoryListing_data();
    void matchesDirectoryListing();
    void undecodableNames();
    void mountedFileKeepsItsId();
    void cells_data();
    void cells();
    void checking_data();
    void checking();
    void tickEmitsPreOrder_data();
    void tickEmitsPreOrder();
    void refusedSetData_data();
    void refusedSetData();
    void checkedIdsKeepsHardLinks();
};

// The run meant for typeless directory entries must really get them.
void TestMacFileModel::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("VARNEL_TYPELESS_ENTRIES"))
        return;
    DIR *dir = ::opendir("/");
    QVERIFY(dir);
    const dirent *entry = ::readdir(dir);
    const bool typeless = entry && entry->d_type == DT_UNKNOWN;
    ::closedir(dir);
    QVERIFY(typeless);
}

void TestMacFileModel::emptyTree_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("foreignFactory");

    QTest::newRow("missing directory") << QStringLiteral("/absent") << false;
    // A factory that makes no MacFileItems leaves nothing to load into.
    QTest::newRow("wrong factory") << QString() << true;
}

void TestMacFileModel::emptyTree()
{
    QFETCH(QString, where);
    QFETCH(bool, foreignFactory);

    Tree tree;
    QVERIFY(tree.make(checkTree));
    MacFileModel model(tree.path() + where, nullptr,
                       foreignFactory ? &HierarchyItem::createItem : &MacFileItem::createItem);
    QAbstractItemModelTester tester(&model, Fatal);
    QCOMPARE(model.rowCount(QModelIndex()), 0);
    QVERIFY(model.checkedIds().isEmpty());
}

// Subdirectories first; names sorted ignoring case, a name before the longer
// names it begins, '_' before letters.
void TestMacFileModel::order()
{
    Tree tree;
    QVERIFY(tree.make({"d beta", "d Alpha", "f ab", "f A", "f a_", "f A0"}));
    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.append(model.index(row, 0).data().toString());
    QCOMPARE(names, QString::fromLatin1("Alpha,beta,A,A0,a_,ab").split(QLatin1Char(',')));
}

void TestMacFileModel::matchesDirectoryListing_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("width");

    QTest::newRow("wide") << 1 << 400;
    QTest::newRow("deep") << 40 << 3;
    QTest::newRow("bushy") << 4 << 12;
}

// Names that differ only in case, non-ASCII names, empty directories and
// every kind of excluded entry: the walk must list what a plain directory
// listing lists, in the same order, with the ids lstat gives.
void TestMacFileModel::matchesDirectoryListing()
{
    QFETCH(int, depth);
    QFETCH(int, width);

    Tree tree;
    const QList<QByteArray> stems{"a", "A", "b", "B", "ab", "aB", "Ab", "\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89",
                                  "z9", "Z9", "_x", "0"};
    QByteArray level;
    for (int d = 0; d < depth; ++d) {
        for (int i = 0; i < width; ++i) {
            const QByteArray name = stems.at(i % stems.size()) + QByteArray::number(i / stems.size() % 3);
            // Equal names or names a directory already took fail harmlessly.
            if (i % 3 == 0)
                tree.mkdir(level + name);
            else
                tree.touch(level + name);
        }
        QVERIFY(tree.mkdir(level + "next") && tree.touch(level + ".hidden") && tree.fifo(level + "fifo")
                && tree.symlink("next", level + "link"));
        // Socket addresses are short.
        QVERIFY(d > 2 || tree.socket(level + "s"));
        level += "next/";
    }

    QVERIFY(tree.mkdir(".hid") && tree.touch(".hid/inner") && tree.touch("plain")
            && tree.symlink(tree.full("plain"), "fileLink") && tree.symlink("nowhere", "dangling"));
    if (::mknod(tree.full("dev").constData(), S_IFCHR | 0644, makedev(1, 3)) != 0)
        qWarning("no device node could be made here; devices go unchecked");

    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QStringList shown;
    describe(model, QModelIndex(), 0, shown);
    QStringList listed;
    describeFromDisk(tree.path(), 0, listed);
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown, listed);
}

void TestMacFileModel::undecodableNames()
{
    Tree tree;
    const QByteArray dirName("dir\xff\xfe");
    const QByteArray fileName("file\xc3");
    QVERIFY(tree.mkdir(dirName) && tree.touch(dirName + "/inner") && tree.touch(fileName));
    tree.removeAtEnd({dirName, dirName + "/inner", fileName});
    QVERIFY(QFile::encodeName(QFile::decodeName(fileName)) != fileName);

    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QCOMPARE(model.rowCount(), 2);
    const QModelIndex dir = model.index(0, 0);
    QCOMPARE(model.index(0, 2).data().toULongLong(), qulonglong(tree.inode(dirName)));
    QCOMPARE(model.index(1, 2).data().toULongLong(), qulonglong(tree.inode(fileName)));
    // The directory's own entries are read through its exact name as well.
    QCOMPARE(model.rowCount(dir), 1);
    QCOMPARE(model.index(0, 2, dir).data().toULongLong(), qulonglong(tree.inode(dirName + "/inner")));
}

// A file mounted over another shows the mounted file's inode, as lstat
// does, not the one its directory entry records.
void TestMacFileModel::mountedFileKeepsItsId()
{
    Tree tree;
    QVERIFY(tree.touch("a") && tree.touch("b") && tree.touch("c"));
    int channel[2];
    QVERIFY(::pipe(channel) == 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // A private mount namespace, so the mount goes with the process.
        unsigned long ids[2] = {0, 0};
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0
            && ::mount(tree.full("a").constData(), tree.full("b").constData(), nullptr, MS_BIND, nullptr) == 0) {
            MacFileModel model(tree.path(), nullptr);
            ids[0] = model.index(1, 2).data().toULongLong();
            ids[1] = tree.inode("b");
        }
        const bool written = ::write(channel[1], ids, sizeof ids) == sizeof ids;
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    unsigned long ids[2] = {0, 0};
    const bool read = ::read(channel[0], ids, sizeof ids) == sizeof ids;
    ::close(channel[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(read);
    if (ids[1] == 0)
        QSKIP("no private mount namespace here");
    QCOMPARE(ids[1], tree.inode("a"));
    QCOMPARE(ids[0], ids[1]);
}

void TestMacFileModel::cells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QVariant>("expected"); // "id" stands for the entry's inode

    QTest::newRow("unchecked") << 0 << int(Qt::CheckStateRole) << false << QVariant(int(Qt::Unchecked));
    QTest::newRow("checked") << 0 << int(Qt::CheckStateRole) << true << QVariant(int(Qt::Checked));
    QTest::newRow("name has no edit text") << 0 << int(Qt::EditRole) << false << QVariant();
    QTest::newRow("column 1 empty") << 1 << int(Qt::DisplayRole) << false << QVariant();
    QTest::newRow("column 1 no check") << 1 << int(Qt::CheckStateRole) << true << QVariant();
    QTest::newRow("id") << 2 << int(Qt::DisplayRole) << false << QVariant(QStringLiteral("id"));
    QTest::newRow("id no check") << 2 << int(Qt::CheckStateRole) << true << QVariant();
}

void TestMacFileModel::cells()
{
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, check);
    QFETCH(QVariant, expected);

    Tree tree;
    QVERIFY(tree.touch("top"));
    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    if (check)
        QVERIFY(model.setData(model.index(0, 0), QVariant(), Qt::CheckStateRole));
    if (expected == QVariant(QStringLiteral("id")))
        expected = QVariant(qulonglong(tree.inode("top")));
    const QVariant value = model.index(0, column).data(role);
    QCOMPARE(value, expected);
    if (expected.isValid())
        QCOMPARE(value.userType(), expected.userType());

    const Qt::ItemFlags flags = model.index(0, column).flags();
    QCOMPARE(bool(flags & Qt::ItemIsUserCheckable), column == 0);
    QVERIFY(!(flags & (Qt::ItemIsEditable | Qt::ItemIsAutoTristate | Qt::ItemIsUserTristate)));
    QCOMPARE(model.headerData(column, Qt::Horizontal).isValid(), column != 1);
    QVERIFY(!model.headerData(column, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(column, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TestMacFileModel::checking_data()
{
    // Steps: "tick P" (check-state role), "edit0 P" / "edit1 P" (edit role).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    const auto list = [](const char *text) {
        return QString::fromLatin1(text).split(QLatin1Char(','), Qt::SkipEmptyParts);
    };
    QTest::newRow("tick directory ticks subtree") << list("tick D") << list("D,D/E,D/E/f3,D/f1,D/f2");
    QTest::newRow("tick directory with ticked child")
        << list("tick D/f1,tick D") << list("D,D/E,D/E/f3,D/f1,D/f2");
    QTest::newRow("untick deep file clears every ticked ancestor")
        << list("tick D,tick D/E/f3") << list("D/f1,D/f2");
    QTest::newRow("last child ticks parent and grandparent")
        << list("tick D/f1,tick D/f2,tick D/E/f3") << list("D,D/E,D/E/f3,D/f1,D/f2");
    QTest::newRow("not last child ticks no parent") << list("tick D/f1,tick D/E/f3") << list("D/E,D/E/f3,D/f1");
    QTest::newRow("untick directory unticks subtree") << list("tick D,tick D") << list("");
    QTest::newRow("edit sets only the item") << list("edit1 D") << list("D");
    QTest::newRow("edit clear clears ticked ancestors only")
        << list("tick D,edit0 D/E/f3") << list("D/f1,D/f2");
    QTest::newRow("edit clear of unticked item under ticked parent")
        << list("edit1 D,edit0 D/f1") << list("");
}

void TestMacFileModel::checking()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);

    Tree tree;
    QVERIFY(tree.make(checkTree));
    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char(' '));
        const QModelIndex index = find(model, parts.at(1));
        QVERIFY2(index.isValid(), qPrintable(step));
        const QStringList before = checkedPaths(model);
        spy.clear();
        // The check-state role inverts whatever value comes with it.
        const bool done = parts.at(0) == QLatin1String("tick")
                              ? model.setData(index, int(Qt::Unchecked), Qt::CheckStateRole)
                              : model.setData(index, parts.at(0) == QLatin1String("edit1"), Qt::EditRole);
        QVERIFY(done);

        // A view hears of every check box the step changed, ancestors too.
        const QStringList after = checkedPaths(model);
        QSet<QString> told;
        for (const QList<QVariant> &arguments : qAsConst(spy))
            told.insert(pathOf(arguments.at(0).toModelIndex()));
        for (const QString &path : before + after) {
            if (before.contains(path) != after.contains(path))
                QVERIFY2(told.contains(path), qPrintable(step + QLatin1String(": ") + path));
        }
    }
    QCOMPARE(checkedPaths(model), expected);

    QList<unsigned long> ids;
    for (const QString &path : expected)
        ids.append(tree.inode(QFile::encodeName(path)));
    QCOMPARE(model.checkedIds(), ids);
}

void TestMacFileModel::tickEmitsPreOrder_data()
{
    QTest::addColumn<bool>("subclassed");

    QTest::newRow("model") << false;
    QTest::newRow("subclass") << true;
}

void TestMacFileModel::tickEmitsPreOrder()
{
    QFETCH(bool, subclassed);

    Tree tree;
    QVERIFY(tree.make(checkTree));
    std::unique_ptr<MacFileModel> owned(subclassed ? new CountingModel(tree.path(), nullptr)
                                                   : new MacFileModel(tree.path(), nullptr));
    MacFileModel &model = *owned;
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(find(model, QStringLiteral("D/f2")), QVariant(), Qt::CheckStateRole));
    QVERIFY(model.setData(find(model, QStringLiteral("D")), QVariant(), Qt::CheckStateRole));

    // f2, then D and those of its subtree that were not ticked yet.
    QStringList changed;
    for (const QList<QVariant> &arguments : spy) {
        const QModelIndex topLeft = arguments.at(0).toModelIndex();
        QCOMPARE(arguments.at(1).toModelIndex(), topLeft);
        QVERIFY(arguments.at(2).value<QVector<int>>().isEmpty());
        changed.append(topLeft.data().toString());
    }
    QCOMPARE(changed, QString::fromLatin1("f2,D,E,f3,f1").split(QLatin1Char(',')));
    // A subclass sees the subtree follow through its own setData.
    if (subclassed)
        QCOMPARE(static_cast<CountingModel &>(model).calls, 5);
}

void TestMacFileModel::refusedSetData_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("valid");

    QTest::newRow("invalid index") << 0 << int(Qt::CheckStateRole) << false;
    QTest::newRow("column 2") << 2 << int(Qt::CheckStateRole) << true;
    QTest::newRow("column 1 edit") << 1 << int(Qt::EditRole) << true;
    QTest::newRow("display role") << 0 << int(Qt::DisplayRole) << true;
}

void TestMacFileModel::refusedSetData()
{
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, valid);

    Tree tree;
    QVERIFY(tree.make(checkTree));
    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex index = valid ? model.index(0, column) : QModelIndex();
    QVERIFY(!model.setData(index, true, role));
    QCOMPARE(spy.count(), 0);
    QVERIFY(model.checkedIds().isEmpty());
}

void TestMacFileModel::checkedIdsKeepsHardLinks()
{
    Tree tree;
    QVERIFY(tree.touch("a") && ::link(tree.full("a").constData(), tree.full("b").constData()) == 0);
    MacFileModel model(tree.path(), nullptr);
    QAbstractItemModelTester tester(&model, Fatal);
    QVERIFY(model.setData(model.index(0, 0), true, Qt::CheckStateRole));
    QVERIFY(model.setData(model.index(1, 0), true, Qt::CheckStateRole));
    QCOMPARE(model.checkedIds(), (QList<unsigned long>{tree.inode("a"), tree.inode("a")}));
}

QTEST_GUILESS_MAIN(TestMacFileModel)

#include "tst_macfilemodel.moc"
