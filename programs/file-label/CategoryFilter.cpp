// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "CategoryFilter.h"

#include "FormCategoryFilter.h"

#include <FileMacLabelWidget.h>
#include <MacCategoryListWidget.h>

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

using VarnelQt5::MacCategoryListWidget;

namespace {

// The names of the checked rows, as they read after "N:". Read from the
// rows themselves: they also change while the list is being destroyed.
QString chosenNames(const QAbstractItemModel *rows)
{
    QStringList names;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const QModelIndex index = rows->index(row, 0);
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked)
            names << index.data().toString().section(QLatin1Char(':'), 1);
    }
    return names.isEmpty() ? QCoreApplication::translate("CategoryFilter", "No categories chosen")
                           : QCoreApplication::translate("CategoryFilter", "Chosen: %1")
                                 .arg(names.join(QStringLiteral(", ")));
}

// One line that ends in an ellipsis when it does not fit, with the whole
// text in its tool tip.
class ChosenLine : public QLabel
{
public:
    explicit ChosenLine(QWidget *parent) : QLabel(parent)
    {
        setObjectName(QStringLiteral("_chosenCategoriesLabel"));
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        // Tools read the whole line as the name; as description it would
        // only say it again.
        setAccessibleDescription(
            QCoreApplication::translate("CategoryFilter", "The categories checked in the list"));
    }

    void setWhole(const QString &text)
    {
        whole = text;
        setAccessibleName(text);
        setToolTip(text);
        fit();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit() { setText(fontMetrics().elidedText(whole, Qt::ElideRight, contentsRect().width())); }

    QString whole;
};

} // namespace

void addCategoryFilter(VarnelQt5::FileMacLabelWidget *form)
{
    QVBoxLayout *cell = placeCategoryFilter(form);
    if (!cell)
        return;
    auto *list = form->findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget"));
    auto *chosen = new ChosenLine(form);
    cell->addWidget(chosen);

    // The rows themselves, as the form sets some of them with the list's
    // signals blocked.
    const QAbstractItemModel *rows = list->model();
    const auto follow = [rows, chosen] { chosen->setWhole(chosenNames(rows)); };
    QObject::connect(rows, &QAbstractItemModel::dataChanged, chosen, follow);
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, chosen, follow);
    QObject::connect(rows, &QAbstractItemModel::rowsRemoved, chosen, follow);
    QObject::connect(rows, &QAbstractItemModel::modelReset, chosen, follow);
    follow();
}
