// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LoginParent_p.h"

#include "ILevelComboBox.h"
#include "LockReasons_p.h"
#include "LoginMacLabelWidget.h"
#include "LoginReasons_p.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"

namespace VarnelQt5 {

namespace {

QString readOnlyLogin()
{
    return LoginMacLabelWidget::tr("This is the label of the running program; it cannot be changed here");
}

class LoginSpeaker : public LockReasons::Speaker
{
public:
    explicit LoginSpeaker(LoginMacLabelWidget *login)
        : Speaker(login)
    {
    }

    QString ownReason() const override
    {
        // Asked anew each time, so that a widget being destroyed is none.
        const auto *login = qobject_cast<const LoginMacLabelWidget *>(parent());
        if (!login)
            return QString();
        if (!login->editable())
            return readOnlyLogin();
        for (const char *name : {"_levelComboBox", "_integrityComboBox", "_categoryListWidget"}) {
            const auto *picker = login->findChild<QWidget *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
            if (picker && picker->isHidden()) {
                const QString why = LockReasons::reason(picker);
                if (!why.isEmpty())
                    return why;
            }
        }
        return QString();
    }

    QString reasonFor(const QWidget *picker) const override
    {
        const bool locked = qobject_cast<const MacLevelComboBox *>(picker)
            || qobject_cast<const ILevelComboBox *>(picker) || qobject_cast<const MacCategoryListWidget *>(picker);
        return locked && insideReadOnlyLoginWidget(picker) ? readOnlyLogin() : QString();
    }
};

} // namespace

bool insideReadOnlyLoginWidget(const QObject *picker)
{
    const auto *login = qobject_cast<const LoginMacLabelWidget *>(picker->parent());
    return login && !login->editable();
}

void speakForPickers(LoginMacLabelWidget *login)
{
    new LoginSpeaker(login);
}

} // namespace VarnelQt5
