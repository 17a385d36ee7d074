// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACCATEGORYLISTWIDGET_H
#define VARNELQT5_MACCATEGORYLISTWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QListWidget>

namespace VarnelQt5 {

/**
 * A checklist of the MAC categories a user may use, within optional
 * caller-given bounds.
 *
 * Each row is a category of the platform's category database, shown as its
 * number and name ("3:Finance"), in ascending order of its mask; the row's
 * data (Qt::UserRole) is the mask. The value is the set of all checked rows.
 * Categories the bounds force on (the user's minimum, or the caller's
 * minimum) are checked and cannot be unchecked. setMinimumValue() drops the
 * user's range until the next setUid(). The list stays empty until a setter
 * or rebuild() runs.
 *
 * Typing finds the next row whose name or number starts with the typed text
 * ("Treas" and "13" both find "13:Treasury"). A locked row, a row the policy
 * does not name, and an empty list say why in their tool tips and accessible
 * descriptions. A MacCategoryFilterEdit above the list narrows it to the
 * names typed. Every change of a row's check state is announced to
 * assistive tools as a state change of that row; a locked row is reported
 * disabled, and rows of a hidden list as not showing.
 *
 * The list asks for the width of its widest row, up to three quarters of the
 * screen's available width, and never scrolls sideways: a row it cannot show
 * whole ends in an ellipsis, with the whole text in its tool tip.
 *
 * \pic_maccategorylistwidget
 *
 * \code
 * auto *categories = new VarnelQt5::MacCategoryListWidget(uid, this);
 * categories->setValue(lastCategories); // false, and no change, outside the user's range
 * connect(categories, &VarnelQt5::MacCategoryListWidget::valueChanged,
 *         this, &Editor::categoriesChosen);
 * \endcode
 */
class VARNELMAC_EXPORT MacCategoryListWidget : public QListWidget
{
    Q_OBJECT

public:
    /** An empty checklist without a user or bounds. */
    explicit MacCategoryListWidget(QWidget *parent = nullptr);
    /** A checklist filled with the categories of the user \a uid (see setUid()). */
    explicit MacCategoryListWidget(uid_t uid, QWidget *parent = nullptr);
    ~MacCategoryListWidget() override;

    /**
     * Refills the list from the category database within the bounds and
     * restores the earlier set as far as the bounds allow, checking again the
     * very rows that were checked; false when the sources cannot be read or
     * MAC is off. Restoring a non-empty set emits valueChanged() when it
     * changes the set the refill left. When the user's range cannot be read
     * (or MAC is off), nothing of an earlier range remains: until a rebuild
     * reads one, setValue() takes only the empty set.
     */
    bool rebuild();

    /** The set of all checked rows. */
    mac_cat_t value();
    /** The caller's minimum set (0 when never set). */
    mac_cat_t minimumValue();
    /** The caller's maximum set (all categories when never set). */
    mac_cat_t maximumValue();
    /** Whether the last rebuild() finished (MAC being off counts as finished). */
    bool isValid();
    /** Whether the last rebuild() left a category that a person can check or uncheck. */
    bool isSuitable();
    /** Whether the list has been filled at least once (by rebuild() or a setter). */
    bool isRebuilt() const;
    /** Whether the list has any row, locked or not. */
    bool hasAvailableCategories();

    /** \a v, or the full set for the empty set. */
    mac_cat_t nullToMax(mac_cat_t v);
    /** The mask of \a item; 0 for no item. */
    mac_cat_t cat4Item(const QListWidgetItem *item);
    /** The mask of the row \a row; 0 for no such row. */
    mac_cat_t cat4Item(int row);
    /** The row before which the mask \a m keeps the list ascending. */
    int position(mac_cat_t m);

public Q_SLOTS:
    /**
     * Bounds the list by the category range of the user \a uid (without a
     * record for the user: the process's own categories) and refills it;
     * see rebuild() for the result.
     */
    bool setUid(uid_t uid);
    /**
     * Forces the categories of \a value on (widening the maximum to hold
     * them), drops the user's range, and refills the list.
     */
    bool setMinimumValue(mac_cat_t value);
    /**
     * Offers no category outside \a value (narrowing the minimum to it), and
     * refills the list.
     */
    bool setMaximumValue(mac_cat_t value);
    /**
     * Checks exactly the rows whose categories lie in \a value; a category of
     * \a value without a row of its own gets one, named "Unknown", whose tool
     * tip says whether the policy names it (outside the list's bounds) or
     * not. Returns false, with nothing changed, when \a value leaves the
     * user's range. While the user's range bounds the list, the rows it shows
     * as forced stay checked, whatever \a value holds. Returns whether the
     * set is now \a value; emits valueChanged() when the set changed.
     */
    bool setValue(mac_cat_t value);

Q_SIGNALS:
    /**
     * The checked set is now \a value. Emitted when a person's check or
     * uncheck of a row changes the set, by setValue() when the set changed,
     * and by rebuild() and the setters that call it when restoring a
     * non-empty set changes the set the refill left.
     */
    void valueChanged(mac_cat_t value);

private Q_SLOTS:
    // Its name answers the inherited signal it is connected to; hosts know
    // the slot by this name.
    void itemChanged(QListWidgetItem *item); // clazy:exclude=overridden-signal

private:
    Q_DISABLE_COPY(MacCategoryListWidget)

    mac_cat_t minimum;
    mac_cat_t maximum;
    bool useUserRange;
    uid_t uid;
    mac_cat_t userMinimum;
    mac_cat_t userMaximum;
    bool valid;
    bool suitable;
    bool rebuilt;
};

} // namespace VarnelQt5

#endif
