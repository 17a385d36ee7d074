#ifndef VARNELQT5_MACCATEGORYCOMBOBOX_H
#define VARNELQT5_MACCATEGORYCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QComboBox>

namespace VarnelQt5 {

// A combo box from which a person picks exactly one category. Each entry's
// data (Qt::UserRole) is the category's mask; the bounds compare masks as
// numbers.
class VARNELMACQT5_EXPORT MacCategoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MacCategoryComboBox(QWidget *parent = nullptr);
    ~MacCategoryComboBox() override;

    // Refills the entries from the category database within the bounds
    // (the user's range once a user is set).
    void rebuild();
    // The mask of the current entry; 0 when there is none.
    mac_cat_t value();

public Q_SLOTS:
    void setUid(uid_t uid);
    void setMinimumValue(mac_cat_t value);
    void setMaximumValue(mac_cat_t value);
    // Selects the entry of value, or the first entry; emits nothing.
    void setValue(mac_cat_t value);

Q_SIGNALS:
    // A person picked an entry.
    void valueChanged(mac_cat_t value);

private Q_SLOTS:
    void activated(int index);

private:
    Q_DISABLE_COPY(MacCategoryComboBox)

    mac_cat_t minimum;
    mac_cat_t maximum;
    uid_t uid;
    bool uidSet;
    bool minimumSet;
    bool maximumSet;
};

} // namespace VarnelQt5

#endif
