// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PROGRAMCOMMANDLINE_H
#define VARNEL_PROGRAMCOMMANDLINE_H

#include <QString>
#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

// What the programs do alike on the command line: their name and version, a
// failure said in one line, and the arguments read with --help and
// --version.
namespace ProgramCommandLine {

// Whether no display is named at all: no X, no Wayland, no platform chosen.
bool noDisplayNamed();

// Names the application, with the project's version; call once the
// application exists.
void nameApplication(const QString &name);

// Writes "PROGRAM: message" as one line on standard error.
void complain(const QString &message);

// Reads arguments (the program's name first) with parser. When they cannot
// be read, says why and returns false, the program then exiting with its
// status for bad arguments; --help and --version print their text and end
// the program.
bool read(QCommandLineParser &parser, const QStringList &arguments, const QCommandLineOption &help,
          const QCommandLineOption &version);

} // namespace ProgramCommandLine

#endif
