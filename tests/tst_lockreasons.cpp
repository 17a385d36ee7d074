// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Why a locked choice cannot be changed: the reason each kind of lock gives
// in its tool tip and accessible description, in English and German, and the
// category editor's line that ends in an ellipsis.

#include "ILevelComboBox.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacCategoryWidget.h"
#include "MacLevelComboBox.h"
#include "StandinPolicy.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QTranslator>

#include <memory>

using namespace VarnelQt5;

namespace {

// The tool tip a person sees when hovering at pos of widget.
QString toolTipAt(QWidget *widget, const QPoint &pos)
{
    // A tip that stays when the widget shows none of its own.
    const QString none = QStringLiteral("(no tool tip)");
    QToolTip::showText(widget->mapToGlobal(pos), none, widget);
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    const QString shown = QToolTip::text();
    return shown == none ? QString() : shown;
}

// The tool tip of a list's row, or of the list's empty area for row -1.
QString toolTipOfRow(QListWidget *list, int row)
{
    const QPoint pos = row < 0 ? QPoint(2, list->viewport()->height() - 2)
                               : list->visualItemRect(list->item(row)).center();
    return toolTipAt(list->viewport(), pos);
}

// What a widget of a row is: the widget under test, where to hover (a row of
// a list, or -1 for the widget itself), and what keeps it alive.
struct Built {
    std::unique_ptr<QWidget> owner;
    QWidget *widget = nullptr;
    int row = -1;
};

Built build(const QString &kind, StandinPolicy &policy)
{
    Built built;
    if (kind == QLatin1String("forced by the user")) {
        policy.write("mac-users", "*:0:0x2:3:0xff\n");
        auto *list = new MacCategoryListWidget(uid_t(1000));
        built = {std::unique_ptr<QWidget>(list), list, 1};
    } else if (kind == QLatin1String("forced by the caller")) {
        auto *list = new MacCategoryListWidget;
        list->setMinimumValue(0x4);
        built = {std::unique_ptr<QWidget>(list), list, 2};
    } else if (kind == QLatin1String("unknown category")) {
        policy.write("mac-users", "*:0:0:3:0xffffffffffffffff\n");
        auto *list = new MacCategoryListWidget(uid_t(1000));
        list->setValue(mac_cat_t(1) << 13);
        built = {std::unique_ptr<QWidget>(list), list, list->count() - 1};
    } else if (kind == QLatin1String("no category")) {
        policy.write("mac-users", "*:0:0:3:0\n");
        auto *list = new MacCategoryListWidget(uid_t(1000));
        built = {std::unique_ptr<QWidget>(list), list, -1};
    } else if (kind == QLatin1String("categories, MAC off")) {
        policy.write("system", "mac_enabled=0\n");
        auto *list = new MacCategoryListWidget(uid_t(1000));
        built = {std::unique_ptr<QWidget>(list), list, -1};
    } else if (kind == QLatin1String("categories unreadable")) {
        policy.fail("opencatdb_r");
        auto *list = new MacCategoryListWidget(uid_t(1000));
        built = {std::unique_ptr<QWidget>(list), list, -1};
    } else if (kind == QLatin1String("single level")) {
        policy.write("mac-users", "*:1:0:1:0xff\n");
        auto *level = new MacLevelComboBox(uid_t(1000), nullptr);
        built = {std::unique_ptr<QWidget>(level), level, -1};
    } else if (kind == QLatin1String("levels, MAC off")) {
        policy.write("system", "mac_enabled=0\n");
        auto *level = new MacLevelComboBox(uid_t(1000), nullptr);
        built = {std::unique_ptr<QWidget>(level), level, -1};
    } else if (kind == QLatin1String("levels unreadable")) {
        policy.fail("openlevdb_r");
        auto *level = new MacLevelComboBox(uid_t(1000), nullptr);
        built = {std::unique_ptr<QWidget>(level), level, -1};
    } else if (kind == QLatin1String("single integrity level")) {
        policy.write("mic-users", "*:0\n");
        auto *integrity = new ILevelComboBox;
        integrity->setUid(1000);
        built = {std::unique_ptr<QWidget>(integrity), integrity, -1};
    } else if (kind == QLatin1String("single category")) {
        policy.write("mac-users", "*:0:0x2:3:0x2\n");
        auto *category = new MacCategoryComboBox;
        category->setUid(1000);
        built = {std::unique_ptr<QWidget>(category), category, -1};
    } else if (kind == QLatin1String("login, MAC off")) {
        policy.write("system", "mac_enabled=0\n");
        auto *login = new LoginMacLabelWidget(uid_t(1000), nullptr, true);
        built = {std::unique_ptr<QWidget>(login), login, -1};
    } else if (kind.startsWith(QLatin1String("information mode"))) {
        auto *login = new LoginMacLabelWidget(uid_t(1000), nullptr, true);
        login->setEditable(false);
        built.owner.reset(login);
        built.widget = login;
        if (kind.endsWith(QLatin1String("level")))
            built.widget = login->findChild<QWidget *>(QStringLiteral("_levelComboBox"));
        if (kind.endsWith(QLatin1String("row"))) {
            built.widget = login->findChild<QWidget *>(QStringLiteral("_categoryListWidget"));
            built.row = 0;
        }
    }
    return built;
}

} // namespace

class tst_LockReasons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reasons_data();
    void reasons();
    void freeChoicesSayNothing();
    void hostToolTipWins();
    void elidedLine_data();
    void elidedLine();

private:
    QTranslator m_german;
};

void tst_LockReasons::initTestCase()
{
    QVERIFY(m_german.load(QStringLiteral("libvarnel-mac-qt5_de"), QStringLiteral(VARNEL_QM_DIR)));
}

void tst_LockReasons::reasons_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");

    const auto row = [](const char *kind, const char *english, const char *german) {
        QTest::newRow(kind) << QString::fromLatin1(kind) << QString::fromUtf8(english) << QString::fromUtf8(german);
    };
    row("forced by the user", "Every label of this user carries C1", "Jedes Label dieses Benutzers trägt C1");
    row("forced by the caller", "Every label chosen here carries C2", "Jedes hier gewählte Label trägt C2");
    row("unknown category", "The policy names no category for bit 13", "Die Richtlinie benennt keine Kategorie für Bit 13");
    row("no category", "This user may choose no category", "Dieser Benutzer darf keine Kategorie wählen");
    row("categories, MAC off", "Mandatory access control is switched off, so there is no category to choose",
        "Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Kategorie zur Auswahl");
    row("categories unreadable", "The category database cannot be read",
        "Die Kategoriendatenbank kann nicht gelesen werden");
    row("single level", "L1 is the only level this user may choose",
        "L1 ist die einzige Ebene, die dieser Benutzer wählen darf");
    row("levels, MAC off", "Mandatory access control is switched off, so there is no level to choose",
        "Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Ebene zur Auswahl");
    row("levels unreadable", "The level database cannot be read", "Die Ebenendatenbank kann nicht gelesen werden");
    row("single integrity level", "Low is the only integrity level this user may choose",
        "Low ist die einzige Integritätsebene, die dieser Benutzer wählen darf");
    row("single category", "C1 is the only category this user may choose",
        "C1 ist die einzige Kategorie, die dieser Benutzer wählen darf");
    // The login widget hides a row whose picker cannot be built, and says why.
    row("login, MAC off", "Mandatory access control is switched off, so there is no level to choose",
        "Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Ebene zur Auswahl");
    const char infoEnglish[] = "This is the label of the running program; it cannot be changed here";
    const char infoGerman[] = "Dies ist das Label des laufenden Programms; es kann hier nicht geändert werden";
    row("information mode", infoEnglish, infoGerman);
    row("information mode, level", infoEnglish, infoGerman);
    row("information mode, category row", infoEnglish, infoGerman);
}

void tst_LockReasons::reasons()
{
    QFETCH(QString, kind);
    QFETCH(QString, english);
    QFETCH(QString, german);
    const long live = varnel_standin_live();
    {
        StandinPolicy policy;
        for (const bool inGerman : {false, true}) {
            if (inGerman)
                QVERIFY(QCoreApplication::installTranslator(&m_german));
            Built built = build(kind, policy);
            QVERIFY(built.widget);
            built.owner->resize(400, 300);
            built.owner->show();
            QVERIFY(QTest::qWaitForWindowExposed(built.owner.get()));
            const QString expected = inGerman ? german : english;
            auto *list = qobject_cast<QListWidget *>(built.widget);
            if (list && built.row >= 0) {
                QCOMPARE(toolTipOfRow(list, built.row), expected);
                QVERIFY2(list->item(built.row)->data(Qt::AccessibleDescriptionRole).toString().endsWith(expected),
                         qPrintable(list->item(built.row)->data(Qt::AccessibleDescriptionRole).toString()));
            } else {
                // The widget's description, kept while an assistive tool is
                // active, is read over AT-SPI in tst_atspi.
                QCOMPARE(list ? toolTipOfRow(list, -1) : toolTipAt(built.widget, QPoint(2, 2)), expected);
            }
            QCoreApplication::removeTranslator(&m_german);
        }
    }
    QCOMPARE(varnel_standin_live(), live);
}

void tst_LockReasons::freeChoicesSayNothing()
{
    const long live = varnel_standin_live();
    {
        StandinPolicy policy;
        MacLevelComboBox level(uid_t(1000), nullptr);
        MacCategoryListWidget list(uid_t(1000));
        list.resize(300, 300);
        level.show();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(toolTipAt(&level, QPoint(2, 2)), QString());
        QCOMPARE(toolTipOfRow(&list, 0), QString());
        QVERIFY(!list.item(0)->data(Qt::ToolTipRole).isValid());
        QCOMPARE(list.item(0)->data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("Category C0, unchecked"));

        // The user's range narrows to one level: the reason comes; it widens
        // again: the reason goes.
        policy.write("mac-users", "*:2:0:2:0xff\n");
        level.setUid(1000);
        QCOMPARE(toolTipAt(&level, QPoint(2, 2)), QStringLiteral("L2 is the only level this user may choose"));
        policy.write("mac-users", "*:0:0:3:0xff\n");
        level.setUid(1000);
        QCOMPARE(toolTipAt(&level, QPoint(2, 2)), QString());

        // Information mode and back.
        LoginMacLabelWidget login(uid_t(1000), nullptr, true);
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        auto *loginLevel = login.findChild<QWidget *>(QStringLiteral("_levelComboBox"));
        login.setEditable(false);
        QVERIFY(!toolTipAt(loginLevel, QPoint(2, 2)).isEmpty());
        login.setEditable(true);
        QCOMPARE(toolTipAt(&login, QPoint(1, 1)), QString());
        QCOMPARE(toolTipAt(loginLevel, QPoint(2, 2)), QString());
    }
    QCOMPARE(varnel_standin_live(), live);
}

void tst_LockReasons::hostToolTipWins()
{
    StandinPolicy policy;
    policy.write("mac-users", "*:1:0:1:0xff\n");
    MacLevelComboBox level(uid_t(1000), nullptr);
    level.setToolTip(QStringLiteral("Chosen by the host"));
    level.setAccessibleDescription(QStringLiteral("Described by the host"));
    level.show();
    QVERIFY(QTest::qWaitForWindowExposed(&level));
    QCOMPARE(toolTipAt(&level, QPoint(2, 2)), QStringLiteral("Chosen by the host"));
    level.setUid(1000);
    QCOMPARE(level.accessibleDescription(), QStringLiteral("Described by the host"));
    QCOMPARE(toolTipAt(&level, QPoint(2, 2)), QStringLiteral("Chosen by the host"));
}

void tst_LockReasons::elidedLine_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("elided");
    QTest::newRow("room for all") << 900 << false;
    QTest::newRow("room for part") << 120 << true;
}

void tst_LockReasons::elidedLine()
{
    QFETCH(int, width);
    QFETCH(bool, elided);
    const long live = varnel_standin_live();
    {
        StandinPolicy policy;
        policy.write("categories", "0x1:Treasury\n0x2:Personnel\n0x4:Engineering\n0x8:Procurement\n");
        MacCategoryWidget editor;
        editor.setUid(1000);
        editor.setValue(0xf);
        editor.resize(width, 40);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto *label = editor.findChild<QLabel *>();
        const QString names = QStringLiteral("Treasury, Personnel, Engineering, Procurement");
        // The label keeps its text whole; its tool tip carries the list.
        QCOMPARE(label->text(), names + QString(1000, QLatin1Char(' ')));
        QCOMPARE(label->toolTip(), names);

        // What is painted is what a plain label with the elided text paints.
        const QString shown = label->fontMetrics().elidedText(names, Qt::ElideRight, label->contentsRect().width());
        QCOMPARE(shown.endsWith(QChar(0x2026)), elided);
        QCOMPARE(shown == names, !elided);
        QLabel reference(shown);
        reference.setFont(label->font());
        reference.resize(label->size());
        QImage expected(label->size(), QImage::Format_ARGB32);
        QImage painted(label->size(), QImage::Format_ARGB32);
        expected.fill(Qt::white);
        painted.fill(Qt::white);
        reference.render(&expected, QPoint(), QRegion(), QWidget::DrawChildren);
        label->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
        QCOMPARE(painted, expected);
    }
    QCOMPARE(varnel_standin_live(), live);
}

QTEST_MAIN(tst_LockReasons)
#include "tst_lockreasons.moc"
