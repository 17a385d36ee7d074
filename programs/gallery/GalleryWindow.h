// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_GALLERY_GALLERYWINDOW_H
#define VARNEL_GALLERY_GALLERYWINDOW_H

#include "LabelWords.h"

#include <QWidget>

#include <functional>
#include <sys/types.h>

class FilePanel;
class QBoxLayout;
class QGroupBox;
class QLabel;

// Every widget of the library for one user, each in a box named after its
// picture (object name) with its current value in words underneath (a label
// named "value"). The login dialog, plain and themed, and the file label
// window are one button away.
class GalleryWindow : public QWidget
{
    Q_OBJECT

public:
    // filePath: the object the file label window shows; empty for a file the
    // gallery makes and labels itself.
    GalleryWindow(uid_t uid, const QString &filePath, QWidget *parent = nullptr);
    ~GalleryWindow() override;

    uid_t uid() const { return m_uid; }
    // The boxes of the window, in the order they are pictured.
    QList<QGroupBox *> parts() const { return m_parts; }
    FilePanel *filePanel() const { return m_filePanel; }
    // Everything the window shows, at its own size, whatever part of it the
    // window's scroll area shows.
    QWidget *content() const { return m_content; }

    // Runs the login dialog and, once accepted, shows what it gives a login
    // program.
    void chooseLogin(bool themed);
    void showFileLabel();

private:
    // Puts picker into a box named name under column, with a line under it
    // that starts as describe() gives it; returns that line.
    QLabel *addPart(QBoxLayout *column, const QString &name, const QString &title, QWidget *picker,
                    const std::function<QString()> &describe);
    QString describeSet(mac_cat_t set) const;

    uid_t m_uid;
    LabelWords m_words;
    QList<QGroupBox *> m_parts;
    FilePanel *m_filePanel;
    QLabel *m_loginText;
    QLabel *m_loginArguments;
    QLabel *m_loginCommand;
    QWidget *m_content;
};

#endif
