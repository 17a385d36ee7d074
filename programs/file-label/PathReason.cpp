// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "PathReason.h"

#include "ErrorText.h"

#include <cerrno>
#include <initializer_list>
#include <sys/stat.h>

namespace {

// Why the label library failed on path, given the errno it left and those
// of its errors that are no reason: when the object cannot even be looked
// at, the system's word for that; otherwise error, unless it is one that
// says nothing about the object, and then the library's own failure.
PathReason reasonOf(const char *path, int error, std::initializer_list<int> noReason, PathReason::Kind otherwise)
{
    struct stat status;
    if (::stat(path, &status) != 0)
        return PathReason::system(errno);
    if (error == 0)
        return PathReason(otherwise);
    for (const int ignored : noReason) {
        if (error == ignored)
            return PathReason(otherwise);
    }
    return PathReason::system(error);
}

} // namespace

PathReason::PathReason(Kind kind, int error)
    : m_kind(kind)
    , m_error(error)
{
}

PathReason PathReason::system(int error)
{
    return PathReason(SystemError, error);
}

PathReason PathReason::unreadable(const char *path, int error)
{
    // The object is there, so a missing file is no reason (the policy's own
    // files may leave that behind), nor is a value longer than a first read
    // took (read whole after all), and a value the library could not make
    // sense of leaves none.
    return reasonOf(path, error, {ENOENT, ERANGE}, LabelUnreadable);
}

PathReason PathReason::unwritten(const char *path, int error)
{
    return reasonOf(path, error, {ENOENT}, LabelRefused);
}

QString PathReason::text() const
{
    switch (m_kind) {
    case SystemError:
        return errorText(m_error);
    case LabelUnreadable:
        return tr("its label cannot be read");
    case LabelRefused:
        return tr("the label library refused it");
    case NameUnnameable:
        break;
    }
    return QStringLiteral("its name is not valid in the locale's encoding");
}

QString failedTo(LabelStep step, const QString &reason)
{
    switch (step) {
    case LabelStep::Read:
        return QStringLiteral("cannot read the label: %1").arg(reason);
    case LabelStep::Write:
        return QStringLiteral("cannot write the label: %1").arg(reason);
    case LabelStep::Set:
        break;
    }
    return QStringLiteral("cannot set the label: %1").arg(reason);
}
