// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// varnel-choose-label: asks a user for the label of a login in the library's
// login label dialog and prints the choice for a script or a login program.
// Exit status: 0 on OK, 1 on Cancel, Escape or close (nothing printed), 2 on
// bad arguments or without a display, 3 when the label library gave no result.

#include <LoginMacLabelDialog.h>
#include <LoginMacLabelWidget.h>

#include "DisplayGuard.h"
#include "ProgramCommandLine.h"
#include "ProgramTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

using VarnelQt5::LoginMacLabelDialog;
using VarnelQt5::LoginMacLabelWidget;
using ProgramCommandLine::complain;

namespace {

enum Status { Accepted = 0, Cancelled = 1, BadArguments = 2, NoResult = 3 };

// The login dialog ignores Escape, since a login must end with a choice. A
// script's chooser is left with Escape as with Cancel.
class ChooserDialog : public LoginMacLabelDialog
{
public:
    using LoginMacLabelDialog::LoginMacLabelDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event && event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        LoginMacLabelDialog::keyPressEvent(event);
    }
};

void printLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

// A user id in decimal; (uid_t)-1 is refused, the library reads it as the
// calling user.
bool parseUid(const QString &text, uid_t *uid)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const qulonglong value = text.toULongLong();
    if (value >= qulonglong(uid_t(-1)))
        return false;
    *uid = uid_t(value);
    return true;
}

// The id of a user name from the system's user database. A name that does
// not resolve is an error here: the library would take it for the calling
// user, which a script asking for someone else must not get.
bool uidOfName(const QString &name, uid_t *uid)
{
    const QByteArray encoded = name.toLocal8Bit();
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size_t(size > 0 ? size : 16384));
    passwd entry{};
    passwd *found = nullptr;
    int error;
    while ((error = getpwnam_r(encoded.constData(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found)
        return false;
    *uid = found->pw_uid;
    return true;
}

QByteArray jsonArray(const QStringList &list)
{
    return QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact);
}

QByteArray jsonString(const QString &text)
{
    const QByteArray array = jsonArray({text});
    return array.mid(1, array.size() - 2);
}

// Presses a button of the dialog once it runs, for tests without a person.
// An OK that the dialog refuses brings up its message box: the box's text
// goes to stderr, and the box and the dialog are closed.
void pressWhenShown(LoginMacLabelDialog &dialog, const QString &button)
{
    QTimer::singleShot(0, &dialog, [&dialog, button] {
        if (button == QLatin1String("close")) {
            dialog.close();
            return;
        }
        if (button == QLatin1String("escape")) {
            // As a person's key: to the widget with the focus, on to the dialog.
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog.focusWidget() ? dialog.focusWidget() : &dialog, &escape);
            if (dialog.isVisible()) {
                complain(QStringLiteral("Escape left the dialog open"));
                dialog.reject();
            }
            return;
        }
        const auto *box = dialog.findChild<QDialogButtonBox *>();
        QPushButton *pressed =
            box ? box->button(button == QLatin1String("ok") ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                : nullptr;
        if (!pressed) {
            dialog.reject();
            return;
        }
        QTimer::singleShot(0, &dialog, [] {
            if (auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                complain(message->text());
                message->reject();
            }
        });
        pressed->click();
        if (dialog.isVisible())
            dialog.reject();
    });
}

// The program's options, added to the parser as they are made.
struct Options {
    explicit Options(QCommandLineParser &parser);

    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption user;
    const QCommandLineOption uid;
    const QCommandLineOption themed;
    const QCommandLineOption info;
    const QCommandLineOption print;
    // Hidden from --help: for tests and pictures.
    QCommandLineOption press;
    QCommandLineOption texts;
};

Options::Options(QCommandLineParser &parser)
    : help(parser.addHelpOption())
    , version(parser.addVersionOption())
    , user(QStringLiteral("user"), QStringLiteral("The user <name> (default: the calling user)."),
           QStringLiteral("name"))
    , uid(QStringLiteral("uid"), QStringLiteral("The user with the id <n>."), QStringLiteral("n"))
    , themed(QStringLiteral("themed"), QStringLiteral("Show the themed form."))
    , info(QStringLiteral("info"), QStringLiteral("Information mode: show the calling process's own label."))
    , print(QStringLiteral("print"),
            QStringLiteral("What to print on OK: text (the label text, the default), command (the vexor "
                           "command line, one argument a line), args (the argument list, one entry a line, "
                           "empty role lists at its end left out) or json."),
            QStringLiteral("form"), QStringLiteral("text"))
    , press(QStringLiteral("press"), QStringLiteral("Press ok, cancel, close or escape."), QStringLiteral("button"))
    , texts(QStringLiteral("window-texts"), QStringLiteral("Print the dialog's texts, one a line, and exit."))
{
    parser.setApplicationDescription(QStringLiteral(
        "Shows the login label dialog for a user and, on OK, prints the chosen label.\n"
        "Exit status: 0 on OK, 1 on Cancel, Escape or close (nothing printed), 2 on\n"
        "bad arguments or without a display, 3 when the label library gave no result.\n"
        "--print json writes one line, an object with the keys text, level,\n"
        "integrity, categories (numbers, categories as a decimal 64-bit mask),\n"
        "args and command (arrays of strings)."));
    press.setFlags(QCommandLineOption::HiddenFromHelp);
    texts.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({user, uid, themed, info, print, press, texts});
}

// What a run is asked to do, once its arguments are checked.
struct Request {
    uid_t uid = getuid();
    bool themed = false;
    QString form;  // what to print on OK
    QString press; // the button to press; empty for a person's choice
};

// Checks what the options ask for besides the user; says what is wrong.
bool checkForms(const QCommandLineParser &parser, const Options &options, Request *request)
{
    if (!parser.positionalArguments().isEmpty()) {
        complain(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
        return false;
    }
    request->form = parser.value(options.print);
    if (!QStringList{QStringLiteral("text"), QStringLiteral("command"), QStringLiteral("args"),
                     QStringLiteral("json")}
             .contains(request->form)) {
        complain(QStringLiteral("unknown --print form '%1': use text, command, args or json").arg(request->form));
        return false;
    }
    request->themed = parser.isSet(options.themed);
    request->press = parser.value(options.press);
    const QString &press = request->press;
    if (parser.isSet(options.press)
        && !(press == QLatin1String("ok") || press == QLatin1String("close") || press == QLatin1String("escape")
             || (press == QLatin1String("cancel") && request->themed))) {
        complain(QStringLiteral("cannot press '%1'").arg(press));
        return false;
    }
    return true;
}

// The user the dialog is for: the calling one, or the one --user or --uid
// names; says what is wrong with them.
bool resolveUser(const QCommandLineParser &parser, const Options &options, uid_t *uid)
{
    if (parser.isSet(options.user) && parser.isSet(options.uid)) {
        complain(QStringLiteral("give either --user or --uid, not both"));
        return false;
    }
    if (parser.isSet(options.user) && !uidOfName(parser.value(options.user), uid)) {
        complain(QStringLiteral("unknown user '%1'").arg(parser.value(options.user)));
        return false;
    }
    if (parser.isSet(options.uid) && !parseUid(parser.value(options.uid), uid)) {
        complain(QStringLiteral("malformed user id '%1'").arg(parser.value(options.uid)));
        return false;
    }
    return true;
}

// Prints the accepted choice in form; the exit status.
int printChoice(LoginMacLabelDialog &dialog, const QString &form)
{
    const auto *widget = dialog.findChild<LoginMacLabelWidget *>();
    const std::unique_ptr<char, decltype(&std::free)> text(dialog.malloc_mac_label_text(), &std::free);
    QStringList arguments = widget ? widget->getVexorArguments() : QStringList();
    const QStringList command = widget ? widget->getVexorCommand() : QStringList();
    const bool wantsText = form == QLatin1String("text") || form == QLatin1String("json");
    const bool wantsLists = form != QLatin1String("text");
    if ((wantsText && !text) || (wantsLists && (arguments.isEmpty() || command.isEmpty()))) {
        complain(QStringLiteral("the label library gave no label for the choice"));
        return NoResult;
    }

    // The role lists come last and are empty when no role is ticked (the
    // dialog shows no roles); empty ones at the end are left out, by args
    // and json alike, rather than printed as blank lines, so a list in
    // between keeps its place.
    while (!arguments.isEmpty() && arguments.constLast().isEmpty())
        arguments.removeLast();

    if (form == QLatin1String("text")) {
        printLine(text.get());
    } else if (form == QLatin1String("command")) {
        for (const QString &entry : command)
            printLine(entry.toLocal8Bit());
    } else if (form == QLatin1String("args")) {
        for (const QString &entry : std::as_const(arguments))
            printLine(entry.toLocal8Bit());
    } else {
        // Written by hand around Qt's string and array encoding: a category
        // mask with bit 63 set is beyond what a JSON number in Qt keeps exactly.
        printLine("{\"text\":" + jsonString(QString::fromLocal8Bit(text.get()))
                  + ",\"level\":" + QByteArray::number(dialog.level())
                  + ",\"integrity\":" + QByteArray::number(widget->integrity())
                  + ",\"categories\":" + QByteArray::number(qulonglong(dialog.categories()))
                  + ",\"args\":" + jsonArray(arguments) + ",\"command\":" + jsonArray(command) + '}');
    }
    return std::fflush(stdout) == 0 ? Accepted : NoResult;
}

} // namespace

int main(int argc, char **argv)
{
    // Help, version and argument errors need no display; the dialog does.
    const bool noDisplay = ProgramCommandLine::noDisplayNamed();
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The dialog's display is opened with the application: when it cannot
    // be, one line says so and the exit status is that of no display.
    auto guard = DisplayGuard::whileOpening("varnel-choose-label", "the dialog", BadArguments);
    QApplication application(argc, argv);
    guard.reset();
    ProgramCommandLine::nameApplication(QStringLiteral("varnel-choose-label"));

    QCommandLineParser parser;
    const Options options(parser);
    Request request;
    if (!ProgramCommandLine::read(parser, QCoreApplication::arguments(), options.help, options.version)
        || !checkForms(parser, options, &request) || !resolveUser(parser, options, &request.uid))
        return BadArguments;
    if (noDisplay) {
        complain(QStringLiteral("no display to show the dialog on"));
        return BadArguments;
    }

    ProgramTranslations::install();
    ChooserDialog dialog(request.uid, request.themed, nullptr);
    if (parser.isSet(options.info))
        dialog.setEditable(false);
    if (parser.isSet(options.texts))
        return ProgramTranslations::printTexts(dialog);
    if (parser.isSet(options.press))
        pressWhenShown(dialog, request.press);
    if (dialog.exec() != QDialog::Accepted)
        return Cancelled;
    return printChoice(dialog, request.form);
}
