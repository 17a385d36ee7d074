#ifndef VARNEL_TESTS_PROGRAMRUN_H
#define VARNEL_TESTS_PROGRAMRUN_H

// Runs one of the project's programs as a process, headless, in the test's
// environment (its policy directory and state directory included).

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

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

    QList<QByteArray> errLines() const { return err.trimmed().isEmpty() ? QList<QByteArray>() : err.trimmed().split('\n'); }
};

#endif
