// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_LOGINMACLABELWIDGET_H
#define VARNELQT5_LOGINMACLABELWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QVBoxLayout;

namespace VarnelQt5 {

class MacFileModel;

namespace Ui {
class LoginMacLabelWidget;
class NewLoginMacLabelWidget;
} // namespace Ui

/**
 * Lets a user choose the label of a login: level, integrity level,
 * categories and the "User" and "Administrative" roles, each bounded by what
 * the user may use.
 *
 * The widget builds one of two forms: the plain one, with its buttons in a
 * column, or the themed one, with its buttons in a row. Its pickers are a
 * MacLevelComboBox ("_levelComboBox"), an ILevelComboBox
 * ("_integrityComboBox") and a MacCategoryListWidget ("_categoryListWidget");
 * the roles are two check-box trees of "/etc/X11/" and "/etc/init.d/"
 * (MacFileModel), hidden until setVisibleRoles(). Parts the user cannot
 * change are shown as text: the names as the policy gives them, never as
 * markup, wrapped when long. The user's last level and categories are
 * restored and can be saved again. In strict mode the integrity level is
 * hidden and the label text carries integrity level 0.
 *
 * Whatever the sequence of setUid(), setEditable() and loadLastChoice(),
 * the pickers offer only the current user's range while the widget is
 * editable, and level(), integrity(), categories() and the label text are
 * what the visible rows show: a row hidden because its picker could not be
 * built (a database that cannot be read, MAC switched off) contributes
 * nothing and takes no last choice, and a hidden integrity row gives 0
 * outside strict mode. After setUid() the widget is what a new widget for
 * that user shows, rows, captions and hints included. Level and integrity
 * pickers stop growing at a third of the screen's width; a name they cut is
 * shown whole in its tool tip.
 *
 * The widget has no signal of its own; a host that follows the choice as it
 * changes connects to its pickers' \c valueChanged signals, found by their
 * object names.
 *
 * \pic_loginmaclabelwidget
 *
 * \code
 * auto *login = new VarnelQt5::LoginMacLabelWidget(uid, this, false);
 * login->setVisibleRoles(true);
 * // ... once the person has chosen:
 * login->saveChoice();
 * const QStringList command = login->getVexorCommand();
 * \endcode
 */
class VARNELMAC_EXPORT LoginMacLabelWidget : public QWidget
{
    Q_OBJECT

public:
    /**
     * The plain form for the user running the program, as a form drawn in Qt
     * Designer creates it; setUid() chooses another user.
     */
    explicit LoginMacLabelWidget(QWidget *parent = nullptr);
    /** The plain form for the user \a uid (see setUid()); the last argument is not used. */
    LoginMacLabelWidget(uid_t uid, QWidget *parent, bool);
    /**
     * The themed form when \a themed is set, else the plain one, for the user
     * \a uid (see setUid()); the second argument is not used.
     */
    LoginMacLabelWidget(uid_t uid, bool, bool themed, QWidget *parent);
    ~LoginMacLabelWidget() override;

    /** The chosen confidentiality level. */
    mac_lev_t level() const;
    /** The chosen integrity level. */
    TAV_ILEV_T integrity() const;
    /** The chosen set of categories. */
    mac_cat_t categories() const;
    /** Whether the integrity picker is visible (as QWidget::isVisible(): false while this widget is hidden). */
    bool isIntegrityLevelVisible() const;
    /** Whether the category list was read (or MAC is off). */
    bool isValid();
    /** Whether there is a level or a category to choose. */
    bool isSuitable();
    /** Whether a person can change anything at all. */
    bool isVariability();
    /** Whether the widget lets a person choose (see setEditable()). */
    bool editable() const;
    /** Whether the widget was built with the themed form. */
    bool themed() const;
    /** The empty button column of the plain form; null in the themed form. */
    QVBoxLayout *buttonLayout();
    /** The empty button row of the themed form; null in the plain form. */
    QHBoxLayout *newButtonLayout();

    /**
     * The chosen label as the label library's text, to be released with
     * free(); null when the label library gives no label.
     */
    char *malloc_mac_label_text();
    /**
     * The fields of the label text of the chosen level and categories, with
     * the integrity level's name inserted as the second entry, followed by
     * the inode numbers of the checked user roles and of the checked
     * administrative roles, each joined by ","; empty when the label library
     * gives no label.
     */
    QStringList getVexorArguments() const;
    /**
     * The vexor command for the chosen level and categories:
     * "vexor", "-x", "--level=LEVEL", "--category=0xCATEGORIES"; empty when
     * the arguments lack the label text's level or category field.
     */
    QStringList getVexorCommand() const;

    /**
     * Bounds every picker by the ranges of the user \a uid and restores the
     * user's last choice. A user without a valid last choice gets what a new
     * widget for that user shows: nothing of the previous user's choice
     * carries over. (uid_t)-1 is the calling user, whose levels then start
     * at the process's own; any other uid lifts that bound again.
     * (uid_t)-2 stands for a name nobody has (LoginMacLabelDialog gives it
     * for such a name): it loads and saves no choice and, without a record
     * of its own or a line for every user, gets level 0 and no category,
     * never the process's own. A picker with nothing to choose gives way to
     * a text of its value; where the user's range names no level at all,
     * that text says so instead of naming a level.
     *
     * While the widget is not editable the pickers are rebuilt for \a uid
     * but no last choice is loaded: they show the process's own label
     * again, all disabled (see setEditable()).
     */
    void setUid(uid_t uid);
    /** Gives the level picker the user \a uid; false when its sources cannot be read. */
    bool levelComboBoxSetUid(uid_t uid);
    /** Gives the integrity picker the user \a uid; false when its sources cannot be read. */
    bool integrityComboBoxSetUid(uid_t uid);
    /** Gives the category list the user \a uid; false when its sources cannot be read. */
    bool categoryListWidgetSetUid(uid_t uid);
    /**
     * Not editable: rebuilds the pickers for the user, disables them and the
     * role trees and shows exactly the calling process's own label, integrity
     * level included, in both forms and even where it lies outside the
     * user's range: the level and integrity pickers add the process's value
     * when their lists lack it, and the category list gives way to one line
     * naming the process's categories, elided to its width, with the whole
     * list in its tool tip and accessible name. Without the process's label
     * nothing is selected. The integrity picker is shown even in strict
     * mode; isVariability() is false and setMaxIntegrityLevel() changes
     * nothing.
     *
     * Editable again: rebuilds every picker for the user, so that only the
     * user's own range is offered (what information mode added is gone),
     * gives each picker the enabled state its rebuild gives it (a picker
     * with a single entry, or only locked categories, stays disabled),
     * enables the role trees and restores the user's last choice, else
     * what a new widget shows. In strict mode the integrity picker is
     * hidden again.
     */
    void setEditable(bool editable);
    /** Shows or hides the integrity picker and its caption. */
    void setIntegrityLevelVisible(bool visible);
    /**
     * Selects the integrity level a new login starts with: the picker's
     * minimum, or its maximum for a user who can only log in at level 0
     * without categories. Nothing while the widget is not editable.
     */
    void setMaxIntegrityLevel();
    /**
     * Applies the user's last level and categories, each only where the
     * user's range has it and never into a picker that could not be built;
     * false when none is stored, the user is unknown, the user's range or
     * the levels could not be read, or the widget is not editable (it then
     * shows the process's label).
     */
    bool loadLastChoice();
    /**
     * Stores the chosen level and categories as the user's last choice;
     * false when that fails, the user is unknown, the widget is not
     * editable (what it shows then is the process's label, not a choice),
     * no level lies within the user's range, or the level picker or the
     * category list could not be built (the stored choice is then kept).
     */
    bool saveChoice() const;

public Q_SLOTS:
    /** Shows or hides the box with the "User" and "Administrative" role trees. */
    void setVisibleRoles(bool visible);

private:
    Q_DISABLE_COPY(LoginMacLabelWidget)

    struct FormParts;
    FormParts formParts() const;

    Ui::LoginMacLabelWidget *ui;
    Ui::NewLoginMacLabelWidget *newUi;
    MacFileModel *userRoleModel;
    MacFileModel *adminRoleModel;
    uid_t uid;
    bool editableFlag;
    bool themedFlag;
};

} // namespace VarnelQt5

#endif
