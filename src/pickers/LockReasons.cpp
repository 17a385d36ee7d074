// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LockReasons_p.h"

#include "ILevelComboBox.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "PlatformHandles_p.h"

#include <QAbstractItemView>
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

QString readOnlyLogin()
{
    return LoginMacLabelWidget::tr("This is the label of the running program; it cannot be changed here");
}

bool insideReadOnlyLogin(const QWidget *widget)
{
    const auto *login = qobject_cast<const LoginMacLabelWidget *>(widget->parent());
    return login && !login->editable();
}

// Opening a database is a question put only when a person or an assistive
// tool asks why a picker is empty.
template <typename Db>
bool readable()
{
    Db db;
    return db.isOpen() && db.rewind();
}

bool userDatabaseReadable()
{
    return Platform::UserMacDatabase().isOpen();
}

QString levelReason(const MacLevelComboBox *picker)
{
    if (picker->count() == 1)
        return MacLevelComboBox::tr("%1 is the only level this user may choose").arg(picker->itemText(0));
    if (picker->count() > 1 || !picker->isRebuilt())
        return QString();
    if (varnel_mac_enabled() == 0)
        return MacLevelComboBox::tr("Mandatory access control is switched off, so there is no level to choose");
    if (!userDatabaseReadable() || !readable<Platform::LevelDatabase>())
        return MacLevelComboBox::tr("The level database cannot be read");
    return MacLevelComboBox::tr("No level lies within this user's range");
}

QString integrityReason(const ILevelComboBox *picker)
{
    if (picker->count() == 1)
        return ILevelComboBox::tr("%1 is the only integrity level this user may choose").arg(picker->itemText(0));
    if (picker->count() > 1 || !picker->isRebuilt())
        return QString();
    if (tav_get_max_ilev() == 0)
        return ILevelComboBox::tr("The system reports no integrity levels");
    // The lookup fails only when the database cannot be opened; the user
    // asked about does not matter.
    Platform::UserMicEntry record;
    if (!Platform::lookupUserMic(0, record))
        return ILevelComboBox::tr("The integrity database cannot be read");
    return ILevelComboBox::tr("No integrity level lies within this user's range");
}

QString categoryComboReason(const MacCategoryComboBox *picker)
{
    if (picker->count() == 1)
        return MacCategoryComboBox::tr("%1 is the only category this user may choose").arg(picker->itemText(0));
    if (picker->count() > 1)
        return QString();
    if (varnel_mac_enabled() == 0)
        return MacCategoryComboBox::tr("Mandatory access control is switched off, so there is no category to choose");
    if (!userDatabaseReadable() || !readable<Platform::CategoryDatabase>())
        return MacCategoryComboBox::tr("The category database cannot be read");
    return MacCategoryComboBox::tr("No category lies within this user's range");
}

// The list as a whole; its rows give their own reasons.
QString categoryListReason(MacCategoryListWidget *list)
{
    if (!list->isRebuilt())
        return QString();
    if (list->count() > 0) {
        return list->isSuitable() ? QString()
                                  : MacCategoryListWidget::tr("Every category listed is required for this user");
    }
    if (varnel_mac_enabled() == 0)
        return MacCategoryListWidget::tr("Mandatory access control is switched off, so there is no category to choose");
    if (!list->isValid())
        return MacCategoryListWidget::tr("The category database cannot be read");
    return MacCategoryListWidget::tr("This user may choose no category");
}

// A login label widget shows the process's label, or has a row it hid
// because the picker could not be built; the first such row speaks for it.
QString loginReason(const LoginMacLabelWidget *login)
{
    if (!login->editable())
        return readOnlyLogin();
    for (const char *name : {"_levelComboBox", "_integrityComboBox", "_categoryListWidget"}) {
        const auto *picker = login->findChild<QWidget *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (picker && picker->isHidden()) {
            const QString why = reason(picker);
            if (!why.isEmpty())
                return why;
        }
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
        const QString why = reason(widget);
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
    if (const auto *login = qobject_cast<const LoginMacLabelWidget *>(widget))
        return loginReason(login);
    if (insideReadOnlyLogin(widget)
        && (qobject_cast<const MacLevelComboBox *>(widget) || qobject_cast<const ILevelComboBox *>(widget)
            || qobject_cast<const MacCategoryListWidget *>(widget))) {
        return readOnlyLogin();
    }
    if (const auto *level = qobject_cast<const MacLevelComboBox *>(widget))
        return levelReason(level);
    if (const auto *integrity = qobject_cast<const ILevelComboBox *>(widget))
        return integrityReason(integrity);
    if (const auto *category = qobject_cast<const MacCategoryComboBox *>(widget))
        return categoryComboReason(category);
    // Its queries are not const, though they change nothing.
    if (auto *list = qobject_cast<MacCategoryListWidget *>(const_cast<QWidget *>(widget)))
        return categoryListReason(list);
    return QString();
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
    // The login label widget around a picker explains itself as a whole.
    if (auto *login = qobject_cast<LoginMacLabelWidget *>(widget->parent())) {
        login->setProperty(watchedProperty, true);
        login->installEventFilter(shared);
    }
}

void changed(QWidget *widget)
{
    if (!widget || !QAccessible::isActive())
        return;
    describe(widget);
    if (auto *login = qobject_cast<LoginMacLabelWidget *>(widget)) {
        for (QObject *child : login->children()) {
            if (child->isWidgetType())
                describe(static_cast<QWidget *>(child));
        }
    } else if (auto *login = qobject_cast<LoginMacLabelWidget *>(widget->parent())) {
        describe(login);
    }
}

} // namespace LockReasons
} // namespace VarnelQt5
