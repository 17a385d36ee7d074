// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ProgramCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace ProgramCommandLine {

bool noDisplayNamed()
{
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void nameApplication(const QString &name)
{
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_PROGRAM_VERSION));
}

void complain(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toLocal8Bit().constData());
}

bool read(QCommandLineParser &parser, const QStringList &arguments, const QCommandLineOption &help,
          const QCommandLineOption &version)
{
    if (!parser.parse(arguments)) {
        complain(parser.errorText());
        return false;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    return true;
}

} // namespace ProgramCommandLine
