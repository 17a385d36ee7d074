// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TESTS_CHECKEDROWS_H
#define VARNEL_TESTS_CHECKEDROWS_H

#include <QAbstractItemModel>
#include <QStringList>

// The rows of a list as one line, "[x]" marking the checked ones.
inline QString rowsOf(const QAbstractItemModel *model)
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        rows << (checked ? QLatin1String("[x]") : QLatin1String("")) + index.data().toString();
    }
    return rows.join(QLatin1Char(' '));
}

#endif
