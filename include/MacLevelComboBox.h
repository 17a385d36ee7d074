#ifndef VARNELQT5_MACLEVELCOMBOBOX_H
#define VARNELQT5_MACLEVELCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QComboBox>
#include <QList>

namespace VarnelQt5 {

// A combo box of the confidentiality levels a user may use, within optional
// caller-given bounds. Each item's data (Qt::UserRole) is its level.
class VARNELMACQT5_EXPORT MacLevelComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MacLevelComboBox(QWidget *parent = nullptr);
    MacLevelComboBox(uid_t uid, QWidget *parent);
    ~MacLevelComboBox() override;

    // The level of the current item; 0 when the list is empty.
    mac_lev_t value();
    // The stored caller bounds (0 when never set), not the list's bounds.
    mac_lev_t minimumValue();
    mac_lev_t maximumValue();
    QList<mac_lev_t> allValues() const;
    bool isSuitable();
    bool isRebuilt() const;

    // Refills the list from the level database within the user's range and
    // the caller's bounds; false when the sources cannot be read or MAC is
    // off. Emits nothing.
    bool rebuild();
    // Selects value, inserting it first when force is set and the list lacks
    // it; emits nothing.
    bool setValuePrivate(mac_lev_t value, bool force);

public Q_SLOTS:
    bool setUid(uid_t uid);
    bool setMinimumValue(mac_lev_t value);
    bool setMaximumValue(mac_lev_t value);
    // Selects value (inserting it with force); emits valueChanged when the
    // current value changes. True when value is current afterwards.
    bool setValue(mac_lev_t value, bool force = false);

Q_SIGNALS:
    void valueChanged(mac_lev_t value);

private Q_SLOTS:
    void activated(int index);

private:
    Q_DISABLE_COPY(MacLevelComboBox)

    mac_lev_t minimum;
    mac_lev_t maximum;
    uid_t uid;
    bool uidSet;
    bool minimumSet;
    bool maximumSet;
    bool rebuilt;
};

} // namespace VarnelQt5

#endif
