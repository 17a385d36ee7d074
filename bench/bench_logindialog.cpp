// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Measures opening the login label dialog, plain and themed, against the
// least a dialog with the same contents needs, on a policy of 256 levels and
// 64 categories with a user allowed everything:
//   dialog  LoginMacLabelDialog(uid, themed) constructed and shown
//   floor   a QDialog with a QComboBox of 256 items, one of 2, a QListWidget
//           of 64 checkable items and two QTreeViews over QStandardItemModels
//           of the two role directories the widget reads, built and shown;
//           for the themed dialog the same, with the themed form's style
//           sheet set on it (styling every widget is work the form asks for)
// Each time is the best of several runs, taken in turns; the directories'
// cache is warm.
// Run from the build directory, on a display or with QT_QPA_PLATFORM=offscreen:
//   ./bench/bench_logindialog

#include "LoginMacLabelDialog.h"
#include "LoginMacLabelWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using VarnelQt5::LoginMacLabelDialog;

namespace {

constexpr int Runs = 20;

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size();
}

bool writePolicy(const QDir &dir)
{
    QByteArray levels;
    for (int level = 0; level < 256; ++level)
        levels += QByteArray::number(level) + ":Level " + QByteArray::number(level) + '\n';
    QByteArray categories;
    for (int bit = 0; bit < 64; ++bit)
        categories += "0x" + QByteArray::number(1ULL << bit, 16) + ":Category " + QByteArray::number(bit) + '\n';
    return writeFile(dir.filePath(QStringLiteral("levels")), levels)
        && writeFile(dir.filePath(QStringLiteral("categories")), categories)
        && writeFile(dir.filePath(QStringLiteral("mac-users")), "*:0:0:255:0xffffffffffffffff\n")
        && writeFile(dir.filePath(QStringLiteral("mic-users")), "*:63\n")
        && writeFile(dir.filePath(QStringLiteral("ilevels")), "0:Low\n63:High\n");
}

// The directory tree as the role views show it: one checkable name per entry.
void addEntries(QStandardItem *parent, const QString &path)
{
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        auto *item = new QStandardItem(entry.fileName());
        item->setCheckable(true);
        parent->appendRow(item);
        if (entry.isDir() && !entry.isSymLink())
            addEntries(item, entry.filePath());
    }
}

QTreeView *roleView(const QString &path, QWidget *parent)
{
    auto *model = new QStandardItemModel(parent);
    addEntries(model->invisibleRootItem(), path);
    auto *view = new QTreeView(parent);
    view->setModel(model);
    view->setHeaderHidden(true);
    return view;
}

std::unique_ptr<QDialog> floorDialog(const QString &styleSheet)
{
    auto dialog = std::make_unique<QDialog>();
    dialog->setStyleSheet(styleSheet);
    auto *layout = new QVBoxLayout(dialog.get());
    auto *levels = new QComboBox(dialog.get());
    for (int level = 0; level < 256; ++level)
        levels->addItem(QStringLiteral("Level %1").arg(level), level);
    auto *integrity = new QComboBox(dialog.get());
    integrity->addItem(QStringLiteral("Low"), 0);
    integrity->addItem(QStringLiteral("High"), 63);
    auto *categories = new QListWidget(dialog.get());
    for (int bit = 0; bit < 64; ++bit) {
        auto *item = new QListWidgetItem(QStringLiteral("%1:Category %1").arg(bit), categories);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    layout->addWidget(levels);
    layout->addWidget(integrity);
    layout->addWidget(categories);
    layout->addWidget(roleView(QStringLiteral("/etc/X11/"), dialog.get()));
    layout->addWidget(roleView(QStringLiteral("/etc/init.d/"), dialog.get()));
    return dialog;
}

// Milliseconds to build and show one dialog; it is closed and destroyed
// untimed.
double timeOpening(const std::function<std::unique_ptr<QDialog>()> &open)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QDialog> dialog = open();
    dialog->show();
    QCoreApplication::processEvents();
    const qint64 ns = timer.nsecsElapsed();
    dialog.reset();
    QCoreApplication::processEvents();
    return ns / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir policy;
    if (!policy.isValid() || !writePolicy(QDir(policy.path()))) {
        std::fprintf(stderr, "cannot write the policy\n");
        return 1;
    }
    qputenv("VARNEL_STANDIN_DIR", QFile::encodeName(policy.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(policy.path()));
    QApplication application(argc, argv);

    // The themed form's style sheet, as the form sets it.
    const QString themedStyleSheet = VarnelQt5::LoginMacLabelWidget(uid_t(1000), true, true, nullptr).styleSheet();
    if (themedStyleSheet.isEmpty()) {
        std::fprintf(stderr, "the themed form has no style sheet\n");
        return 1;
    }
    const auto floor = [](const QString &styleSheet) {
        return [styleSheet]() { return floorDialog(styleSheet); };
    };
    const auto loginDialog = [](bool themed) {
        return [themed]() -> std::unique_ptr<QDialog> {
            return std::make_unique<LoginMacLabelDialog>(uid_t(1000), themed, nullptr);
        };
    };
    // The four are taken in turns, so that a busy moment of the machine
    // weighs on each alike; each keeps its best time.
    double plainFloor = -1, themedFloor = -1, plain = -1, themed = -1;
    const auto keepBest = [](double &best, double ms) { best = best < 0 ? ms : std::min(best, ms); };
    for (int i = 0; i < Runs; ++i) {
        keepBest(plainFloor, timeOpening(floor(QString())));
        keepBest(plain, timeOpening(loginDialog(false)));
        keepBest(themedFloor, timeOpening(floor(themedStyleSheet)));
        keepBest(themed, timeOpening(loginDialog(true)));
    }
    std::printf("plain   dialog %8.2f ms   floor %8.2f ms   ratio %.2f (target 1.50)\n", plain, plainFloor,
                plain / plainFloor);
    std::printf("themed  dialog %8.2f ms   floor %8.2f ms   ratio %.2f (target 1.50)\n", themed, themedFloor,
                themed / themedFloor);
    return 0;
}
