// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILELABELWINDOW_H
#define VARNEL_FILELABELWINDOW_H

#include <QSet>
#include <QStringList>
#include <QVector>
#include <QWidget>

namespace VarnelQt5 {
class FileMacLabelWidget;
}

class QLabel;
class QPushButton;
class QStackedWidget;

// The file label widget for each of a list of paths, one at a time, with
// Previous and Next, Apply (writes the label) and Revert (reads it again).
// What happened to the shown path, failures included, is said under the form.
class FileLabelWindow : public QWidget
{
    Q_OBJECT

public:
    // The unnameable paths are texts whose bytes the locale's encoding could
    // not carry: they name another object, or none, and are never read or
    // written.
    explicit FileLabelWindow(const QStringList &paths, const QSet<QString> &unnameable = {},
                             QWidget *parent = nullptr);
    ~FileLabelWindow() override;

    int current() const;
    void showPath(int index);

public Q_SLOTS:
    void apply();
    void revert();

private:
    // What the window last said about one path.
    struct Page {
        VarnelQt5::FileMacLabelWidget *form = nullptr;
        bool loaded = false;
        bool failed = false;
        QString message;
    };

    void report(const QString &message, bool failed);
    void update();

    const QStringList paths;
    const QSet<QString> unnameable;
    QVector<Page> pages;
    QLabel *pathLabel;
    QStackedWidget *stack;
    QLabel *messageLabel;
    QPushButton *previousButton;
    QPushButton *nextButton;
    QPushButton *revertButton;
    QPushButton *applyButton;
};

#endif
