// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Measures varnel-file-label's command line against the attribute tools an
// administrator would otherwise reach for, over the same 10,000 files (a
// different count as the argument), each run a process of its own with the
// file names as arguments, relative to the files' directory:
//   --set LABEL on files that all hold one label,
//   --set LABEL on files whose labels all differ,
//                                  against  getfattr -n user.varnel.label, then
//                                           setfattr -n user.varnel.label -v LABEL
//                                           (--set reads each label before it
//                                           writes it)
//   --get                          against  getfattr -n user.varnel.label
// Before each run of a side the files get their labels back, so that every
// run changes every file. varnel-file-label checks the label against the
// policy and each object's kind as always; the policy is the stand-in's
// built-in one. Targets: --set on labels that all differ at most 1.5 times
// --set on one label, both at most 1.3 times getfattr then setfattr, --get
// at most 1.5 times getfattr. Each time is the best of several runs, the
// sides taking turns. setfattr and getfattr come with the Debian package
// attr. Run from the build directory:
//   ./bench/bench_file_label [files]

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int Runs = 7;
const char attribute[] = "user.varnel.label";
// What the files hold before a run (one label, or each its own), and the
// label every run writes.
const char heldLabel[] = "2:0:0x3:0x0";
const char label[] = "1:0:0x1:0x0";

// Runs a program with its output thrown away; its wall time in seconds, or
// a negative number when it could not run or failed.
double timed(const QList<QByteArray> &arguments)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

bool holds(const QByteArray &file, const char *value)
{
    char stored[64];
    const ssize_t size = getxattr(file.constData(), attribute, stored, sizeof stored);
    return size >= 0 && QByteArray(stored, int(size)) == value;
}

// Gives every file one label, or each its own (level, integrity level and
// categories counted up, 65,536 labels before one comes again).
bool relabel(const QList<QByteArray> &files, bool allDifferent)
{
    for (int i = 0; i < files.size(); ++i) {
        const QByteArray value = allDifferent
            ? QByteArray::number(i % 4) + ':' + QByteArray::number((i / 4) % 64) + ":0x"
                + QByteArray::number((i / 256) % 256, 16) + ":0x0"
            : QByteArray(heldLabel);
        if (setxattr(files.at(i).constData(), attribute, value.constData(), size_t(value.size()), 0) != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: %s [files]\n", argv[0]);
        return 2;
    }
    // The built-in policy, as the program runs on a fresh machine, and a
    // runtime directory of its own, so that Qt has nothing to say about one.
    unsetenv("VARNEL_STANDIN_DIR");
    QTemporaryDir runtime;
    if (runtime.isValid())
        setenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()).constData(), 1);

    QTemporaryDir dir;
    if (!dir.isValid() || chdir(QFile::encodeName(dir.path()).constData()) != 0) {
        std::fprintf(stderr, "cannot make a directory for the files\n");
        return 1;
    }
    QList<QByteArray> files;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = "file" + QByteArray::number(i);
        const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::fprintf(stderr, "cannot make the files\n");
            return 1;
        }
        close(fd);
        files << name;
    }

    const QByteArray program = FILE_LABEL;
    const QList<QByteArray> setfattr = QList<QByteArray>{"setfattr", "-n", attribute, "-v", label} + files;
    const QList<QByteArray> getfattr = QList<QByteArray>{"getfattr", "-n", attribute} + files;
    const QList<QByteArray> set = QList<QByteArray>{program, "--set", label} + files;
    const QList<QByteArray> get = QList<QByteArray>{program, "--get"} + files;
    if (!relabel(files, false) || timed(setfattr) < 0) {
        std::fprintf(stderr, "setfattr did not run: install the Debian package attr\n");
        return 1;
    }

    enum Side { SetOne, SetDifferent, GetThenSet, Get, GetAttribute, Sides };
    double best[Sides] = {1e9, 1e9, 1e9, 1e9, 1e9};
    for (int run = 0; run < Runs; ++run) {
        for (int side = 0; side < Sides; ++side) {
            if (!relabel(files, side == SetDifferent)) {
                std::fprintf(stderr, "cannot label the files\n");
                return 1;
            }
            double seconds = 0;
            switch (side) {
            case SetOne:
            case SetDifferent:
                seconds = timed(set);
                break;
            case GetThenSet: {
                const double read = timed(getfattr);
                const double written = read < 0 ? -1 : timed(setfattr);
                seconds = written < 0 ? -1 : read + written;
                break;
            }
            case Get:
                seconds = timed(get);
                break;
            case GetAttribute:
                seconds = timed(getfattr);
                break;
            }
            if (seconds < 0) {
                std::fprintf(stderr, "run %d of side %d failed\n", run, side);
                return 1;
            }
            if ((side == SetOne || side == SetDifferent)
                && (!holds(files.constFirst(), label) || !holds(files.constLast(), label))) {
                std::fprintf(stderr, "the files do not hold %s after --set\n", label);
                return 1;
            }
            best[side] = std::min(best[side], seconds);
        }
    }

    std::printf("%d files, best of %d runs each\n", count, Runs);
    std::printf("--set, one label held:      %.1f ms\n", best[SetOne] * 1e3);
    std::printf("--set, every label differs: %.1f ms, ratio to one label %.2f (target at most 1.5)\n",
                best[SetDifferent] * 1e3, best[SetDifferent] / best[SetOne]);
    std::printf("getfattr then setfattr:     %.1f ms; --set ratios %.2f (one label) and %.2f (every label "
                "differs) (target at most 1.3)\n",
                best[GetThenSet] * 1e3, best[SetOne] / best[GetThenSet], best[SetDifferent] / best[GetThenSet]);
    std::printf("--get: %.1f ms, getfattr: %.1f ms, ratio %.2f (target at most 1.5)\n", best[Get] * 1e3,
                best[GetAttribute] * 1e3, best[Get] / best[GetAttribute]);
    return 0;
}
