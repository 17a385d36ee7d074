// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_ILEVELCOMBOBOX_H
#define VARNELQT5_ILEVELCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QComboBox>

namespace VarnelQt5 {

/**
 * A combo box of the integrity levels a user may use: level 0 and the
 * system's maximum integrity level, within the user's integrity record and
 * optional caller-given bounds.
 *
 * Each item is named by the integrity library; its data (Qt::UserRole) is
 * its level. A rebuild selects the process's own integrity level where it is
 * offered (inside a read-only login widget, the user's highest level). The
 * picker is enabled only while it offers more than one level, and disabled
 * while no maximum integrity level is known; then it says why in its tool
 * tip (and, to assistive tools, in its accessible description).
 *
 * \pic_ilevelcombobox
 *
 * \code
 * auto *integrity = new VarnelQt5::ILevelComboBox(uid, this);
 * if (!integrity->isVariability())
 *     integrity->hide();          // nothing to choose for this user
 * connect(integrity, &VarnelQt5::ILevelComboBox::valueChanged,
 *         this, &Editor::integrityChosen);
 * \endcode
 */
class VARNELMAC_EXPORT ILevelComboBox : public QComboBox
{
    Q_OBJECT

public:
    /** An empty picker without a user or bounds; it learns the system's maximum level. */
    explicit ILevelComboBox(QWidget *parent = nullptr);
    /** A picker filled with the levels of the user \a uid (see setUid()). */
    ILevelComboBox(uid_t uid, QWidget *parent);
    ~ILevelComboBox() override;

    /** The level of the current item; 0 when the list is empty. */
    TAV_ILEV_T value() const;
    /** The stored caller minimum (0 when never set). */
    TAV_ILEV_T minimumValue() const;
    /** The caller's maximum when one was set, else the system's maximum. */
    TAV_ILEV_T maximumValue() const;
    /** Whether the list offers at least one level. */
    bool isSuitable() const;
    /** Whether the list has been filled at least once (by rebuild() or a setter). */
    bool isRebuilt() const;
    /** Whether a person can actually change the level here: enabled, not hidden, more than one level. */
    bool isVariability() const;

    /**
     * Refills the list within the user's integrity record and the caller's
     * bounds. Returns false when the sources cannot be read or no maximum
     * integrity level is known (then the picker is disabled). Emits nothing.
     */
    bool rebuild();
    /**
     * Selects \a value, inserting it first (named by the integrity library)
     * when \a force is set and the list lacks it. Returns false when the
     * level is missing and not forced. An empty list stays empty, even when
     * forced, and the result is true. Emits nothing.
     */
    bool setValuePrivate(TAV_ILEV_T value, bool force);

public Q_SLOTS:
    /**
     * Bounds the list by the integrity record of the user \a uid and refills
     * it; see rebuild() for the result.
     */
    bool setUid(uid_t uid);
    /** Offers no level below \a value from now on, and refills the list. */
    bool setMinimumValue(TAV_ILEV_T value);
    /** Offers no level above \a value from now on, and refills the list. */
    bool setMaximumValue(TAV_ILEV_T value);
    /**
     * Selects \a value, inserting it first when \a force is set and the list
     * lacks it; emits valueChanged() when the current level changes. Returns
     * true when \a value is current afterwards.
     */
    bool setValue(TAV_ILEV_T value, bool force = false);

Q_SIGNALS:
    /**
     * The integrity level changed to \a value. Emitted when a person picks an
     * item (with that item's level, even when it was current already) and by
     * setValue() when the current level differs afterwards. rebuild(), the
     * bounds, setUid() and setValuePrivate() emit nothing.
     */
    void valueChanged(TAV_ILEV_T value);

private Q_SLOTS:
    // Its name answers the inherited signal it is connected to; hosts know
    // the slot by this name.
    void activated(int index); // clazy:exclude=overridden-signal

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
