// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryListWidget.h"
#include "MacCategoryWidget.h"

#include "StandinPolicy.h"

#include <PopupWidget.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacCategoryWidget;
using VarnelQt5::PopupWidget;

namespace {

const QString padding(1000, QLatin1Char(' '));

QPushButton *button(QWidget *parent, const char *text)
{
    for (QPushButton *button : parent->findChildren<QPushButton *>()) {
        if (button->text() == QLatin1String(text))
            return button;
    }
    return nullptr;
}

QString shownText(MacCategoryWidget &widget)
{
    return widget.findChild<QLabel *>()->text();
}

} // namespace

class TestMacCategoryWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setters_data();
    void setters();
    void keyboardOnly();
    void dialogGivesTheChecklistBack();
};

void TestMacCategoryWidget::setters_data()
{
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QString>("steps"); // space-separated: uid, min:<hex>, max:<hex>, set:<hex>
    QTest::addColumn<QString>("text");
    QTest::addColumn<mac_cat_t>("value");
    QTest::addColumn<bool>("buttonEnabled");
    QTest::addColumn<int>("emissions");

    const QByteArray users("*:0:0:3:0xff\n");
    QTest::newRow("after construction: the empty set, button enabled")
        << users << QString() << QString() << mac_cat_t(0) << true << 0;
    QTest::newRow("a set of several categories")
        << users << QStringLiteral("uid set:5") << QStringLiteral("C0, C2") << mac_cat_t(0x5) << true
        << 1;
    QTest::newRow("a set outside the user's range is only shown")
        << users << QStringLiteral("uid set:5 set:100") << QStringLiteral("8") << mac_cat_t(0x5)
        << true << 1;
    QTest::newRow("user without categories")
        << QByteArray("*:0:0:3:0\n") << QStringLiteral("uid") << QString() << mac_cat_t(0) << false
        << 0;
    QTest::newRow("user minimum from the empty set: the text follows")
        << QByteArray("*:0:0x2:3:0xff\n") << QStringLiteral("uid") << QStringLiteral("C1") << mac_cat_t(0x2)
        << true << 0;
    QTest::newRow("a caller minimum, then a user: the text follows")
        << QByteArray("*:0:0x2:3:0xff\n") << QStringLiteral("min:1 uid") << QStringLiteral("C0, C1")
        << mac_cat_t(0x3) << true << 0;
    QTest::newRow("caller minimum")
        << users << QStringLiteral("min:3") << QStringLiteral("C0, C1") << mac_cat_t(0x3) << true << 0;
    QTest::newRow("caller maximum drops categories")
        << users << QStringLiteral("uid set:9 max:1") << QStringLiteral("C0") << mac_cat_t(0x1) << true
        << 2;
    QTest::newRow("maximum leaving nothing")
        << users << QStringLiteral("max:100") << QString() << mac_cat_t(0) << false << 0;
}

void TestMacCategoryWidget::setters()
{
    QFETCH(QByteArray, macUsers);
    QFETCH(QString, steps);
    QFETCH(QString, text);
    QFETCH(mac_cat_t, value);
    QFETCH(bool, buttonEnabled);
    QFETCH(int, emissions);

    StandinPolicy policy;
    policy.write("mac-users", macUsers);
    const long live = varnel_standin_live();
    MacCategoryWidget widget;
    QSignalSpy changed(&widget, &MacCategoryWidget::valueChanged);

    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const mac_cat_t argument = step.mid(4).toULongLong(nullptr, 16);
        if (step == QLatin1String("uid"))
            widget.setUid(1000);
        else if (step.startsWith(QLatin1String("min:")))
            widget.setMinimumValue(argument);
        else if (step.startsWith(QLatin1String("max:")))
            widget.setMaximumValue(argument);
        else if (step.startsWith(QLatin1String("set:")))
            widget.setValue(argument);
    }

    QCOMPARE(shownText(widget), text + padding);
    QCOMPARE(widget.value(), value);
    QCOMPARE(button(&widget, "...")->isEnabled(), buttonEnabled);
    QCOMPARE(changed.count(), emissions);
    QCOMPARE(varnel_standin_live(), live);
}

void TestMacCategoryWidget::keyboardOnly()
{
    StandinPolicy policy;
    MacCategoryWidget widget;
    widget.setUid(1000);
    widget.show();
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    QSignalSpy changed(&widget, &MacCategoryWidget::valueChanged);
    auto *list = widget.findChild<MacCategoryListWidget *>();
    auto *popup = widget.findChild<PopupWidget *>();

    QPushButton *ellipsis = button(&widget, "...");
    ellipsis->setFocus();
    QTest::keyClick(ellipsis, Qt::Key_Space);
    QTRY_VERIFY(popup->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(widget.value(), list->cat4Item(list->currentRow()));
    QCOMPARE(shownText(widget), list->currentItem()->text().section(QLatin1Char(':'), 1) + padding);

    // The rendered popup shows the checklist.
    QCOMPARE(popup->widget(), list->parentWidget());
    QVERIFY(!popup->grab().toImage().isNull());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!popup->isVisible());

    // Open again and close with "Done".
    ellipsis->setFocus();
    QTest::keyClick(ellipsis, Qt::Key_Space);
    QTRY_VERIFY(popup->isVisible());
    QTest::mouseClick(button(popup, "Done"), Qt::LeftButton);
    QTRY_VERIFY(!popup->isVisible());
    QCOMPARE(changed.count(), 1);
}

void TestMacCategoryWidget::dialogGivesTheChecklistBack()
{
    StandinPolicy policy;
    const long live = varnel_standin_live();
    const int widgetsBefore = QApplication::allWidgets().size();
    {
        MacCategoryWidget widget;
        widget.setUid(1000);
        auto *list = widget.findChild<MacCategoryListWidget *>();
        auto *popup = widget.findChild<PopupWidget *>();
        QSignalSpy changed(&widget, &MacCategoryWidget::valueChanged);

        bool sawList = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            sawList = list->window() == dialog && list->isVisible();
            list->item(3)->setCheckState(Qt::Checked);
            button(dialog, "Done")->click();
        });
        QVERIFY(QMetaObject::invokeMethod(&widget, "callCategoriesDialog"));
        QVERIFY(sawList);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(widget.value(), mac_cat_t(0x8));
        QCOMPARE(shownText(widget), QStringLiteral("C3") + padding);

        // The same checklist is back in the popup and still obeys the setters.
        QCOMPARE(list->parentWidget(), popup->widget());
        QCOMPARE(widget.findChildren<MacCategoryListWidget *>().size(), 1);
        widget.setValue(0x3);
        QCOMPARE(list->value(), mac_cat_t(0x3));
        widget.show();
        QMetaObject::invokeMethod(&widget, "popupCategoriesWidget");
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(list->isVisible());
        QCOMPARE(list->window(), static_cast<QWidget *>(popup));
        popup->accept();
    }
    QCOMPARE(QApplication::allWidgets().size(), widgetsBefore);
    QCOMPARE(varnel_standin_live(), live);
}

QTEST_MAIN(TestMacCategoryWidget)
#include "tst_maccategorywidget.moc"
