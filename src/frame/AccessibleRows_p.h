// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_ACCESSIBLEROWS_P_H
#define VARNEL_ACCESSIBLEROWS_P_H

// What item views and popups of the library tell assistive tools and the
// keyboard beyond what Qt's views do on their own.

#include <QStringList>

#include <functional>

class QAbstractItemView;
class QWidget;

namespace VarnelQt5 {
namespace AccessibleRows {

// Announces every change of a row's check state in view, by key, mouse or
// program, as a state change of that row, so that a screen reader says it.
// Rows whose state is set again unchanged stay quiet; rows without
// Qt::ItemIsEnabled are reported disabled. Call once the view has
// its model; costs nothing while no assistive tool is active.
void announceCheckChanges(QAbstractItemView *view);

// Return and Enter pressed in any of widgets call done, as a popup's "Done"
// button does; the filter belongs to the first widget.
void finishOnReturn(const QList<QWidget *> &widgets, std::function<void()> done);

// Gives the focus to the first widget of the list that is shown, enabled
// and takes the focus, unless something in widget's window holds it
// already, once widget is shown. The names are object names of direct
// children of widget.
void focusFirstOnShow(QWidget *widget, const QStringList &names);

} // namespace AccessibleRows
} // namespace VarnelQt5

#endif
