// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELQT5_LOGINMACLABELDIALOG_H
#define VARNELQT5_LOGINMACLABELDIALOG_H

#include "VarnelMacTypes.h"
#include "varnelmac_export.h"

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLabel;

namespace VarnelQt5 {

class LoginMacLabelWidget;

/**
 * Asks a user for the label of a login.
 *
 * The dialog, titled "MAC label selection", shows a heading with the user's
 * name over a LoginMacLabelWidget, in the plain form (an OK button) or the
 * themed one ("Enter" and Cancel). While the dialog is editable, OK refuses
 * a non-zero integrity level together with a non-zero level or categories
 * (outside strict mode) with a message box, judging the label the widget
 * builds (which carries integrity level 0 when strict mode was on as the
 * library loaded); with MAC switched on it also refuses, saying why, a
 * login for which no level lies within the user's range. Otherwise it
 * accepts; an accepted choice is saved as the user's last one. While the
 * chosen label breaks the integrity rule, a line under the pickers says so
 * beforehand, in the names the pickers show, with what would be allowed
 * instead. The dialog opens with the focus on the first picker the person
 * can change. Showing the process's own
 * label (setEditable(false)), OK accepts at once and saves nothing. Escape is
 * ignored: a login ends with a choice. The heading and the widget's hints
 * wrap, so the dialog is never wider than the screen's available area.
 *
 * It adds no signal of its own: QDialog::accepted() is emitted when OK
 * passes the check, QDialog::rejected() when a person presses Cancel.
 *
 * \pic_loginmaclabeldialog
 * \pic_loginmaclabeldialog_themed
 *
 * \code
 * VarnelQt5::LoginMacLabelDialog dialog(uid, true, nullptr);
 * if (dialog.exec() == QDialog::Accepted) {
 *     char *text = dialog.malloc_mac_label_text();
 *     startSession(uid, text);
 *     free(text);
 * }
 * \endcode
 */
class VARNELMAC_EXPORT LoginMacLabelDialog : public QDialog
{
    Q_OBJECT

public:
    /**
     * The plain form for the user called \a name. A name without a user
     * remembers no choice and, where the policy has no line for every user,
     * gets level 0 and no category alone.
     */
    LoginMacLabelDialog(char *name, QWidget *parent);
    /** The plain form for the user \a uid; for (uid_t)-1 the heading names the calling user. */
    LoginMacLabelDialog(uid_t uid, QWidget *parent);
    /**
     * The form chosen by \a themed for the user \a uid (for (uid_t)-1 the
     * heading names the calling user), always a top-level window: the last
     * argument is not used.
     */
    LoginMacLabelDialog(uid_t uid, bool themed, QWidget *);
    ~LoginMacLabelDialog() override;

    /** Builds the dialog's contents for the user \a uid; the constructors call it, and a second call changes nothing. */
    void initialize(uid_t uid, bool themed);

    /** The chosen confidentiality level. */
    mac_lev_t level();
    /** The chosen set of categories. */
    mac_cat_t categories();
    /** The chosen label as the label library's text, to be released with free(); null on failure. */
    char *malloc_mac_label_text();
    /** As LoginMacLabelWidget::isValid(). */
    bool isValid();
    /** As LoginMacLabelWidget::isSuitable(). */
    bool isSuitable();
    /** As LoginMacLabelWidget::isVariability(). */
    bool isVariability();
    /** Whether the dialog lets a person choose (see setEditable()). */
    bool editable() const;
    /**
     * Switches between choosing a label ("MAC label selection") and showing
     * the process's own ("MAC label information"). Every switch to choosing
     * starts again from the default integrity level, worked out on the
     * lists rebuilt for the user (see LoginMacLabelWidget::setEditable()).
     */
    void setEditable(bool editable);

protected Q_SLOTS:
    /** Saves the widget's choice as the user's last one while the dialog is editable; runs on QDialog::accepted(). */
    void saveChoice() const;
    /** OK: accepts, or shows why the combination of levels is refused. */
    void onButtonBoxAccepted();

protected:
    /** Ignores Escape; hands every other key on to QDialog. */
    void keyPressEvent(QKeyEvent *event) override;

private:
    Q_DISABLE_COPY(LoginMacLabelDialog)

    LoginMacLabelWidget *widget;
    QString userName;
    QLabel *heading;
};

} // namespace VarnelQt5

#endif
