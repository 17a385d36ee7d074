// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LockReasons_p.h"

#include "ILevelComboBox.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

namespace VarnelQt5 {
namespace LockReasons {

namespace {

// The description this code last gave a widget, so that one a host set is
// never replaced.
const char givenProperty[] = "_varnel_lock_reason";
// Marks a widget whose reason this code looks after.
const char watchedProperty[] = "_varnel_lock_watched";
// The object name of a widget's speaker.
const char speakerName[] = "_varnelLockReasonSpeaker";

// What a picker's last rebuild found; Fine for one never rebuilt.
const char builtProperty[] = "_varnel_built";
const char onlyProperty[] = "_varnel_built_only";

Built built(const QWidget *picker)
{
    return static_cast<Built>(picker->property(builtProperty).toInt());
}

QString only(const QWidget *picker)
{
    return picker->property(onlyProperty).toString();
}

// A combo box a person can change: enabled, with a second value to pick.
bool comboLocked(const QComboBox *picker)
{
    return !picker->isEnabled() || picker->count() < 2;
}

QString levelReason(const MacLevelComboBox *picker)
{
    if (!comboLocked(picker))
        return QString();
    switch (built(picker)) {
    case Built::Single:
        return MacLevelComboBox::tr("%1 is the only level this user may choose").arg(only(picker));
    case Built::MacOff:
        return MacLevelComboBox::tr("Mandatory access control is switched off, so there is no level to choose");
    case Built::Unreadable:
    case Built::NoLevels:
        return MacLevelComboBox::tr("The level database cannot be read");
    case Built::Nothing:
        return MacLevelComboBox::tr("No level lies within this user's range");
    case Built::Forced:
    case Built::Fine:
        break;
    }
    return QString();
}

QString integrityReason(const ILevelComboBox *picker)
{
    if (!comboLocked(picker))
        return QString();
    switch (built(picker)) {
    case Built::Single:
        return ILevelComboBox::tr("%1 is the only integrity level this user may choose").arg(only(picker));
    case Built::NoLevels:
        return ILevelComboBox::tr("The system reports no integrity levels");
    case Built::Unreadable:
        return ILevelComboBox::tr("The integrity database cannot be read");
    case Built::Nothing:
    case Built::MacOff:
        return ILevelComboBox::tr("No integrity level lies within this user's range");
    case Built::Forced:
    case Built::Fine:
        break;
    }
    return QString();
}

QString categoryComboReason(const MacCategoryComboBox *picker)
{
    if (!comboLocked(picker))
        return QString();
    switch (built(picker)) {
    case Built::Single:
        return MacCategoryComboBox::tr("%1 is the only category this user may choose").arg(only(picker));
    case Built::MacOff:
        return MacCategoryComboBox::tr("Mandatory access control is switched off, so there is no category to choose");
    case Built::Unreadable:
    case Built::NoLevels:
        return MacCategoryComboBox::tr("The category database cannot be read");
    case Built::Nothing:
        return MacCategoryComboBox::tr("No category lies within this user's range");
    case Built::Forced:
    case Built::Fine:
        break;
    }
    return QString();
}

// A list a person can change: enabled, with a row that is not forced.
bool listLocked(const MacCategoryListWidget *list)
{
    if (!list->isEnabled())
        return true;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->flags() & Qt::ItemIsEnabled)
            return false;
    }
    return true;
}

// The list as a whole; its rows give their own reasons.
QString categoryListReason(const MacCategoryListWidget *list)
{
    if (!listLocked(list))
        return QString();
    switch (built(list)) {
    case Built::Forced:
        return MacCategoryListWidget::tr("Every category listed is required for this user");
    case Built::MacOff:
        return MacCategoryListWidget::tr("Mandatory access control is switched off, so there is no category to choose");
    case Built::Unreadable:
    case Built::NoLevels:
        return MacCategoryListWidget::tr("The category database cannot be read");
    case Built::Nothing:
        return MacCategoryListWidget::tr("This user may choose no category");
    case Built::Single:
    case Built::Fine:
        break;
    }
    return QString();
}

// On Linux Qt names a combo box by its current entry and a caption only as
// a relation: a picker without a caption says what it is in its description.
QString kind(QWidget *widget)
{
    if (!qobject_cast<MacLevelComboBox *>(widget) && !qobject_cast<ILevelComboBox *>(widget)
        && !qobject_cast<MacCategoryComboBox *>(widget) && !qobject_cast<MacTypeComboBox *>(widget))
        return QString();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !iface->relations(QAccessible::Label).isEmpty())
        return QString();
    return widget->accessibleName();
}

void describe(QWidget *widget)
{
    if (!widget->property(watchedProperty).toBool())
        return;
    const QString given = widget->property(givenProperty).toString();
    const QString current = widget->accessibleDescription();
    if (!current.isEmpty() && current != given)
        return;
    QString why = reason(widget);
    const QString what = kind(widget);
    if (!what.isEmpty())
        why = why.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, why);
    if (why == current)
        return;
    widget->setProperty(givenProperty, why);
    widget->setAccessibleDescription(why);
}

// One watcher for the whole process: it shows reasons in tool tips and,
// while assistive tools are active, keeps the descriptions current.
class Watcher : public QObject, public QAccessible::ActivationObserver
{
public:
    explicit Watcher(QObject *parent) : QObject(parent) { QAccessible::installActivationObserver(this); }
    ~Watcher() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool active) override
    {
        if (!active)
            return;
        const QWidgetList widgets = QApplication::allWidgets();
        for (QWidget *widget : widgets)
            describe(widget);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip)
            return toolTip(watched, static_cast<QHelpEvent *>(event));
        if (event->type() == QEvent::EnabledChange && watched->isWidgetType())
            changed(static_cast<QWidget *>(watched));
        return false;
    }

private:
    bool toolTip(QObject *watched, QHelpEvent *event)
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        // A list's viewport: a row under the pointer speaks for itself.
        auto *view = qobject_cast<QAbstractItemView *>(widget->parentWidget());
        if (view && view->viewport() == widget) {
            if (view->indexAt(event->pos()).isValid())
                return false;
            widget = view;
        }
        if (!widget->toolTip().isEmpty())
            return false;
        QString why = reason(widget);
        // A value the policy does not name explains itself where it shows.
        if (const auto *combo = qobject_cast<const QComboBox *>(widget); why.isEmpty() && combo)
            why = combo->currentData(Qt::ToolTipRole).toString();
        if (why.isEmpty())
            return false;
        QToolTip::showText(event->globalPos(), why, widget);
        return true;
    }
};

Watcher *watcher()
{
    static QPointer<Watcher> instance;
    if (!instance && QCoreApplication::instance())
        instance = new Watcher(QCoreApplication::instance());
    return instance;
}

} // namespace

QString reason(const QWidget *widget)
{
    if (!widget)
        return QString();
    if (const Speaker *speaker = Speaker::of(widget))
        return speaker->ownReason();
    if (const Speaker *around = Speaker::of(widget->parent())) {
        const QString why = around->reasonFor(widget);
        if (!why.isEmpty())
            return why;
    }
    if (const auto *level = qobject_cast<const MacLevelComboBox *>(widget))
        return levelReason(level);
    if (const auto *integrity = qobject_cast<const ILevelComboBox *>(widget))
        return integrityReason(integrity);
    if (const auto *category = qobject_cast<const MacCategoryComboBox *>(widget))
        return categoryComboReason(category);
    if (const auto *list = qobject_cast<const MacCategoryListWidget *>(widget))
        return categoryListReason(list);
    return QString();
}

void record(QWidget *picker, Built built, const QString &only)
{
    picker->setProperty(builtProperty, int(built));
    picker->setProperty(onlyProperty, only);
}

void watch(QWidget *widget)
{
    Watcher *shared = watcher();
    if (!shared)
        return;
    widget->setProperty(watchedProperty, true);
    widget->installEventFilter(shared);
    // Once the form around it is built, so that a caption it gets counts.
    if (QAccessible::isActive())
        QTimer::singleShot(0, widget, [widget] { describe(widget); });
    if (auto *view = qobject_cast<QAbstractItemView *>(widget))
        view->viewport()->installEventFilter(shared);
}

void changed(QWidget *widget)
{
    if (!widget || !QAccessible::isActive())
        return;
    describe(widget);
    if (Speaker::of(widget)) {
        for (QObject *child : widget->children()) {
            if (child->isWidgetType())
                describe(static_cast<QWidget *>(child));
        }
    } else if (QWidget *around = widget->parentWidget(); around && Speaker::of(around)) {
        describe(around);
    }
}

Speaker::Speaker(QWidget *widget)
    : QObject(widget)
{
    setObjectName(QLatin1String(speakerName));
    // The widget explains itself as a whole, as its pickers do.
    if (Watcher *shared = watcher()) {
        widget->setProperty(watchedProperty, true);
        widget->installEventFilter(shared);
    }
}

const Speaker *Speaker::of(const QObject *widget)
{
    if (!widget)
        return nullptr;
    return dynamic_cast<const Speaker *>(
        widget->findChild<QObject *>(QLatin1String(speakerName), Qt::FindDirectChildrenOnly));
}

} // namespace LockReasons
} // namespace VarnelQt5
