// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_DISPLAYGUARD_H
#define VARNEL_DISPLAYGUARD_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>

// While the application opens its display, what Qt says is held back: when
// no display can be opened Qt ends the process, and the program says so in
// one line instead and exits with its own status. Once the display is open,
// what was held is said after all.
class DisplayGuard
{
public:
    // program names the program, shownOn what it would show ("the dialog"),
    // hint what to do instead (": use --get or --set"), said after it.
    DisplayGuard(const char *program, const char *shownOn, int status, const char *hint = "")
    {
        DisplayGuard::program() = program;
        DisplayGuard::shownOn() = shownOn;
        DisplayGuard::hint() = hint;
        DisplayGuard::status() = status;
        previous = qInstallMessageHandler(hold);
    }
    ~DisplayGuard() { opened(); }

    // A guard while the application opens the display of the platform
    // chosen; none for the off-screen platforms, which open none.
    static std::unique_ptr<DisplayGuard> whileOpening(const char *program, const char *shownOn, int status,
                                                      const char *hint = "")
    {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform == "offscreen" || platform == "minimal")
            return nullptr;
        return std::make_unique<DisplayGuard>(program, shownOn, status, hint);
    }

    // The display is open: Qt's messages go their usual way again.
    void opened()
    {
        if (done)
            return;
        done = true;
        qInstallMessageHandler(previous);
        for (const auto &message : std::as_const(held()))
            qt_message_output(message.first, QMessageLogContext(), message.second);
        held().clear();
    }

    Q_DISABLE_COPY(DisplayGuard)

private:
    static QByteArray &program()
    {
        static QByteArray name;
        return name;
    }
    static QByteArray &shownOn()
    {
        static QByteArray what;
        return what;
    }
    static QByteArray &hint()
    {
        static QByteArray what;
        return what;
    }
    static int &status()
    {
        static int code = 2;
        return code;
    }
    static QList<QPair<QtMsgType, QString>> &held()
    {
        static QList<QPair<QtMsgType, QString>> messages;
        return messages;
    }
    static void hold(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtFatalMsg) {
            const QByteArray display =
                qgetenv(qEnvironmentVariableIsEmpty("DISPLAY") ? "WAYLAND_DISPLAY" : "DISPLAY");
            const QByteArray named = display.isEmpty() ? QByteArray("a display") : "the display '" + display + '\'';
            std::fprintf(stderr, "%s: cannot open %s to show %s on%s\n", program().constData(), named.constData(),
                         shownOn().constData(), hint().constData());
            std::_Exit(status());
        }
        held().append({type, message});
    }

    QtMessageHandler previous = nullptr;
    bool done = false;
};

#endif
