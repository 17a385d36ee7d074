#ifndef VARNEL_DEMO_LOGINPANEL_H
#define VARNEL_DEMO_LOGINPANEL_H

#include <QGroupBox>

#include <sys/types.h>

class QLabel;

// Opens the login label dialog, plain or themed, and shows what the last
// accepted choice gives a login program: the label text, the argument list
// and the vexor command line.
class LoginPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit LoginPanel(uid_t uid, QWidget *parent = nullptr);

private:
    void choose(bool themed);

    uid_t m_uid;
    QLabel *m_label;
    QLabel *m_arguments;
    QLabel *m_command;
};

#endif
