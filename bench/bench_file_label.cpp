// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Measures varnel-file-label's command line against the attribute tools an
// administrator would otherwise reach for, over the same 10,000 files (a
// different count as the argument), each run a process of its own with the
// file names as arguments, relative to the files' directory:
//   --set LABEL                    against  setfattr -n user.varnel.label -v LABEL
//                                           (the two writing different labels
//                                           in turn, so that every run changes
//                                           every file)
//   --get                          against  getfattr -n user.varnel.label
// varnel-file-label checks the label against the policy and each object's
// kind as always; the policy is the stand-in's built-in one. Targets: --set
// at most 2 times setfattr, --get at most 1.5 times getfattr. Each time is
// the best of several runs, the two sides taking turns. setfattr and
// getfattr come with the Debian package attr. Run from the build directory:
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

constexpr int Runs = 9;
const char attribute[] = "user.varnel.label";
// The two sides write different labels, so that every run changes every file.
const char label[] = "1:0:0x1:0x0";
const char otherLabel[] = "2:0:0x3:0x0";

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
    const QList<QByteArray> set = QList<QByteArray>{program, "--set", otherLabel} + files;
    const QList<QByteArray> get = QList<QByteArray>{program, "--get"} + files;
    if (timed(setfattr) < 0) {
        std::fprintf(stderr, "setfattr did not run: install the Debian package attr\n");
        return 1;
    }

    double best[4] = {1e9, 1e9, 1e9, 1e9};
    for (int run = 0; run < Runs; ++run) {
        // setfattr, then --set, each changing what the other wrote.
        const QList<QByteArray> *commands[4] = {&setfattr, &set, &getfattr, &get};
        for (int i = 0; i < 4; ++i) {
            const double seconds = timed(*commands[i]);
            if (seconds < 0) {
                std::fprintf(stderr, "%s failed\n", commands[i]->at(i % 2 ? 1 : 0).constData());
                return 1;
            }
            best[i] = std::min(best[i], seconds);
        }
    }
    // The last to write was --set.
    if (!holds(files.constFirst(), otherLabel) || !holds(files.constLast(), otherLabel)) {
        std::fprintf(stderr, "the files do not hold %s after the runs\n", otherLabel);
        return 1;
    }

    std::printf("%d files, best of %d runs each\n", count, Runs);
    std::printf("--set: %.1f ms, setfattr: %.1f ms, ratio %.2f (target at most 2)\n", best[1] * 1e3, best[0] * 1e3,
                best[1] / best[0]);
    std::printf("--get: %.1f ms, getfattr: %.1f ms, ratio %.2f (target at most 1.5)\n", best[3] * 1e3,
                best[2] * 1e3, best[3] / best[2]);
    return 0;
}
