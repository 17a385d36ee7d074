// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Loads an installed Designer plugin as Designer does, finding the library
// only through the plugin itself, and creates every widget it offers.
// Usage: plugin-consumer PLUGIN_FILE

#include <QApplication>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    QPluginLoader loader(QString::fromLocal8Bit(argv[1]));
    if (!loader.load()) {
        std::fprintf(stderr, "FAILED: %s\n", qPrintable(loader.errorString()));
        return 1;
    }
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    if (!collection)
        return 1;
    int created = 0;
    const QList<QDesignerCustomWidgetInterface *> widgets = collection->customWidgets();
    for (QDesignerCustomWidgetInterface *plugin : widgets) {
        QWidget parent;
        const QWidget *widget = plugin->createWidget(&parent);
        if (widget && plugin->name() == QLatin1String(widget->metaObject()->className()))
            ++created;
        else
            std::fprintf(stderr, "FAILED: %s\n", qPrintable(plugin->name()));
    }
    std::printf("widgets created: %d of %d\n", created, int(widgets.size()));
    return created == 10 && widgets.size() == 10 ? 0 : 1;
}
