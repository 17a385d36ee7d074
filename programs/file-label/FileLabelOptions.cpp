// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileLabelOptions.h"

#include "ProgramCommandLine.h"

#include <QByteArray>

namespace {

const char description[] =
    "Shows and changes the labels of files and directories.\n"
    "PATH... shows each path's label in a window (Previous, Next, Apply, Revert).\n"
    "Labels are LEVEL:ILEVEL:CATEGORIES:TYPE, the numbers decimal or 0x-prefixed;\n"
    "--set also takes the policy's names for LEVEL and ILEVEL, and for CATEGORIES\n"
    "names and masks joined by commas (Confidential:Low:Finance,Research).\n"
    "In lines of --get, control characters of a path are written as a backslash\n"
    "and three octal digits (\\012 for a line feed) and a backslash as two; each line\n"
    "given back to --set writes the same label. Paths are taken as the bytes given,\n"
    "and every argument after -- is a path: Qt's own options are not read (the\n"
    "environment chooses the display, QT_QPA_PLATFORM, DISPLAY).\n"
    "Exit status: 0 when every path went well, 1 when any path failed (each named\n"
    "on standard error) or the output could not be written, 2 on bad arguments, a\n"
    "malformed label or no display for the window.";

QCommandLineOption hidden(QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

FirstLook FirstLook::of(int argc, const char *const *argv)
{
    FirstLook look;
    bool window = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        if (argument.startsWith('-') && argument != "-" && argument != "--window-texts")
            look.windowless = true;
        if (argument.startsWith("--screenshot") || argument == "--window-texts")
            window = true;
        else if (argument == "--get")
            look.command = Command::Get;
        else if (argument == "--set" || argument.startsWith("--set="))
            look.command = Command::Set;
    }
    if (window)
        look.command = Command::None;
    return look;
}

FileLabelOptions::FileLabelOptions()
    : help(parser.addHelpOption())
    , version(QStringLiteral("version"), QStringLiteral("Displays version information."))
    , get(QStringLiteral("get"), QStringLiteral("Print each path's label as PATH<TAB>LEVEL:ILEVEL:CATEGORIES:TYPE."))
    , set(QStringLiteral("set"),
          QStringLiteral("Write <label>, LEVEL:ILEVEL:CATEGORIES[:TYPE], to each path; without TYPE the "
                         "special attributes stay as they are, and a label that cannot be read is kept "
                         "from being replaced; with TYPE the type stored is TYPE, every bit of it. What "
                         "an object holds already is kept; what the label changes must be what the file "
                         "label window offers."),
          QStringLiteral("label"))
    , recursive({QStringLiteral("R"), QStringLiteral("recursive")},
                QStringLiteral("With --get or --set, also everything below each directory, never following a "
                               "symbolic link below it; each object gets the special attributes of TYPE its kind "
                               "may carry, and objects that cannot carry a label are skipped."))
    , oneFileSystem(QStringLiteral("one-file-system"),
                    QStringLiteral("With -R, stay on the file system each path is on."))
    , verbose({QStringLiteral("v"), QStringLiteral("verbose")},
              QStringLiteral("With -R, name each object skipped on standard error."))
    , null({QStringLiteral("z"), QStringLiteral("null")},
           QStringLiteral("With --get, end each line with a NUL instead of a line feed, the path as it is."))
    , names(QStringLiteral("names"), QStringLiteral("With --get, print the policy's names instead of numbers where "
                                                    "there are any (Confidential:Low:Finance,Research:0x0)."))
    , json(QStringLiteral("json"), QStringLiteral("With --get, print one JSON object a line: path, level, integrity, "
                                                  "categories, type and names, or path and error."))
    , screenshot(hidden(QCommandLineOption(QStringLiteral("screenshot"),
                                           QStringLiteral("Render the window for the paths to <file> and exit."),
                                           QStringLiteral("file"))))
    , windowTexts(hidden(QCommandLineOption(QStringLiteral("window-texts"),
                                            QStringLiteral("Print the window's texts for the paths, one a line, "
                                                           "and exit."))))
    , progressAfter(hidden(QCommandLineOption(
          QStringLiteral("progress-after"), QStringLiteral("Show the progress on a terminal after <ms> milliseconds."),
          QStringLiteral("ms"))))
{
    parser.setApplicationDescription(QString::fromLatin1(description));
    parser.addOptions({version, get, set, recursive, oneFileSystem, verbose, null, names, json, screenshot, windowTexts,
                       progressAfter});
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("Files or directories."),
                                 QStringLiteral("PATH..."));
}

bool FileLabelOptions::read(const QStringList &texts)
{
    return ProgramCommandLine::read(parser, texts, help, version);
}

QString FileLabelOptions::conflict() const
{
    const bool command = isSet(get) || isSet(set);
    if (int(isSet(get)) + int(isSet(set)) + int(isSet(screenshot)) > 1)
        return QStringLiteral("give one of --get, --set and --screenshot");
    for (const QCommandLineOption *option : {&recursive, &verbose}) {
        if (isSet(*option) && !command)
            return QStringLiteral("give --%1 with --get or --set").arg(option->names().constLast());
    }
    if (isSet(oneFileSystem) && !isSet(recursive))
        return QStringLiteral("give --one-file-system with -R");
    for (const QCommandLineOption *option : {&null, &names, &json}) {
        if (isSet(*option) && !isSet(get))
            return QStringLiteral("give --%1 with --get").arg(option->names().constLast());
    }
    if (isSet(json) && (isSet(null) || isSet(names)))
        return QStringLiteral("give --json alone: it has the names, and one object a line");
    if (paths().isEmpty())
        return QStringLiteral("no path given");
    return QString();
}

LabelCommand::Options FileLabelOptions::commandOptions() const
{
    LabelCommand::Options options;
    options.format = isSet(json) ? LabelCommand::Format::Json
        : isSet(null)            ? LabelCommand::Format::NullSeparated
                                 : LabelCommand::Format::Escaped;
    options.names = isSet(names);
    options.recursive = isSet(recursive);
    options.oneFileSystem = isSet(oneFileSystem);
    options.verbose = isSet(verbose);
    if (isSet(progressAfter))
        options.progressAfter = value(progressAfter).toLongLong();
    return options;
}
