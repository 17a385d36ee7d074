#include "SpecialAttributesListModel.h"
#include "SpecialAttributesProxyListModel_p.h"
#include "StandinPolicy.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using VarnelQt5::SpecialAttributesListModel;
using Attribute = SpecialAttributesListModel::Attributes;

namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

// Each row as "text", "[x]text" when checked, "-" prefixed when disabled.
QString rowsOf(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        QString text;
        if (!(model.flags(index) & Qt::ItemIsEnabled))
            text += QLatin1Char('-');
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked)
            text += QLatin1String("[x]");
        rows << text + index.data().toString();
    }
    return rows.join(QLatin1Char(' '));
}

Attribute attributeAt(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<Attribute>();
}

} // namespace

class TestSpecialAttributesListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_liveBefore = varnel_standin_live(); }
    void cleanup() { QCOMPARE(varnel_standin_live(), m_liveBefore); }

    void rows_data();
    void rows();
    void switchingModes();
    void otherAttribute();
    void checkStates_data();
    void checkStates();
    void enabledFlags();
    void proxyFilter_data();
    void proxyFilter();
    void proxyAsksStrictModeEachTime();
    void proxyFollowsUnticking();

private:
    long m_liveBefore = 0;
};

void TestSpecialAttributesListModel::rows_data()
{
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("other");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QList<int>>("attributes"); // of rows 0 to 4
    QTest::addColumn<QList<int>>("rowsOf"); // of attributes 0 to 6

    QTest::newRow("file") << false << 0 << QStringLiteral("ehole whole silev")
                          << QList<int>{2, 3, 4, 6, -1} << QList<int>{-1, -1, 0, 1, 2, -1, 3};
    QTest::newRow("directory") << true << 0 << QStringLiteral("ccnr ccnri (deprecated) irelax")
                               << QList<int>{0, 1, 5, 6, -1} << QList<int>{0, 1, -1, -1, -1, 2, 3};
    QTest::newRow("file with other bits") << false << 0x40 << QStringLiteral("ehole whole silev 0x40")
                                          << QList<int>{2, 3, 4, 6, -1}
                                          << QList<int>{-1, -1, 0, 1, 2, -1, 3};
    QTest::newRow("directory with other bits")
        << true << 0xfc0 << QStringLiteral("ccnr ccnri (deprecated) irelax 0xfc0")
        << QList<int>{0, 1, 5, 6, -1} << QList<int>{0, 1, -1, -1, -1, 2, 3};
}

void TestSpecialAttributesListModel::rows()
{
    QFETCH(bool, container);
    QFETCH(int, other);
    QFETCH(QString, rows);
    QFETCH(QList<int>, attributes);
    QFETCH(QList<int>, rowsOf);

    SpecialAttributesListModel model;
    QAbstractItemModelTester tester(&model, Fatal);
    model.setForContainer(container);
    model.setOtherAttribute(other);

    QCOMPARE(::rowsOf(model), rows);
    QCOMPARE(model.isForContainer(), container);
    for (int row = 0; row < attributes.size(); ++row)
        QCOMPARE(model.attributeForRow(row), attributes.at(row));
    QCOMPARE(model.attributeForRow(-1), -1);
    for (int attribute = 0; attribute < rowsOf.size(); ++attribute)
        QCOMPARE(model.rowForAttribute(attribute), rowsOf.at(attribute));
    QCOMPARE(model.rowForAttribute(7), -1);

    const QModelIndex first = model.index(0, 0);
    QVERIFY(first.data(Qt::ToolTipRole).toString().contains(QLatin1Char('\n')));
    QVERIFY(!first.data(Qt::UserRole).isValid());
    QVERIFY(!(model.flags(first) & Qt::ItemIsEditable));
    QVERIFY(model.flags(first) & Qt::ItemIsUserCheckable);
    if (other != 0)
        QCOMPARE(model.index(3, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Other attributes"));
}

void TestSpecialAttributesListModel::switchingModes()
{
    SpecialAttributesListModel model;
    QAbstractItemModelTester tester(&model, Fatal);
    model.setOtherAttribute(0x40);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy attributes(&model, &SpecialAttributesListModel::attributeChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.setForContainer(true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(0, 0));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(3, 0));
    QVERIFY(changed.at(0).at(2).value<QVector<int>>().isEmpty());

    model.setForContainer(true);
    model.setForContainer(false);
    model.setOtherAttribute(0);
    model.setForContainer(false);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(1).toModelIndex().row(), 3);
    QCOMPARE(attributes.count(), 0);
    QCOMPARE(inserted.count(), 0);
}

void TestSpecialAttributesListModel::otherAttribute()
{
    SpecialAttributesListModel model;
    QAbstractItemModelTester tester(&model, Fatal);
    QVERIFY(model.setCheckState(SpecialAttributesListModel::Silev, Qt::Checked));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy attributes(&model, &SpecialAttributesListModel::attributeChanged);

    QVERIFY(model.setOtherAttribute(64));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 3);
    QCOMPARE(model.index(3, 0).data().toString(), QStringLiteral("0x40"));
    QVERIFY(!model.setOtherAttribute(64));

    QVERIFY(model.setOtherAttribute(128));
    QCOMPARE(model.otherAttribute(), 128);
    QCOMPARE(model.index(3, 0).data().toString(), QStringLiteral("0x80"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(3, 0));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(3, 0));
    QCOMPARE(attributes.count(), 1);
    QCOMPARE(attributeAt(attributes, 0), SpecialAttributesListModel::OtherAttributes);

    QVERIFY(model.setOtherAttribute(0));
    QVERIFY(!model.setOtherAttribute(0));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 3);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(attributes.count(), 1);
    QCOMPARE(model.checkState(SpecialAttributesListModel::Silev), Qt::Checked);
}

void TestSpecialAttributesListModel::checkStates_data()
{
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("other");
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("value"); // set through setData
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("rows");

    QTest::newRow("check a file's row") << false << 0 << int(SpecialAttributesListModel::Whole)
                                        << int(Qt::Checked) << true << QStringLiteral("ehole [x]whole silev");
    QTest::newRow("partly checked counts as unchecked") << false << 0
        << int(SpecialAttributesListModel::Whole) << int(Qt::PartiallyChecked) << false
        << QStringLiteral("ehole whole silev");
    QTest::newRow("a directory's attribute in file mode") << false << 0
        << int(SpecialAttributesListModel::Ccnr) << int(Qt::Checked) << false
        << QStringLiteral("ehole whole silev");
    QTest::newRow("check a directory's row") << true << 0 << int(SpecialAttributesListModel::Irelax)
        << int(Qt::Checked) << true << QStringLiteral("ccnr ccnri (deprecated) [x]irelax");
    QTest::newRow("other attributes without their row") << false << 0
        << int(SpecialAttributesListModel::OtherAttributes) << int(Qt::Checked) << false
        << QStringLiteral("ehole whole silev");
    QTest::newRow("other attributes with their row") << true << 0x100
        << int(SpecialAttributesListModel::OtherAttributes) << int(Qt::Checked) << true
        << QStringLiteral("ccnr ccnri (deprecated) irelax [x]0x100");
}

void TestSpecialAttributesListModel::checkStates()
{
    QFETCH(bool, container);
    QFETCH(int, other);
    QFETCH(int, attribute);
    QFETCH(int, value);
    QFETCH(bool, result);
    QFETCH(QString, rows);

    SpecialAttributesListModel model;
    QAbstractItemModelTester tester(&model, Fatal);
    model.setForContainer(container);
    model.setOtherAttribute(other);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy attributes(&model, &SpecialAttributesListModel::attributeChanged);

    const Attribute which = Attribute(attribute);
    QCOMPARE(model.setData(model.index(model.rowForAttribute(attribute), 0), value, Qt::CheckStateRole),
             result);
    QCOMPARE(rowsOf(model), rows);
    QCOMPARE(model.checkState(which), result ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(attributes.count(), result ? 1 : 0);
    QCOMPARE(changed.count(), result ? 1 : 0);
    if (!result)
        return;
    QCOMPARE(attributeAt(attributes, 0), which);
    QVERIFY(changed.at(0).at(2).value<QVector<int>>().isEmpty());

    // Checking again changes nothing; a partly checked value unchecks.
    QVERIFY(!model.setCheckState(which, Qt::Checked));
    QVERIFY(model.setCheckState(which, Qt::PartiallyChecked));
    QCOMPARE(model.checkState(which), Qt::Unchecked);
    QCOMPARE(attributes.count(), 2);
}

void TestSpecialAttributesListModel::enabledFlags()
{
    SpecialAttributesListModel model;
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy attributes(&model, &SpecialAttributesListModel::attributeChanged);

    QVERIFY(model.setEnabled(SpecialAttributesListModel::Silev, false));
    QVERIFY(!model.setEnabled(SpecialAttributesListModel::Silev, false));
    QVERIFY(!model.setEnabled(SpecialAttributesListModel::Irelax, false));
    QCOMPARE(rowsOf(model), QStringLiteral("ehole whole -silev"));
    QVERIFY(model.flags(model.index(2, 0)) & Qt::ItemIsUserCheckable);
    QCOMPARE(attributes.count(), 1);
    QCOMPARE(attributeAt(attributes, 0), SpecialAttributesListModel::Silev);

    // A flag survives the switch to the other mode and back, and a disabled
    // row can still be checked.
    QVERIFY(!model.setData(model.index(0, 0), true, Qt::EditRole));
    QVERIFY(!model.setData(QModelIndex(), int(Qt::Checked), Qt::CheckStateRole));
    model.setForContainer(true);
    QCOMPARE(rowsOf(model), QStringLiteral("ccnr ccnri (deprecated) irelax"));
    model.setForContainer(false);
    QVERIFY(model.setCheckState(SpecialAttributesListModel::Silev, Qt::Checked));
    QCOMPARE(rowsOf(model), QStringLiteral("ehole whole -[x]silev"));
}

void TestSpecialAttributesListModel::proxyFilter_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("ccnri");
    QTest::addColumn<bool>("irelax");
    QTest::addColumn<QString>("rows");

    QTest::newRow("nothing checked") << false << false << false << QStringLiteral("ccnr 0x40");
    QTest::newRow("strict mode") << true << false << false << QStringLiteral("ccnr irelax 0x40");
    QTest::newRow("ccnri checked") << false << true << false
                                   << QStringLiteral("ccnr [x]ccnri (deprecated) 0x40");
    QTest::newRow("irelax checked") << false << false << true << QStringLiteral("ccnr [x]irelax 0x40");
    QTest::newRow("everything checked, strict") << true << true << true
                                                << QStringLiteral("ccnr [x]ccnri (deprecated) [x]irelax 0x40");
}

void TestSpecialAttributesListModel::proxyFilter()
{
    QFETCH(bool, strict);
    QFETCH(bool, ccnri);
    QFETCH(bool, irelax);
    QFETCH(QString, rows);

    StandinPolicy policy;
    policy.write("system", strict ? "strict_mode=1\n" : "strict_mode=0\n");
    SpecialAttributesListModel model;
    SpecialAttributesProxyListModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, Fatal);

    // File rows pass whatever the flags of the directory rows.
    model.setCheckState(SpecialAttributesListModel::Ehole, Qt::Checked);
    QCOMPARE(rowsOf(proxy), QStringLiteral("[x]ehole whole silev"));

    model.setOtherAttribute(0x40);
    model.setForContainer(true);
    model.setCheckState(SpecialAttributesListModel::Ccnri, ccnri ? Qt::Checked : Qt::Unchecked);
    model.setCheckState(SpecialAttributesListModel::Irelax, irelax ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(rowsOf(proxy), rows);
}

void TestSpecialAttributesListModel::proxyAsksStrictModeEachTime()
{
    StandinPolicy policy;
    SpecialAttributesListModel model;
    model.setForContainer(true);
    SpecialAttributesProxyListModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, Fatal);
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr"));

    policy.write("system", "strict_mode=1\n");
    StandinPolicy::takeTrace();
    proxy.invalidate();
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr irelax"));
    QVERIFY(StandinPolicy::takeTrace().contains(QStringLiteral("varnel_strict_mode")));

    policy.write("system", "strict_mode=0\n");
    proxy.invalidate();
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr"));
}

void TestSpecialAttributesListModel::proxyFollowsUnticking()
{
    StandinPolicy policy;
    SpecialAttributesListModel model;
    model.setForContainer(true);
    model.setCheckState(SpecialAttributesListModel::Ccnri, Qt::Checked);
    model.setCheckState(SpecialAttributesListModel::Irelax, Qt::Checked);
    SpecialAttributesProxyListModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, Fatal);
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr [x]ccnri (deprecated) [x]irelax"));

    // Unticked in the view, the row goes.
    QVERIFY(proxy.setData(proxy.index(1, 0), int(Qt::Unchecked), Qt::CheckStateRole));
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr [x]irelax"));
    QVERIFY(proxy.setData(proxy.index(1, 0), int(Qt::Unchecked), Qt::CheckStateRole));
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr"));

    model.setForContainer(false);
    QCOMPARE(rowsOf(proxy), QStringLiteral("ehole whole silev"));
}

QTEST_GUILESS_MAIN(TestSpecialAttributesListModel)
#include "tst_specialattributeslistmodel.moc"
