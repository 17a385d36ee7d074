// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "VarnelWidgetPlugin.h"

#include <QIcon>

VarnelWidgetPlugin::VarnelWidgetPlugin(const VarnelWidgetDescription &description, QObject *parent)
    : QObject(parent)
    , description(description)
    , initialized(false)
{
}

QString VarnelWidgetPlugin::name() const
{
    return QLatin1String(description.className);
}

QString VarnelWidgetPlugin::group() const
{
    return QStringLiteral("Varnel MAC Labels");
}

QString VarnelWidgetPlugin::toolTip() const
{
    return QLatin1String(description.toolTip);
}

QString VarnelWidgetPlugin::whatsThis() const
{
    return QLatin1String(description.whatsThis);
}

QString VarnelWidgetPlugin::includeFile() const
{
    return QLatin1String(description.includeFile);
}

QIcon VarnelWidgetPlugin::icon() const
{
    return QIcon(QStringLiteral(":/varnelmacqt5widgets/") + QLatin1String(description.iconName));
}

bool VarnelWidgetPlugin::isContainer() const
{
    return false;
}

QWidget *VarnelWidgetPlugin::createWidget(QWidget *parent)
{
    return description.create(parent);
}

bool VarnelWidgetPlugin::isInitialized() const
{
    return initialized;
}

void VarnelWidgetPlugin::initialize(QDesignerFormEditorInterface *)
{
    initialized = true;
}

QString VarnelWidgetPlugin::domXml() const
{
    const QString className = name();
    // The object name of a new widget: the class name without its namespace,
    // first letter in lower case, as Designer names its own widgets.
    QString objectName = className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
    objectName[0] = objectName[0].toLower();
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(className, objectName)
        .arg(description.width)
        .arg(description.height);
}
