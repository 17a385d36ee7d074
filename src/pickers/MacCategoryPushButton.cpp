// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryPushButton.h"

#include "AccessibleRows_p.h"
#include "LabelTexts_p.h"
#include "MacCategoryListWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include <functional>

namespace VarnelQt5 {

namespace {

// Watches the checklist window and reports when the person is done with it:
// it lost activation, Escape was pressed in it, or a mouse button was pressed
// outside it. A press on the button that opened it is swallowed, so that the
// button closes the window instead of reopening it at once.
class EditingFinishedWatcher : public QObject
{
public:
    EditingFinishedWatcher(QWidget *window, QWidget *opener, std::function<void()> finished)
        : QObject(window)
        , m_window(window)
        , m_opener(opener)
        , m_finished(std::move(finished))
    {
        window->installEventFilter(this);
    }

    ~EditingFinishedWatcher() override { watchApplication(false); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window)
            return windowEvent(event);
        if (event->type() == QEvent::MouseButtonPress && m_window->isVisible()) {
            const auto *press = static_cast<QMouseEvent *>(event);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            const QPoint global = press->globalPosition().toPoint();
#else
            const QPoint global = press->globalPos();
#endif
            if (!m_window->frameGeometry().contains(global)) {
                const bool onOpener = m_opener && m_opener->isVisible()
                    && m_opener->rect().contains(m_opener->mapFromGlobal(global));
                m_finished();
                return onOpener;
            }
        }
        return false;
    }

private:
    bool windowEvent(QEvent *event)
    {
        switch (event->type()) {
        case QEvent::Show:
            watchApplication(true);
            break;
        case QEvent::Hide:
            watchApplication(false);
            break;
        case QEvent::WindowDeactivate:
            m_finished();
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                m_finished();
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

    // Presses anywhere in the application are seen only while the window is
    // shown.
    void watchApplication(bool on)
    {
        if (on == m_watching || !qApp)
            return;
        m_watching = on;
        if (on)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

    QWidget *m_window;
    QPointer<QWidget> m_opener;
    std::function<void()> m_finished;
    bool m_watching = false;
};

} // namespace

MacCategoryPushButton::MacCategoryPushButton(QWidget *parent)
    : QPushButton(tr("Categories"), parent)
    , list(new MacCategoryListWidget(this))
{
    list->setWindowFlags(list->windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    list->hide();
    new EditingFinishedWatcher(list, this, [this] { categoryListWidgetEditingFinished(); });
    // Return and Enter close the window as Escape does, keeping the choice.
    AccessibleRows::finishOnReturn({list}, [this] { categoryListWidgetEditingFinished(); });
    list->setWindowTitle(tr("Categories"));
    connect(this, &QPushButton::clicked, this, &MacCategoryPushButton::clicked);

    // The button's text stays "Categories"; assistive tools hear the chosen
    // set as its description.
    setAccessibleDescription(tr("No categories"));
    connect(list, &MacCategoryListWidget::valueChanged, this, [this](mac_cat_t value) {
        setAccessibleDescription(value == 0 ? tr("No categories") : LabelTexts::categoryNames(value));
    });
}

MacCategoryPushButton::~MacCategoryPushButton()
{
    // The checklist window goes first, while its watcher may still reach
    // this button.
    delete list;
}

void MacCategoryPushButton::clicked()
{
    list->show();
    // Beside the button, so that it stays in sight, on whichever side there
    // is room, and within the screen.
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    QPoint place(corner.x() + width(), corner.y());
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (place.x() + list->width() > area.right() + 1 && corner.x() - list->width() >= area.left())
            place.setX(corner.x() - list->width());
        place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() + 1 - list->width())));
        place.setY(qBound(area.top(), place.y(), qMax(area.top(), area.bottom() + 1 - list->height())));
    }
    list->move(place);
    // Activation and focus make the window closable by losing activation and
    // let the keyboard work it.
    list->activateWindow();
    list->setFocus(Qt::ActiveWindowFocusReason);
}

void MacCategoryPushButton::categoryListWidgetEditingFinished()
{
    list->hide();
}

} // namespace VarnelQt5
