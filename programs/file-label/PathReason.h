// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PATHREASON_H
#define VARNEL_PATHREASON_H

#include <QCoreApplication>
#include <QString>

// Why something failed with a path, as a value: the system's error, or one
// of the failures the label library leaves no error for. Decisions are made
// on the kind; the text, translated where it is the program's own, is for
// people and names no path.
class PathReason
{
    Q_DECLARE_TR_FUNCTIONS(PathReason)

public:
    enum Kind {
        // The system's error, in the system's words.
        SystemError,
        // The object is there, but its label makes no sense to the label
        // library.
        LabelUnreadable,
        // The label library refused a label without saying why.
        LabelRefused,
        // The path's bytes are no text in the locale's encoding.
        NameUnnameable,
    };

    explicit PathReason(Kind kind, int error = 0);
    static PathReason system(int error);
    // Why the label of path could not be read, error being errno as the
    // label library left it: the system's reason where there is one.
    static PathReason unreadable(const char *path, int error);
    // Why a label could not be written to path, error being errno as the
    // label library left it: the system's reason where there is one.
    static PathReason unwritten(const char *path, int error);

    Kind kind() const { return m_kind; }
    QString text() const;

private:
    Kind m_kind;
    int m_error;
};

// What a failure of a path was on the way: reading its label, writing it,
// or setting the label given (refused before anything is written).
enum class LabelStep { Read, Write, Set };

// "cannot read the label: REASON", and so on for each step.
QString failedTo(LabelStep step, const QString &reason);

#endif
