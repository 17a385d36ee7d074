// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_MACLABELPROPERTIESPLUGIN_H
#define VARNEL_MACLABELPROPERTIESPLUGIN_H

#include <KPropertiesDialog>

#include <QVariantList>

class KPageWidgetItem;
class MacLabelPage;

// Adds the "Security label" page to the Properties dialog of one local file
// or folder; several items, remote and other non-local ones get no page.
// OK writes the label when the page was edited; a write that fails keeps the
// dialog open on the page, which says why.
class MacLabelPropertiesPlugin : public KPropertiesDialogPlugin
{
    Q_OBJECT

public:
    MacLabelPropertiesPlugin(QObject *parent, const QVariantList &arguments);
    ~MacLabelPropertiesPlugin() override;

    void applyChanges() override;

private:
    Q_DISABLE_COPY(MacLabelPropertiesPlugin)

    MacLabelPage *page = nullptr;
    KPageWidgetItem *pageItem = nullptr;
};

#endif
