// The stand-in's policy files: how lines are read, which are skipped, and
// what the databases hand out.

#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QtTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(QList<int>)

namespace {

QByteArray describe(unsigned long long number, const char *name)
{
    return QByteArray::number(number) + (name ? '=' + QByteArray(name) : QByteArray());
}

// A full walk, as the library makes it; "none" when the open fails.
QByteArrayList walk(const QByteArray &file)
{
    QByteArrayList records;
    if (file == "levels") {
        levdb *db = openlevdb_r();
        if (!db)
            return {"none"};
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

        QTest::newRow("null and empty names") << QByteArray("levels") << QByteArray("2\n3:\n")
                                              << QByteArrayList{"2", "3="} << QList<int>{};
        QTest::newRow("name is raw bytes after the first colon")
            << QByteArray("levels") << QByteArray("1:a:b \xe9\xff\n") << QByteArrayList{"1=a:b \xe9\xff"}
            << QList<int>{};
        QTest::newRow("duplicates in file order") << QByteArray("levels") << QByteArray("1:A\n0:B\n1:C\n")
                                                  << QByteArrayList{"1=A", "0=B", "1=C"} << QList<int>{};
        QTest::newRow("comments, blanks, CRLF, no final newline")
            << QByteArray("levels") << QByteArray("# x\n\n \t\n0x0A:Ten\r\n3:T") << QByteArrayList{"10=Ten", "3=T"}
            << QList<int>{};
        QTest::newRow("level out of range") << QByteArray("levels") << QByteArray("255:Top\n256:A\n0x100:B\n")
                                            << QByteArrayList{"255=Top"} << QList<int>{2, 3};
        QTest::newRow("malformed numbers")
            << QByteArray("levels") << QByteArray("x:A\n-1:B\n:C\n 1:D\n0x:E\n1 :F\n+1:G\n2:ok\n")
            << QByteArrayList{"2=ok"} << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("NUL byte in a line") << QByteArray("levels") << QByteArray("1:a\0b\n2:c\n", 10)
                                            << QByteArrayList{"2=c"} << QList<int>{1};
        QTest::newRow("64-bit masks") << QByteArray("categories")
                                      << QByteArray("0xffffffffffffffff:All\n0x10000000000000000:Over\n"
                                                    "18446744073709551615:Dec\n18446744073709551616:Over\n")
                                      << QByteArrayList{"18446744073709551615=All", "18446744073709551615=Dec"}
                                      << QList<int>{2, 4};
        QTest::newRow("empty file") << QByteArray("categories") << QByteArray() << QByteArrayList{}
                                    << QList<int>{};
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

    void rewindRestartsTheWalk()
    {
        StandinPolicy policy;
        levdb *db = openlevdb_r();
        QVERIFY(db);
        level_entry *first = getlevent_r(db);
        QVERIFY(first);
        QCOMPARE(setlevent_r(db), 0);
        level_entry *again = getlevent_r(db);
        QVERIFY(again);
        QCOMPARE(again->level, first->level);
        freelevent_r(first);
        freelevent_r(again);
        closelevdb_r(db);
    }

    void userLookup_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("warnings");

        const QByteArray mac("mac-users"), mic("mic-users");
        QTest::newRow("own line beats an earlier star") << mac << QByteArray("*:0:0:1:0x1\n1000:1:0x2:3:0xff\n")
                                                        << 1000u << QByteArray("1:2:3:255") << 0;
        QTest::newRow("star for users without a line") << mac << QByteArray("*:0:0:1:0x1\n1000:1:0x2:3:0xff\n")
                                                       << 5u << QByteArray("0:0:1:1") << 0;
        QTest::newRow("no line and no star") << mac << QByteArray("1000:1:0x2:3:0xff\n") << 5u << QByteArray("none")
                                             << 0;
        QTest::newRow("first of duplicates") << mac << QByteArray("7:0:0:1:0\n7:0:0:2:0\n") << 7u
                                             << QByteArray("0:0:1:0") << 0;
        QTest::newRow("largest uid") << mac << QByteArray("4294967295:0:0:2:0\n4294967296:0:0:3:0\n")
                                     << 4294967295u << QByteArray("0:0:2:0") << 1;
        QTest::newRow("too few, too many fields, level 256")
            << mac << QByteArray("7:0:0:1\n7:0:0:1:0:9\n7:0:0:256:0\n*:x:0:1:0\n") << 7u << QByteArray("none") << 4;
        QTest::newRow("integrity star") << mic << QByteArray("*:63\n5:7\n") << 9u << QByteArray("63") << 0;
        QTest::newRow("integrity own line") << mic << QByteArray("*:63\n5:7\n") << 5u << QByteArray("7") << 0;
        QTest::newRow("integrity beyond the record") << mic << QByteArray("5:256\n5:0x10\n") << 5u
                                                     << QByteArray("16") << 1;
        QTest::newRow("integrity with a name") << mic << QByteArray("5:1:x\n") << 5u << QByteArray("none") << 1;
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
        QCOMPARE(StandinStderr::warnedLines(capture.take(), QFile::encodeName(policy.filePath(file.constData())))
                     .size(),
                 warnings);
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
        bool opened = true;
        if (file == "levels")
            opened = openlevdb_r() != nullptr;
        else if (file == "categories")
            opened = opencatdb_r() != nullptr;
        else if (file == "mac-users")
            opened = openmacdb_r() != nullptr;
        else
            opened = openmicdb_r() != nullptr;
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
        QCOMPARE(varnel_mac_enabled(), 1);
        QCOMPARE(varnel_strict_mode(), 0);
        QCOMPARE(tav_get_max_ilev(), 63u);
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
