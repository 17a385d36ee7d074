#ifndef VARNEL_DEMO_DEMOWINDOW_H
#define VARNEL_DEMO_DEMOWINDOW_H

#include <QWidget>

#include <sys/types.h>

class QFormLayout;

// The library's pickers for one user, each with the value it holds shown
// live underneath.
class DemoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DemoWindow(uid_t uid, QWidget *parent = nullptr);

private:
    QFormLayout *m_form;
};

#endif
