// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_MACCATEGORYFILTEREDIT_H
#define VARNELQT5_MACCATEGORYFILTEREDIT_H

#include "varnelmac_export.h"

#include <QLineEdit>

#include <memory>

namespace VarnelQt5 {

class MacCategoryListWidget;
class MacCategoryFilterEditPrivate;

/**
 * A line edit that narrows a category checklist to the categories whose
 * name contains the typed text.
 *
 * Bound to one MacCategoryListWidget with setCategoryList(), it hides the
 * rows whose name does not contain the text, ignoring case and diacritics
 * ("tresor" finds "Trésor"); typing a category's number keeps that row too.
 * A checked row is never hidden and no check is lost: the filter only hides
 * and shows rows. New rows (a rebuild, another user) are filtered as they
 * come; a row checked while hidden comes back into view. Escape clears the
 * text, Down moves the focus into the list, and the clear button empties
 * it. An empty text, or destroying the filter, shows every row again.
 *
 * A list without a filter is not changed in any way.
 *
 * \pic_maccategoryfilteredit
 *
 * \code
 * auto *filter = new VarnelQt5::MacCategoryFilterEdit(this);
 * auto *categories = new VarnelQt5::MacCategoryListWidget(uid, this);
 * filter->setCategoryList(categories);
 * layout->addWidget(filter);
 * layout->addWidget(categories);
 * \endcode
 */
class VARNELMAC_EXPORT MacCategoryFilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    /** A filter bound to no list; its placeholder reads "Filter categories". */
    explicit MacCategoryFilterEdit(QWidget *parent = nullptr);
    /** Shows every row of its list again. */
    ~MacCategoryFilterEdit() override;

    /**
     * Filters \a list from now on (null: no list). The rows of a list bound
     * before are all shown again.
     */
    void setCategoryList(MacCategoryListWidget *list);
    /** The list this filter narrows; null when none is bound or it was destroyed. */
    MacCategoryListWidget *categoryList() const;

    /** Whether the row \a row of the list passes the current text. */
    bool accepts(int row) const;

protected:
    /** Escape clears the text; Down moves the focus into the list. */
    void keyPressEvent(QKeyEvent *event) override;

private:
    Q_DISABLE_COPY(MacCategoryFilterEdit)

    // The state lives apart so that the class keeps its size as it grows.
    std::unique_ptr<MacCategoryFilterEditPrivate> const d;
};

} // namespace VarnelQt5

#endif
