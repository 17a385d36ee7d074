// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "CategoryRows_p.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>

namespace VarnelQt5 {
namespace CategoryRows {

namespace {

// One search for the whole process, as only the list with the focus hears
// typing; it starts afresh in another list or after Qt's search timeout.
class TypeAhead : public QObject
{
public:
    explicit TypeAhead(QObject *parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *list = qobject_cast<QListWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        // Keys act only on rows in view: a hidden current row stays as it is.
        if (list && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Select) && list->currentItem()
            && list->currentItem()->isHidden()) {
            event->accept();
            return true;
        }
        // Space and Select still toggle the current row; shortcuts stay theirs.
        if (!list || key->key() == Qt::Key_Space || key->key() == Qt::Key_Select
            || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            || key->text().isEmpty() || !key->text().at(0).isPrint()) {
            return false;
        }
        search(list, key->text());
        event->accept();
        return true;
    }

private:
    static bool usable(const QListWidgetItem *row) { return !row->isHidden() && (row->flags() & Qt::ItemIsEnabled); }

    static bool isNumber(const QString &typed)
    {
        for (const QChar c : typed) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        return !typed.isEmpty();
    }

    static bool matches(const QListWidgetItem *row, const QString &typed)
    {
        return number(row).startsWith(typed) || row->text().startsWith(typed, Qt::CaseInsensitive)
            || name(row).startsWith(typed, Qt::CaseInsensitive);
    }

    // The rules of QAbstractItemView::keyboardSearch(), with the name as a
    // second text to match.
    void search(QListWidget *list, const QString &text)
    {
        const bool fresh = list != m_list || !m_typing.isValid()
            || m_typing.elapsed() > QApplication::keyboardInputInterval();
        m_typing.start();
        m_list = list;
        bool skipCurrent = false;
        if (fresh) {
            m_typed = text;
            skipCurrent = list->currentRow() >= 0;
        } else {
            m_typed += text;
        }
        const int rows = list->count();
        if (rows == 0)
            return;
        // Typed digits find the category of that number: "11" is category 11.
        if (isNumber(m_typed)) {
            for (int row = 0; row < rows; ++row) {
                if (usable(list->item(row)) && number(list->item(row)) == m_typed) {
                    list->setCurrentRow(row);
                    return;
                }
            }
        }
        // "aaa" steps through the rows that start with "a".
        const bool sameKey
            = !isNumber(m_typed) && m_typed.size() > 1 && m_typed.count(m_typed.back()) == m_typed.size();
        if (sameKey)
            skipCurrent = true;
        const QString typed = sameKey ? m_typed.right(1) : m_typed;

        int start = qMax(list->currentRow(), 0);
        if (skipCurrent)
            start = (start + 1) % rows;
        for (int step = 0; step < rows; ++step) {
            const int row = (start + step) % rows;
            const QListWidgetItem *item = list->item(row);
            if (!usable(item) || !matches(item, typed))
                continue;
            list->setCurrentRow(row);
            return;
        }
    }

    QPointer<QListWidget> m_list;
    QString m_typed;
    QElapsedTimer m_typing;
};

} // namespace

void installTypeAhead(QListWidget *list)
{
    static QPointer<TypeAhead> shared;
    if (!shared && QCoreApplication::instance())
        shared = new TypeAhead(QCoreApplication::instance());
    if (shared)
        list->installEventFilter(shared);
}

} // namespace CategoryRows
} // namespace VarnelQt5
