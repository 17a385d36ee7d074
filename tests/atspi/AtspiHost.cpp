// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// A window with a locked level picker and a category list with a checked and
// a locked row, for tst_atspi to read over AT-SPI. Says "ready" on stdout once
// shown; on the line "switch" it gives the level picker user 1001 and says
// "switched"; on "toggle" it checks or unchecks the row of C1 and says
// "toggled"; on "login" it opens the login dialog and says "opened"; it quits
// when its stdin closes.

#include "LoginMacLabelDialog.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"

#include <QApplication>
#include <QByteArray>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("atspi-host"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("AT-SPI host"));
    auto *layout = new QVBoxLayout(&window);
    auto *level = new VarnelQt5::MacLevelComboBox(uid_t(1000), &window);
    auto *categories = new VarnelQt5::MacCategoryListWidget(uid_t(1000), &window);
    categories->setValue(categories->value() | 0x4);
    layout->addWidget(level);
    layout->addWidget(categories);
    window.resize(300, 300);
    window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&input, level, categories] {
        char buffer[64];
        const ssize_t size = read(STDIN_FILENO, buffer, sizeof buffer);
        if (size <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        const QByteArray line(buffer, int(size));
        if (line.startsWith("switch")) {
            level->setUid(1001);
            std::puts("switched");
        } else if (line.startsWith("toggle")) {
            QListWidgetItem *row = categories->item(1);
            row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            std::puts("toggled");
        } else if (line.startsWith("login")) {
            auto *login = new VarnelQt5::LoginMacLabelDialog(1001, false, nullptr);
            login->setAttribute(Qt::WA_DeleteOnClose);
            login->show();
            login->activateWindow();
            std::puts("opened");
        }
        std::fflush(stdout);
    });
    QTimer::singleShot(0, &window, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
