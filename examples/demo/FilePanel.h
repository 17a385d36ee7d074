#ifndef VARNEL_DEMO_FILEPANEL_H
#define VARNEL_DEMO_FILEPANEL_H

#include <QGroupBox>
#include <QTemporaryDir>

#include <memory>

class QLabel;

namespace VarnelQt5 {
class FileMacLabelWidget;
}

// The file label widget on one file or directory, with Apply (write the
// form's label to it) and Revert (read its label again). Without a path the
// panel makes a file of its own in a temporary directory and labels it.
class FilePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit FilePanel(const QString &path, QWidget *parent = nullptr);
    ~FilePanel() override;

private:
    void apply();
    void revert();
    // Gives the panel's own file a label other than the empty one, through
    // the widget, as a host would.
    void labelOwnFile();
    void report(const QString &text, bool failure = false);

    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_path;
    VarnelQt5::FileMacLabelWidget *m_label;
    QLabel *m_message;
};

#endif
