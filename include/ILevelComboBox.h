#ifndef VARNELQT5_ILEVELCOMBOBOX_H
#define VARNELQT5_ILEVELCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

#include <QComboBox>

namespace VarnelQt5 {

// A combo box of the integrity levels a user may use: level 0 and the
// system's maximum integrity level, within the user's integrity record and
// optional caller-given bounds. Each item's data (Qt::UserRole) is its level.
class VARNELMACQT5_EXPORT ILevelComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ILevelComboBox(QWidget *parent = nullptr);
    ILevelComboBox(uid_t uid, QWidget *parent);
    ~ILevelComboBox() override;

    // The level of the current item; 0 when the list is empty.
    TAV_ILEV_T value() const;
    // The stored caller minimum (0 when never set).
    TAV_ILEV_T minimumValue() const;
    // The caller's maximum when one was set, else the system's maximum.
    TAV_ILEV_T maximumValue() const;
    bool isSuitable() const;
    bool isRebuilt() const;
    // Whether a person can actually change the level here.
    bool isVariability() const;

    // Refills the list within the user's integrity record and the caller's
    // bounds; false when the sources cannot be read or no maximum integrity
    // level is known. Emits nothing.
    bool rebuild();
    // Selects value, inserting it first when force is set and the list lacks
    // it; emits nothing.
    bool setValuePrivate(TAV_ILEV_T value, bool force);

public Q_SLOTS:
    bool setUid(uid_t uid);
    bool setMinimumValue(TAV_ILEV_T value);
    bool setMaximumValue(TAV_ILEV_T value);
    // Selects value (inserting it with force); emits valueChanged when the
    // current value changes. True when value is current afterwards.
    bool setValue(TAV_ILEV_T value, bool force = false);

Q_SIGNALS:
    void valueChanged(TAV_ILEV_T value);

private Q_SLOTS:
    void activated(int index);

private:
    Q_DISABLE_COPY(ILevelComboBox)

    TAV_ILEV_T minimum;
    TAV_ILEV_T maximum;
    uid_t uid;
    bool uidSet;
    bool minimumSet;
    bool maximumSet;
    bool rebuilt;
};

} // namespace VarnelQt5

#endif
