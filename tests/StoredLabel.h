// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_STOREDLABEL_H
#define VARNEL_TESTS_STOREDLABEL_H

// A file's label as the stand-in keeps it on the file, read and written
// behind the library's back, as another writer would.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/xattr.h>

const char attribute[] = "user.varnel.label";

// The label attribute as it is on the object named by path's bytes; "none"
// without one.
inline QByteArray storedRaw(const QByteArray &path)
{
    char value[256];
    const ssize_t size = getxattr(path.constData(), attribute, value, sizeof value);
    return size < 0 ? QByteArray("none") : QByteArray(value, int(size));
}

inline QByteArray stored(const QString &path)
{
    return storedRaw(QFile::encodeName(path));
}

inline bool storeRaw(const QByteArray &path, const QByteArray &value)
{
    return setxattr(path.constData(), attribute, value.constData(), size_t(value.size()), 0) == 0;
}

inline bool store(const QString &path, const QByteArray &value)
{
    return storeRaw(QFile::encodeName(path), value);
}

#endif
