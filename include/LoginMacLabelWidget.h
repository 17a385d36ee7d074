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

// Lets a user choose the label of a login: level, integrity level,
// categories and the "User" and "Administrative" roles, each bounded by what
// the user may use. Parts the user cannot change are shown as text. The
// user's last level and categories are restored and can be saved again.
class VARNELMACQT5_EXPORT LoginMacLabelWidget : public QWidget
{
    Q_OBJECT

public:
    // The plain form; the last argument is not used.
    LoginMacLabelWidget(uid_t uid, QWidget *parent, bool);
    // The themed form when themed is set; the second argument is not used.
    LoginMacLabelWidget(uid_t uid, bool, bool themed, QWidget *parent);
    ~LoginMacLabelWidget() override;

    mac_lev_t level() const;
    TAV_ILEV_T integrity() const;
    mac_cat_t categories() const;
    bool isIntegrityLevelVisible() const;
    bool isValid();
    // Whether there is a level or a category to choose.
    bool isSuitable();
    // Whether a person can change anything at all.
    bool isVariability();
    bool editable() const;
    bool themed() const;
    // The empty button column of the plain form; null in the themed form.
    QVBoxLayout *buttonLayout();
    // The empty button row of the themed form; null in the plain form.
    QHBoxLayout *newButtonLayout();

    // The chosen label as the label library's text, to be released with
    // free(); null when the label library gives no label.
    char *malloc_mac_label_text();
    // Level, integrity text, categories and the ids of the checked user and
    // administrative roles; empty when the label library gives no label.
    QStringList getVexorArguments() const;
    // The vexor command for the chosen level and categories; empty when the
    // arguments lack the label text's level or category field.
    QStringList getVexorCommand() const;

    // Bounds every picker by the user's ranges and restores the user's last
    // choice; (uid_t)-1 is the calling user.
    void setUid(uid_t uid);
    bool levelComboBoxSetUid(uid_t uid);
    bool integrityComboBoxSetUid(uid_t uid);
    bool categoryListWidgetSetUid(uid_t uid);
    // Not editable: shows the calling process's own label, nothing to choose.
    void setEditable(bool editable);
    void setIntegrityLevelVisible(bool visible);
    // Selects the integrity level a new login starts with.
    void setMaxIntegrityLevel();
    bool loadLastChoice();
    bool saveChoice() const;

public Q_SLOTS:
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
