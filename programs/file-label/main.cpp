// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-file-label: shows and changes the labels of files and directories.
// PATH... opens a window with the file label widget for each path; --get
// prints labels and --set writes one, both without a window.
// Exit status: 0 when every path went well, 1 when any path failed (each
// named on stderr) or the output could not be written, 2 on bad arguments, a
// malformed label or no display for the window.

#include "DisplayGuard.h"
#include "ExitStatus.h"
#include "FileLabel.h"
#include "FileLabelOptions.h"
#include "FileLabelWindow.h"
#include "LabelCommand.h"
#include "LabelNames.h"
#include "ProgramCommandLine.h"
#include "ProgramTranslations.h"

#include <QApplication>
#include <QHash>
#include <QList>
#include <QSet>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using ProgramCommandLine::complain;

namespace {

// Without a window the label checks need widgets but no fonts; a run that
// needs no display gets none, so that scripts run without one.
void choosePlatform(const FirstLook &look, bool noDisplay)
{
    if (look.command == FirstLook::Command::Set)
        qputenv("QT_QPA_PLATFORM", "minimal");
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (noDisplay || look.windowless))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The application --get needs no widgets. Qt is given the program's name
// alone: every argument is the program's to read, and after the options each
// is a path, whatever Qt would take it for (-reverse, -platform, -session).
// When the window's display cannot be opened, one line says so and the
// program exits with the status of bad arguments.
std::unique_ptr<QCoreApplication> startApplication(FirstLook::Command command, char *program)
{
    // The application keeps both for its life.
    static int qtArgc = 1;
    static char *qtArgv[] = {nullptr, nullptr};
    qtArgv[0] = program;
    const auto guard = command == FirstLook::Command::None
        ? DisplayGuard::whileOpening("varnel-file-label", "the window", BadArguments, ": use --get or --set")
        : nullptr;
    if (command == FirstLook::Command::Get)
        return std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    return std::make_unique<QApplication>(qtArgc, qtArgv);
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

// --get or --set over the paths, each taken as the bytes given.
int runCommand(const FileLabelOptions &options, const Arguments &arguments)
{
    QList<LabelCommand::Path> objects;
    const QStringList paths = options.paths();
    for (const QString &path : paths)
        objects.append(arguments.bytes.value(path));
    if (options.isSet(options.get))
        return LabelCommand(options.commandOptions()).get(objects);

    const QString given = options.value(options.set);
    FileLabel label;
    bool withType = false;
    QString error;
    // Names are asked of the policy only for a label that has some.
    if (!FileLabel::parse(given, &label, &withType, &error)) {
        const LabelNames names;
        if (!FileLabel::parse(given, &label, &withType, &error, &names)) {
            complain(error);
            return BadArguments;
        }
    }
    return LabelCommand(options.commandOptions()).set(label, withType, objects);
}

// The window's paths that failed, each named, as --get names them.
int failed(const FileLabelWindow &window)
{
    const QStringList failures = window.failures();
    for (const QString &failure : failures)
        complain(failure);
    return failures.isEmpty() ? Done : PathFailed;
}

// The picture shows the window as it settles, its form area sized.
int screenshot(FileLabelWindow &window, const QString &file)
{
    window.show();
    QCoreApplication::sendPostedEvents();
    if (!window.grab().save(file)) {
        complain(QStringLiteral("cannot write %1").arg(file));
        return PathFailed;
    }
    return failed(window);
}

// The window names a path in text: one that is no text in the locale is
// shown as the locale reads it, and refused.
int runWindow(const FileLabelOptions &options, const Arguments &arguments, bool noDisplay)
{
    ProgramTranslations::install();
    QStringList shown;
    QSet<QString> unnameable;
    const QStringList paths = options.paths();
    for (const QString &path : paths) {
        shown << (arguments.unnameable.contains(path) ? QString::fromLocal8Bit(arguments.bytes.value(path)) : path);
        if (arguments.unnameable.contains(path))
            unnameable.insert(shown.constLast());
    }
    FileLabelWindow window(shown, unnameable);
    if (options.isSet(options.windowTexts))
        return ProgramTranslations::printTexts(window);
    if (options.isSet(options.screenshot))
        return screenshot(window, options.value(options.screenshot));
    if (noDisplay) {
        complain(QStringLiteral("no display to show the window on: use --get or --set"));
        return BadArguments;
    }
    window.show();
    const int status = QApplication::exec();
    return status != 0 ? status : failed(window);
}

} // namespace

int main(int argc, char **argv)
{
    holdStandardDescriptors();
    const bool noDisplay = ProgramCommandLine::noDisplayNamed();
    const FirstLook look = FirstLook::of(argc, argv);
    choosePlatform(look, noDisplay);
    const std::unique_ptr<QCoreApplication> application = startApplication(look.command, argv[0]);
    ProgramCommandLine::nameApplication(QStringLiteral("varnel-file-label"));

    FileLabelOptions options;
    const Arguments arguments = argumentsOf(argc, argv);
    if (!options.read(arguments.texts))
        return BadArguments;
    const QString conflict = options.conflict();
    if (!conflict.isEmpty()) {
        complain(conflict);
        return BadArguments;
    }
    if (options.isSet(options.get) || options.isSet(options.set))
        return runCommand(options, arguments);
    return runWindow(options, arguments, noDisplay);
}
