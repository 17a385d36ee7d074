// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The stand-in's last-choice store: one line a user, replaced atomically
// under a lock so that concurrent writers lose nothing.

#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QtTest>

#include <csignal>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QByteArray lastChoice(uid_t uid)
{
    last_choice_entry entry{};
    if (getlchuid(uid, &entry) != 0)
        return "none";
    return QByteArray::number(entry.level) + ':' + QByteArray::number(entry.categories, 16);
}

} // namespace

class TestStandinLastChoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QCOMPARE(varnel_standin_live(), 0L); }

    void store_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("appends") << QByteArray("5:1:0x1\n") << 1000u << QByteArray("5:1:0x1\n1000:2:0x3\n");
        QTest::newRow("replaces, keeping every other line")
            << QByteArray("# note\n5:1:0x1\n\nbad line\n1000:0:0\n7:2:0x2") << 1000u
            << QByteArray("# note\n5:1:0x1\n\nbad line\n1000:2:0x3\n7:2:0x2\n");
        QTest::newRow("replaces the first well-formed of duplicates")
            << QByteArray("1000:300:0\n1000:0:0\n1000:1:1\n") << 1000u
            << QByteArray("1000:300:0\n1000:2:0x3\n1000:1:1\n");
        QTest::newRow("largest uid") << QByteArray() << 4294967295u << QByteArray("4294967295:2:0x3\n");
        QTest::newRow("empty first line") << QByteArray("\n1:2:0x3\n") << 1u << QByteArray("\n1:2:0x3\n");
    }

    void store()
    {
        QFETCH(QByteArray, before);
        QFETCH(uint, uid);
        QFETCH(QByteArray, after);
        StandinPolicy policy;
        policy.write("lastchoice", before);

        const last_choice_entry entry{2, 0x3};
        QCOMPARE(setlchuid(uid, &entry), 0);
        QCOMPARE(readFile(policy.filePath("lastchoice")), after);
        QCOMPARE(lastChoice(uid), QByteArray("2:3"));
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QByteArray>("choice");
        QTest::addColumn<QList<int>>("warned");

        QTest::newRow("no line") << QByteArray("5:1:0x1\n") << QByteArray("none") << QList<int>{};
        QTest::newRow("first line wins") << QByteArray("1000:1:0x1\n1000:2:0x2\n") << QByteArray("1:1")
                                         << QList<int>{};
        QTest::newRow("malformed lines skipped")
            << QByteArray("1000:256:0\n1000:1\n*:1:1\n1000:3:0xff\n") << QByteArray("3:ff") << QList<int>{1, 2, 3};
    }

    void read()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QByteArray, choice);
        QFETCH(QList<int>, warned);
        StandinPolicy policy;
        policy.write("lastchoice", contents);
        StandinStderr capture;
        QCOMPARE(lastChoice(1000), choice);
        QCOMPARE(StandinStderr::warnedLines(capture.take(), QFile::encodeName(policy.filePath("lastchoice"))), warned);
    }

    // The file is replaced, never rewritten in place, keeps its mode, and
    // nothing temporary stays behind.
    void replacedAtomically()
    {
        StandinPolicy policy;
        policy.write("lastchoice", "5:1:0x1\n");
        const QByteArray path = QFile::encodeName(policy.filePath("lastchoice"));
        QCOMPARE(chmod(path.constData(), 0600), 0);
        struct stat before;
        QCOMPARE(stat(path.constData(), &before), 0);
        const last_choice_entry entry{1, 1};
        QCOMPARE(setlchuid(7, &entry), 0);
        struct stat after;
        QCOMPARE(stat(path.constData(), &after), 0);
        QVERIFY(before.st_ino != after.st_ino);
        QCOMPARE(after.st_mode & 07777, mode_t(0600));
        const QStringList files = QDir(policy.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString &file : files)
            QVERIFY2(!file.contains(QLatin1String(".lastchoice.")), qPrintable(file));
    }

    // A writer killed between making its temporary file and renaming it
    // leaves the file behind. Writers make theirs only while holding the
    // lock, so the next writer removes any it finds, and nothing else.
    void staleTemporariesRemoved()
    {
        StandinPolicy policy;
        policy.write("lastchoice", "5:1:0x1\n");
        policy.write(".lastchoice.Ab3xZ9", "5:1:0x1\n");
        policy.write(".lastchoice.000000", "");
        const QList<const char *> kept{".lastchoice.keep", ".lastchoice.Ab3xZ9x", ".lastchoice.Ab-xZ9", "lastchoice.Ab3xZ9"};
        for (const char *name : kept)
            policy.write(name, "other\n");
        QVERIFY(QDir(policy.path()).mkdir(QStringLiteral(".lastchoice.Dir123")));

        const last_choice_entry entry{1, 1};
        QCOMPARE(setlchuid(7, &entry), 0);
        QCOMPARE(readFile(policy.filePath("lastchoice")), QByteArray("5:1:0x1\n7:1:0x1\n"));
        QStringList expected{QStringLiteral(".lastchoice.Dir123"), QStringLiteral("lastchoice"),
                             QStringLiteral("lastchoice.lock")};
        for (const char *name : kept)
            expected.append(QLatin1String(name));
        const QStringList files = QDir(policy.path()).entryList({QStringLiteral("*lastchoice*")},
                                                               QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        expected.sort();
        QCOMPARE(files, expected);
    }

    // Writers killed at any moment lose nothing that was stored, never leave
    // a torn file, and what they leave behind goes with the next write.
    void killedWritersLeaveNothing()
    {
        StandinPolicy policy;
        const int writers = 20;
        for (int w = 0; w < writers; ++w) {
            // Killed however this case ends.
            struct Writer {
                pid_t pid = fork();
                ~Writer()
                {
                    if (pid > 0 && kill(pid, SIGKILL) == 0)
                        waitpid(pid, nullptr, 0);
                }
            } writer;
            QVERIFY(writer.pid >= 0);
            if (writer.pid == 0) {
                for (mac_cat_t r = 1;; ++r) {
                    const last_choice_entry entry{1, r};
                    setlchuid(uid_t(100 + w), &entry);
                }
            }
            QTRY_VERIFY(lastChoice(uid_t(100 + w)) != "none");
        }
        const last_choice_entry entry{2, 2};
        QCOMPARE(setlchuid(1, &entry), 0);
        const QList<QByteArray> lines = readFile(policy.filePath("lastchoice")).split('\n');
        QCOMPARE(lines.size(), writers + 2);
        for (int w = 0; w < writers; ++w)
            QVERIFY2(lines.at(w).startsWith(QByteArray(QByteArray::number(100 + w) + ":1:0x")), lines.at(w).constData());
        QCOMPARE(lines.at(writers), QByteArray("1:2:0x2"));
        const QStringList temporaries = QDir(policy.path()).entryList({QStringLiteral(".lastchoice.*")},
                                                                     QDir::Files | QDir::Hidden);
        QVERIFY2(temporaries.isEmpty(), qPrintable(temporaries.join(QLatin1Char(' '))));
    }

    void concurrentWritersLoseNothing()
    {
        StandinPolicy policy;
        const int writers = 6, rounds = 40;
        QList<pid_t> children;
        for (int w = 0; w < writers; ++w) {
            const pid_t pid = fork();
            QVERIFY(pid >= 0);
            if (pid == 0) {
                int failures = 0;
                for (int r = 1; r <= rounds; ++r) {
                    const last_choice_entry entry{mac_lev_t(w), mac_cat_t(r)};
                    failures += setlchuid(uid_t(100 + w), &entry) != 0;
                }
                _exit(failures == 0 ? 0 : 1);
            }
            children.append(pid);
        }
        for (pid_t pid : qAsConst(children)) {
            int status = 0;
            QCOMPARE(waitpid(pid, &status, 0), pid);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        for (int w = 0; w < writers; ++w)
            QCOMPARE(lastChoice(uid_t(100 + w)), QByteArray::number(w) + ':' + QByteArray::number(rounds, 16));
        QCOMPARE(readFile(policy.filePath("lastchoice")).count('\n'), writers);
    }

    // Without a policy directory the store lives in the user's state
    // directory, which is created when missing.
    void stateDirectory_data()
    {
        QTest::addColumn<QByteArray>("xdg"); // absolute: below the home directory; empty: unset
        QTest::addColumn<QString>("file");
        const QString inHome = QStringLiteral(".local/state/varnel-standin/lastchoice");
        QTest::newRow("XDG_STATE_HOME") << QByteArray("/state")
                                        << QStringLiteral("state/varnel-standin/lastchoice");
        QTest::newRow("HOME") << QByteArray() << inHome;
        // Ignored, not taken from the current directory.
        QTest::newRow("relative XDG_STATE_HOME") << QByteArray("state") << inHome;
    }

    void stateDirectory()
    {
        QFETCH(QByteArray, xdg);
        QFETCH(QString, file);
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME"), savedState = qgetenv("XDG_STATE_HOME");
        qunsetenv("VARNEL_STANDIN_DIR");
        qputenv("HOME", QFile::encodeName(home.path()));
        if (xdg.isEmpty())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", xdg.startsWith('/') ? QFile::encodeName(home.path()) + xdg : xdg);
        // A relative value, wrongly taken, lands in the home directory too.
        const QString savedCurrent = QDir::currentPath();
        QDir::setCurrent(home.path());

        const last_choice_entry entry{3, 0x10};
        const int stored = setlchuid(42, &entry);
        const QByteArray choice = lastChoice(42);
        QDir::setCurrent(savedCurrent);
        qputenv("HOME", savedHome);
        qputenv("XDG_STATE_HOME", savedState);
        QCOMPARE(stored, 0);
        QCOMPARE(choice, QByteArray("3:10"));
        QCOMPARE(readFile(home.filePath(file)), QByteArray("42:3:0x10\n"));
    }

    // A store that is not a file fails both ways and is left alone.
    void storeIsADirectory()
    {
        StandinPolicy policy;
        QVERIFY(QDir(policy.path()).mkdir(QStringLiteral("lastchoice")));
        StandinStderr capture;
        const last_choice_entry entry{1, 1};
        QCOMPARE(setlchuid(1, &entry), -1);
        QCOMPARE(lastChoice(1), QByteArray("none"));
        QVERIFY(capture.take().contains(QFile::encodeName(policy.filePath("lastchoice"))));
        QVERIFY(QFileInfo(policy.filePath("lastchoice")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestStandinLastChoice)
#include "tst_standin_lastchoice.moc"
