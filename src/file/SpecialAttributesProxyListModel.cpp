// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "SpecialAttributesProxyListModel_p.h"

#include "SpecialAttributesListModel.h"
#include "labelpolicy.h"

using VarnelQt5::SpecialAttributesListModel;

SpecialAttributesProxyListModel::SpecialAttributesProxyListModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

bool SpecialAttributesProxyListModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *source = qobject_cast<const SpecialAttributesListModel *>(sourceModel());
    if (!source)
        return true;

    switch (source->attributeForRow(sourceRow)) {
    case SpecialAttributesListModel::Ccnri:
        return source->checkState(SpecialAttributesListModel::Ccnri) == Qt::Checked;
    case SpecialAttributesListModel::Irelax:
        // The strict mode can be switched while the view is open.
        return source->checkState(SpecialAttributesListModel::Irelax) == Qt::Checked
            || varnel_strict_mode() != 0;
    default:
        return true;
    }
}
