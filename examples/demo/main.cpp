// Shows the library's pickers for the calling user. With --png FILE the
// window is rendered to FILE instead of being shown, for machines without a
// display.

#include "DemoWindow.h"

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
    parser.process(application);

    DemoWindow window(getuid());
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
