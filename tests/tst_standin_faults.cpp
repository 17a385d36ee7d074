// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Faults, the call trace and the live count of the stand-in, and calls made
// with null handles.

#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QtTest>

#include <cstdlib>
#include <functional>

namespace {

using Call = std::function<bool()>; // true when the call succeeded

// Each faultable call, made on valid handles that it opens and gives back.
const QMap<QByteArray, Call> &calls()
{
    static const QMap<QByteArray, Call> table = [] {
        QMap<QByteArray, Call> t;
        t["openlevdb_r"] = [] { levdb *db = openlevdb_r(); closelevdb_r(db); return db != nullptr; };
        t["opencatdb_r"] = [] { catdb *db = opencatdb_r(); closecatdb_r(db); return db != nullptr; };
        t["openmacdb_r"] = [] { macdb *db = openmacdb_r(); closemacdb_r(db); return db != nullptr; };
        t["openmicdb_r"] = [] { micdb *db = openmicdb_r(); closemicdb_r(db); return db != nullptr; };
        t["setlevent_r"] = [] { levdb *db = openlevdb_r(); const int r = setlevent_r(db); closelevdb_r(db); return r == 0; };
        t["setcatent_r"] = [] { catdb *db = opencatdb_r(); const int r = setcatent_r(db); closecatdb_r(db); return r == 0; };
        t["setmacent_r"] = [] { macdb *db = openmacdb_r(); const int r = setmacent_r(db); closemacdb_r(db); return r == 0; };
        t["getlevent_r"] = [] { levdb *db = openlevdb_r(); level_entry *e = getlevent_r(db); freelevent_r(e); closelevdb_r(db); return e != nullptr; };
        t["getcatent_r"] = [] { catdb *db = opencatdb_r(); category_entry *e = getcatent_r(db); freecatent_r(e); closecatdb_r(db); return e != nullptr; };
        t["getmacuid_r"] = [] { macdb *db = openmacdb_r(); user_mac_entry *e = getmacuid_r(db, 1000); freemacent_r(e); closemacdb_r(db); return e != nullptr; };
        t["getmicuid_r"] = [] { micdb *db = openmicdb_r(); user_mic_entry *e = getmicuid_r(db, 1000); freemicent_r(e); closemicdb_r(db); return e != nullptr; };
        t["setlchuid"] = [] { const last_choice_entry e{1, 2}; return setlchuid(1000, &e) == 0; };
        t["getlchuid"] = [] { last_choice_entry e{}; return getlchuid(1000, &e) == 0; };
        t["tav_get_pid"] = [] { tav_label *l = tav_get_pid(0); tavl_put(l); return l != nullptr; };
        t["tav_get_path"] = [] { tav_label *l = tav_get_path("/"); tavl_put(l); return l != nullptr; };
        t["tavl_get_new"] = [] { tav_label *l = tavl_get_new(); tavl_put(l); return l != nullptr; };
        t["tav_set_path"] = [] {
            QTemporaryFile file;
            tav_label *l = tavl_get_new();
            const int r = file.open() ? tav_set_path(QFile::encodeName(file.fileName()).constData(), l) : -2;
            tavl_put(l);
            return r == 0;
        };
        t["tavl_supports_type"] = [] { tav_label *l = tavl_get_new(); const int r = tavl_supports_type(l, 4, 0x8000); tavl_put(l); return r == 1; };
        t["tavl_get_text"] = [] { tav_label *l = tavl_get_new(); char *s = tavl_get_text(l, 1); tavl_put(l); std::free(s); return s != nullptr; };
        t["tav_ilev_get_text"] = [] { char *s = tav_ilev_get_text(0, 1); std::free(s); return s != nullptr; };
        t["mac_init"] = [] { mac_label *m = mac_init(0x10000); mac_free(m); return m != nullptr; };
        t["mac_to_text"] = [] { mac_label *m = mac_init(0x10000); char *s = mac_to_text(m, 0, 0); mac_free(m); std::free(s); return s != nullptr; };
        return t;
    }();
    return table;
}

} // namespace

class TestStandinFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QCOMPARE(varnel_standin_live(), 0L); }

    void fault_data()
    {
        QTest::addColumn<QByteArray>("call");
        for (auto it = calls().cbegin(); it != calls().cend(); ++it)
            QTest::newRow(it.key().constData()) << it.key();
    }

    // A listed call fails, another does not, and removing the line heals it.
    void fault()
    {
        QFETCH(QByteArray, call);
        StandinPolicy policy;
        QVERIFY(calls().value("setlchuid")());
        QVERIFY(calls().value(call)());

        policy.fail(call.constData());
        QVERIFY(!calls().value(call)());
        const QByteArray other = call == "tav_ilev_get_text" ? "tavl_get_new" : "tav_ilev_get_text";
        QVERIFY(calls().value(other)());

        policy.remove("faults");
        QVERIFY(calls().value(call)());
    }

    void unknownFaultIsWarnedAndIgnored()
    {
        StandinPolicy policy;
        policy.write("faults", "no_such_call\nmac_init\n");
        StandinStderr capture;
        QVERIFY(!calls().value("mac_init")());
        QVERIFY(calls().value("tavl_get_new")());
        QCOMPARE(StandinStderr::warnedLines(capture.take(), QFile::encodeName(policy.filePath("faults"))),
                 (QList<int>{1, 1}));
    }

    void traceRecordsEveryCallInOrder()
    {
        StandinPolicy policy;
        policy.write("levels", "0:A\n1:B\n");
        levdb *db = openlevdb_r();
        setlevent_r(db);
        while (level_entry *e = getlevent_r(db))
            freelevent_r(e);
        endlevent_r(db);
        closelevdb_r(db);
        tavl_put(nullptr);
        mac_free(mac_init(0));
        QCOMPARE(StandinPolicy::takeTrace(),
                 QString::fromLatin1("openlevdb_r setlevent_r getlevent_r freelevent_r getlevent_r freelevent_r "
                                     "getlevent_r endlevent_r closelevdb_r tavl_put mac_init mac_free")
                     .split(QLatin1Char(' ')));
        QCOMPARE(QByteArray(varnel_standin_trace()), QByteArray());
        QVERIFY(QByteArray((varnel_mac_enabled(), varnel_standin_trace())) == "varnel_mac_enabled\n");
    }

    // A process that never clears the trace keeps its latest calls in whole
    // lines, and no more than a megabyte of them.
    void traceKeepsTheLatestCalls()
    {
        StandinPolicy policy;
        for (int i = 0; i < 600000; ++i)
            tavl_lev(nullptr);
        tavl_cat(nullptr);
        const QByteArray trace(varnel_standin_trace());
        QVERIFY2(trace.size() <= 1 << 20, QByteArray::number(trace.size()).constData());
        QList<QByteArray> lines = trace.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.takeLast(), QByteArray("tavl_cat"));
        QVERIFY(lines.size() > 1000);
        QCOMPARE(lines.count(QByteArray("tavl_lev")), lines.size());
        varnel_standin_trace_clear();
        tavl_put(nullptr);
        QCOMPARE(QByteArray(varnel_standin_trace()), QByteArray("tavl_put\n"));
    }

    // What is handed out counts until given back; texts do not count.
    void liveCount()
    {
        StandinPolicy policy;
        levdb *levels = openlevdb_r();
        catdb *categories = opencatdb_r();
        macdb *users = openmacdb_r();
        micdb *integrity = openmicdb_r();
        QCOMPARE(varnel_standin_live(), 4L);
        level_entry *level = getlevent_r(levels);
        category_entry *category = getcatent_r(categories);
        user_mac_entry *mac = getmacuid_r(users, 1);
        user_mic_entry *mic = getmicuid_r(integrity, 1);
        tav_label *label = tavl_get_new();
        mac_label *object = mac_init(0);
        QCOMPARE(varnel_standin_live(), 10L);
        char *text = mac_to_text(object, 0, 0);
        QCOMPARE(varnel_standin_live(), 10L);
        std::free(text);
        freelevent_r(level);
        freecatent_r(category);
        freemacent_r(mac);
        freemicent_r(mic);
        tavl_put(label);
        mac_free(object);
        QCOMPARE(varnel_standin_live(), 4L);
        closelevdb_r(levels);
        closecatdb_r(categories);
        closemacdb_r(users);
        closemicdb_r(integrity);
    }

    // Calls on null handles fail or do nothing (fault() closes and frees null).
    void nullHandlesAreHarmless()
    {
        StandinPolicy policy;
        QCOMPARE(setlevent_r(nullptr), -1);
        QCOMPARE(setcatent_r(nullptr), -1);
        QCOMPARE(setmacent_r(nullptr), -1);
        QVERIFY(!getlevent_r(nullptr));
        QVERIFY(!getcatent_r(nullptr));
        QVERIFY(!getmacuid_r(nullptr, 0));
        QVERIFY(!getmicuid_r(nullptr, 0));
        endlevent_r(nullptr);
        endcatent_r(nullptr);
        endmacent_r(nullptr);
        QCOMPARE(getlchuid(0, nullptr), -1);
        QCOMPARE(setlchuid(0, nullptr), -1);
        QVERIFY(!tav_get_path(nullptr));
        QCOMPARE(tav_set_path(nullptr, nullptr), -1);
        QCOMPARE(tav_set_path("/", nullptr), -1);
        QCOMPARE(int(tavl_lev(nullptr)) + int(tavl_ilev(nullptr)) + int(tavl_cat(nullptr)) + int(tavl_type(nullptr)), 0);
        tavl_set_lev(nullptr, 1);
        tavl_set_ilev(nullptr, 1);
        tavl_set_cat(nullptr, 1);
        tavl_set_type(nullptr, 1);
        QCOMPARE(tavl_supports_type(nullptr, 4, 0x8000), 0);
        QVERIFY(!tavl_get_text(nullptr, 1));
        mac_set_lev(nullptr, 1);
        mac_set_cat(nullptr, 1);
        QVERIFY(!mac_to_text(nullptr, 0, 0));
        QVERIFY(!tav_get_pid(1));
        QCOMPARE(StandinPolicy::trace().size(), 29); // every call is traced, null handle or not
    }
};

QTEST_GUILESS_MAIN(TestStandinFaults)
#include "tst_standin_faults.moc"
