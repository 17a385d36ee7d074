// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_MACLABELPAGE_H
#define VARNEL_MACLABELPAGE_H

#include <QWidget>

namespace VarnelQt5 {
class FileMacLabelWidget;
}

class QLabel;
class QPushButton;

// The "Security label" page: the file label widget for one local object,
// with a filter above its categories and a line that says what went wrong.
// It reads the label when told to, reports every edit a person makes with
// edited(), and writes only on write().
class MacLabelPage : public QWidget
{
    Q_OBJECT

public:
    explicit MacLabelPage(QWidget *parent = nullptr);
    ~MacLabelPage() override;

    // Reads the label of the object at path into the form; false, with the
    // reason on the page and the form disabled, when it cannot be read.
    bool load(const QString &path);
    // Writes the form's label to the object at path; false, with the reason
    // on the page and the edits kept, when nothing was written.
    bool write(const QString &path);
    // Whether the form holds a label read from the object.
    bool isLoaded() const;
    // What the page says about the last read or write, empty when all went
    // well.
    QString message() const;

Q_SIGNALS:
    // A person changed the form; a load is no edit.
    void edited();

private:
    Q_DISABLE_COPY(MacLabelPage)

    void say(const QString &text);

    VarnelQt5::FileMacLabelWidget *form;
    QLabel *messageLabel;
    // Shown after a write refused because another writer changed the label:
    // drops the edits and reads the label the object holds now.
    QPushButton *readAgainButton;
    QString path;
    bool loading = false;
    bool loaded = false;
};

#endif
