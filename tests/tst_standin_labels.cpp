// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Labels of file system objects, kept by the stand-in in an extended
// attribute of the object.

#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QtTest>

#include <sys/xattr.h>
#include <unistd.h>

namespace {

const char attribute[] = "user.varnel.label";

QByteArray describe(const tav_label *label)
{
    if (!label)
        return "null";
    return QByteArray::number(tavl_lev(label)) + ' ' + QByteArray::number(tavl_ilev(label)) + ' '
        + QByteArray::number(tavl_cat(label), 16) + ' ' + QByteArray::number(tavl_type(label), 16);
}

} // namespace

class TestStandinLabels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_file = QFile::encodeName(m_dir.filePath(QStringLiteral("object")));
        QFile file(m_dir.filePath(QStringLiteral("object")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Labels live in user extended attributes: without them nothing here
        // could be tested, and a skip would pass for a success.
        QVERIFY2(setxattr(m_file.constData(), attribute, "0:0:0:0", 7, 0) == 0,
                 "the temporary directory keeps no user extended attributes");
        removexattr(m_file.constData(), attribute);
    }
    void cleanup() { QCOMPARE(varnel_standin_live(), 0L); }

    void read_data()
    {
        QTest::addColumn<QByteArray>("value"); // "(none)": no attribute
        QTest::addColumn<QByteArray>("label");

        QTest::newRow("no attribute") << QByteArray("(none)") << QByteArray("0 0 0 0");
        QTest::newRow("decimal and hex") << QByteArray("2:5:0x3:0x1002d") << QByteArray("2 5 3 2d");
        QTest::newRow("extremes") << QByteArray("0xff:4294967295:0xffffffffffffffff:0xffffffff")
                                  << QByteArray("255 4294967295 ffffffffffffffff ffff");
        QTest::newRow("leading zeros past any fixed buffer")
            << QByteArray(3000, '0') + "2:0005:0x0003:0x0001002d" << QByteArray("2 5 3 2d");
        QTest::newRow("too few fields") << QByteArray("2:5:3") << QByteArray("null");
        QTest::newRow("too many fields") << QByteArray("2:5:3:4:5") << QByteArray("null");
        QTest::newRow("level out of range") << QByteArray("256:0:0:0") << QByteArray("null");
        QTest::newRow("type out of range") << QByteArray("0:0:0:0x100000000") << QByteArray("null");
        QTest::newRow("trailing newline") << QByteArray("1:0:0:0\n") << QByteArray("null");
        QTest::newRow("longer than any label") << QByteArray(4000, '1') << QByteArray("null");
    }

    void read()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, label);
        if (value != "(none)")
            QCOMPARE(setxattr(m_file.constData(), attribute, value.constData(), size_t(value.size()), 0), 0);

        StandinStderr capture;
        tav_label *read = tav_get_path(m_file.constData());
        const QByteArray errors = capture.take();
        QCOMPARE(describe(read), label);
        tavl_put(read);
        // A malformed value is reported, naming the object.
        QCOMPARE(errors.contains(m_file), label == "null");
    }

    void missingObject()
    {
        const QByteArray missing = m_file + "-missing";
        QVERIFY(!tav_get_path(missing.constData()));
        QVERIFY(!tav_get_path(""));
        const QByteArray dangling = m_file + "-link";
        QCOMPARE(symlink(missing.constData(), dangling.constData()), 0);
        QVERIFY(!tav_get_path(dangling.constData()));

        tav_label *label = tavl_get_new();
        QCOMPARE(tav_set_path(missing.constData(), label), -1);
        QCOMPARE(tav_set_path(dangling.constData(), label), -1);
        tavl_put(label);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("object");
        QTest::newRow("file") << QByteArray("object");
        QTest::newRow("directory") << QByteArray("");
    }

    void roundTrip()
    {
        QFETCH(QByteArray, object);
        const QByteArray path = QFile::encodeName(m_dir.path()) + '/' + object;
        tav_label *label = tavl_get_new();
        tavl_set_lev(label, 3);
        tavl_set_ilev(label, 63);
        tavl_set_cat(label, 0x8000000000000001ull);
        tavl_set_type(label, 0x2d);
        QCOMPARE(tav_set_path(path.constData(), label), 0);
        tavl_put(label);

        tav_label *read = tav_get_path(path.constData());
        QCOMPARE(describe(read), QByteArray("3 63 8000000000000001 2d"));
        tavl_put(read);
    }

    // The special attributes are the low half of the type; writing them back
    // keeps the rest of the type the object had.
    void typeKeepsItsHighHalf()
    {
        const QByteArray value("1:0:0:0x1002d");
        QCOMPARE(setxattr(m_file.constData(), attribute, value.constData(), size_t(value.size()), 0), 0);
        tav_label *label = tav_get_path(m_file.constData());
        QCOMPARE(tavl_type(label), quint16(0x2d));
        tavl_set_type(label, 0x12);
        QCOMPARE(tav_set_path(m_file.constData(), label), 0);
        tavl_put(label);

        char buffer[128] = {};
        QVERIFY(getxattr(m_file.constData(), attribute, buffer, sizeof buffer - 1) > 0);
        const QList<QByteArray> fields = QByteArray(buffer).split(':');
        QCOMPARE(fields.size(), 4);
        bool ok = false;
        QCOMPARE(fields.at(3).toUInt(&ok, 0), 0x10012u);
    }

    void supportsType_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<uint>("ilevel");
        QTest::addColumn<qulonglong>("categories");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("supported");

        QTest::newRow("empty label, bit 4") << 0 << 0u << 0ull << 4 << 1;
        QTest::newRow("level, bit 4") << 1 << 0u << 0ull << 4 << 0;
        QTest::newRow("integrity, bit 4") << 0 << 1u << 0ull << 4 << 0;
        QTest::newRow("categories, bit 4") << 0 << 0u << 1ull << 4 << 0;
        QTest::newRow("other bit") << 0 << 0u << 0ull << 2 << 0;
    }

    void supportsType()
    {
        QFETCH(int, level);
        QFETCH(uint, ilevel);
        QFETCH(qulonglong, categories);
        QFETCH(int, type);
        QFETCH(int, supported);
        tav_label *label = tavl_get_new();
        tavl_set_lev(label, mac_lev_t(level));
        tavl_set_ilev(label, ilevel);
        tavl_set_cat(label, categories);
        QCOMPARE(tavl_supports_type(label, type, 0x8000), supported);
        tavl_put(label);
    }

    // Bit 8 asks for the label of the root directory.
    void supportsTypeOfRoot()
    {
        tav_label *root = tav_get_path("/");
        QVERIFY(root);
        QCOMPARE(tavl_supports_type(root, 8, 0x8000), 1);
        const mac_lev_t level = tavl_lev(root);
        tavl_set_lev(root, mac_lev_t(level + 1));
        QCOMPARE(tavl_supports_type(root, 8, 0x8000), 0);
        tavl_set_lev(root, level);
        tavl_set_ilev(root, tavl_ilev(root) + 1);
        QCOMPARE(tavl_supports_type(root, 8, 0x8000), 0);
        tavl_put(root);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_file;
};

QTEST_GUILESS_MAIN(TestStandinLabels)
#include "tst_standin_labels.moc"
