// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacCategoryWidget.h"

#include "AccessibleRows_p.h"
#include "LabelTexts_p.h"
#include "MacCategoryListWidget.h"

#include <PopupWidget.h>

#include <QAccessibleWidget>
#include <QBoxLayout>
#include <QCursor>
#include <QDialog>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace VarnelQt5 {

namespace {

// A row with one button centred under the checklist.
QPushButton *addDoneRow(QVBoxLayout *layout, const QString &text)
{
    auto *row = new QHBoxLayout;
    auto *done = new QPushButton(text);
    row->addStretch();
    row->addWidget(done);
    row->addStretch();
    layout->addLayout(row);
    return done;
}

// Paints a line of names that does not fit as far as it goes, ending in
// an ellipsis, without the run of blanks the text carries after the names. The
// label keeps its text; only what is painted changes. One painter serves
// every editor of the process.
class ElidedLine : public QObject
{
public:
    explicit ElidedLine(QObject *parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *label = qobject_cast<QLabel *>(watched);
        if (event->type() != QEvent::Paint || !label)
            return false;
        QString names = label->text();
        int end = names.size();
        while (end > 0 && names.at(end - 1) == QLatin1Char(' '))
            --end;
        names.truncate(end);
        const QRect room = label->contentsRect();
        const QString shown = label->fontMetrics().elidedText(names, Qt::ElideRight, room.width());
        QPainter painter(label);
        label->style()->drawItemText(&painter, room,
                                     int(QStyle::visualAlignment(label->layoutDirection(), label->alignment())),
                                     label->palette(), label->isEnabled(), shown, label->foregroundRole());
        return true;
    }
};

void elide(QLabel *label)
{
    static QPointer<ElidedLine> shared;
    if (!shared && QCoreApplication::instance())
        shared = new ElidedLine(QCoreApplication::instance());
    if (shared)
        label->installEventFilter(shared);
}

// Qt leaves popup windows out of the tree assistive tools walk down from
// the application; while open, the checklist popup is the picker's last
// child there, so that a screen reader finds it.
class PickerWithPopup : public QAccessibleWidget
{
public:
    explicit PickerWithPopup(QWidget *picker) : QAccessibleWidget(picker) {}

    int childCount() const override { return QAccessibleWidget::childCount() + (openPopup() ? 1 : 0); }
    QAccessibleInterface *child(int index) const override
    {
        QWidget *popup = openPopup();
        if (popup && index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(popup);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        QWidget *popup = openPopup();
        if (popup && child && child->object() == popup)
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    QWidget *openPopup() const
    {
        auto *popup = widget()->findChild<PopupWidget *>();
        return popup && popup->isVisible() ? popup : nullptr;
    }
};

QAccessibleInterface *pickerWithPopupFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(MacCategoryWidget::staticMetaObject.className())
        || !qobject_cast<MacCategoryWidget *>(object))
        return nullptr;
    return new PickerWithPopup(static_cast<QWidget *>(object));
}

} // namespace

MacCategoryWidget::MacCategoryWidget(QWidget *parent)
    : QWidget(parent)
    , label(new QLabel(this))
    , button(new QPushButton(QStringLiteral("..."), this))
    , list(nullptr)
    , popup(nullptr)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    label->setScaledContents(true);
    // The text carries a long run of trailing spaces; the label takes the
    // width the layout can spare instead of asking for room for all of them,
    // which would force every host form thousands of pixels wide.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(label, 1);
    elide(label);
    layout->addStretch();
    layout->addWidget(button);

    setAccessibleName(tr("Categories"));
    // The button shows only "...".
    button->setAccessibleName(tr("Choose categories"));

    popup = new PopupWidget(PopupWidget::TopLeft, button);
    auto *content = new QWidget(popup);
    auto *contentLayout = new QVBoxLayout(content);
    list = new MacCategoryListWidget(content);
    contentLayout->addWidget(list);
    QPushButton *done = addDoneRow(contentLayout, tr("Done"));
    popup->setWidget(content);

    connect(done, &QPushButton::clicked, popup, &PopupWidget::accept);
    // A button outside a dialog ignores Return; here it closes the popup,
    // from the checklist as from "Done".
    AccessibleRows::finishOnReturn({content, list, done}, [this] { popup->accept(); });
    connect(button, &QPushButton::clicked, this, &MacCategoryWidget::popupCategoriesWidget);
    connect(list, &MacCategoryListWidget::valueChanged, this, &MacCategoryWidget::categoriesUpdated);
    connect(list, &MacCategoryListWidget::valueChanged, this, &MacCategoryWidget::valueChanged);

    categoriesUpdated(list->value());

    static const bool installed = [] {
        QAccessible::installFactory(pickerWithPopupFactory);
        return true;
    }();
    Q_UNUSED(installed)
    // An interface Qt made while the picker was built makes way for ours.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(this);
    if (made && !dynamic_cast<PickerWithPopup *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

MacCategoryWidget::~MacCategoryWidget() = default;

mac_cat_t MacCategoryWidget::value()
{
    return list->value();
}

void MacCategoryWidget::setUid(uid_t uid)
{
    list->setUid(uid);
    button->setEnabled(list->hasAvailableCategories());
    // A rebuild from the empty set checks the user's minimum silently.
    categoriesUpdated(list->value());
}

void MacCategoryWidget::setMinimumValue(mac_cat_t value)
{
    list->setMinimumValue(value);
    button->setEnabled(list->hasAvailableCategories());
    categoriesUpdated(list->value());
}

void MacCategoryWidget::setMaximumValue(mac_cat_t value)
{
    list->setMaximumValue(value);
    button->setEnabled(list->hasAvailableCategories());
    categoriesUpdated(list->value());
}

void MacCategoryWidget::setValue(mac_cat_t value)
{
    const mac_cat_t before = list->value();
    const bool taken = list->setValue(value);
    button->setEnabled(list->hasAvailableCategories());
    // A set the list refused is shown as asked; one it took only in part,
    // keeping the categories it forces, as it now stands.
    categoriesUpdated(taken || list->value() == before ? value : list->value());
}

void MacCategoryWidget::popupCategoriesWidget()
{
    popup->popup(QCursor::pos());
    // So that the checklist can be worked with the keyboard alone.
    list->setFocus(Qt::PopupFocusReason);
}

void MacCategoryWidget::categoriesUpdated(mac_cat_t value)
{
    const QString text = LabelTexts::categoryNames(value);
    label->setText(text + QString(1000, QLatin1Char(' ')));
    label->adjustSize();
    // The set in words for assistive tools, without the padding.
    const QString words = value == 0 ? tr("No categories") : text;
    label->setAccessibleName(words);
    // The whole line, also where the label has room for only part of it.
    label->setToolTip(text);
    setAccessibleDescription(words);
}

void MacCategoryWidget::callCategoriesDialog()
{
    // The checklist lends itself to the dialog and then goes back where the
    // popup shows it, so that popup, value and setters keep one checklist.
    QWidget *content = list->parentWidget();
    auto *contentLayout = qobject_cast<QBoxLayout *>(content->layout());

    QDialog dialog;
    dialog.setModal(true);
    auto *dialogLayout = new QVBoxLayout(&dialog);
    auto *dialogContent = new QWidget(&dialog);
    dialogLayout->addWidget(dialogContent);
    auto *layout = new QVBoxLayout(dialogContent);
    layout->addWidget(list);
    QPushButton *done = addDoneRow(layout, tr("Done"));
    connect(done, &QPushButton::clicked, &dialog, &QDialog::accept);

    const QPointer<MacCategoryWidget> self(this);
    dialog.exec();
    // Destroyed while the dialog ran: the dialog takes the checklist along.
    if (!self)
        return;

    layout->removeWidget(list);
    list->setParent(content);
    if (contentLayout)
        contentLayout->insertWidget(0, list);
    list->show();
    categoriesUpdated(list->value());
}

} // namespace VarnelQt5
