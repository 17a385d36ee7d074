// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The companion library's popup window.

#include <PopupWidget.h>

#include <QtTest>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

using VarnelQt5::PopupWidget;

class TestPopupWidget : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_parent.reset(new QWidget);
        m_popup = new PopupWidget(PopupWidget::Mode(1), m_parent.data());
        m_edit = new QLineEdit;
        m_edit->setMinimumSize(200, 100);
        m_popup->setWidget(m_edit);
    }
    void cleanup() { m_parent.reset(); }

    // A frameless window owned by its parent, owning its content.
    void ownership()
    {
        QVERIFY(m_popup->isWindow());
        QVERIFY(m_popup->windowFlags() & Qt::FramelessWindowHint);
        QPointer<QWidget> first(m_edit);
        auto *second = new QLabel(QStringLiteral("second"));
        m_popup->setWidget(second);
        QVERIFY(first.isNull());
        m_popup->popup(QPoint(10, 10));
        QVERIFY(second->isVisible());
        QPointer<QWidget> content(second);
        m_parent.reset();
        QVERIFY(m_popup.isNull() && content.isNull());
    }

    void closing_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::newRow("Escape in the content") << QByteArray("escape");
        QTest::newRow("click outside") << QByteArray("click");
        QTest::newRow("the slot accept()") << QByteArray("accept");
    }

    void closing()
    {
        QFETCH(QByteArray, how);
        m_popup->popup(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowExposed(m_popup.data()));
        QVERIFY(m_popup->isVisible());

        if (how == "escape")
            QTest::keyClick(m_edit, Qt::Key_Escape);
        else if (how == "click")
            QTest::mouseClick(m_popup->windowHandle(), Qt::LeftButton, {}, QPoint(-20, -20));
        else
            QVERIFY(QMetaObject::invokeMethod(m_popup.data(), "accept"));
        QTRY_VERIFY(!m_popup->isVisible());
    }

    void otherKeysKeepItOpen()
    {
        m_popup->popup(QPoint(100, 100));
        QTest::keyClick(m_edit, Qt::Key_A);
        QTest::mouseClick(m_popup->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(m_popup->isVisible());
        QCOMPARE(m_edit->text(), QStringLiteral("a"));
    }

    // Mode 1 puts the top-left corner at the point, the centred mode the
    // centre, where it fits; a popup larger than the screen shows its
    // top-left part.
    void staysOnScreen_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("offset"); // from the screen's top-left; negative: from its bottom-right
        QTest::addColumn<QSize>("oversize"); // added to the screen's size; empty: made to fit
        QTest::addColumn<bool>("atPoint");
        QTest::newRow("inside") << 1 << QPoint(50, 60) << QSize() << true;
        QTest::newRow("bottom-right corner") << 1 << QPoint(-1, -1) << QSize() << false;
        QTest::newRow("above and left") << 1 << QPoint(-100000, -100000) << QSize() << false;
        QTest::newRow("centred, inside") << 0 << QPoint(300, 200) << QSize() << true;
        QTest::newRow("centred, near the top-left corner") << 0 << QPoint(5, 5) << QSize() << false;
        QTest::newRow("larger than the screen") << 1 << QPoint(50, 60) << QSize(100, 100) << false;
        QTest::newRow("centred, larger than the screen") << 0 << QPoint(50, 60) << QSize(100, 100) << false;
    }

    void staysOnScreen()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, offset);
        QFETCH(QSize, oversize);
        QFETCH(bool, atPoint);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QPoint point(offset.x() >= 0 ? screen.left() + offset.x() : screen.right() + 1 + offset.x(),
                     offset.y() >= 0 ? screen.top() + offset.y() : screen.bottom() + 1 + offset.y());
        if (offset.x() < -10000)
            point = screen.topLeft() - QPoint(500, 500);
        PopupWidget popup(PopupWidget::Mode(mode), m_parent.data());
        auto *content = new QLabel(QStringLiteral("content"));
        content->setMinimumSize(oversize.isValid() ? screen.size() + oversize : QSize(200, 100));
        popup.setWidget(content);
        popup.popup(point);
        QVERIFY(popup.isVisible());
        const QRect frame = popup.frameGeometry();
        if (oversize.isValid())
            QCOMPARE(frame.topLeft(), screen.topLeft());
        else
            QVERIFY2(screen.contains(frame), "popup leaves the screen");
        QCOMPARE((mode == 0 ? frame.center() : frame.topLeft()) == point, atPoint);
    }

private:
    QScopedPointer<QWidget> m_parent;
    QPointer<PopupWidget> m_popup;
    QLineEdit *m_edit = nullptr;
};

QTEST_MAIN(TestPopupWidget)
#include "tst_popupwidget.moc"
