// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "StandinPolicy.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPluginLoader>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <unistd.h>

namespace {

// The number of entries a picker offers, or that the first checklist inside
// a composite widget offers.
int entriesOf(const QWidget *widget)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->count();
    if (const auto *list = qobject_cast<const QListWidget *>(widget))
        return list->count();
    if (const auto *list = widget->findChild<const QListWidget *>())
        return list->count();
    return 0;
}

} // namespace

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void collection();
    void widget_data();
    void widget();
    void domXml_data();
    void domXml();

private:
    QDesignerCustomWidgetInterface *find(const QString &className) const;
    void addWidgetRows();

    QList<QDesignerCustomWidgetInterface *> m_widgets;
    long m_liveBefore = 0;
};

void tst_DesignerPlugin::initTestCase()
{
    QPluginLoader loader(QStringLiteral(VARNEL_DESIGNER_PLUGIN));
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    QCOMPARE(loader.metaData().value(QStringLiteral("IID")).toString(),
             QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    QVERIFY(collection);
    m_widgets = collection->customWidgets();
}

void tst_DesignerPlugin::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_DesignerPlugin::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

QDesignerCustomWidgetInterface *tst_DesignerPlugin::find(const QString &className) const
{
    for (QDesignerCustomWidgetInterface *widget : m_widgets) {
        if (widget->name() == className)
            return widget;
    }
    return nullptr;
}

void tst_DesignerPlugin::collection()
{
    QSet<QString> names;
    QSet<QString> groups;
    for (const QDesignerCustomWidgetInterface *widget : m_widgets) {
        names.insert(widget->name());
        groups.insert(widget->group());
    }
    QCOMPARE(names,
             (QSet<QString>{"VarnelQt5::MacLevelComboBox", "VarnelQt5::ILevelComboBox",
                            "VarnelQt5::MacCategoryListWidget", "VarnelQt5::MacCategoryComboBox",
                            "VarnelQt5::MacCategoryPushButton", "VarnelQt5::MacCategoryWidget",
                            "VarnelQt5::MacCategoryFilterEdit",
                            "VarnelQt5::MacTypeComboBox", "VarnelQt5::LoginMacLabelWidget",
                            "VarnelQt5::FileMacLabelWidget"}));
    QCOMPARE(m_widgets.size(), names.size());
    // One group of their own, apart from Designer's standard groups.
    QCOMPARE(groups.size(), 1);
    const QString group = *groups.cbegin();
    QVERIFY(!group.isEmpty());
    for (const char *standard : {"Layouts", "Spacers", "Buttons", "Item Views (Model-Based)",
                                 "Item Widgets (Item-Based)", "Containers", "Input Widgets",
                                 "Display Widgets"})
        QVERIFY2(group != QLatin1String(standard), qPrintable(group));
}

void tst_DesignerPlugin::addWidgetRows()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<int>("entries"); // -1: no entries of the user's to count

    // The calling user may use levels 1 and 2, categories C0 and C1 and
    // integrity level 0 only: a picker left without a user offers more.
    QTest::newRow("level") << "VarnelQt5::MacLevelComboBox" << QByteArray("QComboBox") << 2;
    QTest::newRow("integrity level") << "VarnelQt5::ILevelComboBox" << QByteArray("QComboBox") << 1;
    QTest::newRow("category checklist")
        << "VarnelQt5::MacCategoryListWidget" << QByteArray("QListWidget") << 2;
    QTest::newRow("single category")
        << "VarnelQt5::MacCategoryComboBox" << QByteArray("QComboBox") << 2;
    QTest::newRow("category button")
        << "VarnelQt5::MacCategoryPushButton" << QByteArray("QPushButton") << -1;
    QTest::newRow("category editor") << "VarnelQt5::MacCategoryWidget" << QByteArray("QWidget") << 2;
    QTest::newRow("category filter")
        << "VarnelQt5::MacCategoryFilterEdit" << QByteArray("QLineEdit") << -1;
    // No type is named in this policy; the entries are the label types.
    QTest::newRow("label type") << "VarnelQt5::MacTypeComboBox" << QByteArray("QComboBox") << 4;
    QTest::newRow("login label") << "VarnelQt5::LoginMacLabelWidget" << QByteArray("QWidget") << 2;
    QTest::newRow("file label") << "VarnelQt5::FileMacLabelWidget" << QByteArray("QWidget") << -1;
}

void tst_DesignerPlugin::widget_data()
{
    addWidgetRows();
}

void tst_DesignerPlugin::widget()
{
    QFETCH(QString, className);
    QFETCH(QByteArray, base);
    QFETCH(int, entries);

    StandinPolicy policy;
    const QByteArray uid = QByteArray::number(getuid());
    policy.write("mac-users", uid + ":1:0:2:0x3\n");
    policy.write("mic-users", uid + ":0\n");

    QDesignerCustomWidgetInterface *plugin = find(className);
    QVERIFY(plugin);
    // Designer includes the header by this name from the installed headers.
    const QString header = plugin->includeFile();
    QVERIFY2(QFile::exists(QStringLiteral(VARNEL_PUBLIC_HEADERS_DIR "/") + header), qPrintable(header));
    QCOMPARE(header, className.mid(className.lastIndexOf(QLatin1Char(':')) + 1) + QStringLiteral(".h"));
    QVERIFY(!plugin->icon().isNull());
    QVERIFY(!plugin->icon().availableSizes().isEmpty());
    QVERIFY(!plugin->toolTip().isEmpty() && !plugin->whatsThis().isEmpty());
    QVERIFY(!plugin->isContainer());

    QWidget parent;
    QWidget *widget = plugin->createWidget(&parent);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &parent);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(QByteArray(widget->metaObject()->superClass()->className()), base);
    if (entries >= 0)
        QCOMPARE(entriesOf(widget), entries);
}

void tst_DesignerPlugin::domXml_data()
{
    addWidgetRows();
}

void tst_DesignerPlugin::domXml()
{
    QFETCH(QString, className);

    QDesignerCustomWidgetInterface *plugin = find(className);
    QVERIFY(plugin);
    QXmlStreamReader xml(plugin->domXml());
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("ui"));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("widget"));
    QCOMPARE(xml.attributes().value(QLatin1String("class")), className);
    const QString objectName = xml.attributes().value(QLatin1String("name")).toString();
    QVERIFY(!objectName.isEmpty());
    QVERIFY2(objectName.at(0).isLower() && !objectName.contains(QLatin1Char(':')), qPrintable(objectName));

    int width = 0;
    int height = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("width"))
            width = xml.readElementText().toInt();
        else if (xml.isStartElement() && xml.name() == QLatin1String("height"))
            height = xml.readElementText().toInt();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(width > 0);
    QVERIFY(height > 0);
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
