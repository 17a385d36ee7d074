// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LOCKREASONS_P_H
#define VARNEL_LOCKREASONS_P_H

// Why a picker, or a widget that holds pickers and speaks for them, cannot
// be changed, in words: the tool tip shows it when a person hovers, and
// assistive tools read it as the widget's accessible description. The words
// are made when asked for (a tool tip event), and for assistive tools only
// while one is active, so that building a form costs nothing for them.

#include <QObject>
#include <QString>

class QWidget;

namespace VarnelQt5 {
namespace LockReasons {

// The reason widget cannot be changed; empty when it can, or when the widget
// is none of the library's pickers and has no speaker.
QString reason(const QWidget *widget);

// Shows the reason as widget's tool tip when asked for, unless the host gave
// the widget a tool tip of its own, and keeps its accessible description
// current while assistive tools are active.
void watch(QWidget *widget);

// The state of widget (and, for a widget with a speaker, of its pickers) may
// have changed: brings the accessible descriptions up to date when assistive
// tools are active; otherwise does nothing.
void changed(QWidget *widget);

// What a widget that holds pickers says for itself and for them. Made as a
// child of that widget, before the widget changes its pickers, it shows the
// widget's reason as the pickers' are shown; a change of a picker placed
// directly in the widget then also brings the widget's description up to
// date, and a change of the widget those of all its pickers.
class Speaker : public QObject
{
public:
    explicit Speaker(QWidget *widget);

    // The reason the widget as a whole cannot be changed; empty when it can.
    virtual QString ownReason() const = 0;
    // A reason that replaces the own reason of picker, a widget placed
    // directly in the speaker's widget; empty where the picker's own holds.
    virtual QString reasonFor(const QWidget *picker) const = 0;

    // The speaker of widget; null for a widget without one, or for none.
    static const Speaker *of(const QObject *widget);
};

// What the last rebuild of a picker found, kept so that the reason a locked
// picker gives is the one that locked it, whatever the policy says later.
enum class Built {
    Fine,       // there was a choice
    Single,     // one value only; its text is kept beside
    Forced,     // every value listed is forced on
    Nothing,    // the bounds left nothing
    MacOff,     // mandatory access control was switched off
    Unreadable, // a database, or the system's integrity levels, could not be read
    NoLevels,   // the system reported no integrity levels
};
void record(QWidget *picker, Built built, const QString &only = QString());

// Calls changed() on the widget when it goes out of scope, so that every way
// out of a rebuild is covered.
class Refresh
{
public:
    explicit Refresh(QWidget *widget) : m_widget(widget) {}
    ~Refresh() { changed(m_widget); }
    Refresh(const Refresh &) = delete;
    Refresh &operator=(const Refresh &) = delete;

private:
    QWidget *m_widget;
};

} // namespace LockReasons
} // namespace VarnelQt5

#endif
