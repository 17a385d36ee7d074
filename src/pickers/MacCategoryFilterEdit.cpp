// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryFilterEdit.h"

#include "CategoryRows_p.h"
#include "MacCategoryListWidget.h"

#include <QKeyEvent>
#include <QPointer>

namespace VarnelQt5 {

namespace {

// Text compared without case and without diacritics: "Trésor" and "TRESOR"
// fold alike.
QString folded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    }
    return bare.toCaseFolded();
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.toUInt(&ok, 10);
    return ok;
}

bool passes(const QListWidgetItem *row, const QString &foldedText, const QString &typed)
{
    if (foldedText.isEmpty() || row->checkState() == Qt::Checked)
        return true;
    if (isNumber(typed) && CategoryRows::number(row) == typed)
        return true;
    return folded(CategoryRows::name(row)).contains(foldedText);
}

// A row the filter hid is never current, so that no key can change it: the
// next row in view takes its place, or the one before, or none.
void leaveHiddenRow(QListWidget *list)
{
    const int current = list->currentRow();
    if (current < 0 || !list->item(current)->isHidden())
        return;
    for (int row = current + 1; row < list->count(); ++row) {
        if (!list->item(row)->isHidden()) {
            list->setCurrentRow(row);
            return;
        }
    }
    for (int row = current - 1; row >= 0; --row) {
        if (!list->item(row)->isHidden()) {
            list->setCurrentRow(row);
            return;
        }
    }
    list->setCurrentItem(nullptr);
}

} // namespace

class MacCategoryFilterEditPrivate
{
public:
    explicit MacCategoryFilterEditPrivate(MacCategoryFilterEdit *q)
        : q(q)
    {
    }

    void applyTo(int first, int last, bool hideUnmatched);
    void showAll();

    MacCategoryFilterEdit *const q;
    QPointer<MacCategoryListWidget> list;
    QList<QMetaObject::Connection> connections;
};

void MacCategoryFilterEditPrivate::applyTo(int first, int last, bool hideUnmatched)
{
    if (!list)
        return;
    const QString typed = q->text().trimmed();
    const QString foldedText = folded(typed);
    for (int row = qMax(first, 0); row <= last && row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        const bool shown = passes(item, foldedText, typed);
        if (hideUnmatched || shown)
            item->setHidden(!shown);
    }
    leaveHiddenRow(list);
}

void MacCategoryFilterEditPrivate::showAll()
{
    if (!list)
        return;
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setHidden(false);
}

MacCategoryFilterEdit::MacCategoryFilterEdit(QWidget *parent)
    : QLineEdit(parent)
    , d(std::make_unique<MacCategoryFilterEditPrivate>(this))
{
    setPlaceholderText(tr("Filter categories"));
    setAccessibleName(tr("Filter categories"));
    // Without it tools read the placeholder, the name again, as description.
    setAccessibleDescription(tr("Shows only the categories whose name contains the text or whose number it is"));
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (d->list)
            d->applyTo(0, d->list->count() - 1, true);
    });
}

MacCategoryFilterEdit::~MacCategoryFilterEdit()
{
    d->showAll();
    // The list's model may outlive the state its connections reach.
    for (const QMetaObject::Connection &connection : qAsConst(d->connections))
        disconnect(connection);
}

void MacCategoryFilterEdit::setCategoryList(MacCategoryListWidget *list)
{
    if (list == d->list)
        return;
    d->showAll();
    for (const QMetaObject::Connection &connection : qAsConst(d->connections))
        disconnect(connection);
    d->connections.clear();
    d->list = list;
    if (!list)
        return;

    const QAbstractItemModel *model = list->model();
    // New rows, from a rebuild or a category the set brought along.
    d->connections << connect(model, &QAbstractItemModel::rowsInserted, this,
                              [this](const QModelIndex &, int first, int last) { d->applyTo(first, last, true); });
    // A row checked while hidden comes back; one unchecked stays in view
    // until the text changes, rather than vanishing under the pointer.
    d->connections << connect(model, &QAbstractItemModel::dataChanged, this,
                              [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                     const QVector<int> &roles) {
                                  if (roles.isEmpty() || roles.contains(Qt::CheckStateRole))
                                      d->applyTo(topLeft.row(), bottomRight.row(), false);
                              });
    d->applyTo(0, list->count() - 1, true);
}

MacCategoryListWidget *MacCategoryFilterEdit::categoryList() const
{
    return d->list;
}

bool MacCategoryFilterEdit::accepts(int row) const
{
    const QListWidgetItem *item = d->list ? d->list->item(row) : nullptr;
    if (!item)
        return false;
    const QString typed = text().trimmed();
    return passes(item, folded(typed), typed);
}

void MacCategoryFilterEdit::keyPressEvent(QKeyEvent *event)
{
    MacCategoryListWidget *const list = d->list;
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down && list && event->modifiers() == Qt::NoModifier) {
        list->setFocus(Qt::TabFocusReason);
        const QListWidgetItem *current = list->currentItem();
        if (!current || current->isHidden()) {
            for (int row = 0; row < list->count(); ++row) {
                if (!list->item(row)->isHidden()) {
                    list->setCurrentRow(row);
                    break;
                }
            }
        }
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace VarnelQt5
