// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryListWidget.h"
#include "MacCategoryPushButton.h"

#include "StandinPolicy.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacCategoryPushButton;

class TestMacCategoryPushButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensCentred();
    void closes_data();
    void closes();
    void keyboardOnly();
};

void TestMacCategoryPushButton::opensCentred()
{
    StandinPolicy policy;
    const long live = varnel_standin_live();
    MacCategoryPushButton button;
    auto *list = button.findChild<MacCategoryListWidget *>();
    QVERIFY(list->isWindow() && (list->windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(list->isHidden());

    button.resize(120, 30);
    button.move(200, 300);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    list->resize(80, 60);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTRY_VERIFY(list->isVisible());
    const QPoint corner = button.mapToGlobal(QPoint(0, 0));
    // Beside the button, level with its top, rather than over it.
    QCOMPARE(list->pos(), QPoint(corner.x() + 120, corner.y()));
    QCOMPARE(list->size(), QSize(80, 60));
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryPushButton::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("click outside") << QStringLiteral("outside");
    QTest::newRow("click on the button") << QStringLiteral("button");
    QTest::newRow("activation lost") << QStringLiteral("deactivate");
}

void TestMacCategoryPushButton::closes()
{
    QFETCH(QString, how);
    StandinPolicy policy;
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *button = new MacCategoryPushButton(&host);
    auto *other = new QPushButton(QStringLiteral("Other"), &host);
    layout->addWidget(button);
    layout->addWidget(other);
    host.setGeometry(100, 100, 200, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    auto *list = button->findChild<MacCategoryListWidget *>();
    list->setUid(1000);
    list->resize(60, 40);
    QSignalSpy otherClicked(other, &QPushButton::clicked);

    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(list->isVisible());
    QTRY_VERIFY(list->isActiveWindow());

    if (how == QLatin1String("escape")) {
        QTest::keyClick(list, Qt::Key_Escape);
    } else if (how == QLatin1String("outside")) {
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(otherClicked.count(), 1); // the press reaches what it was aimed at
    } else if (how == QLatin1String("button")) {
        // A press on the button, which the list beside it leaves free.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    } else {
        host.activateWindow();
        QTRY_VERIFY(host.isActiveWindow());
    }
    QTRY_VERIFY(!list->isVisible());
    QTest::qWait(0);
    QVERIFY(!list->isVisible()); // not reopened by the same click
}

void TestMacCategoryPushButton::keyboardOnly()
{
    StandinPolicy policy;
    MacCategoryPushButton button;
    auto *list = button.findChild<MacCategoryListWidget *>();
    list->setUid(1000);
    list->resize(160, 200);
    button.show();
    QVERIFY(QTest::qWaitForWindowActive(&button));
    QSignalSpy changed(list, &MacCategoryListWidget::valueChanged);

    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Space);
    QTRY_VERIFY(list->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(changed.count(), 1);
    QVERIFY(list->value() != 0);

    QVERIFY(!list->grab().toImage().isNull());

    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!list->isVisible());
}

QTEST_MAIN(TestMacCategoryPushButton)
#include "tst_maccategorypushbutton.moc"
