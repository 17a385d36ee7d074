// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// What the library does by itself when a process loads it. Everything here
// runs from the shared object's static initialisers, in the order written.

#include "LibraryGlobals_p.h"
#include "labelpolicy.h"

#include <QCoreApplication>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#ifndef VARNEL_TRANSLATIONS_DIR
#define VARNEL_TRANSLATIONS_DIR "/usr/share/vix/translations"
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

void loadTranslations()
{
    const QString directory = QStringLiteral(VARNEL_TRANSLATIONS_DIR);
    if (directory.isEmpty())
        return;

    QCoreApplication *application = QCoreApplication::instance();
    auto *translator = new QTranslator(application);
    // A null suffix lets Qt append its own catalogue suffix.
    if (translator->load(QLocale::system(), QStringLiteral(VARNEL_CATALOGUE),
                         QStringLiteral("_"), directory, QString())) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
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
