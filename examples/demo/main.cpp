// Shows the library's pickers for the calling user, the login dialogs and the
// file label panel (--file PATH, else a file of its own). With --png FILE the
// window is rendered to FILE instead of being shown, for machines without a
// display.

#include "DemoWindow.h"
#include "FilePanel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTextStream>

#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the label pickers of libvarnel-mac-qt5."));
    parser.addHelpOption();
    const QCommandLineOption png(QStringLiteral("png"),
                                 QStringLiteral("Render the window to <file> instead of showing it."),
                                 QStringLiteral("file"));
    parser.addOption(png);
    const QCommandLineOption labelled(QStringLiteral("file"),
                                      QStringLiteral("Show the label of <path> (default: a file of its own)."),
                                      QStringLiteral("path"));
    const QCommandLineOption filePng(QStringLiteral("file-png"),
                                     QStringLiteral("Render only the file label panel to <file>."),
                                     QStringLiteral("file"));
    parser.addOptions({labelled, filePng});
    parser.process(application);

    DemoWindow window(getuid());
    auto *filePanel = new FilePanel(parser.value(labelled), &window);
    window.addPanel(filePanel);
    if (parser.isSet(filePng)) {
        window.show();
        return filePanel->grab().save(parser.value(filePng)) ? 0 : 1;
    }
    if (!parser.isSet(png)) {
        window.show();
        return application.exec();
    }

    window.show();
    const QString file = parser.value(png);
    QTextStream out(stdout);
    if (!window.grab().save(file)) {
        QTextStream(stderr) << "Could not write " << file << '\n';
        return 1;
    }
    out << "No display: rendered the demonstration window to " << file << '\n';
    return 0;
}
