// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PROGRAMTRANSLATIONS_H
#define VARNEL_PROGRAMTRANSLATIONS_H

class QWidget;

// The language of the programs: the catalogues they show their texts with,
// and a look at the texts a window shows.
namespace ProgramTranslations {

// Installs, for the system's locale, Qt's own catalogue (the standard
// buttons), the programs' catalogue and, where the library found none in its
// own folder, the library's catalogue, from the program's build tree or
// installation prefix. Call once the application object exists.
void install();

// Writes every text window and its children show (titles, captions,
// buttons), one a line in UTF-8, to standard output; returns 0, or 1 when
// the output cannot be written.
int printTexts(const QWidget &window);

} // namespace ProgramTranslations

#endif
