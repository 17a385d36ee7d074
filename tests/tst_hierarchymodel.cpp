// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "HierarchyItem.h"
#include "HierarchyModel.h"

#include <QAbstractItemModelTester>
#include <QStringList>
#include <QTest>

#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace {

// An item that knows its text and writes it into a log when it dies.
class NamedItem : public HierarchyItem
{
public:
    explicit NamedItem(HierarchyItem *parent)
        : HierarchyItem(parent)
    {
    }
    ~NamedItem() override
    {
        if (log)
            log->append(text);
    }

    static HierarchyItem *create(HierarchyItem *parent) { return new NamedItem(parent); }

    QString text;
    QStringList *log = nullptr;
};

// Three columns under the root and under column-0 indexes; under other
// columns as many as columnsElsewhere says.
class NamedModel : public HierarchyModel
{
public:
    explicit NamedModel(int columnsElsewhere = 0, QObject *parent = nullptr)
        : HierarchyModel(parent, &NamedItem::create)
        , columnsElsewhere(columnsElsewhere)
    {
    }

    int columnCount(const QModelIndex &parent) const override
    {
        return (!parent.isValid() || parent.column() == 0) ? 3 : columnsElsewhere;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return QVariant();
        return QString(static_cast<NamedItem *>(indexToItem(index))->text + QString::number(index.column()));
    }

    HierarchyItem *root() const { return indexToItem(QModelIndex()); }

    NamedItem *add(HierarchyItem *parent, const QString &text, QStringList *log = nullptr)
    {
        auto *item = new NamedItem(parent);
        item->text = text;
        item->log = log;
        parent->childrens().append(item);
        return item;
    }

    // The tree A(A1(A1a), A2), B under the root.
    void fillSample(QStringList *log = nullptr)
    {
        NamedItem *a = add(root(), QStringLiteral("A"), log);
        NamedItem *a1 = add(a, QStringLiteral("A1"), log);
        add(a1, QStringLiteral("A1a"), log);
        add(a, QStringLiteral("A2"), log);
        add(root(), QStringLiteral("B"), log);
    }

    int columnsElsewhere;
};

// The sample tree in pre-order.
const QStringList sampleOrder{QStringLiteral("A"), QStringLiteral("A1"), QStringLiteral("A1a"), QStringLiteral("A2"),
                              QStringLiteral("B")};

struct DeepRun {
    int levels;
    const QStringList *expected;
    int failed = 0;
};

// A chain of levels built, listed and freed, each checked against expected.
void *buildListAndFree(void *argument)
{
    auto *run = static_cast<DeepRun *>(argument);
    const int levels = run->levels;
    const QStringList &expected = *run->expected;
    {
        QStringList log;
        int failed = 0;
        {
            NamedModel model;
            HierarchyItem *at = model.root();
            for (int i = 1; i <= levels; ++i) {
                HierarchyItem *next = model.add(at, QLatin1Char('L') + QString::number(i), &log);
                model.add(at, QLatin1Char('S') + QString::number(i), &log);
                at = next;
            }
            QStringList listed;
            for (HierarchyItem *item : model.root()->childrensAll())
                listed.append(static_cast<NamedItem *>(item)->text);
            failed |= listed == expected ? 0 : 1;
        }
        failed |= log == expected ? 0 : 2;
        run->failed = failed;
    }
    return nullptr;
}

} // namespace

class TestHierarchyModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyRoot();
    void childrensAll();
    void index_data();
    void index();
    void itemToIndex();
    void setParentTouchesNoList();
    void rowCountOfOtherColumns_data();
    void rowCountOfOtherColumns();
    void destructionOrder();
    void deepTree_data();
    void deepTree();
};

void TestHierarchyModel::emptyRoot()
{
    NamedModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(model.rowCount(QModelIndex()), 0);
    QVERIFY(model.root()->isRoot());
}

void TestHierarchyModel::childrensAll()
{
    NamedModel model;
    model.fillSample();
    QStringList texts;
    for (HierarchyItem *item : model.root()->childrensAll())
        texts.append(static_cast<NamedItem *>(item)->text);
    QCOMPARE(texts, sampleOrder);
    QVERIFY(!model.root()->isLeaf());
    HierarchyItem *leaf = model.root()->childrens().at(1);
    QVERIFY(leaf->isLeaf());
    QVERIFY(leaf->childrensAll().isEmpty());
}

void TestHierarchyModel::index_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("underA");
    QTest::addColumn<QString>("display"); // empty: no index

    QTest::newRow("first") << 0 << 0 << false << QStringLiteral("A0");
    QTest::newRow("last cell") << 1 << 2 << false << QStringLiteral("B2");
    QTest::newRow("row past end") << 2 << 0 << false << QString();
    QTest::newRow("negative row") << -1 << 0 << false << QString();
    QTest::newRow("column past end") << 0 << 3 << false << QString();
    QTest::newRow("negative column") << 0 << -1 << false << QString();
    QTest::newRow("child") << 1 << 1 << true << QStringLiteral("A21");
}

void TestHierarchyModel::index()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, underA);
    QFETCH(QString, display);

    NamedModel model;
    model.fillSample();
    // The first row has children: rows reported under its other columns,
    // which index() cannot give, would fail the tester.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QModelIndex parent = underA ? model.index(0, 0, QModelIndex()) : QModelIndex();
    const QModelIndex index = model.index(row, column, parent);
    QCOMPARE(index.isValid(), !display.isEmpty());
    if (!index.isValid())
        return;
    QCOMPARE(model.data(index, Qt::DisplayRole).toString(), display);
    // The index carries the item owning the row, not the item shown.
    QCOMPARE(index.internalPointer(), static_cast<void *>(model.indexToItem(parent)));
    QCOMPARE(model.parent(index), parent);
}

void TestHierarchyModel::itemToIndex()
{
    NamedModel model;
    model.fillSample();
    HierarchyItem *a = model.root()->childrens().at(0);
    HierarchyItem *a2 = a->childrens().at(1);

    QVERIFY(!model.itemToIndex(model.root()).isValid());
    const QModelIndex index = model.itemToIndex(a2);
    QCOMPARE(index.row(), 1);
    QCOMPARE(index.column(), 0);
    QCOMPARE(model.indexToItem(index), a2);
    QCOMPARE(model.indexToItem(model.index(1, 2, model.itemToIndex(a))), a2);

    // An item its parent does not list has no index.
    NamedItem stray(a);
    QVERIFY(!model.itemToIndex(&stray).isValid());
}

void TestHierarchyModel::setParentTouchesNoList()
{
    NamedModel model;
    model.fillSample();
    HierarchyItem *a = model.root()->childrens().at(0);
    HierarchyItem *b = model.root()->childrens().at(1);

    b->setParent(a);
    QCOMPARE(b->parent(), a);
    QCOMPARE(model.root()->childCount(), 2);
    QCOMPARE(a->childCount(), 2);
}

void TestHierarchyModel::rowCountOfOtherColumns_data()
{
    QTest::addColumn<int>("columnsElsewhere");
    QTest::addColumn<int>("expectedRows");

    QTest::newRow("no columns, no rows") << 0 << 0;
    QTest::newRow("columns, the row's children") << 3 << 2;
}

void TestHierarchyModel::rowCountOfOtherColumns()
{
    QFETCH(int, columnsElsewhere);
    QFETCH(int, expectedRows);

    NamedModel model(columnsElsewhere);
    model.fillSample();
    QCOMPARE(model.rowCount(model.index(0, 0, QModelIndex())), 2);
    QCOMPARE(model.rowCount(model.index(0, 2, QModelIndex())), expectedRows);
}

void TestHierarchyModel::destructionOrder()
{
    QStringList log;
    auto owner = std::make_unique<QObject>();
    auto *model = new NamedModel(0, owner.get());
    model->fillSample(&log);
    owner.reset();
    QCOMPARE(log, sampleOrder);
}

void TestHierarchyModel::deepTree_data()
{
    QTest::addColumn<int>("levels");

    QTest::newRow("300 levels") << 300;
    QTest::newRow("100,000 levels") << 100000;
}

// A chain L1 ... Ln, each Li holding L(i+1) and then S(i+1), is listed and
// freed in pre-order, L1 ... Ln, Sn ... S1, however deep; in a forked child,
// so that a crash fails one row only.
void TestHierarchyModel::deepTree()
{
    QFETCH(int, levels);

    QStringList expected;
    for (int i = 1; i <= levels; ++i)
        expected.append(QLatin1Char('L') + QString::number(i));
    for (int i = levels; i >= 1; --i)
        expected.append(QLatin1Char('S') + QString::number(i));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // On a stack far smaller than a thread's default, so that a frame
        // per level would run out of it at this depth.
        DeepRun run{levels, &expected};
        pthread_attr_t attributes;
        pthread_t thread;
        if (::pthread_attr_init(&attributes) != 0 || ::pthread_attr_setstacksize(&attributes, 512 * 1024) != 0
            || ::pthread_create(&thread, &attributes, &buildListAndFree, &run) != 0
            || ::pthread_join(thread, nullptr) != 0)
            ::_exit(4);
        ::_exit(run.failed);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the child did not end normally");
    QCOMPARE(WEXITSTATUS(status), 0); // 1: listed out of order, 2: freed out of order, 4: no thread
}

QTEST_GUILESS_MAIN(TestHierarchyModel)

#include "tst_hierarchymodel.moc"
