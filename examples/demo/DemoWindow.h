#ifndef VARNEL_DEMO_DEMOWINDOW_H
#define VARNEL_DEMO_DEMOWINDOW_H

#include <QWidget>

#include <functional>
#include <sys/types.h>

class QFormLayout;
class QVBoxLayout;

// The library's pickers for one user, each with the value it holds shown
// live underneath, and beside them the panels of the composite widgets.
class DemoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DemoWindow(uid_t uid, QWidget *parent = nullptr);

    // Adds a panel of its own to the column beside the pickers.
    void addPanel(QWidget *panel);

private:
    // Adds a picker with a line under it that describe() keeps up to date
    // whenever changed (a signal of the picker) fires.
    template <typename Picker, typename Signal>
    void addPicker(const QString &title, Picker *picker, Signal changed,
                   const std::function<QString()> &describe);

    QFormLayout *m_form;
    QVBoxLayout *m_panels;
};

#endif
