// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELWIDGETPLUGIN_H
#define VARNELWIDGETPLUGIN_H

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// What Qt Designer needs to know about one of the library's widgets.
struct VarnelWidgetDescription
{
    // The class name with its namespace; Designer and uic write it as given.
    const char *className;
    // The name of the installed header, as programs include it.
    const char *includeFile;
    // The file name of the icon in the plugin's resources.
    const char *iconName;
    const char *toolTip;
    const char *whatsThis;
    int width;
    int height;
    QWidget *(*create)(QWidget *parent);
};

// Offers one widget of the library in Designer's widget box.
class VarnelWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    VarnelWidgetPlugin(const VarnelWidgetDescription &description, QObject *parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    QString domXml() const override;

private:
    Q_DISABLE_COPY(VarnelWidgetPlugin)

    const VarnelWidgetDescription &description;
    bool initialized;
};

#endif
