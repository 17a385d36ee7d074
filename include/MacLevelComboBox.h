// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACLEVELCOMBOBOX_H
#define VARNELQT5_MACLEVELCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QComboBox>
#include <QList>

namespace VarnelQt5 {

/**
 * A combo box of the confidentiality levels a user may use, within optional
 * caller-given bounds.
 *
 * The items are the levels of the platform's level database, in ascending
 * order, each shown by its name; each item's data (Qt::UserRole) is its
 * level. setUid(), setMinimumValue() and setMaximumValue() each refill the
 * list at once; until one of them (or rebuild()) runs, the list is empty. The
 * picker is enabled only while it offers more than one level; a locked or
 * empty picker says why in its tool tip (and, to assistive tools, in its
 * accessible description) unless the host gave it one of its own.
 *
 * \pic_maclevelcombobox
 *
 * \code
 * auto *levels = new VarnelQt5::MacLevelComboBox(this);
 * levels->setUid(uid);            // the levels of this user's range
 * levels->setMaximumValue(3);     // and none above 3
 * levels->setValue(lastLevel);
 * connect(levels, &VarnelQt5::MacLevelComboBox::valueChanged,
 *         this, &Editor::levelChosen);
 * \endcode
 */
class VARNELMAC_EXPORT MacLevelComboBox : public QComboBox
{
    Q_OBJECT

public:
    /** An empty picker without a user or bounds. */
    explicit MacLevelComboBox(QWidget *parent = nullptr);
    /** A picker filled with the levels of the user \a uid (see setUid()). */
    MacLevelComboBox(uid_t uid, QWidget *parent);
    ~MacLevelComboBox() override;

    /** The level of the current item; 0 when the list is empty. */
    mac_lev_t value();
    /** The stored caller minimum (0 when never set), not the list's lowest level. */
    mac_lev_t minimumValue();
    /** The stored caller maximum (0 when never set), not the list's highest level. */
    mac_lev_t maximumValue();
    /** The levels of all items, in list order. */
    QList<mac_lev_t> allValues() const;
    /** Whether the list offers at least one level. */
    bool isSuitable();
    /** Whether the list has been filled at least once (by rebuild() or a setter). */
    bool isRebuilt() const;

    /**
     * Refills the list from the level database within the user's range and
     * the caller's bounds, keeping the current level where it is still
     * offered. Returns false when the sources cannot be read or MAC is off
     * (then the picker is disabled). Emits nothing.
     */
    bool rebuild();
    /**
     * Selects \a value, inserting it first (named by the label library) when
     * \a force is set and the list lacks it. Returns false when the level is
     * missing and not forced. An empty list stays empty, even when forced,
     * and the result is true. Emits nothing.
     */
    bool setValuePrivate(mac_lev_t value, bool force);

public Q_SLOTS:
    /**
     * Bounds the list by the MAC range of the user \a uid and refills it.
     * Returns false when the sources cannot be read or MAC is off.
     */
    bool setUid(uid_t uid);
    /** Offers no level below \a value from now on, and refills the list. */
    bool setMinimumValue(mac_lev_t value);
    /** Offers no level above \a value from now on, and refills the list. */
    bool setMaximumValue(mac_lev_t value);
    /**
     * Selects \a value, inserting it first when \a force is set and the list
     * lacks it; emits valueChanged() when the current level changes. Returns
     * true when \a value is current afterwards.
     */
    bool setValue(mac_lev_t value, bool force = false);

Q_SIGNALS:
    /**
     * The level changed to \a value. Emitted when a person picks an item
     * (with that item's level, even when it was current already) and by
     * setValue() when the current level differs afterwards. rebuild(), the
     * bounds, setUid() and setValuePrivate() emit nothing.
     */
    void valueChanged(mac_lev_t value);

private Q_SLOTS:
    // Its name answers the inherited signal it is connected to; hosts know
    // the slot by this name.
    void activated(int index); // clazy:exclude=overridden-signal

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
