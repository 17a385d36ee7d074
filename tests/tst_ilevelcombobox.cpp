#include "ILevelComboBox.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <memory>
#include <QTest>

using VarnelQt5::ILevelComboBox;

Q_DECLARE_METATYPE(QList<uint>)

namespace {

QList<uint> valuesOf(const ILevelComboBox &box)
{
    QList<uint> values;
    for (int i = 0; i < box.count(); ++i)
        values.append(box.itemData(i, Qt::UserRole).toUInt());
    return values;
}

QStringList textsOf(const ILevelComboBox &box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

// Whether the named calls come one right after the other somewhere in calls.
bool adjacent(const QStringList &calls, const QStringList &run)
{
    for (int i = 0; i + run.size() <= calls.size(); ++i) {
        if (calls.mid(i, run.size()) == run)
            return true;
    }
    return false;
}

} // namespace

class TestILevelComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Runs first: the system's maximum is process-wide and never reset.
    void withoutSystemMaximum();
    void rebuild_data();
    void rebuild();
    void setValue_data();
    void setValue();
    void personsPick_data();
    void personsPick();
    void isVariability();
    void maximumValue();
};

void TestILevelComboBox::withoutSystemMaximum()
{
    StandinPolicy policy;
    policy.write("system", "max_ilev=0\n");
    const long live = varnel_standin_live();

    ILevelComboBox plain;
    QVERIFY(!plain.rebuild());
    QVERIFY(plain.isRebuilt());
    QCOMPARE(plain.count(), 0);
    QVERIFY(!plain.isEnabled());
    QCOMPARE(plain.maximumValue(), 0u);

    // A picker made with a user alone learns the maximum itself once the
    // system reports one.
    policy.write("system", "max_ilev=63\n");
    ILevelComboBox withUser(1000, nullptr);
    QCOMPARE(valuesOf(withUser), (QList<uint>{0, 63}));
    QVERIFY(withUser.isEnabled());
    QCOMPARE(varnel_standin_live(), live);
}

void TestILevelComboBox::rebuild_data()
{
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QByteArray>("micUsers");
    QTest::addColumn<QByteArray>("ilevels");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<bool>("setUser");
    QTest::addColumn<qint64>("minimum"); // -1: not set
    QTest::addColumn<qint64>("maximum"); // -1: not set
    QTest::addColumn<bool>("result");
    QTest::addColumn<QList<uint>>("values");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<uint>("current");
    QTest::addColumn<bool>("enabled");

    const QByteArray mic = StandinPolicy::defaultFile("mic-users");
    const QByteArray names = StandinPolicy::defaultFile("ilevels");
    const QStringList both{QStringLiteral("Low"), QStringLiteral("High")};
    const QStringList low{QStringLiteral("Low")};

    QTest::newRow("no user, process at 0")
        << QByteArray("max_ilev=63\n") << mic << names << QByteArray() << false << qint64(-1)
        << qint64(-1) << true << QList<uint>{0, 63} << both << 0u << true;
    QTest::newRow("no user, process at 63")
        << QByteArray("max_ilev=63\ncurrent_ilev=63\n") << mic << names << QByteArray() << false
        << qint64(-1) << qint64(-1) << true << QList<uint>{0, 63} << both << 63u << true;
    QTest::newRow("process level not offered")
        << QByteArray("max_ilev=63\ncurrent_ilev=7\n") << mic << names << QByteArray() << false
        << qint64(-1) << qint64(-1) << true << QList<uint>{0, 63} << both << 0u << true;
    QTest::newRow("user allowed 0")
        << QByteArray("max_ilev=63\n") << QByteArray("1000:0\n*:63\n") << names << QByteArray()
        << true << qint64(-1) << qint64(-1) << true << QList<uint>{0} << low << 0u << false;
    QTest::newRow("user without record")
        << QByteArray("max_ilev=63\ncurrent_ilev=63\n") << QByteArray("1:63\n") << names
        << QByteArray() << true << qint64(-1) << qint64(-1) << true << QList<uint>{0} << low << 0u
        << false;
    QTest::newRow("caller maximum 10")
        << QByteArray("max_ilev=63\n") << mic << names << QByteArray() << false << qint64(-1)
        << qint64(10) << true << QList<uint>{0} << low << 0u << false;
    QTest::newRow("caller minimum 1")
        << QByteArray("max_ilev=63\n") << mic << names << QByteArray() << false << qint64(1)
        << qint64(-1) << true << QList<uint>{63} << QStringList{QStringLiteral("High")} << 63u
        << false;
    QTest::newRow("bounds leave nothing")
        << QByteArray("max_ilev=63\n") << mic << names << QByteArray() << false << qint64(1)
        << qint64(10) << true << QList<uint>() << QStringList() << 0u << false;
    QTest::newRow("maximum of 2^31")
        << QByteArray("max_ilev=0x80000000\n") << QByteArray("*:255\n")
        << QByteArray("0:Low\n0x80000000:Top\n") << QByteArray() << false << qint64(-1) << qint64(-1)
        << true << QList<uint>{0, 0x80000000u} << QStringList{QStringLiteral("Low"), QStringLiteral("Top")}
        << 0u << true;
    QTest::newRow("empty name")
        << QByteArray("max_ilev=63\n") << mic << QByteArray("0:\n63:High\n") << QByteArray() << false
        << qint64(-1) << qint64(-1) << true << QList<uint>{0, 63}
        << QStringList{QString(), QStringLiteral("High")} << 0u << true;
    QTest::newRow("no text for the maximum")
        << QByteArray("max_ilev=63\n") << mic << QByteArray("0:Low\n") << QByteArray() << false
        << qint64(-1) << qint64(-1) << false << QList<uint>() << QStringList() << 0u << true;
    QTest::newRow("user database missing")
        << QByteArray("max_ilev=63\n") << QByteArray() << names << QByteArray() << true << qint64(-1)
        << qint64(-1) << false << QList<uint>() << QStringList() << 0u << true;
}

void TestILevelComboBox::rebuild()
{
    QFETCH(QByteArray, system);
    QFETCH(QByteArray, micUsers);
    QFETCH(QByteArray, ilevels);
    QFETCH(QByteArray, faults);
    QFETCH(bool, setUser);
    QFETCH(qint64, minimum);
    QFETCH(qint64, maximum);
    QFETCH(bool, result);
    QFETCH(QList<uint>, values);
    QFETCH(QStringList, texts);
    QFETCH(uint, current);
    QFETCH(bool, enabled);

    StandinPolicy policy;
    policy.write("system", system);
    if (micUsers.isEmpty())
        policy.remove("mic-users");
    else
        policy.write("mic-users", micUsers);
    policy.write("ilevels", ilevels);
    const long live = varnel_standin_live();

    ILevelComboBox box;
    QSignalSpy changed(&box, &ILevelComboBox::valueChanged);
    if (minimum >= 0)
        QVERIFY(box.setMinimumValue(TAV_ILEV_T(minimum)));
    if (maximum >= 0)
        box.setMaximumValue(TAV_ILEV_T(maximum));
    if (!faults.isEmpty())
        policy.write("faults", faults);
    StandinPolicy::takeTrace();
    bool rebuilt = setUser ? box.setUid(1000) : box.rebuild();

    QCOMPARE(rebuilt, result);
    QVERIFY(box.isRebuilt());
    QCOMPARE(valuesOf(box), values);
    QCOMPARE(textsOf(box), texts);
    QCOMPARE(box.value(), current);
    QCOMPARE(box.isEnabled(), enabled);
    QCOMPARE(box.isSuitable(), !values.isEmpty());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(varnel_standin_live(), live);

    const QStringList calls = StandinPolicy::trace();
    if (setUser && faults.isEmpty() && !micUsers.isEmpty()) {
        QVERIFY2(adjacent(calls, {QStringLiteral("openmicdb_r"), QStringLiteral("getmicuid_r"),
                                  QStringLiteral("closemicdb_r")}),
                 qPrintable(calls.join(QLatin1Char(' '))));
    }
}

void TestILevelComboBox::setValue_data()
{
    QTest::addColumn<QByteArray>("ilevels");
    QTest::addColumn<bool>("empty"); // bounds that leave nothing
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QList<uint>>("values");
    QTest::addColumn<uint>("current");
    QTest::addColumn<QString>("currentText");
    QTest::addColumn<int>("emissions");

    const QByteArray names = StandinPolicy::defaultFile("ilevels");
    QTest::newRow("another offered level")
        << names << false << 63u << false << true << QList<uint>{0, 63} << 63u
        << QStringLiteral("High") << 1;
    QTest::newRow("the current level")
        << names << false << 0u << false << true << QList<uint>{0, 63} << 0u
        << QStringLiteral("Low") << 0;
    QTest::newRow("a level not offered")
        << names << false << 5u << false << false << QList<uint>{0, 63} << 0u
        << QStringLiteral("Low") << 0;
    QTest::newRow("forced, named level")
        << QByteArray("0:Low\n5:Five\n63:High\n") << false << 5u << true << true
        << QList<uint>{0, 5, 63} << 5u << QStringLiteral("Five") << 1;
    QTest::newRow("forced, unnamed level")
        << names << false << 5u << true << true << QList<uint>{0, 5, 63} << 5u
        << QStringLiteral("5") << 1;
    QTest::newRow("forced on an empty picker")
        << names << true << 5u << true << false << QList<uint>() << 0u << QString() << 0;
}

void TestILevelComboBox::setValue()
{
    QFETCH(QByteArray, ilevels);
    QFETCH(bool, empty);
    QFETCH(uint, value);
    QFETCH(bool, force);
    QFETCH(bool, result);
    QFETCH(QList<uint>, values);
    QFETCH(uint, current);
    QFETCH(QString, currentText);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");
    policy.write("ilevels", ilevels);
    const long live = varnel_standin_live();

    ILevelComboBox box;
    if (empty) {
        box.setMinimumValue(1);
        box.setMaximumValue(10);
    } else {
        QVERIFY(box.rebuild());
    }
    QSignalSpy changed(&box, &ILevelComboBox::valueChanged);

    QCOMPARE(box.setValue(value, force), result);
    QCOMPARE(valuesOf(box), values);
    QCOMPARE(box.value(), current);
    QCOMPARE(box.currentText(), currentText);
    QCOMPARE(changed.count(), emissions);
    if (emissions)
        QCOMPARE(changed.first().first().value<TAV_ILEV_T>(), current);

    // A forced level lasts until the next rebuild.
    if (values.size() > 2) {
        QVERIFY(box.rebuild());
        QVERIFY(!valuesOf(box).contains(value));
        QCOMPARE(changed.count(), emissions);
    }
    QCOMPARE(varnel_standin_live(), live);
}

void TestILevelComboBox::personsPick_data()
{
    QTest::addColumn<bool>("withUser");
    QTest::newRow("plain constructor") << false;
    QTest::newRow("user constructor") << true;
}

void TestILevelComboBox::personsPick()
{
    QFETCH(bool, withUser);
    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");

    std::unique_ptr<ILevelComboBox> box(withUser ? new ILevelComboBox(1000, nullptr)
                                                 : new ILevelComboBox);
    if (!withUser)
        QVERIFY(box->rebuild());
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QSignalSpy changed(box.get(), &ILevelComboBox::valueChanged);

    QTest::keyClick(box.get(), Qt::Key_Down);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().first().value<TAV_ILEV_T>(), 63u);
    QTest::keyClick(box.get(), Qt::Key_Up);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().first().value<TAV_ILEV_T>(), 0u);
}

void TestILevelComboBox::isVariability()
{
    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");
    ILevelComboBox box;
    box.show();
    QVERIFY(!box.isVariability()); // empty
    QVERIFY(box.rebuild());
    QVERIFY(box.isVariability());
    box.setEnabled(false);
    QVERIFY(!box.isVariability());
    box.setEnabled(true);
    box.hide();
    QVERIFY(!box.isVariability());
    box.show();
    QVERIFY(box.isVariability());
    box.setMaximumValue(10);
    QVERIFY(!box.isVariability());
}

void TestILevelComboBox::maximumValue()
{
    StandinPolicy policy;
    policy.write("system", "max_ilev=63\n");
    ILevelComboBox box;
    QCOMPARE(box.maximumValue(), 63u);
    box.setMaximumValue(10);
    QCOMPARE(box.maximumValue(), 10u);
    box.setMinimumValue(3);
    QCOMPARE(box.minimumValue(), 3u);
}

QTEST_MAIN(TestILevelComboBox)
#include "tst_ilevelcombobox.moc"
