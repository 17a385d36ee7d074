// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacTypeComboBox.h"

#include "StandinPolicy.h"

#include <QSignalSpy>
#include <QTest>

using VarnelQt5::MacTypeComboBox;

namespace {

QStringList textsOf(const MacTypeComboBox &box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

} // namespace

class TestMacTypeComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void setValue_data();
    void setValue();
    void noEntries();
};

void TestMacTypeComboBox::entries_data()
{
    QTest::addColumn<QByteArray>("types");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<QStringList>("texts");

    const QString none = QStringLiteral("None");
    const QStringList unnamed{none, QString(), QString(), QString()};
    QTest::newRow("named types")
        << QByteArray("0x10000:Plain\n0x1002d:Alpha\n0x1003f:Beta\n0x10012:Gamma\n") << QByteArray()
        << QStringList{none, QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")};
    QTest::newRow("no text") << QByteArray() << QByteArray("mac_to_text") << unnamed;
    QTest::newRow("no label object") << QByteArray() << QByteArray("mac_init") << unnamed;
}

void TestMacTypeComboBox::entries()
{
    QFETCH(QByteArray, types);
    QFETCH(QByteArray, faults);
    QFETCH(QStringList, texts);

    StandinPolicy policy;
    policy.write("types", types);
    if (!faults.isEmpty())
        policy.fail(faults.constData());
    const long live = varnel_standin_live();

    MacTypeComboBox box;
    QCOMPARE(textsOf(box), texts);
    QCOMPARE(box.value(), 0x10000u);
    QCOMPARE(box.itemData(3, Qt::UserRole).toUInt(), 0x10012u);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacTypeComboBox::setValue_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");

    QTest::newRow("a fixed type") << 0x1003Fu << 2 << 4 << QStringLiteral("Beta");
    QTest::newRow("a further type") << 0x10040u << 4 << 5 << QStringLiteral("Delta");
}

void TestMacTypeComboBox::setValue()
{
    QFETCH(uint, type);
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(QString, text);

    StandinPolicy policy;
    policy.write("types", "0x1002d:Alpha\n0x1003f:Beta\n0x10012:Gamma\n0x10040:Delta\n");
    const long live = varnel_standin_live();
    MacTypeComboBox box;
    box.setCurrentIndex(1);
    QSignalSpy changed(&box, qOverload<int>(&QComboBox::currentIndexChanged));

    box.setValue(type);
    QCOMPARE(box.currentIndex(), index);
    QCOMPARE(box.count(), count);
    QCOMPARE(box.currentText(), text);
    QCOMPARE(box.value(), type);
    QCOMPARE(changed.count(), 1);

    // Again: no second entry, no change.
    box.setValue(type);
    QCOMPARE(box.count(), count);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacTypeComboBox::noEntries()
{
    StandinPolicy policy;
    MacTypeComboBox box;
    box.clear();
    QCOMPARE(box.value(), 0u);
    box.setValue(0x1002D);
    QCOMPARE(box.count(), 1);
    QCOMPARE(box.value(), 0x1002Du);
}

QTEST_MAIN(TestMacTypeComboBox)
#include "tst_mactypecombobox.moc"
