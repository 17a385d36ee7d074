// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILELABELOPTIONS_H
#define VARNEL_FILELABELOPTIONS_H

#include "LabelCommand.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What the arguments ask for, looked at before the application exists, so
// that scripts run without a display and without the start of a window
// system, a good part of the time --get and --set take over a few files.
// Every argument after "--" is a path.
struct FirstLook {
    enum class Command { None, Get, Set };
    // The last of --get and --set, unless the window is asked for
    // (--screenshot, --window-texts).
    Command command = Command::None;
    // Whether any option but the window's own is given: such a run needs no
    // display, if only to be refused.
    bool windowless = false;

    static FirstLook of(int argc, const char *const *argv);
};

// varnel-file-label's options, read and checked against one another.
class FileLabelOptions
{
public:
    FileLabelOptions();

    // Reads texts, the program's name first; false, the reason said on
    // standard error, when they cannot be read. --help and --version print
    // their text and end the program.
    bool read(const QStringList &texts);
    // What is wrong with the options given together, or that no path is
    // given; empty when nothing is.
    QString conflict() const;

    bool isSet(const QCommandLineOption &option) const { return parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return parser.value(option); }
    QStringList paths() const { return parser.positionalArguments(); }
    // How --get and --set are to go.
    LabelCommand::Options commandOptions() const;

private:
    QCommandLineParser parser;

public:
    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption get;
    const QCommandLineOption set;
    const QCommandLineOption recursive;
    const QCommandLineOption oneFileSystem;
    const QCommandLineOption verbose;
    const QCommandLineOption null;
    const QCommandLineOption names;
    const QCommandLineOption json;
    // Hidden from --help: for tests and pictures.
    const QCommandLineOption screenshot;
    const QCommandLineOption windowTexts;
    const QCommandLineOption progressAfter;
};

#endif
