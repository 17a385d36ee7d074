// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "SpecialAttributesProxyListModel_p.h"

#include "FileLabelRules_p.h"
#include "SpecialAttributesListModel.h"

using VarnelQt5::SpecialAttributesListModel;
namespace FileLabelRules = VarnelQt5::FileLabelRules;

SpecialAttributesProxyListModel::SpecialAttributesProxyListModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

bool SpecialAttributesProxyListModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *source = qobject_cast<const SpecialAttributesListModel *>(sourceModel());
    if (!source)
        return true;

    const int attribute = source->attributeForRow(sourceRow);
    if (attribute < 0 || attribute == SpecialAttributesListModel::OtherAttributes)
        return true;
    const auto named = SpecialAttributesListModel::Attributes(attribute);
    return !FileLabelRules::hiddenUnlessHeld(named) || source->checkState(named) == Qt::Checked;
}
