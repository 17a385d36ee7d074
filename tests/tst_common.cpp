// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The companion library's user lookups.

#include <Common.h>

#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using VarnelQt5::Common;

class TestCommon : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void uidByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<bool>("found");

        const passwd *self = getpwuid(getuid());
        QVERIFY(self);
        QTest::newRow("calling user") << QString::fromLocal8Bit(self->pw_name) << uint(self->pw_uid) << true;
        QTest::newRow("root") << QStringLiteral("root") << 0u << true;
        QTest::newRow("unknown") << QStringLiteral("no-such-user-varnel") << uint(uid_t(-1)) << false;
        QTest::newRow("NUL inside") << QString(QStringLiteral("root") + QChar(0) + QStringLiteral("x"))
                                    << uint(uid_t(-1)) << false;
    }

    void uidByName()
    {
        QFETCH(QString, name);
        QFETCH(uint, uid);
        QFETCH(bool, found);
        bool ok = !found;
        QCOMPARE(uint(Common::uidByName(name, &ok)), uid);
        QCOMPARE(ok, found);
        QCOMPARE(uint(Common::uidByName(name, nullptr)), uid);
    }

    void nameByUid_data()
    {
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");

        QTest::newRow("root") << 0u << QStringLiteral("root") << true;
        QTest::newRow("unknown") << 3999999999u << QStringLiteral("3999999999") << false;
    }

    void nameByUid()
    {
        QFETCH(uint, uid);
        QFETCH(QString, name);
        QFETCH(bool, found);
        bool ok = !found;
        QCOMPARE(Common::nameByUid(uid, &ok), name);
        QCOMPARE(ok, found);
        QCOMPARE(Common::nameByUid(uid, nullptr), name);
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
