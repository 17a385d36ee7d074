// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// What the library does by itself when a process loads it. Everything here
// runs from the shared object's static initialisers, in the order written.

#include "LibraryGlobals_p.h"
#include "labelpolicy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <dlfcn.h>

#ifndef VARNEL_TRANSLATIONS_DIR
#define VARNEL_TRANSLATIONS_DIR "/usr/share/vix/translations"
#endif
// The catalogue folder of the prefix the library is installed into, relative
// to the library's own folder (or absolute where the install folders are).
#ifndef VARNEL_PREFIX_TRANSLATIONS_DIR
#error "VARNEL_PREFIX_TRANSLATIONS_DIR names the prefix's catalogue folder"
#endif
// Each Qt major's build has a catalogue of its own in the same folder.
#ifndef VARNEL_CATALOGUE
#error "VARNEL_CATALOGUE names the catalogue's base name"
#endif

namespace VarnelQt5 {

extern const bool strictModeFlag = varnel_strict_mode() != 0;

extern const QString x11Directory = QStringLiteral("/etc/X11/");
extern const QString initScriptsDirectory = QStringLiteral("/etc/init.d/");
extern const QString listSeparator = QStringLiteral(",");
extern const QString fieldSeparator = QStringLiteral(":");

} // namespace VarnelQt5

namespace {

void loadTranslations();

// The folder of the prefix the library was installed into, found from where
// the library's file is now, so that a prefix moved after installation still
// finds its catalogue. Empty where the library's file cannot be told.
QString prefixCatalogueFolder()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&loadTranslations), &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return QString();
    const QDir libraryFolder(QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath());
    return QDir::cleanPath(libraryFolder.absoluteFilePath(QStringLiteral(VARNEL_PREFIX_TRANSLATIONS_DIR)));
}

// Loads the catalogue for the system's locale from folder, if it has one.
bool loadFrom(QTranslator *translator, const QString &folder)
{
    // A null suffix lets Qt append its own catalogue suffix.
    return !folder.isEmpty()
        && translator->load(QLocale::system(), QStringLiteral(VARNEL_CATALOGUE), QStringLiteral("_"), folder,
                            QString());
}

void loadTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // The system's folder first, so that a catalogue installed there wins;
    // the prefix's is looked for only when that has none.
    const QString fixedFolder = QStringLiteral(VARNEL_TRANSLATIONS_DIR);
    bool loaded = loadFrom(translator, fixedFolder);
    if (!loaded) {
        const QString prefixFolder = prefixCatalogueFolder();
        loaded = prefixFolder != fixedFolder && loadFrom(translator, prefixFolder);
    }
    if (loaded)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// Qt runs this when the application object is built, or at once when it
// already exists, in whichever thread loaded the library. The translator must
// live in the application's thread, so from any other thread the work is
// queued there; it is dropped if the application goes away first.
void scheduleTranslations()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread())
        loadTranslations();
    else
        QTimer::singleShot(0, Qt::PreciseTimer, application, &loadTranslations);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(scheduleTranslations)
