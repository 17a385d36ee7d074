// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_POPUPWIDGET_H
#define VARNELQT5_POPUPWIDGET_H

#include "varnelcommon_export.h"

#include <QFrame>

class QPoint;

namespace VarnelQt5 {

// A frameless popup window showing one content widget. Escape, a click
// outside it and accept() close it.
class VARNELCOMMON_EXPORT PopupWidget : public QFrame
{
    Q_OBJECT
public:
    // Where popup() puts the window relative to the given point.
    enum Mode {
        Centered = 0, // the window's centre
        TopLeft = 1,  // the window's top-left corner
    };
    Q_ENUM(Mode)

    explicit PopupWidget(Mode mode, QWidget *parent = nullptr);
    ~PopupWidget() override;

    Mode mode() const;

    // Takes ownership of widget; the previous content widget is deleted.
    void setWidget(QWidget *widget);
    QWidget *widget() const;

    // Shows the popup at globalPos, moved as far as needed to stay on the
    // screen holding that point.
    void popup(const QPoint &globalPos);

public Q_SLOTS:
    void accept();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Q_DISABLE_COPY(PopupWidget)
    Mode m_mode;
    QWidget *m_widget = nullptr;
};

} // namespace VarnelQt5

#endif
