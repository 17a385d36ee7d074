// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label: shows and changes the labels of files and directories.
// PATH... opens a window with the file label widget for each path; --get
// prints labels and --set writes one, both without a window.
// Exit status: 0 when every path went well, 1 when any path failed (each
// named on stderr), 2 on bad arguments or a malformed label.

#include "FileLabel.h"
#include "FileLabelWindow.h"
#include "LabelEditor.h"
#include "ProgramTranslations.h"

#include <FileMacLabelWidget.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QSet>

#include <cstdio>

namespace {

enum Status { Done = 0, PathFailed = 1, BadArguments = 2 };

void complain(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toLocal8Bit().constData());
}

// Whether the arguments ask for no window, looked at before the application
// exists so that scripts run without a display.
bool windowless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        for (const char *option : {"--get", "--set", "--screenshot", "--help", "--help-all", "-h", "--version", "-v"}) {
            if (argument == option || argument.startsWith(QByteArray(QByteArray(option) + '=')))
                return true;
        }
    }
    return false;
}

// The arguments whose bytes the locale's encoding cannot carry as text: the
// text names another object, or none.
QSet<QString> unnameable(int argc, char **argv)
{
    QSet<QString> arguments;
    for (int i = 1; i < argc; ++i) {
        const QString text = QString::fromLocal8Bit(argv[i]);
        if (text.toLocal8Bit() != QByteArray(argv[i]))
            arguments.insert(text);
    }
    return arguments;
}

bool nameable(const QString &path, const QSet<QString> &unnameable)
{
    if (!unnameable.contains(path))
        return true;
    complain(QStringLiteral("%1: cannot read the label: its name is not valid in the locale's encoding").arg(path));
    return false;
}

int get(const QStringList &paths, const QSet<QString> &unnameable)
{
    int status = Done;
    for (const QString &path : paths) {
        if (!nameable(path, unnameable)) {
            status = PathFailed;
            continue;
        }
        // What the object holds, also where the form would show it otherwise.
        FileLabel label;
        QString reason;
        if (!LabelEditor::stored(path, &label, &reason)) {
            complain(QStringLiteral("%1: cannot read the label: %2").arg(path, reason));
            status = PathFailed;
            continue;
        }
        const QByteArray line = (path + QLatin1Char('\t') + label.text()).toLocal8Bit() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    return status;
}

int set(const FileLabel &label, bool withType, const QStringList &paths, const QSet<QString> &unnameable)
{
    int status = Done;
    for (const QString &path : paths) {
        if (!nameable(path, unnameable)) {
            status = PathFailed;
            continue;
        }
        VarnelQt5::FileMacLabelWidget widget;
        LabelEditor editor(&widget);
        QString reason;
        FileLabel held;
        if (!editor.load(path, &reason) || !LabelEditor::stored(path, &held, &reason)) {
            complain(QStringLiteral("%1: cannot read the label: %2").arg(path, reason));
            status = PathFailed;
            continue;
        }
        // Without TYPE the object's own special attributes are kept, not
        // what the form made of them.
        FileLabel wanted = label;
        if (!withType)
            wanted.type = held.type;
        if (!editor.set(wanted, true, &reason)) {
            complain(QStringLiteral("%1: cannot set the label: %2").arg(path, reason));
            status = PathFailed;
        } else if (!editor.write(path, &reason)) {
            complain(QStringLiteral("%1: cannot write the label: %2").arg(path, reason));
            status = PathFailed;
        }
    }
    return status;
}

// The window's paths that failed, each named, as --get names them.
int failed(const FileLabelWindow &window)
{
    const QStringList failures = window.failures();
    for (const QString &failure : failures)
        complain(failure);
    return failures.isEmpty() ? Done : PathFailed;
}

} // namespace

int main(int argc, char **argv)
{
    const bool noDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (noDisplay || windowless(argc, argv)))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnel-file-label"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_PROGRAM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows and changes the labels of files and directories.\n"
        "PATH... shows each path's label in a window (Previous, Next, Apply, Revert).\n"
        "Labels are LEVEL:ILEVEL:CATEGORIES:TYPE, the numbers decimal or 0x-prefixed.\n"
        "Exit status: 0 when every path went well, 1 when any path failed (each named\n"
        "on standard error), 2 on bad arguments, a malformed label or no display for\n"
        "the window."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption getOption(QStringLiteral("get"),
                                       QStringLiteral("Print each path's label as PATH<TAB>LEVEL:ILEVEL:CATEGORIES:TYPE."));
    const QCommandLineOption setOption(
        QStringLiteral("set"),
        QStringLiteral("Write <label>, LEVEL:ILEVEL:CATEGORIES[:TYPE], to each path; without TYPE the "
                       "special attributes stay as they are. Only values the file label window offers are written."),
        QStringLiteral("label"));
    QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window for the paths to <file> and exit."),
                                        QStringLiteral("file"));
    screenshotOption.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption textsOption(QStringLiteral("window-texts"),
                                   QStringLiteral("Print the window's texts for the paths, one a line, and exit."));
    textsOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({getOption, setOption, screenshotOption, textsOption});
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("Files or directories."),
                                 QStringLiteral("PATH..."));

    if (!parser.parse(QCoreApplication::arguments())) {
        complain(parser.errorText());
        return BadArguments;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();

    const QStringList paths = parser.positionalArguments();
    const int modes = int(parser.isSet(getOption)) + int(parser.isSet(setOption)) + int(parser.isSet(screenshotOption));
    if (modes > 1) {
        complain(QStringLiteral("give one of --get, --set and --screenshot"));
        return BadArguments;
    }
    if (paths.isEmpty()) {
        complain(QStringLiteral("no path given"));
        return BadArguments;
    }

    if (parser.isSet(getOption))
        return get(paths, unnameable(argc, argv));
    if (parser.isSet(setOption)) {
        FileLabel label;
        bool withType = false;
        QString error;
        if (!FileLabel::parse(parser.value(setOption), &label, &withType, &error)) {
            complain(error);
            return BadArguments;
        }
        return set(label, withType, paths, unnameable(argc, argv));
    }

    ProgramTranslations::install();
    FileLabelWindow window(paths, unnameable(argc, argv));
    if (parser.isSet(textsOption))
        return ProgramTranslations::printTexts(window);
    if (parser.isSet(screenshotOption)) {
        window.show();
        // The picture shows the window as it settles, its form area sized.
        QCoreApplication::sendPostedEvents();
        const QString file = parser.value(screenshotOption);
        if (!window.grab().save(file)) {
            complain(QStringLiteral("cannot write %1").arg(file));
            return PathFailed;
        }
        return failed(window);
    }
    if (noDisplay) {
        complain(QStringLiteral("no display to show the window on: use --get or --set"));
        return BadArguments;
    }
    window.show();
    const int status = application.exec();
    return status != 0 ? status : failed(window);
}
