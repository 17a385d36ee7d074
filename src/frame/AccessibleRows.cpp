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

#include <vector>

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

// Qt's item views tell assistive tools every row is enabled, whatever its
// flags, and shown while the view is hidden. The views that ask for it get
// an interface that passes everything to Qt's own and adds only that: a row
// without Qt::ItemIsEnabled is reported disabled, a row of a hidden view
// invisible. Qt's interfaces are reached by id, never kept, since
// Qt deletes its row interfaces when the model changes.
const char lockedRowsProperty[] = "_varnel_reportsLockedRows";

// A view that may be in the middle of its destruction, when it is no longer
// an item view: asked through qobject_cast, which then finds none.
class ViewRef
{
public:
    explicit ViewRef(QAbstractItemView *view) : m_object(view) {}
    QAbstractItemView *get() const { return qobject_cast<QAbstractItemView *>(m_object.data()); }
    operator QAbstractItemView *() const { return get(); }
    QAbstractItemView *operator->() const { return get(); }

private:
    QPointer<QObject> m_object;
};

QAccessibleInterface *byId(QAccessible::Id id)
{
    return id ? QAccessible::accessibleInterface(id) : nullptr;
}

class LockedRowCell : public QAccessibleInterface
{
public:
    LockedRowCell(QAbstractItemView *view, QAccessible::Id inner) : m_view(view), m_inner(inner) {}

    QAccessibleInterface *inner() const { return byId(m_inner); }
    QAccessible::Id innerId() const { return m_inner; }

    bool isValid() const override { return m_view && inner() && inner()->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return inner() ? inner()->window() : nullptr; }
    QVector<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return inner() ? inner()->relations(match)
                       : QVector<QPair<QAccessibleInterface *, QAccessible::Relation>>();
    }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return inner() ? inner()->parent() : nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override { return inner() ? inner()->text(t) : QString(); }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (inner())
            inner()->setText(t, text);
    }
    QRect rect() const override { return inner() ? inner()->rect() : QRect(); }
    QAccessible::Role role() const override { return inner() ? inner()->role() : QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessibleInterface *cell = inner();
        if (!cell || !m_view || !m_view->model())
            return QAccessible::State();
        QAccessible::State result = cell->state();
        // Qt asks only whether the row lies within the view, not whether the
        // view itself is on screen.
        if (!m_view->isVisible())
            result.invisible = true;
        if (QAccessibleTableCellInterface *place = cell->tableCellInterface()) {
            const QModelIndex index
                = m_view->model()->index(place->rowIndex(), place->columnIndex(), m_view->rootIndex());
            if (index.isValid() && !(index.flags() & Qt::ItemIsEnabled))
                result.disabled = true;
        }
        return result;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return inner() ? inner()->interface_cast(type) : nullptr;
    }

private:
    ViewRef m_view;
    QAccessible::Id m_inner;
};

class LockedRowsView : public QAccessibleInterface, public QAccessibleTableInterface
{
public:
    LockedRowsView(QAbstractItemView *view, QAccessibleInterface *inner)
        : m_view(view), m_inner(QAccessible::uniqueId(inner))
    {
    }
    ~LockedRowsView() override
    {
        for (const auto &cell : m_cells)
            QAccessible::deleteAccessibleInterface(cell.second);
        QAccessible::deleteAccessibleInterface(m_inner);
    }

    QAccessibleInterface *inner() const { return byId(m_inner); }
    QAccessibleTableInterface *table() const { return inner() ? inner()->tableInterface() : nullptr; }

    // The row interface for Qt's, the same one each time it is asked.
    QAccessibleInterface *wrap(QAccessibleInterface *cell) const
    {
        if (!cell)
            return nullptr;
        const QAccessible::Id id = QAccessible::uniqueId(cell);
        for (const auto &known : m_cells) {
            if (known.first == id)
                return byId(known.second);
        }
        auto *wrapper = new LockedRowCell(m_view, id);
        m_cells.emplace_back(id, QAccessible::registerAccessibleInterface(wrapper));
        return wrapper;
    }

    bool isValid() const override { return m_view && inner() && inner()->isValid(); }
    QObject *object() const override { return m_view; }
    QWindow *window() const override { return inner() ? inner()->window() : nullptr; }
    QVector<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return inner() ? inner()->relations(match)
                       : QVector<QPair<QAccessibleInterface *, QAccessible::Relation>>();
    }
    QAccessibleInterface *focusChild() const override { return inner() ? wrapAny(inner()->focusChild()) : nullptr; }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        return inner() ? wrapAny(inner()->childAt(x, y)) : nullptr;
    }
    QAccessibleInterface *parent() const override { return inner() ? inner()->parent() : nullptr; }
    QAccessibleInterface *child(int index) const override { return inner() ? wrapAny(inner()->child(index)) : nullptr; }
    int childCount() const override { return inner() ? inner()->childCount() : 0; }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!inner())
            return -1;
        for (const auto &known : m_cells) {
            if (known.second == QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child)))
                return inner()->indexOfChild(byId(known.first));
        }
        return inner()->indexOfChild(child);
    }
    QString text(QAccessible::Text t) const override { return inner() ? inner()->text(t) : QString(); }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (inner())
            inner()->setText(t, text);
    }
    QRect rect() const override { return inner() ? inner()->rect() : QRect(); }
    QAccessible::Role role() const override { return inner() ? inner()->role() : QAccessible::List; }
    QAccessible::State state() const override
    {
        QAccessible::State result = inner() ? inner()->state() : QAccessible::State();
        // Qt's says nothing of a hidden view, such as a closed checklist window.
        if (!m_view || !m_view->isVisible())
            result.invisible = true;
        return result;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return table() ? static_cast<QAccessibleTableInterface *>(this) : nullptr;
        return inner() ? inner()->interface_cast(type) : nullptr;
    }

    QAccessibleInterface *caption() const override { return table() ? table()->caption() : nullptr; }
    QAccessibleInterface *summary() const override { return table() ? table()->summary() : nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        return table() ? wrap(table()->cellAt(row, column)) : nullptr;
    }
    int columnCount() const override { return table() ? table()->columnCount() : 0; }
    int rowCount() const override { return table() ? table()->rowCount() : 0; }
    int selectedCellCount() const override { return table() ? table()->selectedCellCount() : 0; }
    int selectedColumnCount() const override { return table() ? table()->selectedColumnCount() : 0; }
    int selectedRowCount() const override { return table() ? table()->selectedRowCount() : 0; }
    QString columnDescription(int column) const override
    {
        return table() ? table()->columnDescription(column) : QString();
    }
    QString rowDescription(int row) const override { return table() ? table()->rowDescription(row) : QString(); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        if (table()) {
            const QList<QAccessibleInterface *> selected = table()->selectedCells();
            for (QAccessibleInterface *cell : selected)
                cells << wrap(cell);
        }
        return cells;
    }
    QList<int> selectedColumns() const override { return table() ? table()->selectedColumns() : QList<int>(); }
    QList<int> selectedRows() const override { return table() ? table()->selectedRows() : QList<int>(); }
    bool isColumnSelected(int column) const override { return table() && table()->isColumnSelected(column); }
    bool isRowSelected(int row) const override { return table() && table()->isRowSelected(row); }
    bool selectRow(int row) override { return table() && table()->selectRow(row); }
    bool selectColumn(int column) override { return table() && table()->selectColumn(column); }
    bool unselectRow(int row) override { return table() && table()->unselectRow(row); }
    bool unselectColumn(int column) override { return table() && table()->unselectColumn(column); }
    void modelChange(QAccessibleTableModelChangeEvent *event) override
    {
        if (table())
            table()->modelChange(event);
        // Rows Qt let go of go with theirs.
        for (auto known = m_cells.begin(); known != m_cells.end();) {
            if (byId(known->first)) {
                ++known;
                continue;
            }
            QAccessible::deleteAccessibleInterface(known->second);
            known = m_cells.erase(known);
        }
    }

private:
    // Qt's row interfaces are wrapped; the view's other children (scroll
    // bars, the header) are passed as they are.
    QAccessibleInterface *wrapAny(QAccessibleInterface *child) const
    {
        return child && child->tableCellInterface() ? wrap(child) : child;
    }

    ViewRef m_view;
    QAccessible::Id m_inner;
    mutable std::vector<std::pair<QAccessible::Id, QAccessible::Id>> m_cells;
};

QAccessibleInterface *lockedRowsFactory(const QString &className, QObject *object)
{
    // Asked again below for Qt's own interface of the same view.
    static bool asking = false;
    auto *view = qobject_cast<QAbstractItemView *>(object);
    if (asking || !view || !view->property(lockedRowsProperty).toBool()
        || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    asking = true;
    QAccessibleInterface *inner = QAccessible::queryAccessibleInterface(object);
    asking = false;
    if (!inner || !inner->tableInterface())
        return nullptr;
    return new LockedRowsView(view, inner);
}

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
    static const bool installed = [] {
        QAccessible::installFactory(lockedRowsFactory);
        return true;
    }();
    Q_UNUSED(installed)
    view->setProperty(lockedRowsProperty, true);
    // An interface Qt made before, for an event or a question while the
    // view was built, makes way for ours.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(view);
    if (made && !dynamic_cast<LockedRowsView *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
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
