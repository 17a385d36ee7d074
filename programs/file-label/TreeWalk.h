// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_TREEWALK_H
#define VARNEL_TREEWALK_H

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>

// Walks everything below a directory, each object opened relative to its
// open parent and never through a symbolic link, so that the walk stays in
// the tree it started in whatever is renamed meanwhile; a few directories of
// the way down stay open, and one opened again on the way back up must be
// the one left. Directories and
// regular files are handed on, each before what it holds, names in byte
// order; other objects are noted as skipped.
class TreeWalk
{
public:
    // path as shown (the named directory and the names below it); label
    // path names the very object that was looked at, for the label library.
    // Returns false to end the walk.
    using Visit = std::function<bool(const QByteArray &path, const char *labelPath, bool directory)>;
    // Something below was skipped (a note) or could not be walked (a
    // failure), and why.
    using Report = std::function<void(const QByteArray &path, const QString &what, bool failure)>;

    TreeWalk(bool oneFileSystem, Visit visit, Report report);

    // Walks below the directory path names; false when a visit ended it.
    bool below(const QByteArray &path);

private:
    class Descent;
    // Looks at the next name in the deepest directory; false when a visit
    // ended the walk.
    bool visitNext(Descent &descent);

    const bool oneFileSystem;
    const Visit visit;
    const Report report;
    dev_t device = 0;
};

#endif
