// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The two forms of the login label widget, each built on a bare widget.

#include "LoginMacLabelWidgetForm_p.h"
#include "NewLoginMacLabelWidgetForm_p.h"
#include "StandinPolicy.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <QTreeView>

#include <memory>

using namespace VarnelQt5;

namespace {

// Builds a form on a fresh bare widget.
std::unique_ptr<QWidget> build(bool themed)
{
    auto host = std::make_unique<QWidget>();
    if (themed) {
        Ui::NewLoginMacLabelWidget form;
        form.setupUi(host.get());
    } else {
        Ui::LoginMacLabelWidget form;
        form.setupUi(host.get());
    }
    return host;
}

// Where an item sits in the layout holding it: "grid r,c,rs,cs" or "box i".
QString placeOf(const QLayout *layout, int index)
{
    if (const auto *grid = qobject_cast<const QGridLayout *>(layout)) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return QStringLiteral("%1 grid %2,%3,%4,%5").arg(layout->objectName()).arg(row).arg(column)
            .arg(rowSpan).arg(columnSpan);
    }
    return QStringLiteral("%1 box %2").arg(layout->objectName()).arg(index);
}

// Finds the layout item of obj below layout, with its place.
QString findPlace(const QLayout *layout, const QObject *obj)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == obj || item->layout() == obj)
            return placeOf(layout, i);
        if (item->layout()) {
            const QString inner = findPlace(item->layout(), obj);
            if (!inner.isEmpty())
                return inner;
        }
    }
    return QString();
}

QString placeIn(const QWidget &host, const QObject *obj)
{
    if (auto *layout = qobject_cast<const QLayout *>(obj)) {
        if (layout->parentWidget() && layout->parentWidget()->layout() == layout)
            return QStringLiteral("installed");
    }
    QList<const QWidget *> widgets{&host};
    for (const QWidget *child : host.findChildren<QWidget *>())
        widgets.append(child);
    for (const QWidget *widget : qAsConst(widgets)) {
        if (widget->layout()) {
            const QString place = findPlace(widget->layout(), obj);
            if (!place.isEmpty())
                return place;
        }
    }
    return QStringLiteral("nowhere");
}

QString marginsOf(const QLayout *layout)
{
    const QMargins m = layout->contentsMargins();
    return QStringLiteral("%1 %2 %3 %4 spacing %5").arg(m.left()).arg(m.top()).arg(m.right())
        .arg(m.bottom()).arg(layout->spacing());
}

// A row of the expected objects: name, class, parent's object name, place.
struct Expected {
    const char *name;
    const char *className;
    const char *parent;
    const char *place;
};

const Expected plainObjects[] = {
    {"gridLayout_5", "QGridLayout", "LoginMacLabelWidget", "installed"},
    {"gridLayout_4", "QGridLayout", "gridLayout_5", "gridLayout_5 grid 0,0,1,1"},
    {"_levelLabelLabel", "QLabel", "LoginMacLabelWidget", "gridLayout_4 grid 0,0,1,1"},
    {"horizontalLayout", "QHBoxLayout", "gridLayout_4", "gridLayout_4 grid 0,1,1,1"},
    {"_levelHintLabel", "QLabel", "LoginMacLabelWidget", "horizontalLayout box 0"},
    {"_levelComboBox", "VarnelQt5::MacLevelComboBox", "LoginMacLabelWidget", "horizontalLayout box 1"},
    {"_integrityLabel", "QLabel", "LoginMacLabelWidget", "gridLayout_4 grid 1,0,1,1"},
    {"_integrityComboBox", "VarnelQt5::ILevelComboBox", "LoginMacLabelWidget", "gridLayout_4 grid 1,1,1,1"},
    {"_categoryLabelLabel", "QLabel", "LoginMacLabelWidget", "gridLayout_4 grid 2,0,1,1"},
    {"horizontalLayout_2", "QHBoxLayout", "gridLayout_4", "gridLayout_4 grid 2,1,1,1"},
    {"_categoryHintLabel", "QLabel", "LoginMacLabelWidget", "horizontalLayout_2 box 0"},
    {"_categoryListWidget", "VarnelQt5::MacCategoryListWidget", "LoginMacLabelWidget", "horizontalLayout_2 box 1"},
    {"_buttonLayout", "QVBoxLayout", "gridLayout_5", "gridLayout_5 grid 0,1,1,1"},
    {"_rolesGroupBox", "QGroupBox", "LoginMacLabelWidget", "gridLayout_5 grid 1,0,1,2"},
    {"gridLayout", "QGridLayout", "_rolesGroupBox", "installed"},
    {"_userTabWidget", "QTabWidget", "_rolesGroupBox", "gridLayout grid 0,0,1,1"},
    {"_userTab", "QWidget", "qt_tabwidget_stackedwidget", "qt_tabwidget_stackedwidget"},
    {"gridLayout_2", "QGridLayout", "_userTab", "installed"},
    {"_userTreeView", "QTreeView", "_userTab", "gridLayout_2 grid 0,0,1,1"},
    {"_adminTab", "QWidget", "qt_tabwidget_stackedwidget", "qt_tabwidget_stackedwidget"},
    {"gridLayout_3", "QGridLayout", "_adminTab", "installed"},
    {"_adminTreeView", "QTreeView", "_adminTab", "gridLayout_3 grid 0,0,1,1"},
};

const Expected themedObjects[] = {
    {"gridLayout_5", "QGridLayout", "NewLoginMacLabelWidget", "installed"},
    {"verticalLayout", "QVBoxLayout", "gridLayout_5", "gridLayout_5 grid 0,0,1,1"},
    {"gridLayout_4", "QGridLayout", "verticalLayout", "verticalLayout box 0"},
    {"_levelLabelLabel", "QLabel", "NewLoginMacLabelWidget", "gridLayout_4 grid 0,0,1,1"},
    {"_categoryLabelLabel", "QLabel", "NewLoginMacLabelWidget", "gridLayout_4 grid 3,0,1,1"},
    {"_integrityLabel", "QLabel", "NewLoginMacLabelWidget", "gridLayout_4 grid 1,0,1,1"},
    {"horizontalLayout_2", "QHBoxLayout", "gridLayout_4", "gridLayout_4 grid 3,1,1,1"},
    {"_categoryHintLabel", "QLabel", "NewLoginMacLabelWidget", "horizontalLayout_2 box 0"},
    {"_categoryListWidget", "VarnelQt5::MacCategoryListWidget", "NewLoginMacLabelWidget",
     "horizontalLayout_2 box 1"},
    {"horizontalLayout", "QHBoxLayout", "gridLayout_4", "gridLayout_4 grid 0,1,1,1"},
    {"_levelHintLabel", "QLabel", "NewLoginMacLabelWidget", "horizontalLayout box 0"},
    {"_levelComboBox", "VarnelQt5::MacLevelComboBox", "NewLoginMacLabelWidget", "horizontalLayout box 1"},
    {"_integrityComboBox", "VarnelQt5::ILevelComboBox", "NewLoginMacLabelWidget", "gridLayout_4 grid 1,1,1,1"},
    {"_rolesGroupBox", "QGroupBox", "NewLoginMacLabelWidget", "verticalLayout box 1"},
    {"gridLayout", "QGridLayout", "_rolesGroupBox", "installed"},
    {"_userTabWidget", "QTabWidget", "_rolesGroupBox", "gridLayout grid 0,0,1,1"},
    {"_userTab", "QWidget", "qt_tabwidget_stackedwidget", "qt_tabwidget_stackedwidget"},
    {"gridLayout_2", "QGridLayout", "_userTab", "installed"},
    {"_userTreeView", "QTreeView", "_userTab", "gridLayout_2 grid 0,0,1,1"},
    {"_adminTab", "QWidget", "qt_tabwidget_stackedwidget", "qt_tabwidget_stackedwidget"},
    {"gridLayout_3", "QGridLayout", "_adminTab", "installed"},
    {"_adminTreeView", "QTreeView", "_adminTab", "gridLayout_3 grid 0,0,1,1"},
    {"verticalLayout_2", "QVBoxLayout", "verticalLayout", "verticalLayout box 2"},
    {"line", "QFrame", "NewLoginMacLabelWidget", "verticalLayout_2 box 0"},
    {"_buttonLayout", "QHBoxLayout", "verticalLayout", "verticalLayout box 3"},
};

} // namespace

class tst_LoginMacLabelWidgetForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void objects_data();
    void objects();
    void properties_data();
    void properties();
    void themedButtonsTakeTheStyleSheet_data();
    void themedButtonsTakeTheStyleSheet();
    void textsComeFromTheFormsContext_data();
    void textsComeFromTheFormsContext();

private:
    long m_liveBefore = 0;
};

void tst_LoginMacLabelWidgetForms::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_LoginMacLabelWidgetForms::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_LoginMacLabelWidgetForms::objects_data()
{
    QTest::addColumn<bool>("themed");
    QTest::newRow("plain") << false;
    QTest::newRow("themed") << true;
}

void tst_LoginMacLabelWidgetForms::objects()
{
    QFETCH(bool, themed);
    StandinPolicy policy;
    const auto host = build(themed);
    QCOMPARE(host->objectName(), themed ? QStringLiteral("NewLoginMacLabelWidget") : QStringLiteral("LoginMacLabelWidget"));

    QStringList expectedNames;
    const Expected *begin = themed ? std::begin(themedObjects) : std::begin(plainObjects);
    const Expected *end = themed ? std::end(themedObjects) : std::end(plainObjects);
    for (const Expected *row = begin; row != end; ++row) {
        const QString name = QLatin1String(row->name);
        expectedNames << name;
        const QList<QObject *> found = host->findChildren<QObject *>(name);
        QVERIFY2(found.size() == 1, row->name);
        const QObject *obj = found.first();
        QCOMPARE(QLatin1String(obj->metaObject()->className()), QLatin1String(row->className));
        QVERIFY2(obj->parent(), row->name);
        QCOMPARE(obj->parent()->objectName(), QLatin1String(row->parent));
        const QString place = QLatin1String(row->place) == QLatin1String("qt_tabwidget_stackedwidget")
            ? QStringLiteral("qt_tabwidget_stackedwidget")
            : placeIn(*host, obj);
        QCOMPARE(place, QLatin1String(row->place));
    }

    // Nothing else carries a name of the form's own.
    QStringList named;
    for (const QObject *obj : host->findChildren<QObject *>()) {
        // The tab bar names its own scroll buttons.
        if (qobject_cast<const QTabBar *>(obj->parent()))
            continue;
        if (!obj->objectName().isEmpty() && !obj->objectName().startsWith(QLatin1String("qt_")))
            named << obj->objectName();
    }
    named.sort();
    expectedNames.sort();
    QCOMPARE(named, expectedNames);

    if (themed) {
        const auto *grid = host->findChild<QGridLayout *>(QStringLiteral("gridLayout_4"));
        QSpacerItem *spacer = grid->itemAtPosition(2, 1)->spacerItem();
        QVERIFY(spacer);
        QCOMPARE(spacer->sizeHint(), QSize(20, 10));
        QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
        QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QVERIFY(!grid->itemAtPosition(2, 0));
    }

    const auto *buttons = host->findChild<QBoxLayout *>(QStringLiteral("_buttonLayout"));
    QCOMPARE(buttons->count(), 0);
    const auto *tabs = host->findChild<QTabWidget *>(QStringLiteral("_userTabWidget"));
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("_userTab"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("User"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Administrative"));
}

void tst_LoginMacLabelWidgetForms::properties_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QStringList>("expected");

    // -1 sides resolve to the style's margin on a widget's own layout and
    // to 0 on a nested one; Fusion-independent values are spelt "S".
    QTest::newRow("plain") << false << QStringList{
        "size 508x574",
        "styleSheet ",
        "gridLayout_5 11 11 11 11 spacing 6",
        "gridLayout_4 0 0 0 0 spacing 6",
        "horizontalLayout 0 0 0 0 spacing 6",
        "horizontalLayout_2 0 0 0 0 spacing 6",
        "_buttonLayout 0 0 0 0 spacing 6",
        "gridLayout 11 11 11 11 spacing 6",
        "gridLayout_2 11 11 11 11 spacing 6",
        "gridLayout_3 11 11 11 11 spacing 6",
        "_levelLabelLabel Level: align 0x81",
        "_levelHintLabel TextLabel align 0x81",
        "_integrityLabel Integrity: align 0x81",
        "_categoryLabelLabel Category: align 0x21",
        "_categoryHintLabel TextLabel align 0x21",
        "_categoryListWidget policy 5 4",
        "_rolesGroupBox policy 5 7 Roles",
        "_levelComboBox min 0x0",
        "_integrityComboBox min 0x0",
        "userHeader sort 0 stretch 0",
        "adminHeader stretch 1",
        "title LoginMacLabelWidget"};
    QTest::newRow("themed") << true << QStringList{
        "size 1478x574",
        "styleSheet QPushButton {\n    background-color: #5885A7;\n\tcolor:#FFFFFF;\n\tborder-color:#43657E;\n}",
        "gridLayout_5 0 S 0 S spacing 6",
        "verticalLayout 0 0 0 0 spacing 10",
        "gridLayout_4 20 0 20 0 spacing 8",
        "horizontalLayout 0 0 0 0 spacing 6",
        "horizontalLayout_2 0 0 0 0 spacing 6",
        "verticalLayout_2 0 12 0 6 spacing 0",
        "_buttonLayout 20 0 20 0 spacing 6",
        "gridLayout 20 S 20 S spacing 6",
        "gridLayout_2 11 11 11 11 spacing 6",
        "gridLayout_3 11 11 11 11 spacing 6",
        "_levelLabelLabel Level: align 0x82",
        "_levelHintLabel TextLabel align 0x81",
        "_integrityLabel Integrity: align 0x82",
        "_categoryLabelLabel Category: align 0x22",
        "_categoryHintLabel TextLabel align 0x21",
        "_categoryListWidget policy 5 4",
        "_rolesGroupBox policy 5 7 Roles",
        "_levelComboBox min 158x0",
        "_integrityComboBox min 158x0",
        "userHeader sort 0 stretch 0",
        "adminHeader stretch 1",
        "line shape 4 shadow 48 policy 5 0",
        "title LoginMacLabelWidget"};
}

void tst_LoginMacLabelWidgetForms::properties()
{
    QFETCH(bool, themed);
    QFETCH(QStringList, expected);
    StandinPolicy policy;
    const auto host = build(themed);
    const int styleTop = host->style()->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, host.get());

    QStringList actual;
    actual << QStringLiteral("size %1x%2").arg(host->width()).arg(host->height());
    actual << QStringLiteral("styleSheet ") + host->styleSheet();
    for (const char *name : {"gridLayout_5", "verticalLayout", "gridLayout_4", "horizontalLayout",
                             "horizontalLayout_2", "verticalLayout_2", "_buttonLayout", "gridLayout",
                             "gridLayout_2", "gridLayout_3"}) {
        const auto *layout = host->findChild<QLayout *>(QLatin1String(name));
        if (!layout)
            continue;
        QString margins = marginsOf(layout);
        if (QByteArray(name) == "gridLayout_5" && themed) {
            const QMargins m = layout->contentsMargins();
            QCOMPARE(m.top(), styleTop);
            margins = QStringLiteral("%1 S %2 S spacing %3").arg(m.left()).arg(m.right()).arg(layout->spacing());
        } else if (QByteArray(name) == "gridLayout" && themed) {
            const QMargins m = layout->contentsMargins();
            QCOMPARE(m.top(), host->style()->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, layout->parentWidget()));
            margins = QStringLiteral("%1 S %2 S spacing %3").arg(m.left()).arg(m.right()).arg(layout->spacing());
        }
        actual << QLatin1String(name) + QLatin1Char(' ') + margins;
    }
    for (const char *name : {"_levelLabelLabel", "_levelHintLabel", "_integrityLabel", "_categoryLabelLabel",
                             "_categoryHintLabel"}) {
        const auto *label = host->findChild<QLabel *>(QLatin1String(name));
        actual << QStringLiteral("%1 %2 align 0x%3").arg(QLatin1String(name), label->text())
                      .arg(int(label->alignment()), 0, 16);
    }
    const auto policyOf = [](const QWidget *w) {
        return QStringLiteral("policy %1 %2").arg(int(w->sizePolicy().horizontalPolicy()))
            .arg(int(w->sizePolicy().verticalPolicy()));
    };
    const auto *list = host->findChild<QWidget *>(QStringLiteral("_categoryListWidget"));
    actual << QStringLiteral("_categoryListWidget ") + policyOf(list);
    const auto *roles = host->findChild<QGroupBox *>(QStringLiteral("_rolesGroupBox"));
    actual << QStringLiteral("_rolesGroupBox ") + policyOf(roles) + QLatin1Char(' ') + roles->title();
    for (const char *name : {"_levelComboBox", "_integrityComboBox"}) {
        const QSize min = host->findChild<QWidget *>(QLatin1String(name))->minimumSize();
        actual << QStringLiteral("%1 min %2x%3").arg(QLatin1String(name)).arg(min.width()).arg(min.height());
    }
    const QHeaderView *userHeader = host->findChild<QTreeView *>(QStringLiteral("_userTreeView"))->header();
    actual << QStringLiteral("userHeader sort %1 stretch %2").arg(int(userHeader->isSortIndicatorShown()))
                  .arg(int(userHeader->stretchLastSection()));
    const QHeaderView *adminHeader = host->findChild<QTreeView *>(QStringLiteral("_adminTreeView"))->header();
    actual << QStringLiteral("adminHeader stretch %1").arg(int(adminHeader->stretchLastSection()));
    if (const auto *line = host->findChild<QFrame *>(QStringLiteral("line")))
        actual << QStringLiteral("line shape %1 shadow %2 ").arg(int(line->frameShape())).arg(int(line->frameShadow()))
                      + policyOf(line);
    actual << QStringLiteral("title ") + host->windowTitle();

    QCOMPARE(actual, expected);
    QVERIFY(!list->sizePolicy().hasHeightForWidth());
}

void tst_LoginMacLabelWidgetForms::themedButtonsTakeTheStyleSheet_data()
{
    QTest::addColumn<bool>("themed");
    QTest::newRow("plain") << false;
    QTest::newRow("themed") << true;
}

void tst_LoginMacLabelWidgetForms::themedButtonsTakeTheStyleSheet()
{
    QFETCH(bool, themed);
    StandinPolicy policy;
    const auto host = build(themed);
    auto *buttonLayout = host->findChild<QBoxLayout *>(QStringLiteral("_buttonLayout"));
    auto *button = new QPushButton(QStringLiteral("   "), host.get());
    button->setMinimumSize(80, 30);
    buttonLayout->addWidget(button);
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));

    // The style draws the button's face from its background colour: sampled,
    // it keeps that colour's hue and saturation; the platform style is grey.
    const QColor background(0x58, 0x85, 0xA7);
    const QImage image = button->grab().toImage();
    const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    const bool tinted = qAbs(centre.hsvHue() - background.hsvHue()) <= 8 && centre.hsvSaturation() > 60;
    QVERIFY2(tinted == themed, qPrintable(centre.name()));
    QCOMPARE(button->palette().color(QPalette::Button) == background, themed);
    QCOMPARE(button->palette().color(QPalette::ButtonText) == QColor(Qt::white), themed);
}

void tst_LoginMacLabelWidgetForms::textsComeFromTheFormsContext_data()
{
    objects_data();
}

void tst_LoginMacLabelWidgetForms::textsComeFromTheFormsContext()
{
    // Marks each text with the context it was looked up in.
    class ContextMarker : public QTranslator
    {
    public:
        QString translate(const char *context, const char *source, const char *, int) const override
        {
            return QString::fromLatin1(context) + QLatin1Char('|') + QString::fromLatin1(source);
        }
        bool isEmpty() const override { return false; }
    };

    QFETCH(bool, themed);
    StandinPolicy policy;
    ContextMarker marker;
    QCoreApplication::installTranslator(&marker);
    const auto host = build(themed);
    QCoreApplication::removeTranslator(&marker);

    const QString context = themed ? QStringLiteral("NewLoginMacLabelWidget") : QStringLiteral("LoginMacLabelWidget");
    QCOMPARE(host->findChild<QLabel *>(QStringLiteral("_levelLabelLabel"))->text(), context + QStringLiteral("|Level:"));
    QCOMPARE(host->findChild<QGroupBox *>(QStringLiteral("_rolesGroupBox"))->title(), context + QStringLiteral("|Roles"));
    QCOMPARE(host->windowTitle(), context + QStringLiteral("|LoginMacLabelWidget"));
}

QTEST_MAIN(tst_LoginMacLabelWidgetForms)
#include "tst_loginmaclabelwidgetforms.moc"
