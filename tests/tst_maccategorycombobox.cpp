#include "MacCategoryComboBox.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacCategoryComboBox;

Q_DECLARE_METATYPE(QList<mac_cat_t>)

namespace {

QList<mac_cat_t> masksOf(const MacCategoryComboBox &box)
{
    QList<mac_cat_t> masks;
    for (int i = 0; i < box.count(); ++i)
        masks.append(box.itemData(i, Qt::UserRole).toULongLong());
    return masks;
}

QStringList textsOf(const MacCategoryComboBox &box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

QStringList calls(const char *names)
{
    return QString::fromLatin1(names).split(QLatin1Char(' '));
}

const QByteArray fiveCategories("0x1:C0\n0x2:C1\n0x4:C2\n0x8:C3\n0x10:C4\n");

} // namespace

class TestMacCategoryComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rebuild_data();
    void rebuild();
    void setValue();
    void personsPick();
};

void TestMacCategoryComboBox::rebuild_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<QString>("setup"); // space-separated: uid, min:<hex>, max:<hex>
    QTest::addColumn<QList<mac_cat_t>>("masks");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("enabled");

    const QByteArray users("*:0:0:3:0xff\n");
    QTest::newRow("no bounds: database order, zero and several bits")
        << QByteArray("0x8:C3\n0x0:Zero\n0x6:Pair\n0x1\n") << users << QByteArray() << QByteArray()
        << QString() << QList<mac_cat_t>{8, 0, 6, 1}
        << QStringList{QStringLiteral("C3"), QStringLiteral("Zero"), QStringLiteral("Pair"), QString()}
        << true;
    QTest::newRow("numeric bounds 3..10")
        << fiveCategories << users << QByteArray() << QByteArray() << QStringLiteral("min:3 max:a")
        << QList<mac_cat_t>{4, 8} << QStringList{QStringLiteral("C2"), QStringLiteral("C3")} << true;
    QTest::newRow("user range replaces the bounds")
        << fiveCategories << QByteArray("1000:0:0x2:3:0x8\n") << QByteArray() << QByteArray()
        << QStringLiteral("min:10 uid min:1 max:1") << QList<mac_cat_t>{2, 4, 8}
        << QStringList{QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")} << true;
    QTest::newRow("user without record")
        << fiveCategories << QByteArray("1:0:0:3:0xff\n") << QByteArray() << QByteArray()
        << QStringLiteral("uid") << QList<mac_cat_t>() << QStringList() << false;
    QTest::newRow("user without record, category 0 listed")
        << QByteArray("0x0:None\n0x1:C0\n") << QByteArray("1:0:0:3:0xff\n") << QByteArray()
        << QByteArray() << QStringLiteral("uid") << QList<mac_cat_t>{0}
        << QStringList{QStringLiteral("None")} << true;
    QTest::newRow("categories 31 to 63")
        << QByteArray("0x80000000:C31\n0x8000000000000000:C63\n") << users << QByteArray()
        << QByteArray() << QString() << QList<mac_cat_t>{0x80000000ull, 0x8000000000000000ull}
        << QStringList{QStringLiteral("C31"), QStringLiteral("C63")} << true;
    QTest::newRow("MAC off")
        << fiveCategories << users << QByteArray("mac_enabled=0\n") << QByteArray() << QString()
        << QList<mac_cat_t>() << QStringList() << false;
    QTest::newRow("user database missing")
        << fiveCategories << QByteArray() << QByteArray() << QByteArray() << QString()
        << QList<mac_cat_t>() << QStringList() << true;
    QTest::newRow("user database fails to rewind")
        << fiveCategories << users << QByteArray() << QByteArray("setmacent_r") << QStringLiteral("uid")
        << QList<mac_cat_t>() << QStringList() << true;
    QTest::newRow("category database missing")
        << QByteArray() << users << QByteArray() << QByteArray() << QString() << QList<mac_cat_t>()
        << QStringList() << true;
    QTest::newRow("category database fails to rewind")
        << fiveCategories << users << QByteArray() << QByteArray("setcatent_r") << QString()
        << QList<mac_cat_t>() << QStringList() << true;
}

void TestMacCategoryComboBox::rebuild()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, macUsers);
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, faults);
    QFETCH(QString, setup);
    QFETCH(QList<mac_cat_t>, masks);
    QFETCH(QStringList, texts);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    categories.isEmpty() ? policy.remove("categories") : policy.write("categories", categories);
    macUsers.isEmpty() ? policy.remove("mac-users") : policy.write("mac-users", macUsers);
    policy.write("system", system);
    if (!faults.isEmpty())
        policy.fail(faults.constData());
    const long live = varnel_standin_live();

    MacCategoryComboBox box;
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);
    const QStringList steps = setup.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        StandinPolicy::takeTrace();
        if (step == QLatin1String("uid"))
            box.setUid(1000);
        else if (step.startsWith(QLatin1String("min:")))
            box.setMinimumValue(step.mid(4).toULongLong(nullptr, 16));
        else if (step.startsWith(QLatin1String("max:")))
            box.setMaximumValue(step.mid(4).toULongLong(nullptr, 16));
    }

    QCOMPARE(masksOf(box), masks);
    QCOMPARE(textsOf(box), texts);
    QCOMPARE(box.isEnabled(), enabled);
    // Nothing was chosen before, so the entry of the empty set wins where
    // there is one, else the first entry.
    QCOMPARE(box.value(), masks.isEmpty() || masks.contains(0) ? mac_cat_t(0) : masks.first());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);

    // The user database is walked: rewound before the lookup, the walk ended
    // before it is closed.
    if (steps.endsWith(QStringLiteral("uid")) && faults.isEmpty() && !macUsers.isEmpty()) {
        const QStringList trace = StandinPolicy::trace();
        const QStringList expected = macUsers.startsWith("1000")
            ? calls("openmacdb_r setmacent_r getmacuid_r freemacent_r endmacent_r closemacdb_r")
            : calls("openmacdb_r setmacent_r getmacuid_r endmacent_r closemacdb_r");
        QCOMPARE(trace.mid(trace.indexOf(QStringLiteral("openmacdb_r")), expected.size()), expected);
    }
}

void TestMacCategoryComboBox::setValue()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x80000000:C31\n0x8000000000000000:C63\n0x2:C1\n");
    const long live = varnel_standin_live();
    MacCategoryComboBox box;
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);

    box.setValue(0x8000000000000000ull);
    QCOMPARE(box.currentIndex(), 2);
    QCOMPARE(box.value(), mac_cat_t(0x8000000000000000ull));

    // The choice survives a rebuild that still lists it, silently.
    box.setMaximumValue(0x8000000000000000ull);
    QCOMPARE(box.value(), mac_cat_t(0x8000000000000000ull));
    box.setMaximumValue(0x80000000ull);
    QCOMPARE(box.currentIndex(), 0);

    box.setValue(0x2);
    QCOMPARE(box.value(), mac_cat_t(0x2));
    box.setValue(0x4); // not listed: the first entry
    QCOMPARE(box.currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryComboBox::personsPick()
{
    StandinPolicy policy;
    policy.write("categories", "0x1:C0\n0x80000000:C31\n0x8000000000000000:C63\n");
    MacCategoryComboBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &MacCategoryComboBox::valueChanged);

    QTest::keyClick(&box, Qt::Key_End);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<mac_cat_t>(), mac_cat_t(0x8000000000000000ull));
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().value<mac_cat_t>(), mac_cat_t(0x80000000ull));
}

QTEST_MAIN(TestMacCategoryComboBox)
#include "tst_maccategorycombobox.moc"
