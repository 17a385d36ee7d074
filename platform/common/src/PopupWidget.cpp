// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include <PopupWidget.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace VarnelQt5 {

PopupWidget::PopupWidget(Mode mode, QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_mode(mode)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
}

PopupWidget::~PopupWidget() = default;

PopupWidget::Mode PopupWidget::mode() const
{
    return m_mode;
}

void PopupWidget::setWidget(QWidget *widget)
{
    if (widget == m_widget)
        return;
    delete m_widget;
    m_widget = widget;
    if (widget) {
        widget->setParent(this);
        layout()->addWidget(widget);
        widget->show();
    }
}

QWidget *PopupWidget::widget() const
{
    return m_widget;
}

void PopupWidget::popup(const QPoint &globalPos)
{
    adjustSize();
    QRect frame(QPoint(0, 0), size());
    if (m_mode == Centered)
        frame.moveCenter(globalPos);
    else
        frame.moveTopLeft(globalPos);

    QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        // Right and bottom first, so that a popup larger than the screen
        // keeps its top-left corner visible.
        if (frame.right() > available.right())
            frame.moveRight(available.right());
        if (frame.bottom() > available.bottom())
            frame.moveBottom(available.bottom());
        if (frame.left() < available.left())
            frame.moveLeft(available.left());
        if (frame.top() < available.top())
            frame.moveTop(available.top());
    }
    move(frame.topLeft());
    show();
    if (m_widget)
        m_widget->setFocus(Qt::PopupFocusReason);
}

void PopupWidget::accept()
{
    close();
}

void PopupWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace VarnelQt5
