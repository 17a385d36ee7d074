#ifndef VARNELQT5_MACCATEGORYPUSHBUTTON_H
#define VARNELQT5_MACCATEGORYPUSHBUTTON_H

#include "varnelmacqt5_export.h"

#include <QPushButton>

namespace VarnelQt5 {

class MacCategoryListWidget;

// A "Categories" button that shows a category checklist as a frameless
// window centred on itself. The window closes when it loses activation, on
// Escape and on a click outside it.
class VARNELMACQT5_EXPORT MacCategoryPushButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MacCategoryPushButton(QWidget *parent = nullptr);
    ~MacCategoryPushButton() override;

private Q_SLOTS:
    void clicked();
    void categoryListWidgetEditingFinished();

private:
    Q_DISABLE_COPY(MacCategoryPushButton)

    MacCategoryListWidget *list;
};

} // namespace VarnelQt5

#endif
