// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The stand-in's policy files: how lines are read, which are skipped, and
// what the databases hand out.

#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray describe(unsigned long long number, const char *name)
{
    return QByteArray::number(number) + (name ? '=' + QByteArray(name) : QByteArray());
}

// A full walk, as the library makes it, after reading one record and
// rewinding; "none" when the open fails.
QByteArrayList walk(const QByteArray &file)
{
    QByteArrayList records;
    if (file == "levels") {
        levdb *db = openlevdb_r();
        if (!db)
            return {"none"};
        freelevent_r(getlevent_r(db));
        setlevent_r(db);
        while (level_entry *e = getlevent_r(db)) {
            records.append(describe(e->level, e->name));
            freelevent_r(e);
        }
        endlevent_r(db);
        closelevdb_r(db);
    } else {
        catdb *db = opencatdb_r();
        if (!db)
            return {"none"};
        freecatent_r(getcatent_r(db));
        setcatent_r(db);
        while (category_entry *e = getcatent_r(db)) {
            records.append(describe(e->mask, e->name));
            freecatent_r(e);
        }
        endcatent_r(db);
        closecatdb_r(db);
    }
    return records;
}

// The user's record as "min_level:min_categories:max_level:max_categories"
// or "max_ilevel"; "none" when there is none.
QByteArray lookUp(const QByteArray &file, uid_t uid)
{
    QByteArray result = "none";
    if (file == "mac-users") {
        macdb *db = openmacdb_r();
        if (user_mac_entry *e = getmacuid_r(db, uid)) {
            result = QByteArray::number(e->min_level) + ':' + QByteArray::number(e->min_categories) + ':'
                + QByteArray::number(e->max_level) + ':' + QByteArray::number(e->max_categories);
            freemacent_r(e);
        }
        closemacdb_r(db);
    } else {
        micdb *db = openmicdb_r();
        if (user_mic_entry *e = getmicuid_r(db, uid)) {
            result = QByteArray::number(e->max_ilevel);
            freemicent_r(e);
        }
        closemicdb_r(db);
    }
    return result;
}

} // namespace

class TestStandinPolicy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QCOMPARE(varnel_standin_live(), 0L); }

    void walk_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QByteArrayList>("records");
        QTest::addColumn<QList<int>>("warned");
        const auto row = [](const char *name, const char *file, const QByteArray &contents,
                            const QByteArrayList &records, const QList<int> &warned) {
            QTest::newRow(name) << QByteArray(file) << contents << records << warned;
        };

        row("names: null, empty, raw bytes after the first colon; duplicates in file order", "levels",
            "2\n3:\n1:a:b \xe9\xff\n0:B\n1:C\n", {"2", "3=", "1=a:b \xe9\xff", "0=B", "1=C"}, {});
        row("comments, blanks, CRLF, no final newline", "levels", "# x\n\n \t\n0x0A:Ten\r\n3:T", {"10=Ten", "3=T"},
            {});
        row("level out of range", "levels", "255:Top\n256:A\n0x100:B\n", {"255=Top"}, {2, 3});
        row("malformed numbers", "levels", "x:A\n-1:B\n:C\n 1:D\n0x:E\n1 :F\n+1:G\n2:ok\n", {"2=ok"},
            {1, 2, 3, 4, 5, 6, 7});
        row("NUL byte in a line", "levels", QByteArray("1:a\0b\n2:c\n", 10), {"2=c"}, {1});
        row("64-bit masks", "categories",
            "0xffffffffffffffff:All\n0x10000000000000000:Over\n18446744073709551615:Dec\n18446744073709551616:Over\n",
            {"18446744073709551615=All", "18446744073709551615=Dec"}, {2, 4});
        row("empty file", "categories", "", {}, {});
    }

    void walk()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
        QFETCH(QByteArrayList, records);
        QFETCH(QList<int>, warned);
        StandinPolicy policy;
        policy.write(file.constData(), contents);

        StandinStderr capture;
        const QByteArrayList read = ::walk(file);
        const QByteArray errors = capture.take();
        QCOMPARE(read, records);
        QCOMPARE(StandinStderr::warnedLines(errors, QFile::encodeName(policy.filePath(file.constData()))), warned);
        QCOMPARE(errors.count('\n'), warned.size());
    }

    void userLookup_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("warnings");
        const auto row = [](const char *name, const char *file, const QByteArray &contents, uint uid,
                            const QByteArray &record, int warnings) {
            QTest::newRow(name) << QByteArray(file) << contents << uid << record << warnings;
        };

        row("own line beats an earlier star", "mac-users", "*:0:0:1:0x1\n1000:1:0x2:3:0xff\n", 1000, "1:2:3:255", 0);
        row("star for users without a line", "mac-users", "*:0:0:1:0x1\n1000:1:0x2:3:0xff\n", 5, "0:0:1:1", 0);
        row("no line and no star", "mac-users", "1000:1:0x2:3:0xff\n", 5, "none", 0);
        row("first of duplicates", "mac-users", "7:0:0:1:0\n7:0:0:2:0\n", 7, "0:0:1:0", 0);
        row("largest uid", "mac-users", "4294967295:0:0:2:0\n4294967296:0:0:3:0\n", 4294967295u, "0:0:2:0", 1);
        row("too few, too many fields, level 256", "mac-users", "7:0:0:1\n7:0:0:1:0:9\n7:0:0:256:0\n*:x:0:1:0\n", 7,
            "none", 4);
        row("integrity star", "mic-users", "*:63\n5:7\n", 9, "63", 0);
        row("integrity beyond the record, with a name", "mic-users", "5:256\n5:1:x\n5:0x10\n", 5, "16", 2);
    }

    void userLookup()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
        QFETCH(uint, uid);
        QFETCH(QByteArray, record);
        QFETCH(int, warnings);
        StandinPolicy policy;
        policy.write(file.constData(), contents);

        StandinStderr capture;
        QCOMPARE(lookUp(file, uid), record);
        const QByteArray path = QFile::encodeName(policy.filePath(file.constData()));
        QCOMPARE(StandinStderr::warnedLines(capture.take(), path).size(), warnings);
    }

    // A missing file makes the open fail quietly; something that cannot be
    // read as a file makes it fail with a warning, and never blocks.
    void unreadableDatabase_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("kind");
        for (const char *file : {"levels", "categories", "mac-users", "mic-users"}) {
            for (const char *kind : {"missing", "directory", "fifo"})
                QTest::addRow("%s %s", file, kind) << QByteArray(file) << QByteArray(kind);
        }
    }

    void unreadableDatabase()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, kind);
        StandinPolicy policy;
        const QByteArray path = QFile::encodeName(policy.filePath(file.constData()));
        policy.remove(file.constData());
        if (kind == "directory")
            QVERIFY(mkdir(path.constData(), 0700) == 0);
        else if (kind == "fifo")
            QVERIFY(mkfifo(path.constData(), 0600) == 0);

        StandinStderr capture;
        const bool opened = file == "levels" ? openlevdb_r() != nullptr
            : file == "categories"           ? opencatdb_r() != nullptr
            : file == "mac-users"            ? openmacdb_r() != nullptr
                                             : openmicdb_r() != nullptr;
        const QByteArray errors = capture.take();
        QVERIFY(!opened);
        QCOMPARE(errors.contains(path), kind != "missing");
    }

    void system_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QList<int>>("values"); // mac_enabled, strict, max, current, level, ilevel, categories
        QTest::addColumn<int>("warnings");

        QTest::newRow("missing file: defaults") << QByteArray() << QList<int>{1, 0, 63, 0, 0, 0, 0} << 0;
        QTest::newRow("every key") << QByteArray("mac_enabled=0\nstrict_mode=1\nmax_ilev=0x10\ncurrent_ilev=5\n"
                                                 "process_label=2:3:0xff\n")
                                   << QList<int>{0, 1, 16, 5, 2, 3, 255} << 0;
        QTest::newRow("later line wins") << QByteArray("max_ilev=1\nmax_ilev=2\n") << QList<int>{1, 0, 2, 0, 0, 0, 0}
                                         << 0;
        QTest::newRow("malformed lines keep defaults")
            << QByteArray("max_ilev=-1\nunknown=1\nmax_ilev\nprocess_label=1:2\nmax_ilev=4294967296\n"
                          "process_label=256:0:0\n strict_mode=1\n")
            << QList<int>{1, 0, 63, 0, 0, 0, 0} << 7;
    }

    void system()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QList<int>, values);
        QFETCH(int, warnings);
        StandinPolicy policy;
        if (!contents.isEmpty())
            policy.write("system", contents);

        StandinStderr capture;
        tav_label *self = tav_get_pid(0);
        QVERIFY(self);
        const QList<int> read{varnel_mac_enabled(), varnel_strict_mode(), int(tav_get_max_ilev()),
                              int(tav_get_current_ilev()), int(tavl_lev(self)), int(tavl_ilev(self)),
                              int(tavl_cat(self))};
        QCOMPARE(tavl_type(self), quint16(0));
        tavl_put(self);
        QCOMPARE(read, values);
        // Each call reads the file afresh, so each reports every bad line.
        QCOMPARE(StandinStderr::warnedLines(capture.take(), QFile::encodeName(policy.filePath("system"))).size(),
                 warnings * 5);
    }

    void builtInPolicy_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::newRow("unset") << false;
        QTest::newRow("empty") << true;
    }

    void builtInPolicy()
    {
        QFETCH(bool, empty);
        if (empty)
            qputenv("VARNEL_STANDIN_DIR", QByteArray());
        else
            qunsetenv("VARNEL_STANDIN_DIR");

        QCOMPARE(::walk("levels"), (QByteArrayList{"0=Public", "1=Internal", "2=Confidential", "3=Secret"}));
        QCOMPARE(::walk("categories"), (QByteArrayList{"1=Finance", "2=Personnel", "4=Research", "8=Legal",
                                                       "16=Operations", "32=Sales", "64=Engineering", "128=Audit"}));
        QCOMPARE(lookUp("mac-users", 4242), QByteArray("0:0:3:255"));
        QCOMPARE(lookUp("mic-users", 4242), QByteArray("63"));
        QCOMPARE(QList<int>({varnel_mac_enabled(), varnel_strict_mode(), int(tav_get_max_ilev())}),
                 QList<int>({1, 0, 63}));
        for (TAV_ILEV_T level : {0u, 63u}) {
            char *name = tav_ilev_get_text(level, 0);
            QCOMPARE(QByteArray(name), QByteArray(level ? "High" : "Low"));
            free(name);
        }
        for (uint32_t type : {0x1002Du, 0x1003Fu, 0x10012u}) {
            mac_label *label = mac_init(type);
            char *name = mac_to_text(label, 0, 9);
            QVERIFY(name && *name && !QByteArray(name).startsWith("0x"));
            free(name);
            mac_free(label);
        }
        qunsetenv("VARNEL_STANDIN_DIR");
    }
};

QTEST_GUILESS_MAIN(TestStandinPolicy)
#include "tst_standin_policy.moc"
