// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_PROGRAMRUN_H
#define VARNEL_TESTS_PROGRAMRUN_H

// Runs one of the project's programs as a process, headless, in the test's
// environment (its policy directory and state directory included).

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>

struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;

    ProgramRun(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(90000)) {
            process.kill();
            process.waitForFinished();
        } else if (process.exitStatus() == QProcess::NormalExit) {
            status = process.exitCode();
        }
        out = process.readAllStandardOutput();
        // The headless platform's own note on some windows, not the program's.
        err = process.readAllStandardError().replace("This plugin does not support propagateSizeHints()\n", "");
    }

    // A private runtime directory keeps Qt's warning about a missing one off
    // the programs' stderr, which the tests read line by line.
    static void quietRuntime(const QTemporaryDir &dir) { qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit()); }

    // Runs with no display at all: no X, no Wayland, no platform chosen.
    static ProgramRun withoutDisplay(const QString &program, const QStringList &arguments)
    {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        const QByteArray display = qgetenv("DISPLAY");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            qunsetenv(name);
        ProgramRun run(program, arguments);
        for (const auto &[name, value] : {std::pair{"QT_QPA_PLATFORM", platform}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", wayland}}) {
            if (!value.isEmpty())
                qputenv(name, value);
        }
        return run;
    }

    QList<QByteArray> errLines() const { return err.trimmed().isEmpty() ? QList<QByteArray>() : err.trimmed().split('\n'); }
};

#endif
