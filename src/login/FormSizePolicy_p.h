#ifndef VARNEL_FORMSIZEPOLICY_P_H
#define VARNEL_FORMSIZEPOLICY_P_H

#include <QSizePolicy>
#include <QWidget>

namespace VarnelQt5 {

// The forms set a size policy without stretch and keep the widget's own
// height-for-width.
inline void setFormSizePolicy(QWidget *widget, QSizePolicy::Policy horizontal,
                              QSizePolicy::Policy vertical)
{
    QSizePolicy policy(horizontal, vertical);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    widget->setSizePolicy(policy);
}

} // namespace VarnelQt5

#endif
