// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "MacLabelPropertiesPlugin.h"

#include "MacLabelPage.h"

#include <KFileItem>
#include <KPageWidgetItem>
#include <KPluginFactory>

#include <QUrl>

namespace {

// The local path of the one item the dialog shows, empty when it shows
// several or one that is not a local file or folder.
QString localPathOf(const KPropertiesDialog *dialog)
{
    if (!dialog)
        return QString();
    const KFileItemList items = dialog->items();
    if (items.count() != 1 || !items.first().url().isLocalFile())
        return QString();
    return items.first().url().toLocalFile();
}

} // namespace

MacLabelPropertiesPlugin::MacLabelPropertiesPlugin(QObject *parent, const QVariantList &arguments)
    : KPropertiesDialogPlugin(qobject_cast<KPropertiesDialog *>(parent))
{
    Q_UNUSED(arguments)
    const QString path = localPathOf(properties);
    if (path.isEmpty())
        return;
    page = new MacLabelPage;
    page->load(path);
    pageItem = properties->addPage(page, tr("Security label"));
    pageItem->setObjectName(QStringLiteral("_macLabelPageItem"));
    connect(page, &MacLabelPage::edited, this, &KPropertiesDialogPlugin::changed);
}

MacLabelPropertiesPlugin::~MacLabelPropertiesPlugin() = default;

void MacLabelPropertiesPlugin::applyChanges()
{
    if (!page || !page->isLoaded())
        return;
    // The dialog's own page may have renamed the object before this one
    // applies: the dialog's URL follows it.
    // Written once: a dialog whose OK was refused before may apply its
    // pages more than once on the next.
    if (page->write(properties->url().toLocalFile())) {
        setDirty(false);
        return;
    }
    // The page says why; the dialog stays open on it, and the other pages'
    // changes, applied before, stay applied.
    properties->setCurrentPage(pageItem);
    properties->abortApplying();
}

K_PLUGIN_CLASS_WITH_JSON(MacLabelPropertiesPlugin, "varnel-mac-label-page.json")

#include "MacLabelPropertiesPlugin.moc"
