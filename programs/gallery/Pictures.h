// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_GALLERY_PICTURES_H
#define VARNEL_GALLERY_PICTURES_H

#include <QStringList>

class GalleryWindow;

namespace Pictures {

// Renders the shown window, each of its boxes, the file label window and
// both forms of the login dialog to PNG files in dir (made when missing),
// each named after its part. Returns the files written; on the first
// failure, stops and sets *error to a sentence naming the file or folder.
QStringList render(GalleryWindow &window, const QString &dir, QString *error);

} // namespace Pictures

#endif
