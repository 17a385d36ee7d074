// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

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
        QTest::addColumn<uint>("type");
        QTest::addColumn<int>("level");
        QTest::addColumn<qulonglong>("categories");
        QTest::addColumn<int>("form");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("file"); // replaces the policy's file of that name
        QTest::addColumn<QByteArray>("contents"); // "(missing)": removes it
        const auto row = [](const char *name, uint type, int level, qulonglong categories, int form,
                            const QByteArray &text, const char *file = "", const char *contents = "") {
            QTest::newRow(name) << type << level << categories << form << text << QByteArray(file)
                                << QByteArray(contents);
        };

        row("whole label", 0x10000, 255, ~0ull, 0, "255:ffffffffffffffff");
        row("level name", 0, 2, 0, 3, "L2");
        row("level without a line", 0, 9, 0, 3, "9");
        row("level: last line wins", 0, 2, 0, 3, "B", "levels", "2:A\n2:B\n");
        row("level: last line without a name", 0, 2, 0, 3, "2", "levels", "2:A\n2\n");
        row("level: empty name", 0, 2, 0, 3, "", "levels", "2:\n");
        row("level: no levels file", 0, 1, 0, 3, "1", "levels", "(missing)");
        row("categories ascending, unnamed in decimal", 0, 0, 0x8000000000000185ull, 5, "C0,C2,C7,8,63");
        row("empty category set", 0, 0, 0, 5, "");
        row("categories: only single-bit masks name a bit, last wins", 0, 0, 0x3, 5, "B,1", "categories",
            "0x3:Both\n0x1:A\n0x1:B\n0x2\n");
        row("categories: an empty first name keeps its separator", 0, 0, 0x3, 5, ",Second", "categories",
            "0x1:\n0x2:Second\n");
        row("categories: only empty names", 0, 0, 0x7, 5, ",,", "categories", "0x1:\n0x2:\n0x4:\n");
        row("type name", 0x1002D, 0, 0, 9, "Shared", "types", "0x1002d:Shared\n");
        row("type without a name", 0x10000, 0, 0, 9, "0x10000", "types", "0x1002d:Shared\n");
        row("unknown form", 0, 1, 1, 7, "(null)");
    }

    void macToText()
    {
        QFETCH(uint, type);
        QFETCH(int, level);
        QFETCH(qulonglong, categories);
        QFETCH(int, form);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, contents);
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

    void labelText()
    {
        StandinPolicy policy;
        tav_label *label = tavl_get_new();
        QVERIFY(label);
        tavl_set_lev(label, 255);
        tavl_set_ilev(label, 4294967295u);
        tavl_set_cat(label, ~0ull);
        QCOMPARE(take(tavl_get_text(label, 1)), QByteArray("255:4294967295:0xffffffffffffffff"));
        QCOMPARE(take(tavl_get_text(label, 0)), QByteArray("(null)"));
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
        QTest::newRow("unnamed, form 1") << 4294967295u << 1 << QByteArray("4294967295");
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
