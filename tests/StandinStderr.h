// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_STANDINSTDERR_H
#define VARNEL_TESTS_STANDINSTDERR_H

// Captures what the stand-in writes to stderr while the object lives, by
// pointing file descriptor 2 at a temporary file.

#include <QByteArray>
#include <QList>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

class StandinStderr
{
public:
    StandinStderr()
    {
        if (!m_file.open())
            return;
        std::fflush(stderr);
        m_saved = dup(2);
        dup2(m_file.handle(), 2);
    }
    ~StandinStderr() { restore(); }

    StandinStderr(const StandinStderr &) = delete;
    StandinStderr &operator=(const StandinStderr &) = delete;

    // Ends the capture and returns what was written.
    QByteArray take()
    {
        restore();
        return m_file.seek(0) ? m_file.readAll() : QByteArray();
    }

    // The line numbers that the captured warnings name for the file at path,
    // in the order written; a warning names the file as "path:line:".
    static QList<int> warnedLines(const QByteArray &captured, const QByteArray &path)
    {
        QList<int> lines;
        for (const QByteArray &line : captured.split('\n')) {
            const int at = line.indexOf(QByteArray(path + ':'));
            if (at < 0)
                continue;
            const QByteArray rest = line.mid(at + path.size() + 1);
            lines.append(rest.left(rest.indexOf(':')).toInt());
        }
        return lines;
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

#endif
