// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "SpecialAttributesListModel.h"
#include "SpecialAttributesProxyListModel_p.h"
#include "StandinPolicy.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using Model = VarnelQt5::SpecialAttributesListModel;

namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

// Each row's text, "[x]" before a checked one, "-" before a disabled one.
QString rowsOf(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        rows << QLatin1String(model.flags(index) & Qt::ItemIsEnabled ? "" : "-")
                + QLatin1String(index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "[x]" : "")
                + index.data().toString();
    }
    return rows.join(QLatin1Char(' '));
}

} // namespace

class TestSpecialAttributesListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_liveBefore = varnel_standin_live(); }
    void cleanup() { QCOMPARE(varnel_standin_live(), m_liveBefore); }

    void modesAndOtherRow();
    void checkStates_data();
    void checkStates();
    void enabledFlags();
    void proxyFilter_data();
    void proxyFilter();
    void proxyAsksStrictModeEachTime();

private:
    long m_liveBefore = 0;
};

void TestSpecialAttributesListModel::modesAndOtherRow()
{
    Model model;
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy attributes(&model, &Model::attributeChanged);
    // Hosts connect by the signature with the enumeration's own name.
    QSignalSpy byName(&model, SIGNAL(attributeChanged(Attributes)));
    QVERIFY(byName.isValid());
    QCOMPARE(rowsOf(model), QStringLiteral("ehole whole silev"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    // A mode switch changes what each row shows, not how many rows there are.
    model.setForContainer(true);
    model.setForContainer(true);
    QCOMPARE(rowsOf(model), QStringLiteral("ccnr ccnri (deprecated) irelax"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(2, 0));

    QVERIFY(model.setOtherAttribute(64));
    QVERIFY(!model.setOtherAttribute(64));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 3);
    QCOMPARE(model.index(3, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Other attributes"));
    QVERIFY(model.setOtherAttribute(128));
    QCOMPARE(rowsOf(model), QStringLiteral("ccnr ccnri (deprecated) irelax 0x80"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toModelIndex(), model.index(3, 0));
    QCOMPARE(attributes.count(), 1);
    QCOMPARE(attributes.at(0).at(0).value<Model::Attributes>(), Model::OtherAttributes);
    QCOMPARE(byName.count(), 1);
    QCOMPARE(byName.at(0).at(0).value<Model::Attributes>(), Model::OtherAttributes);

    model.setForContainer(false);
    QCOMPARE(changed.at(2).at(1).toModelIndex(), model.index(3, 0));
    QVERIFY(model.setOtherAttribute(0));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(rowsOf(model), QStringLiteral("ehole whole silev"));
    QCOMPARE(attributes.count(), 1);
}

void TestSpecialAttributesListModel::checkStates_data()
{
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("other");
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("value"); // set through setData
    QTest::addColumn<QString>("rows"); // empty: setData fails

    QTest::newRow("a file's row") << false << 0 << int(Model::Whole) << int(Qt::Checked)
                                  << QStringLiteral("ehole [x]whole silev");
    QTest::newRow("partly checked is unchecked") << false << 0 << int(Model::Whole)
                                                 << int(Qt::PartiallyChecked) << QString();
    QTest::newRow("a directory's attribute in file mode") << false << 0 << int(Model::Ccnr)
                                                          << int(Qt::Checked) << QString();
    QTest::newRow("a directory's row") << true << 0 << int(Model::Irelax) << int(Qt::Checked)
                                       << QStringLiteral("ccnr ccnri (deprecated) [x]irelax");
    QTest::newRow("other attributes without their row") << false << 0 << int(Model::OtherAttributes)
                                                         << int(Qt::Checked) << QString();
    QTest::newRow("other attributes with their row") << true << 0x100 << int(Model::OtherAttributes)
        << int(Qt::Checked) << QStringLiteral("ccnr ccnri (deprecated) irelax [x]0x100");
}

void TestSpecialAttributesListModel::checkStates()
{
    QFETCH(bool, container);
    QFETCH(int, other);
    QFETCH(int, attribute);
    QFETCH(int, value);
    QFETCH(QString, rows);

    Model model;
    QAbstractItemModelTester tester(&model, Fatal);
    model.setForContainer(container);
    model.setOtherAttribute(other);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy attributes(&model, &Model::attributeChanged);
    const auto which = Model::Attributes(attribute);
    const bool result = !rows.isEmpty();

    QCOMPARE(model.setData(model.index(model.rowForAttribute(attribute), 0), value, Qt::CheckStateRole),
             result);
    QCOMPARE(model.checkState(which), result ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(attributes.count(), int(result));
    QCOMPARE(changed.count(), int(result));
    if (!result)
        return;
    QCOMPARE(rowsOf(model), rows);
    QCOMPARE(attributes.at(0).at(0).value<Model::Attributes>(), which);
    QVERIFY(!model.setCheckState(which, Qt::Checked));
    QVERIFY(model.setCheckState(which, Qt::PartiallyChecked));
    QCOMPARE(model.checkState(which), Qt::Unchecked);
}

void TestSpecialAttributesListModel::enabledFlags()
{
    Model model;
    QAbstractItemModelTester tester(&model, Fatal);
    QSignalSpy attributes(&model, &Model::attributeChanged);

    QVERIFY(model.setEnabled(Model::Silev, false));
    QVERIFY(!model.setEnabled(Model::Silev, false));
    QVERIFY(!model.setEnabled(Model::Irelax, false));
    QVERIFY(!model.setData(model.index(0, 0), true, Qt::EditRole));
    QCOMPARE(attributes.count(), 1);
    QVERIFY(model.flags(model.index(2, 0)) & Qt::ItemIsUserCheckable);

    // Flags outlast a mode switch, and a disabled row can still be checked.
    model.setForContainer(true);
    QCOMPARE(rowsOf(model), QStringLiteral("ccnr ccnri (deprecated) irelax"));
    model.setForContainer(false);
    QVERIFY(model.setCheckState(Model::Silev, Qt::Checked));
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
    QTest::newRow("ccnri checked") << false << true << false << QStringLiteral("ccnr [x]ccnri (deprecated) 0x40");
    QTest::newRow("irelax checked") << false << false << true << QStringLiteral("ccnr [x]irelax 0x40");
}

void TestSpecialAttributesListModel::proxyFilter()
{
    QFETCH(bool, strict);
    QFETCH(bool, ccnri);
    QFETCH(bool, irelax);
    QFETCH(QString, rows);

    StandinPolicy policy;
    policy.write("system", strict ? "strict_mode=1\n" : "strict_mode=0\n");
    Model model;
    SpecialAttributesProxyListModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, Fatal);
    model.setCheckState(Model::Ehole, Qt::Checked);
    QCOMPARE(rowsOf(proxy), QStringLiteral("[x]ehole whole silev"));

    model.setOtherAttribute(0x40);
    model.setForContainer(true);
    model.setCheckState(Model::Ccnri, ccnri ? Qt::Checked : Qt::Unchecked);
    model.setCheckState(Model::Irelax, irelax ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(rowsOf(proxy), rows);

    // Unticked in the view, a row the filter keeps only while ticked goes.
    if (ccnri || irelax) {
        QVERIFY(proxy.setData(proxy.index(1, 0), int(Qt::Unchecked), Qt::CheckStateRole));
        QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr 0x40"));
    }
}

void TestSpecialAttributesListModel::proxyAsksStrictModeEachTime()
{
    StandinPolicy policy;
    Model model;
    model.setForContainer(true);
    SpecialAttributesProxyListModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, Fatal);
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr"));

    policy.write("system", "strict_mode=1\n");
    proxy.invalidate();
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr irelax"));
    policy.write("system", "strict_mode=0\n");
    proxy.invalidate();
    QCOMPARE(rowsOf(proxy), QStringLiteral("ccnr"));
}

QTEST_GUILESS_MAIN(TestSpecialAttributesListModel)
#include "tst_specialattributeslistmodel.moc"
