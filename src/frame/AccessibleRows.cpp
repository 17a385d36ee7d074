// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "AccessibleRows_p.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

namespace VarnelQt5 {
namespace AccessibleRows {

namespace {

// The row's interface as assistive tools know it: a list's cell by row, a
// tree's by its place among the rows shown.
QAccessibleInterface *cellOf(QAbstractItemView *view, const QModelIndex &index)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    if (!table || !table->tableInterface())
        return nullptr;
    int row = index.row();
    if (auto *tree = qobject_cast<QTreeView *>(view)) {
        row = 0;
        QModelIndex shown = view->model()->index(0, 0, view->rootIndex());
        while (shown.isValid() && shown != index.siblingAtColumn(0)) {
            shown = tree->indexBelow(shown);
            ++row;
        }
        if (!shown.isValid())
            return nullptr;
    }
    return table->tableInterface()->cellAt(row, index.column());
}

// Remembers the check state of each row it has seen, so that only changes
// are announced.
class CheckAnnouncer : public QObject
{
public:
    // The model is kept apart from the view: a list widget's own model
    // resets while the view is being destroyed, when the view can no longer
    // be asked for it.
    explicit CheckAnnouncer(QAbstractItemView *view) : QObject(view), m_view(view), m_model(view->model())
    {
        if (!m_model)
            return;
        connect(m_model, &QAbstractItemModel::dataChanged, this, &CheckAnnouncer::dataChanged);
        connect(m_model, &QAbstractItemModel::rowsInserted, this, &CheckAnnouncer::remember);
        connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
            m_states.clear();
            remember(QModelIndex(), 0, m_model->rowCount() - 1);
        });
        remember(QModelIndex(), 0, m_model->rowCount() - 1);
    }

private:
    void remember(const QModelIndex &parent, int first, int last)
    {
        if (!QAccessible::isActive())
            return;
        for (int row = first; row <= last; ++row) {
            const QModelIndex index = m_model->index(row, 0, parent);
            m_states.insert(index, index.data(Qt::CheckStateRole).toInt());
        }
    }

    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
    {
        if (!QAccessible::isActive() || !topLeft.isValid()
            || (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole)))
            return;
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
            const QModelIndex index = topLeft.sibling(row, 0);
            const QVariant state = index.data(Qt::CheckStateRole);
            if (!state.isValid())
                continue;
            const auto known = m_states.constFind(index);
            const bool unchanged = known != m_states.constEnd() && known.value() == state.toInt();
            m_states.insert(index, state.toInt());
            if (unchanged)
                continue;
            QAccessibleInterface *cell = cellOf(m_view, index);
            if (!cell)
                continue;
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(cell, changed);
            QAccessible::updateAccessibility(&event);
        }
    }

    QAbstractItemView *m_view;
    QAbstractItemModel *m_model;
    QHash<QPersistentModelIndex, int> m_states;
};

class ReturnFinishes : public QObject
{
public:
    ReturnFinishes(QObject *parent, std::function<void()> done) : QObject(parent), m_done(std::move(done)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        m_done();
        return true;
    }

private:
    std::function<void()> m_done;
};

class FocusOnShow : public QObject
{
public:
    FocusOnShow(QWidget *widget, const QStringList &names) : QObject(widget), m_widget(widget), m_names(names)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_widget || event->type() != QEvent::Show)
            return false;
        const QWidget *held = m_widget->window()->focusWidget();
        if (held && held != m_widget->window())
            return false;
        for (const QString &name : qAsConst(m_names)) {
            auto *field = m_widget->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
            if (field && field->isVisibleTo(m_widget) && field->isEnabled() && (field->focusPolicy() & Qt::TabFocus)) {
                field->setFocus(Qt::TabFocusReason);
                break;
            }
        }
        return false;
    }

private:
    QWidget *m_widget;
    QStringList m_names;
};

} // namespace

void announceCheckChanges(QAbstractItemView *view)
{
    new CheckAnnouncer(view);
}

void finishOnReturn(const QList<QWidget *> &widgets, std::function<void()> done)
{
    if (widgets.isEmpty())
        return;
    auto *filter = new ReturnFinishes(widgets.first(), std::move(done));
    for (QWidget *widget : widgets)
        widget->installEventFilter(filter);
}

void focusFirstOnShow(QWidget *widget, const QStringList &names)
{
    new FocusOnShow(widget, names);
}

} // namespace AccessibleRows
} // namespace VarnelQt5
