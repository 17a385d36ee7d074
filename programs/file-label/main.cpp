// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label: shows and changes the labels of files and directories.
// PATH... opens a window with the file label widget for each path; --get
// prints labels and --set writes one, both without a window.
// Exit status: 0 when every path went well, 1 when any path failed (each
// named on stderr) or the output could not be written, 2 on bad arguments, a
// malformed label or no display for the window.

#include "FileLabel.h"
#include "FileLabelWindow.h"
#include "LabelCommand.h"
#include "LabelNames.h"
#include "ProgramTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

enum Status { Done = 0, PathFailed = 1, BadArguments = 2 };

void complain(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toLocal8Bit().constData());
}

// Whether the arguments ask for no window, looked at before the application
// exists so that scripts run without a display. Every option but the
// window's own needs none, if only to be refused.
bool windowless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        if (argument.startsWith('-') && argument != "-" && argument != "--window-texts")
            return true;
    }
    return false;
}

// Which of --get and --set the arguments ask for, if either, looked at
// before the application exists: neither shows anything, and the start of
// the application is a good part of their time over a few files.
enum class Command { None, Get, Set };

Command commandOf(int argc, char **argv)
{
    Command command = Command::None;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        if (argument.startsWith("--screenshot") || argument == "--window-texts")
            return Command::None;
        if (argument == "--get")
            command = Command::Get;
        else if (argument == "--set" || argument.startsWith("--set="))
            command = Command::Set;
    }
    return command;
}

// What Qt says while it opens the display, held back: when no display can
// be opened Qt ends the process, and the program says so in one line
// instead and exits with its own status.
QList<QPair<QtMsgType, QString>> &heldMessages()
{
    static QList<QPair<QtMsgType, QString>> messages;
    return messages;
}

void holdMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv(qEnvironmentVariableIsEmpty("DISPLAY") ? "WAYLAND_DISPLAY" : "DISPLAY");
        const QByteArray named = display.isEmpty() ? QByteArray("a display") : "the display '" + display + '\'';
        std::fprintf(stderr, "varnel-file-label: cannot open %s to show the window on: use --get or --set\n",
                     named.constData());
        std::_Exit(BadArguments);
    }
    heldMessages().append({type, message});
}

// The arguments as the parser reads them, and the bytes behind each text.
// An argument the locale's encoding cannot carry as text gets a text of its
// own that no real text can be (each byte beyond ASCII as a lone surrogate),
// so that it still stands for its own bytes and for no other object.
struct Arguments {
    QStringList texts;
    QHash<QString, QByteArray> bytes;
    QSet<QString> unnameable;
};

Arguments argumentsOf(int argc, char **argv)
{
    Arguments arguments;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        QString text;
        if (i == 0 || LabelCommand::nameable(bytes)) {
            text = QString::fromLocal8Bit(bytes);
        } else {
            for (const char c : bytes) {
                const auto byte = static_cast<unsigned char>(c);
                text += QChar(byte < 0x80 ? ushort(byte) : ushort(0xdc00 + byte));
            }
            arguments.unnameable.insert(text);
        }
        arguments.texts << text;
        arguments.bytes.insert(text, bytes);
    }
    return arguments;
}

// Output that goes nowhere fails rather than landing in whatever the
// process opens next as descriptor 1 or 2: a closed standard descriptor is
// taken by one that cannot be written (standard output) or read.
void holdStandardDescriptors()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
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
    holdStandardDescriptors();
    const bool noDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const Command command = commandOf(argc, argv);
    // Without a window the label checks need widgets but no fonts.
    if (command == Command::Set)
        qputenv("QT_QPA_PLATFORM", "minimal");
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (noDisplay || windowless(argc, argv)))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool opensDisplay = command == Command::None && platform != "offscreen" && platform != "minimal";
    const QtMessageHandler previousHandler = opensDisplay ? qInstallMessageHandler(holdMessage) : nullptr;
    // Qt is given the program's name alone: every argument is the program's
    // to read, and after the options each is a path, whatever Qt would take
    // it for (-reverse, -platform, -session).
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    const std::unique_ptr<QCoreApplication> application(command == Command::Get
                                                            ? new QCoreApplication(qtArgc, qtArgv)
                                                            : new QApplication(qtArgc, qtArgv));
    if (opensDisplay) {
        qInstallMessageHandler(previousHandler);
        for (const auto &message : std::as_const(heldMessages()))
            qt_message_output(message.first, QMessageLogContext(), message.second);
        heldMessages().clear();
    }
    QCoreApplication::setApplicationName(QStringLiteral("varnel-file-label"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_PROGRAM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
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
        "malformed label or no display for the window."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Displays version information."));
    const QCommandLineOption getOption(QStringLiteral("get"),
                                       QStringLiteral("Print each path's label as PATH<TAB>LEVEL:ILEVEL:CATEGORIES:TYPE."));
    const QCommandLineOption setOption(
        QStringLiteral("set"),
        QStringLiteral("Write <label>, LEVEL:ILEVEL:CATEGORIES[:TYPE], to each path; without TYPE the "
                       "special attributes stay as they are, and a label that cannot be read is kept "
                       "from being replaced; with TYPE the type stored is TYPE, every bit of it. What "
                       "an object holds already is kept; what the label changes must be what the file "
                       "label window offers."),
        QStringLiteral("label"));
    const QCommandLineOption recursiveOption(
        {QStringLiteral("R"), QStringLiteral("recursive")},
        QStringLiteral("With --get or --set, also everything below each directory, never following a "
                       "symbolic link below it; each object gets the special attributes of TYPE its kind may "
                       "carry, and objects that cannot carry a label are skipped."));
    const QCommandLineOption oneFileSystemOption(QStringLiteral("one-file-system"),
                                                 QStringLiteral("With -R, stay on the file system each path is on."));
    const QCommandLineOption verboseOption({QStringLiteral("v"), QStringLiteral("verbose")},
                                           QStringLiteral("With -R, name each object skipped on standard error."));
    const QCommandLineOption nullOption(
        {QStringLiteral("z"), QStringLiteral("null")},
        QStringLiteral("With --get, end each line with a NUL instead of a line feed, the path as it is."));
    const QCommandLineOption namesOption(
        QStringLiteral("names"), QStringLiteral("With --get, print the policy's names instead of numbers where there "
                                                "are any (Confidential:Low:Finance,Research:0x0)."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("With --get, print one JSON object a line: path, level, integrity, categories, type and "
                       "names, or path and error."));
    QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window for the paths to <file> and exit."),
                                        QStringLiteral("file"));
    screenshotOption.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption textsOption(QStringLiteral("window-texts"),
                                   QStringLiteral("Print the window's texts for the paths, one a line, and exit."));
    textsOption.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption progressOption(QStringLiteral("progress-after"),
                                      QStringLiteral("Show the progress on a terminal after <ms> milliseconds."),
                                      QStringLiteral("ms"));
    progressOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({versionOption, getOption, setOption, recursiveOption, oneFileSystemOption, verboseOption,
                       nullOption, namesOption, jsonOption, screenshotOption, textsOption, progressOption});
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("Files or directories."),
                                 QStringLiteral("PATH..."));

    const Arguments arguments = argumentsOf(argc, argv);
    if (!parser.parse(arguments.texts)) {
        complain(parser.errorText());
        return BadArguments;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();

    const QStringList paths = parser.positionalArguments();
    const bool get = parser.isSet(getOption);
    const bool set = parser.isSet(setOption);
    const int modes = int(get) + int(set) + int(parser.isSet(screenshotOption));
    if (modes > 1) {
        complain(QStringLiteral("give one of --get, --set and --screenshot"));
        return BadArguments;
    }
    for (const QCommandLineOption *option : {&recursiveOption, &verboseOption}) {
        if (parser.isSet(*option) && !get && !set) {
            complain(QStringLiteral("give --%1 with --get or --set").arg(option->names().constLast()));
            return BadArguments;
        }
    }
    if (parser.isSet(oneFileSystemOption) && !parser.isSet(recursiveOption)) {
        complain(QStringLiteral("give --one-file-system with -R"));
        return BadArguments;
    }
    for (const QCommandLineOption *option : {&nullOption, &namesOption, &jsonOption}) {
        if (parser.isSet(*option) && !get) {
            complain(QStringLiteral("give --%1 with --get").arg(option->names().constLast()));
            return BadArguments;
        }
    }
    if (parser.isSet(jsonOption) && (parser.isSet(nullOption) || parser.isSet(namesOption))) {
        complain(QStringLiteral("give --json alone: it has the names, and one object a line"));
        return BadArguments;
    }
    if (paths.isEmpty()) {
        complain(QStringLiteral("no path given"));
        return BadArguments;
    }

    if (get || set) {
        LabelCommand::Options options;
        options.format = parser.isSet(jsonOption) ? LabelCommand::Format::Json
            : parser.isSet(nullOption)            ? LabelCommand::Format::NullSeparated
                                                  : LabelCommand::Format::Escaped;
        options.names = parser.isSet(namesOption);
        options.recursive = parser.isSet(recursiveOption);
        options.oneFileSystem = parser.isSet(oneFileSystemOption);
        options.verbose = parser.isSet(verboseOption);
        if (parser.isSet(progressOption))
            options.progressAfter = parser.value(progressOption).toLongLong();
        QList<LabelCommand::Path> objects;
        for (const QString &path : paths)
            objects.append(arguments.bytes.value(path));
        if (get)
            return LabelCommand(options).get(objects);

        FileLabel label;
        bool withType = false;
        QString error;
        if (!FileLabel::parse(parser.value(setOption), &label, &withType, &error)) {
            // Names are asked of the policy only for a label that has some.
            const LabelNames names;
            if (!FileLabel::parse(parser.value(setOption), &label, &withType, &error, &names)) {
                complain(error);
                return BadArguments;
            }
        }
        return LabelCommand(options).set(label, withType, objects);
    }

    ProgramTranslations::install();
    // The window names a path in text: one that is no text in the locale
    // is shown as the locale reads it, and refused.
    QStringList shown;
    QSet<QString> unnameable;
    for (const QString &path : paths) {
        if (!arguments.unnameable.contains(path)) {
            shown << path;
            continue;
        }
        shown << QString::fromLocal8Bit(arguments.bytes.value(path));
        unnameable.insert(shown.constLast());
    }
    FileLabelWindow window(shown, unnameable);
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
    const int status = QApplication::exec();
    return status != 0 ? status : failed(window);
}
