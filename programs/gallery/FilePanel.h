// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_GALLERY_FILEPANEL_H
#define VARNEL_GALLERY_FILEPANEL_H

#include "LabelWords.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class QLabel;

namespace VarnelQt5 {
class FileMacLabelWidget;
}

// A window with the file label widget on one file or directory, its label in
// words (a label named "value"), Apply (write the form's label to it) and
// Revert (read its label again). Without a path the panel makes a file of its
// own in a temporary directory and labels it.
class FilePanel : public QWidget
{
    Q_OBJECT

public:
    explicit FilePanel(const QString &path, QWidget *parent = nullptr);
    ~FilePanel() override;

    QString path() const { return m_path; }

private:
    void apply();
    void revert();
    // Gives the panel's own file a label other than the empty one, through
    // the widget, as a host would.
    void labelOwnFile();
    void report(const QString &text, bool failure = false);
    QString describe() const;

    LabelWords m_words;
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_path;
    VarnelQt5::FileMacLabelWidget *m_label;
    QLabel *m_value;
    QLabel *m_message;
};

#endif
