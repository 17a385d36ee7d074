// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_FILELABELRUN_H
#define VARNEL_TESTS_FILELABELRUN_H

// varnel-file-label's tests: labelled objects made and read back as the
// platform keeps them, and the program run in the ways a script runs it.

#include "FileLabel.h"
#include "ProgramRun.h"
#include "StoredLabel.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char before[] = "1:0:0x1:0x0";

// A labelled file or directory in dir.
inline QString makeObject(const QTemporaryDir &dir, const QString &kind, const QByteArray &label)
{
    const QString path = dir.filePath(kind);
    if (kind == QLatin1String("dir")) {
        QDir().mkdir(path);
    } else {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }
    if (!label.isEmpty())
        store(path, label);
    return path;
}

// A file named by raw bytes in dir, labelled when label is given; its path.
inline QByteArray makeRaw(const QTemporaryDir &dir, const QByteArray &name, const QByteArray &label = QByteArray())
{
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    const int made = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (made >= 0)
        ::close(made);
    if (!label.isEmpty())
        storeRaw(path, label);
    return path;
}

// A stored label as a form shows it: type cut to the label library's 16
// bits, no label as 0; high gets the type's high half.
inline FileLabel asShown(const QByteArray &value, quint32 *high = nullptr)
{
    const QList<QByteArray> fields = value.split(':');
    FileLabel label;
    if (fields.size() != 4)
        return label;
    label.level = mac_lev_t(fields.at(0).toUInt());
    label.ilevel = fields.at(1).toUInt();
    label.categories = fields.at(2).toULongLong(nullptr, 16);
    label.type = uint16_t(fields.at(3).toUInt(nullptr, 16));
    if (high)
        *high = fields.at(3).toUInt(nullptr, 16) >> 16;
    return label;
}

inline ProgramRun fileLabel(const QStringList &arguments)
{
    return ProgramRun(QStringLiteral(FILE_LABEL), arguments);
}

// The program's own lines on stderr, without what Qt or the stand-in say.
inline QList<QByteArray> ownLines(const ProgramRun &run)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : run.errLines()) {
        if (line.startsWith("varnel-file-label: "))
            lines << line.mid(int(sizeof "varnel-file-label: ") - 1);
    }
    return lines;
}

// Runs the program in dir, so that names may be given bare.
inline ProgramRun fileLabelIn(const QString &dir, const QStringList &arguments)
{
    return ProgramRun(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"),
                                                             QStringLiteral("cd \"$1\" && shift && exec \"$0\" \"$@\""),
                                                             QStringLiteral(FILE_LABEL), dir}
                                                     + arguments);
}

// Runs the program through the shell, so that arguments may hold any bytes
// and the environment and output may be set up first: the script names the
// program "$p" and the bytes "$a0", "$a1" and so on.
inline ProgramRun shell(const QString &script, const QList<QByteArray> &bytes = {})
{
    QString prelude;
    for (int i = 0; i < bytes.size(); ++i) {
        QString octal;
        for (const char c : bytes.at(i))
            octal += QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(c)), 3, 8, QLatin1Char('0'));
        // The X keeps a last line feed from the command substitution.
        prelude += QStringLiteral("a%1=$(printf '%2X'); a%1=${a%1%X}; ").arg(i).arg(octal);
    }
    return ProgramRun(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("p=$0; ") + prelude + script, QStringLiteral(FILE_LABEL)});
}

inline bool privileged()
{
    return ::geteuid() == 0;
}

// Runs the program as a user without privileges: as root, as nobody, over
// objects and a policy that nobody may reach.
inline ProgramRun unprivileged(const QStringList &arguments)
{
    if (!privileged())
        return fileLabel(arguments);
    return ProgramRun(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), QStringLiteral("--"), QStringLiteral(FILE_LABEL)}
                          << arguments);
}

// Lets nobody reach dir and what it holds, owning what is below it; false
// when something stays out of reach or owned as before.
inline bool handOver(const QString &dir, bool own = true)
{
    bool done = ::chmod(QFile::encodeName(dir).constData(), 0755) == 0;
    if (!privileged() || !own)
        return done;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        done = ::lchown(QFile::encodeName(it.next()).constData(), 65534, 65534) == 0 && done;
    return done;
}

#endif
