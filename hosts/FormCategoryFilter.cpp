// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FormCategoryFilter.h"

#include <FileMacLabelWidget.h>
#include <MacCategoryFilterEdit.h>
#include <MacCategoryListWidget.h>

#include <QGridLayout>
#include <QVBoxLayout>

using VarnelQt5::MacCategoryFilterEdit;
using VarnelQt5::MacCategoryListWidget;

QVBoxLayout *placeCategoryFilter(VarnelQt5::FileMacLabelWidget *form)
{
    auto *list = form->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    auto *grid = form->findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    const int index = grid && list ? grid->indexOf(list) : -1;
    if (index < 0)
        return nullptr;
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    grid->removeWidget(list);

    auto *cell = new QVBoxLayout;
    auto *filter = new MacCategoryFilterEdit(form);
    filter->setObjectName(QStringLiteral("_categoryFilterEdit"));
    filter->setCategoryList(list);
    cell->addWidget(filter);
    cell->addWidget(list);
    grid->addLayout(cell, row, column, rowSpan, columnSpan);
    QWidget::setTabOrder(list->previousInFocusChain(), filter);
    return cell;
}
