// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACCATEGORYPUSHBUTTON_H
#define VARNELQT5_MACCATEGORYPUSHBUTTON_H

#include "varnelmac_export.h"

#include <QPushButton>

namespace VarnelQt5 {

class MacCategoryListWidget;

/**
 * A "Categories" button that shows a category checklist as a frameless
 * window beside itself, on the side where the screen has room, within the
 * screen.
 *
 * The window is a MacCategoryListWidget owned by the button; it takes
 * activation and keyboard focus when shown, and closes when it loses
 * activation, on Escape, Return or Enter (which keep the choice, as all
 * ways of closing do) and on a click outside it (a click on the button
 * itself only closes it). The button has no value or signal of its own.
 *
 * \pic_maccategorypushbutton
 *
 * \code
 * auto *button = new VarnelQt5::MacCategoryPushButton(this);
 * layout->addWidget(button); // a click opens the checklist beside the button
 * \endcode
 */
class VARNELMAC_EXPORT MacCategoryPushButton : public QPushButton
{
    Q_OBJECT

public:
    /** A button with its checklist window, hidden until the first click. */
    explicit MacCategoryPushButton(QWidget *parent = nullptr);
    ~MacCategoryPushButton() override;

private Q_SLOTS:
    void clicked();
    void categoryListWidgetEditingFinished();

private:
    Q_DISABLE_COPY(MacCategoryPushButton)

    MacCategoryListWidget *list;
};

} // namespace VarnelQt5

#endif
