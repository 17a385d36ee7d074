#ifndef VARNELQT5_MACCATEGORYWIDGET_H
#define VARNELQT5_MACCATEGORYWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace VarnelQt5 {

class MacCategoryListWidget;
class PopupWidget;

// A one-line category editor: the current set as text, and a "..." button
// that pops up a category checklist. Value, bounds and signal are the
// checklist's.
class VARNELMACQT5_EXPORT MacCategoryWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MacCategoryWidget(QWidget *parent = nullptr);
    ~MacCategoryWidget() override;

    mac_cat_t value();

public Q_SLOTS:
    void setUid(uid_t uid);
    void setMinimumValue(mac_cat_t value);
    void setMaximumValue(mac_cat_t value);
    void setValue(mac_cat_t value);

Q_SIGNALS:
    void valueChanged(mac_cat_t value);

private Q_SLOTS:
    void popupCategoriesWidget();
    void categoriesUpdated(mac_cat_t value);
    void callCategoriesDialog();

private:
    Q_DISABLE_COPY(MacCategoryWidget)

    QLabel *label;
    QPushButton *button;
    MacCategoryListWidget *list;
    PopupWidget *popup;
};

} // namespace VarnelQt5

#endif
