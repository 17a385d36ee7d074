// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FittedRows_p.h"

#include <QApplication>
#include <QHelpEvent>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace VarnelQt5 {
namespace FittedRows {

namespace {

// Rows no wider than the viewport, so that the style elides their text;
// the width they would need sets the list's minimum width.
class FittingDelegate : public QStyledItemDelegate
{
public:
    // A list widget's own model is cleared while the view is destroyed: an
    // empty model is not measured, so that the view is not asked then.
    explicit FittingDelegate(QListView *view) : QStyledItemDelegate(view), m_view(view), m_model(view->model())
    {
        connect(m_model, &QAbstractItemModel::rowsInserted, this, &FittingDelegate::measure);
        connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
            m_widest = 0;
            if (m_model->rowCount() > 0)
                measure(QModelIndex(), 0, m_model->rowCount() - 1);
        });
        measure(QModelIndex(), 0, m_model->rowCount() - 1);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int room = m_view->viewport()->width();
        if (room > 0)
            size.setWidth(qMin(size.width(), room));
        return size;
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid()
            || !index.data(Qt::ToolTipRole).toString().isEmpty())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (QStyledItemDelegate::sizeHint(option, index).width() <= option.rect.width()) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
        return true;
    }

private:
    void measure(const QModelIndex &parent, int first, int last)
    {
        if (parent.isValid())
            return;
        const QFontMetrics metrics = m_view->fontMetrics();
        const QStyle *style = m_view->style();
        // Check box, its spacing and the text's margins around the text.
        const int extra = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m_view)
            + 6 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1);
        for (int row = first; row <= last; ++row) {
            const QString text = m_model->index(row, 0).data(Qt::DisplayRole).toString();
            m_widest = qMax(m_widest, metrics.horizontalAdvance(text) + extra);
        }
        int wanted = m_widest + 2 * m_view->frameWidth() + style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_view);
        if (const QScreen *screen = m_view->screen())
            wanted = qMin(wanted, screen->availableGeometry().width() * 3 / 4);
        if (wanted > m_view->minimumWidth())
            m_view->setMinimumWidth(wanted);
    }

    QListView *m_view;
    const QAbstractItemModel *m_model;
    int m_widest = 0;
};

} // namespace

void fit(QListView *view)
{
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setTextElideMode(Qt::ElideRight);
    view->setResizeMode(QListView::Adjust);
    view->setItemDelegate(new FittingDelegate(view));
}

} // namespace FittedRows
} // namespace VarnelQt5
