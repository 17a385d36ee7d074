// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_TABWALK_H
#define VARNEL_TESTS_TABWALK_H

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// The widgets Tab visits from start on until focus comes back to start,
// buttons by their text, others by their object name.
inline QString tabWalk(QWidget *start)
{
    start->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus)
            return visited.join(QLatin1String(", ")) + QLatin1String(", <nothing>");
        const auto *button = qobject_cast<QAbstractButton *>(focus);
        visited << (button ? button->text() : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            return visited.join(QLatin1String(", "));
    }
    return QStringLiteral("no way back");
}

#endif
