// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_STANDINPOLICY_H
#define VARNEL_TESTS_STANDINPOLICY_H

// A private policy directory for the platform stand-in, made afresh for each
// test case. The stand-in reads its files at every call, so a case may change
// a file between two calls.

#include <varnel-standin.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class StandinPolicy
{
public:
    // Levels 0..3 named L0..L3, categories 0..7 named C0..C7, every user
    // allowed 0..3 and 0xff, integrity 0 and 63 named.
    static QByteArray defaultFile(const char *name)
    {
        const QByteArray file(name);
        if (file == "levels")
            return "0:L0\n1:L1\n2:L2\n3:L3\n";
        if (file == "categories")
            return "0x1:C0\n0x2:C1\n0x4:C2\n0x8:C3\n0x10:C4\n0x20:C5\n0x40:C6\n0x80:C7\n";
        if (file == "mac-users")
            return "*:0:0:3:0xff\n";
        if (file == "mic-users")
            return "*:63\n";
        if (file == "ilevels")
            return "0:Low\n63:High\n";
        return QByteArray();
    }

    StandinPolicy()
    {
        QVERIFY2(m_dir.isValid(), "no temporary directory");
        qputenv("VARNEL_STANDIN_DIR", QFile::encodeName(m_dir.path()));
        for (const char *name : {"levels", "categories", "mac-users", "mic-users", "ilevels"})
            write(name, defaultFile(name));
        varnel_standin_trace_clear();
    }

    ~StandinPolicy() { qunsetenv("VARNEL_STANDIN_DIR"); }

    StandinPolicy(const StandinPolicy &) = delete;
    StandinPolicy &operator=(const StandinPolicy &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    void write(const char *name, const QByteArray &contents) const
    {
        QFile file(filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(contents), qint64(contents.size()));
    }

    void remove(const char *name) const { QFile::remove(filePath(name)); }

    // Data rows spell a missing file as empty contents.
    void writeOrRemove(const char *name, const QByteArray &contents) const
    {
        if (contents.isEmpty())
            remove(name);
        else
            write(name, contents);
    }

    // Makes the named platform call fail until the faults file is removed.
    void fail(const char *call) const { write("faults", QByteArray(call) + '\n'); }

    // The platform calls made since the last clear, one name each.
    static QStringList trace()
    {
        return QString::fromLatin1(varnel_standin_trace()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static QStringList takeTrace()
    {
        const QStringList calls = trace();
        varnel_standin_trace_clear();
        return calls;
    }

private:
    QTemporaryDir m_dir;
};

#endif
