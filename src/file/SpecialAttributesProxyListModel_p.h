// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_SPECIALATTRIBUTESPROXYLISTMODEL_P_H
#define VARNEL_SPECIALATTRIBUTESPROXYLISTMODEL_P_H

#include <QSortFilterProxyModel>

// Hides the special attributes a person is not to be offered: the
// deprecated "ccnri" unless the directory has it, and "irelax" outside strict
// mode unless the directory has it. Does not sort.
class SpecialAttributesProxyListModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit SpecialAttributesProxyListModel(QObject *parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    Q_DISABLE_COPY(SpecialAttributesProxyListModel)
};

#endif
