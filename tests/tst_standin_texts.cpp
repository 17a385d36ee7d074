// The texts of the stand-in's label library.

#include "StandinPolicy.h"
#include "labelpolicy.h"

#include <QtTest>

#include <cstdlib>

namespace {

// Takes a malloc'd text; "(null)" for a null one.
QByteArray take(char *text)
{
    const QByteArray copy = text ? QByteArray(text) : QByteArray("(null)");
    std::free(text);
    return copy;
}

} // namespace

class TestStandinTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QCOMPARE(varnel_standin_live(), 0L); }

    void macToText_data()
    {
        QTest::addColumn<QByteArray>("file"); // replaces the policy's file of that name
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<uint>("type");
        QTest::addColumn<int>("level");
        QTest::addColumn<qulonglong>("categories");
        QTest::addColumn<int>("form");
        QTest::addColumn<QByteArray>("text");

        const QByteArray none;
        QTest::newRow("whole label") << none << none << 0u << 2 << 0x3ull << 0 << QByteArray("2:3");
        QTest::newRow("whole label, hex categories") << none << none << 0u << 1 << 0xffull << 0 << QByteArray("1:ff");
        QTest::newRow("whole label, extremes")
            << none << none << 0x10000u << 255 << ~0ull << 0 << QByteArray("255:ffffffffffffffff");
        QTest::newRow("level name") << none << none << 0x10000u << 2 << 0ull << 3 << QByteArray("L2");
        QTest::newRow("level without a line") << none << none << 0x10000u << 9 << 0ull << 3 << QByteArray("9");
        QTest::newRow("level: last line wins") << QByteArray("levels") << QByteArray("2:A\n2:B\n") << 0u << 2 << 0ull
                                               << 3 << QByteArray("B");
        QTest::newRow("level: last line without a name")
            << QByteArray("levels") << QByteArray("2:A\n2\n") << 0u << 2 << 0ull << 3 << QByteArray("2");
        QTest::newRow("level: empty name") << QByteArray("levels") << QByteArray("2:\n") << 0u << 2 << 0ull << 3
                                           << QByteArray("");
        QTest::newRow("level: no levels file") << QByteArray("levels") << QByteArray("(missing)") << 0u << 1 << 0ull
                                               << 3 << QByteArray("1");
        QTest::newRow("categories ascending") << none << none << 0x10000u << 0 << 0x85ull << 5
                                              << QByteArray("C0,C2,C7");
        QTest::newRow("empty category set") << none << none << 0x10000u << 0 << 0ull << 5 << QByteArray("");
        QTest::newRow("unnamed categories in decimal")
            << none << none << 0x10000u << 0 << 0x8000000000000101ull << 5 << QByteArray("C0,8,63");
        QTest::newRow("categories: only single-bit masks name a bit, last wins")
            << QByteArray("categories") << QByteArray("0x3:Both\n0x1:A\n0x1:B\n0x2\n") << 0u << 0 << 0x3ull << 5
            << QByteArray("B,1");
        QTest::newRow("type name") << QByteArray("types") << QByteArray("0x1002d:Shared\n") << 0x1002Du << 0 << 0ull
                                   << 9 << QByteArray("Shared");
        QTest::newRow("type without a name") << QByteArray("types") << QByteArray("0x1002d:Shared\n") << 0x10000u << 0
                                             << 0ull << 9 << QByteArray("0x10000");
        QTest::newRow("unknown form") << none << none << 0u << 1 << 1ull << 7 << QByteArray("(null)");
    }

    void macToText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
        QFETCH(uint, type);
        QFETCH(int, level);
        QFETCH(qulonglong, categories);
        QFETCH(int, form);
        QFETCH(QByteArray, text);
        StandinPolicy policy;
        if (contents == "(missing)")
            policy.remove(file.constData());
        else if (!file.isEmpty())
            policy.write(file.constData(), contents);

        mac_label *label = mac_init(type);
        QVERIFY(label);
        mac_set_lev(label, mac_lev_t(level));
        mac_set_cat(label, categories);
        QCOMPARE(take(mac_to_text(label, 0, form)), text);
        mac_free(label);
    }

    void labelText_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<uint>("ilevel");
        QTest::addColumn<qulonglong>("categories");
        QTest::addColumn<int>("form");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("example") << 2 << 0u << 0x3ull << 1 << QByteArray("2:0:0x3");
        QTest::newRow("extremes") << 255 << 4294967295u << ~0ull << 1
                                  << QByteArray("255:4294967295:0xffffffffffffffff");
        QTest::newRow("other form") << 2 << 0u << 0x3ull << 0 << QByteArray("(null)");
    }

    void labelText()
    {
        QFETCH(int, level);
        QFETCH(uint, ilevel);
        QFETCH(qulonglong, categories);
        QFETCH(int, form);
        QFETCH(QByteArray, text);
        StandinPolicy policy;
        tav_label *label = tavl_get_new();
        QVERIFY(label);
        tavl_set_lev(label, mac_lev_t(level));
        tavl_set_ilev(label, ilevel);
        tavl_set_cat(label, categories);
        QCOMPARE(take(tavl_get_text(label, form)), text);
        tavl_put(label);
    }

    void integrityText_data()
    {
        QTest::addColumn<uint>("ilevel");
        QTest::addColumn<int>("form");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("named, form 0") << 0u << 0 << QByteArray("Low");
        QTest::newRow("named, form 1") << 63u << 1 << QByteArray("High");
        QTest::newRow("unnamed, form 0") << 5u << 0 << QByteArray("(null)");
        QTest::newRow("unnamed, form 1") << 5u << 1 << QByteArray("5");
        QTest::newRow("largest, form 1") << 4294967295u << 1 << QByteArray("4294967295");
        QTest::newRow("other form") << 0u << 2 << QByteArray("(null)");
    }

    void integrityText()
    {
        QFETCH(uint, ilevel);
        QFETCH(int, form);
        QFETCH(QByteArray, text);
        StandinPolicy policy;
        QCOMPARE(take(tav_ilev_get_text(ilevel, form)), text);
    }

    void filesAreReadAtEveryCall()
    {
        StandinPolicy policy;
        QCOMPARE(take(tav_ilev_get_text(0, 0)), QByteArray("Low"));
        policy.write("ilevels", "0:Changed\n");
        QCOMPARE(take(tav_ilev_get_text(0, 0)), QByteArray("Changed"));
        policy.remove("ilevels");
        QCOMPARE(take(tav_ilev_get_text(0, 0)), QByteArray("(null)"));
    }
};

QTEST_GUILESS_MAIN(TestStandinTexts)
#include "tst_standin_texts.moc"
