#ifndef VARNELQT5_LOGINMACLABELDIALOG_H
#define VARNELQT5_LOGINMACLABELDIALOG_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLabel;

namespace VarnelQt5 {

class LoginMacLabelWidget;

// Asks a user for the label of a login. OK refuses a non-zero integrity
// level together with a non-zero level or categories (outside strict mode)
// and saves an accepted choice as the user's last one. Escape is ignored.
class VARNELMACQT5_EXPORT LoginMacLabelDialog : public QDialog
{
    Q_OBJECT

public:
    // The plain form for the named user.
    LoginMacLabelDialog(char *name, QWidget *parent);
    // The plain form for the user.
    LoginMacLabelDialog(uid_t uid, QWidget *parent);
    // The form chosen by themed, always a top-level window: the last
    // argument is not used.
    LoginMacLabelDialog(uid_t uid, bool themed, QWidget *);
    ~LoginMacLabelDialog() override;

    void initialize(uid_t uid, bool themed);

    mac_lev_t level();
    mac_cat_t categories();
    // To be released with free().
    char *malloc_mac_label_text();
    bool isValid();
    bool isSuitable();
    bool isVariability();
    bool editable() const;
    // Switches between choosing a label and showing the process's own.
    void setEditable(bool editable);

protected Q_SLOTS:
    void saveChoice() const;
    void onButtonBoxAccepted();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Q_DISABLE_COPY(LoginMacLabelDialog)

    LoginMacLabelWidget *widget;
    QString userName;
    QLabel *heading;
};

} // namespace VarnelQt5

#endif
