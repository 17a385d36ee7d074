// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_LOGINMACLABELWIDGET_H
#define VARNELQT5_LOGINMACLABELWIDGET_H

#include "VarnelMacTypes.h"
#include "varnelmacqt5_export.h"

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
 * change are shown as text. The user's last level and categories are
 * restored and can be saved again. In strict mode the integrity level is
 * hidden and the label text carries integrity level 0.
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
class VARNELMACQT5_EXPORT LoginMacLabelWidget : public QWidget
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
     * user's last choice; (uid_t)-1 is the calling user, whose levels then
     * start at the process's own. A picker with nothing to choose gives way
     * to a text of its value.
     */
    void setUid(uid_t uid);
    /** Gives the level picker the user \a uid; false when its sources cannot be read. */
    bool levelComboBoxSetUid(uid_t uid);
    /** Gives the integrity picker the user \a uid; false when its sources cannot be read. */
    bool integrityComboBoxSetUid(uid_t uid);
    /** Gives the category list the user \a uid; false when its sources cannot be read. */
    bool categoryListWidgetSetUid(uid_t uid);
    /**
     * Not editable: disables the pickers and role trees and shows the calling
     * process's own label, integrity level included. Editable again: enables
     * them and restores the user's last choice.
     */
    void setEditable(bool editable);
    /** Shows or hides the integrity picker and its caption. */
    void setIntegrityLevelVisible(bool visible);
    /**
     * Selects the integrity level a new login starts with: the picker's
     * minimum, or its maximum for a user who can only log in at level 0
     * without categories.
     */
    void setMaxIntegrityLevel();
    /**
     * Applies the user's last level and categories; false when none is
     * stored or the user is unknown.
     */
    bool loadLastChoice();
    /** Stores the chosen level and categories as the user's last choice; false when that fails. */
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
