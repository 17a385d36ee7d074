// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Shows every widget of the library for the calling user, or renders
// them to PNG files: on purpose with --screenshots DIR, and by itself when
// there is no display.

#include "DisplayGuard.h"
#include "GalleryWindow.h"
#include "Pictures.h"
#include "ProgramCommandLine.h"
#include "ProgramTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <memory>

#include <unistd.h>

int main(int argc, char **argv)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows every widget of " VARNEL_PROGRAM_LIBRARY " for the calling user, each with its value in words;\n"
        "the login dialog, plain and themed, and the file label window are one button away.\n"
        "The policy is the platform's; the stand-in reads the policy directory VARNEL_STANDIN_DIR\n"
        "when it is set and its built-in policy otherwise.\n"
        "Without a display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM all unset) it renders\n"
        "its pictures to the folder varnel-gallery-pics in the current directory and exits.\n"
        "Exit status: 0 on success, 1 on bad arguments or pictures that cannot be written,\n"
        "2 when the display named cannot be opened."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Render each widget and dialog to a PNG file in <dir> and exit."),
                                         QStringLiteral("dir"));
    const QCommandLineOption labelled(QStringLiteral("file"),
                                      QStringLiteral("Show the label of <path> in the file label window (default: a file the gallery makes and labels)."),
                                      QStringLiteral("path"));
    QCommandLineOption windowTexts(QStringLiteral("window-texts"),
                                   QStringLiteral("Print the window's texts, one a line, and exit."));
    windowTexts.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({screenshots, labelled, windowTexts});

    // The platform must be chosen before the application exists: pictures
    // are always rendered off screen, so that they look the same everywhere.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool headless = ProgramCommandLine::noDisplayNamed();
    const bool toPictures = parser.parse(arguments) && parser.isSet(screenshots);
    // Qt takes an empty platform name for none chosen.
    if ((headless || toPictures) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // A display named that cannot be opened is said in one line, with the
    // exit status of bad arguments, as the other programs do.
    auto guard = DisplayGuard::whileOpening("varnel-gallery", "the gallery", 2);
    QApplication application(argc, argv);
    guard.reset();
    ProgramCommandLine::nameApplication(QStringLiteral("varnel-gallery"));
    parser.process(application);

    // An off-screen platform chosen by hand has no display either: a window
    // there would wait for a person who cannot see it.
    const QString platform = QGuiApplication::platformName();
    const bool pictures = headless || parser.isSet(screenshots) || platform == QLatin1String("offscreen")
        || platform == QLatin1String("minimal");

    ProgramTranslations::install();
    GalleryWindow window(getuid(), parser.value(labelled));
    if (parser.isSet(windowTexts))
        return ProgramTranslations::printTexts(window);
    window.show();
    if (!pictures)
        return application.exec();

    const QString dir = parser.isSet(screenshots) ? parser.value(screenshots) : QStringLiteral("varnel-gallery-pics");
    QString error;
    const QStringList written = Pictures::render(window, dir, &error);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "varnel-gallery: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << (parser.isSet(screenshots) ? "Rendered " : "No display: rendered ") << written.size()
                        << " pictures to " << QDir::toNativeSeparators(QDir(dir).absolutePath()) << '\n';
    return 0;
}
