// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACCATEGORYCOMBOBOX_H
#define VARNELQT5_MACCATEGORYCOMBOBOX_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QComboBox>

namespace VarnelQt5 {

/**
 * A combo box from which a person picks exactly one category.
 *
 * The entries are the categories of the platform's category database whose
 * masks lie between the bounds, compared as numbers; once a user is set, the
 * user's category range replaces the caller's bounds: then a category is
 * offered when its mask lies within the user's maximum categories as a set
 * (a user without a record is offered only a category of mask 0). Each entry
 * shows the
 * category's name; its data (Qt::UserRole) is the category's mask. The list
 * is filled on construction and again by every setter of a bound or user.
 * With one entry or none it says why in its tool tip (and, to assistive
 * tools, in its accessible description).
 *
 * \pic_maccategorycombobox
 *
 * \code
 * auto *category = new VarnelQt5::MacCategoryComboBox(this);
 * category->setUid(uid);
 * category->setValue(mac_cat_t(1) << 2); // category 2, or the first entry
 * connect(category, &VarnelQt5::MacCategoryComboBox::valueChanged,
 *         this, &Editor::categoryChosen);
 * \endcode
 */
class VARNELMAC_EXPORT MacCategoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    /** A combo box filled with every category. */
    explicit MacCategoryComboBox(QWidget *parent = nullptr);
    ~MacCategoryComboBox() override;

    /**
     * Refills the entries from the category database within the bounds (the
     * user's range once a user is set), keeping the current category where
     * it is still offered (else the first entry is current). Emits nothing.
     */
    void rebuild();
    /** The mask of the current entry; 0 when there is none. */
    mac_cat_t value();

public Q_SLOTS:
    /** Offers the categories of the range of the user \a uid, and refills the entries. */
    void setUid(uid_t uid);
    /** Offers no mask below \a value (until a user is set), and refills the entries. */
    void setMinimumValue(mac_cat_t value);
    /** Offers no mask above \a value (until a user is set), and refills the entries. */
    void setMaximumValue(mac_cat_t value);
    /** Selects the entry of \a value, or the first entry; emits nothing. */
    void setValue(mac_cat_t value);

Q_SIGNALS:
    /**
     * A person picked the entry of the category \a value. Only a person's
     * pick emits it; setValue(), rebuild() and the setters do not.
     */
    void valueChanged(mac_cat_t value);

private Q_SLOTS:
    // Its name answers the inherited signal it is connected to; hosts know
    // the slot by this name.
    void activated(int index); // clazy:exclude=overridden-signal

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
