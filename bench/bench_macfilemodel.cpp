// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Measures MacFileModel against the least work each of its jobs needs, on a
// generated tree of 100,000 entries (a tenth of them directories, five
// levels deep) with a warm cache:
//   build       against  find TREE -printf '%i\n' > /dev/null
//   tick        (the first top-level directory, its subtree following)
//               against  a depth-first walk flipping each flag and emitting
//                        one dataChanged per item
//   checkedIds  against  a depth-first walk collecting the checked ids
//   memory      bytes per entry beyond two bytes per name character, from
//               the allocator's statistics around one build
// Each time is the best of several runs. Run from the build directory:
//   ./bench/bench_macfilemodel [entries]

#include "MacFileItem.h"
#include "MacFileModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

using VarnelQt5::MacFileItem;
using VarnelQt5::MacFileModel;

namespace {

constexpr int Runs = 7;

// Gives the floors the index and signal access the model itself has.
class FloorModel : public MacFileModel
{
public:
    using MacFileModel::MacFileModel;

    MacFileItem *root() const { return static_cast<MacFileItem *>(indexToItem(QModelIndex())); }

    void flipAndEmit(MacFileItem *item, int row, HierarchyItem *owner)
    {
        item->checked = !item->checked;
        const QModelIndex index = createIndex(row, 0, owner);
        Q_EMIT dataChanged(index, index);
        const QList<HierarchyItem *> &children = item->childrens();
        for (int i = 0; i < children.size(); ++i)
            flipAndEmit(static_cast<MacFileItem *>(children.at(i)), i, item);
    }
};

void collect(const HierarchyItem *item, QList<unsigned long> &ids)
{
    for (const HierarchyItem *child : item->childrens()) {
        const auto *file = static_cast<const MacFileItem *>(child);
        if (file->checked)
            ids.append(file->id);
        collect(child, ids);
    }
}

qint64 nameCharacters(const HierarchyItem *item)
{
    qint64 sum = static_cast<const MacFileItem *>(item)->name.size();
    for (const HierarchyItem *child : item->childrens())
        sum += nameCharacters(child);
    return sum;
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Best time of Runs runs, in milliseconds; prepare runs untimed before each.
double best(const std::function<void()> &run, const std::function<void()> &prepare = {})
{
    qint64 bestNs = -1;
    for (int i = 0; i < Runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        const qint64 ns = timer.nsecsElapsed();
        if (bestNs < 0 || ns < bestNs)
            bestNs = ns;
    }
    return bestNs / 1e6;
}

QByteArray randomName(std::mt19937 &random)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";
    QByteArray name;
    const int length = 6 + int(random() % 10);
    for (int i = 0; i < length; ++i)
        name.append(letters[random() % (sizeof letters - 1)]);
    return name;
}

// A tenth of the entries are directories, six to a directory over five
// levels; the files are spread over all directories.
bool generate(const QByteArray &top, int entries)
{
    std::mt19937 random(4);
    QList<QByteArray> dirs{top};
    const int dirCount = entries / 10;
    for (int i = 0; int(dirs.size()) - 1 < dirCount; ++i) {
        const QByteArray parent = dirs.at(i);
        for (int k = 0; k < 6 && int(dirs.size()) - 1 < dirCount; ++k) {
            const QByteArray path = parent + '/' + randomName(random) + QByteArray::number(k);
            if (::mkdir(path.constData(), 0755) != 0)
                return false;
            dirs.append(path);
        }
    }
    for (int i = 0; i < entries - dirCount; ++i) {
        const QByteArray path = dirs.at(1 + i % dirCount) + '/' + randomName(random) + QByteArray::number(i);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

void runFind(const QString &tree)
{
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(QStringLiteral("find"), {tree, QStringLiteral("-printf"), QStringLiteral("%i\\n")});
    find.waitForFinished(-1);
}

void report(const char *what, double model, double floor)
{
    std::printf("%-11s model %8.2f ms   floor %8.2f ms   ratio %.2f (target 1.50)\n", what, model, floor,
                model / floor);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    if (entries < 100) {
        std::fprintf(stderr, "usage: %s [entries >= 100]\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    const QString tree = dir.path();
    if (!dir.isValid() || !generate(QFile::encodeName(tree), entries)) {
        std::fprintf(stderr, "cannot generate the tree under %s\n", qPrintable(tree));
        return 1;
    }

    // Warm the cache and the library (the codecs, the meta-objects).
    runFind(tree);
    std::unique_ptr<MacFileModel> model(new MacFileModel(tree, nullptr));
    // The floors work on a tree of their own, read the same way.
    FloorModel floor(tree, nullptr);

    const double findMs = best([&] { runFind(tree); });
    const double buildMs = best([&] { model.reset(new MacFileModel(tree, nullptr)); }, [&] { model.reset(); });
    report("build", buildMs, findMs);

    const QModelIndex firstIndex = model->index(0, 0);
    const auto firstChecked = [&] { return firstIndex.data(Qt::CheckStateRole).toInt() == Qt::Checked; };
    const double tickMs = best([&] { model->setData(firstIndex, true, Qt::CheckStateRole); },
                               [&] {
                                   if (firstChecked())
                                       model->setData(firstIndex, true, Qt::CheckStateRole);
                               });
    MacFileItem *first = static_cast<MacFileItem *>(floor.root()->childrens().first());
    const double flipMs = best([&] { floor.flipAndEmit(first, 0, floor.root()); },
                               [&] {
                                   if (first->checked)
                                       floor.flipAndEmit(first, 0, floor.root());
                               });
    report("tick", tickMs, flipMs);

    if (!firstChecked())
        model->setData(firstIndex, true, Qt::CheckStateRole);
    int checked = 0;
    const double idsMs = best([&] { checked = model->checkedIds().size(); });
    int collected = 0;
    const double collectMs = best([&] {
        QList<unsigned long> ids;
        collect(floor.root(), ids);
        collected = ids.size();
    });
    report("checkedIds", idsMs, collectMs);
    if (checked != collected || checked == 0) {
        std::fprintf(stderr, "checkedIds gave %d ids, the walk %d\n", checked, collected);
        return 1;
    }

    model.reset();
    malloc_trim(0);
    const std::size_t before = heapInUse();
    model.reset(new MacFileModel(tree, nullptr));
    const std::size_t after = heapInUse();
    HierarchyItem *root = model->indexToItem(QModelIndex());
    const qint64 shown = root->childrensAll().size();
    const qint64 characters = nameCharacters(root);
    const double perEntry = (double(after - before) - 2.0 * characters) / shown;
    std::printf("memory      %.1f bytes per entry beyond 2 bytes per name character (target 150); "
                "%lld entries, %lld checked by the tick\n",
                perEntry, shown, qint64(checked));
    return 0;
}
