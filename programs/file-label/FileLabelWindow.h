// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_FILELABELWINDOW_H
#define VARNEL_FILELABELWINDOW_H

#include "FileLabel.h"

#include <QSet>
#include <QStringList>
#include <QWidget>

#include <sys/types.h>
#include <vector>

namespace VarnelQt5 {
class FileMacLabelWidget;
}

class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;

// The file label widget for each of a list of paths, one at a time, with
// Previous and Next, Apply (writes the label) and Revert (reads it again).
// What happened to the shown path, failures included, is said under the form;
// edits not yet written are marked there and in the title, and are never
// left behind without asking.
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
    // Shows the path at index. Edits on the shown path are first applied or
    // discarded as the person answers; false when the window stays.
    bool showPath(int index);
    // Whether the shown form holds edits that are not written.
    bool isEdited() const;
    // One line for each path whose label could not be read or whose last
    // write failed, "PATH: what failed: why"; a path never shown is read now.
    QStringList failures() const;

public Q_SLOTS:
    // Writes the edited form to the object it was read from; false when
    // nothing was written.
    bool apply();
    void revert();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The object a path named when its label was read. A file made anew
    // may get the old one's inode number, but not its birth time where the
    // file system keeps one.
    struct Object {
        dev_t device = 0;
        ino_t inode = 0;
        mode_t kind = 0;
        bool hasBirth = false;
        long long birthSeconds = 0;
        unsigned birthNanoseconds = 0;
        bool operator==(const Object &other) const
        {
            return device == other.device && inode == other.inode && kind == other.kind
                && hasBirth == other.hasBirth && birthSeconds == other.birthSeconds
                && birthNanoseconds == other.birthNanoseconds;
        }
    };

    enum class Outcome { Fine, Warning, Failed };

    // What the window knows about one path.
    struct Page {
        VarnelQt5::FileMacLabelWidget *form = nullptr;
        // The form holds a label read from the object below.
        bool loaded = false;
        Object object;
        // What the object held when last read, and what the form showed then.
        FileLabel stored;
        FileLabel shown;
        QString message;
        Outcome outcome = Outcome::Fine;
        // For standard error: what failed last, empty when nothing did or
        // when a later Apply wrote the path's label after all. Reading the
        // label again or discarding edits leaves it.
        QString failure;
    };

    static bool identify(const QString &path, Object *object, QString *reason);
    void load(int index, bool written);
    void readAgainIfChanged(int index);
    bool edited(int index) const;
    bool settle();
    void report(int index, Outcome outcome, const QString &message, const QString &failure = QString());
    void refresh();
    void fitToScreen();

    const QStringList paths;
    const QSet<QString> unnameable;
    std::vector<Page> pages;
    // Said before the shown path's message: the question's Apply wrote the
    // path left. Cleared by the next action.
    QString carried;
    QLabel *pathLabel;
    QStackedWidget *stack;
    QLabel *messageLabel;
    // What the shown form changed on its own, in sight whatever the form's
    // scroll position.
    QLabel *reactionLabel;
    QLabel *changedLabel;
    QPushButton *previousButton;
    QPushButton *nextButton;
    QPushButton *revertButton;
    QPushButton *applyButton;
    // Made last: the window's texts are listed in the order its parts were
    // made, the path and the status before the form's.
    QScrollArea *formArea;
    // Sized to its form once, when first shown.
    bool fitted = false;
};

#endif
