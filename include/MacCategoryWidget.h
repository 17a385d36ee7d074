// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACCATEGORYWIDGET_H
#define VARNELQT5_MACCATEGORYWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace VarnelQt5 {

class MacCategoryListWidget;
class PopupWidget;

/**
 * A one-line category editor: the current set as text, and a "..." button
 * that pops up a category checklist with a "Done" button.
 *
 * Value, bounds and signal are those of the MacCategoryListWidget inside the
 * popup; the text shows the names the label library gives the set, ending
 * in an ellipsis where they do not fit, with the whole list in the text's
 * tool tip. After each setter the button is enabled only while the
 * checklist has rows. While the popup is open, assistive tools find it as
 * the editor's last child.
 *
 * \pic_maccategorywidget
 *
 * \code
 * auto *categories = new VarnelQt5::MacCategoryWidget(this);
 * categories->setUid(uid);
 * categories->setValue(fileCategories);
 * connect(categories, &VarnelQt5::MacCategoryWidget::valueChanged,
 *         this, &Editor::categoriesChosen);
 * \endcode
 */
class VARNELMAC_EXPORT MacCategoryWidget : public QWidget
{
    Q_OBJECT

public:
    /** An editor with an empty checklist; set a user or bounds to fill it. */
    explicit MacCategoryWidget(QWidget *parent = nullptr);
    ~MacCategoryWidget() override;

    /** The checklist's set: every checked category. */
    mac_cat_t value();

public Q_SLOTS:
    /** As MacCategoryListWidget::setUid(); the text follows. */
    void setUid(uid_t uid);
    /** As MacCategoryListWidget::setMinimumValue(); the text follows. */
    void setMinimumValue(mac_cat_t value);
    /** As MacCategoryListWidget::setMaximumValue(); the text follows. */
    void setMaximumValue(mac_cat_t value);
    /**
     * As MacCategoryListWidget::setValue(); the text shows \a value, also
     * when the checklist refused it, or the set the checklist took when it
     * kept categories it forces.
     */
    void setValue(mac_cat_t value);

Q_SIGNALS:
    /**
     * The checklist's set is now \a value: passed on from
     * MacCategoryListWidget::valueChanged(), so emitted when a person checks
     * or unchecks a category in the popup, by setValue(), and by the setters
     * when the checklist restores a non-empty set.
     */
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
