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
#include <QTest>
#include <QToolTip>
#include <QTranslator>

#include <memory>

using namespace VarnelQt5;

namespace {

// The tool tip a person sees when hovering at pos of widget.
QString toolTipAt(QWidget *widget, const QPoint &pos = QPoint(2, 2))
{
    // A tip that stays when the widget shows none of its own.
    const QString none = QStringLiteral("(no tool tip)");
    QToolTip::showText(widget->mapToGlobal(pos), none, widget);
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::text() == none ? QString() : QToolTip::text();
}

// The tool tip of a list's row, or of the list's empty area for row -1.
QString toolTipOfRow(QListWidget *list, int row)
{
    return toolTipAt(list->viewport(), row < 0 ? QPoint(2, list->viewport()->height() - 2)
                                               : list->visualItemRect(list->item(row)).center());
}

// What a person hovering over widget (a list's empty area) and a screen
// reader that starts now are told: the tool tip and the description.
// (Offscreen, Qt tells its observers that a reader started, but the
// descriptions kept current while one watches are read over AT-SPI in
// tst_atspi.)
QStringList told(QWidget *widget)
{
    QAccessible::setActive(true);
    auto *list = qobject_cast<QListWidget *>(widget);
    return {list ? toolTipOfRow(list, -1) : toolTipAt(widget), widget->accessibleDescription()};
}

// The description a reason gives widget: a picker without a caption says
// first what it is, by its name, as Linux tools read a combo box's name as
// its current entry.
QString describedAs(QWidget *widget, const QString &reason)
{
    const bool captionless = qobject_cast<QComboBox *>(widget)
        && QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label).isEmpty();
    if (!captionless)
        return reason;
    return reason.isEmpty() ? widget->accessibleName() : widget->accessibleName() + QLatin1String(": ") + reason;
}

// A widget of a kind for user 1000 on the policy as written.
std::unique_ptr<QWidget> build(const QString &kind)
{
    if (kind == QLatin1String("level"))
        return std::make_unique<MacLevelComboBox>(uid_t(1000), nullptr);
    if (kind == QLatin1String("integrity"))
        return std::make_unique<ILevelComboBox>(uid_t(1000), nullptr);
    if (kind == QLatin1String("category")) {
        auto category = std::make_unique<MacCategoryComboBox>();
        category->setUid(1000);
        return category;
    }
    if (kind.startsWith(QLatin1String("login"))) {
        auto login = std::make_unique<LoginMacLabelWidget>(uid_t(1000), nullptr, true);
        login->setEditable(kind == QLatin1String("login"));
        return login;
    }
    // Outside a user's range: C2 forced by the caller, bit 13 unnamed.
    if (kind == QLatin1String("list, C2 forced, bit 13")) {
        auto list = std::make_unique<MacCategoryListWidget>();
        list->setMinimumValue(0x4);
        list->setValue(0x4 | mac_cat_t(1) << 13);
        return list;
    }
    return std::make_unique<MacCategoryListWidget>(uid_t(1000));
}

} // namespace

class tst_LockReasons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reasons_data();
    void reasons();
    void reasonsFollowTheWidget();
    void reasonsOfTheBuiltState_data();
    void reasonsOfTheBuiltState();
    void unnamedValuesExplain_data();
    void unnamedValuesExplain();
    void elidedLine_data();
    void elidedLine();

private:
    QTranslator m_german;
};

void tst_LockReasons::initTestCase()
{
    QVERIFY(m_german.load(QStringLiteral(VARNEL_CATALOGUE "_de"), QStringLiteral(VARNEL_QM_DIR)));
}

void tst_LockReasons::reasons_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("policy"); // "file=contents" written first
    QTest::addColumn<QString>("part");      // a child to hover, by object name
    QTest::addColumn<int>("row");           // a row of the list to hover, or -1
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");

    const auto row = [](const char *name, const char *kind, const char *policy, const char *part, int row,
                        const char *english, const char *german) {
        QTest::newRow(name) << QString::fromLatin1(kind) << QByteArray(policy) << QString::fromLatin1(part) << row
                            << QString::fromUtf8(english) << QString::fromUtf8(german);
    };
    const char macOff[] = "system=mac_enabled=0\n";
    const char noLevelEnglish[] = "Mandatory access control is switched off, so there is no level to choose";
    const char noLevelGerman[] =
        "Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Ebene zur Auswahl";
    const char readOnlyEnglish[] = "This is the label of the running program; it cannot be changed here";
    const char readOnlyGerman[] = "Dies ist das Label des laufenden Programms; es kann hier nicht geändert werden";

    row("forced by the user", "list", "mac-users=*:0:0x2:3:0xff\n", "", 1, "Every label of this user carries C1",
        "Jedes Label dieses Benutzers trägt C1");
    row("forced by the caller", "list, C2 forced, bit 13", "", "", 2, "Every label chosen here carries C2",
        "Jedes hier gewählte Label trägt C2");
    row("unknown category", "list, C2 forced, bit 13", "", "", 8, "The policy names no category for bit 13",
        "Die Richtlinie benennt keine Kategorie für Bit 13");
    row("no category", "list", "mac-users=*:0:0:3:0\n", "", -1, "This user may choose no category",
        "Dieser Benutzer darf keine Kategorie wählen");
    row("categories, MAC off", "list", macOff, "", -1,
        "Mandatory access control is switched off, so there is no category to choose",
        "Die verbindliche Zugriffskontrolle ist ausgeschaltet, daher gibt es keine Kategorie zur Auswahl");
    row("categories unreadable", "list", "faults=opencatdb_r\n", "", -1, "The category database cannot be read",
        "Die Kategoriendatenbank kann nicht gelesen werden");
    row("single level", "level", "mac-users=*:1:0:1:0xff\n", "", -1, "L1 is the only level this user may choose",
        "L1 ist die einzige Ebene, die dieser Benutzer wählen darf");
    row("levels, MAC off", "level", macOff, "", -1, noLevelEnglish, noLevelGerman);
    row("levels unreadable", "level", "faults=openlevdb_r\n", "", -1, "The level database cannot be read",
        "Die Ebenendatenbank kann nicht gelesen werden");
    row("single integrity level", "integrity", "mic-users=*:0\n", "", -1,
        "Low is the only integrity level this user may choose",
        "Low ist die einzige Integritätsebene, die dieser Benutzer wählen darf");
    row("single category", "category", "mac-users=*:0:0x2:3:0x2\n", "", -1,
        "C1 is the only category this user may choose",
        "C1 ist die einzige Kategorie, die dieser Benutzer wählen darf");
    // The login widget hides a row whose picker cannot be built, and says why.
    row("login, MAC off", "login", macOff, "", -1, noLevelEnglish, noLevelGerman);
    row("information mode", "login, read-only", "", "", -1, readOnlyEnglish, readOnlyGerman);
    row("information mode, level", "login, read-only", "", "_levelComboBox", -1, readOnlyEnglish, readOnlyGerman);
    row("information mode, category row", "login, read-only", "", "_categoryListWidget", 0, readOnlyEnglish,
        readOnlyGerman);
    // Free choices say nothing.
    row("a free level", "level", "", "", -1, "", "");
    row("a free row", "list", "", "", 0, "", "");
    row("free categories", "category", "", "", -1, "", "");
    row("an editable login", "login", "", "_levelComboBox", -1, "", "");
}

void tst_LockReasons::reasons()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, policy);
    QFETCH(QString, part);
    QFETCH(int, row);
    QFETCH(QString, english);
    QFETCH(QString, german);
    const long live = varnel_standin_live();
    {
        StandinPolicy standin;
        if (!policy.isEmpty())
            standin.write(policy.left(policy.indexOf('=')).constData(), policy.mid(policy.indexOf('=') + 1));
        for (const bool inGerman : {false, true}) {
            if (inGerman)
                QVERIFY(QCoreApplication::installTranslator(&m_german));
            const std::unique_ptr<QWidget> owner = build(kind);
            QWidget *widget = part.isEmpty() ? owner.get() : owner->findChild<QWidget *>(part);
            QVERIFY(widget);
            owner->resize(400, 300);
            owner->show();
            QVERIFY(QTest::qWaitForWindowExposed(owner.get()));
            const QString expected = inGerman ? german : english;
            auto *list = qobject_cast<QListWidget *>(widget);
            if (row >= 0) {
                QVERIFY(list && list->item(row));
                QCOMPARE(toolTipOfRow(list, row), expected);
                // The row's words, then its reason.
                QCOMPARE(list->item(row)->data(Qt::AccessibleDescriptionRole).toString().section(
                             QStringLiteral(". "), 1),
                         expected);
            } else {
                QCOMPARE(told(widget), (QStringList{expected, describedAs(widget, expected)}));
            }
            QCoreApplication::removeTranslator(&m_german);
        }
    }
    QCOMPARE(varnel_standin_live(), live);
}

// A reason comes and goes with the state it tells of, and gives way to the
// host's own texts.
void tst_LockReasons::reasonsFollowTheWidget()
{
    const long live = varnel_standin_live();
    {
        StandinPolicy policy;
        MacLevelComboBox level(uid_t(1000), nullptr);
        LoginMacLabelWidget login(uid_t(1000), nullptr, true);
        level.show();
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        const QStringList none{QString(), QString()};
        const QString one = QStringLiteral("L2 is the only level this user may choose");
        policy.write("mac-users", "*:2:0:2:0xff\n");
        level.setUid(1000);
        QCOMPARE(told(&level), (QStringList{one, "Level: " + one}));
        policy.write("mac-users", "*:0:0:3:0xff\n");
        level.setUid(1000);
        QCOMPARE(told(&level), (QStringList{QString(), "Level"}));

        auto *loginLevel = login.findChild<QWidget *>(QStringLiteral("_levelComboBox"));
        login.setEditable(false);
        QVERIFY(told(loginLevel) != none);
        login.setEditable(true);
        QCOMPARE(told(&login), none);
        QCOMPARE(told(loginLevel), none);

        level.setToolTip(QStringLiteral("Chosen by the host"));
        level.setAccessibleDescription(QStringLiteral("Described by the host"));
        policy.write("mac-users", "*:2:0:2:0xff\n");
        level.setUid(1000);
        QCOMPARE(told(&level), (QStringList{"Chosen by the host", "Described by the host"}));
    }
    QCOMPARE(varnel_standin_live(), live);
}

// Writes "file=contents" pairs, separated by "|"; "faults=" lifts a fault.
void writePolicy(StandinPolicy &standin, const QByteArray &files)
{
    for (const QByteArray &pair : files.split('|')) {
        const int equals = pair.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray name = pair.left(equals);
        const QByteArray contents = pair.mid(equals + 1).replace("\\n", "\n");
        if (contents.isEmpty())
            standin.remove(name.constData());
        else
            standin.write(name.constData(), contents);
    }
}

// A picker a person can change gives no reason; a locked one gives the one
// that locked it, as it was when the picker was built, whatever came since.
void tst_LockReasons::reasonsOfTheBuiltState_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("built");  // the policy the picker is built with
    QTest::addColumn<QString>("action");    // set:<n>, force:<n>, rebuild
    QTest::addColumn<QByteArray>("after");  // the policy written after the action
    QTest::addColumn<QString>("reason");

    const char catOff[] = "Mandatory access control is switched off, so there is no category to choose";
    QTest::newRow("categories, MAC off, rows set") << "list" << QByteArray("system=mac_enabled=0\\n")
        << "set:3" << QByteArray() << catOff;
    QTest::newRow("categories unreadable") << "list" << QByteArray() << "fail:opencatdb_r rebuild"
        << QByteArray("faults=") << "The category database cannot be read";
    QTest::newRow("categories unreadable, then a row set") << "list" << QByteArray()
        << "fail:opencatdb_r rebuild set:1" << QByteArray("faults=") << "";
    QTest::newRow("one level, another forced in") << "level" << QByteArray("mac-users=*:1:0:1:0xff\\n")
        << "force:3" << QByteArray() << "L1 is the only level this user may choose";
    QTest::newRow("one integrity level, another forced in") << "integrity" << QByteArray("mic-users=*:0\\n")
        << "force:63" << QByteArray() << "Low is the only integrity level this user may choose";
    QTest::newRow("levels unreadable, readable since") << "level" << QByteArray("faults=openlevdb_r\\n")
        << "" << QByteArray("faults=") << "The level database cannot be read";
    QTest::newRow("integrity unreadable, no levels since") << "integrity"
        << QByteArray("faults=openmicdb_r\\n") << "" << QByteArray("faults=|system=max_ilev=0\\n")
        << "The integrity database cannot be read";
    QTest::newRow("a free level stays free") << "level" << QByteArray() << "set:2"
        << QByteArray("system=mac_enabled=0\\n") << "";
}

void tst_LockReasons::reasonsOfTheBuiltState()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, built);
    QFETCH(QString, action);
    QFETCH(QByteArray, after);
    QFETCH(QString, reason);
    const long live = varnel_standin_live();
    {
        StandinPolicy standin;
        writePolicy(standin, built);
        std::unique_ptr<QWidget> widget;
        if (kind == QLatin1String("list")) {
            auto *list = new MacCategoryListWidget;
            list->rebuild();
            widget.reset(list);
        } else {
            widget = build(kind);
        }
        for (const QString &step : action.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const uint number = step.section(QLatin1Char(':'), 1).toUInt();
            if (step.startsWith(QLatin1String("fail:")))
                standin.fail(step.mid(5).toLatin1().constData());
            else if (step == QLatin1String("rebuild"))
                static_cast<MacCategoryListWidget *>(widget.get())->rebuild();
            else if (auto *list = qobject_cast<MacCategoryListWidget *>(widget.get()))
                list->setValue(number);
            else if (auto *level = qobject_cast<MacLevelComboBox *>(widget.get()))
                level->setValue(mac_lev_t(number), step.startsWith(QLatin1String("force")));
            else if (auto *integrity = qobject_cast<ILevelComboBox *>(widget.get()))
                integrity->setValue(number, step.startsWith(QLatin1String("force")));
        }
        writePolicy(standin, after);
        widget->resize(300, 200);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        QCOMPARE(told(widget.get()), (QStringList{reason, describedAs(widget.get(), reason)}));
    }
    QCOMPARE(varnel_standin_live(), live);
}

// A level or integrity level the policy does not name shows as its number,
// and says why, in English and German.
void tst_LockReasons::unnamedValuesExplain_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");

    QTest::newRow("level 9") << "level" << 9u << "The policy names no level 9" << "Die Richtlinie benennt keine Ebene 9";
    QTest::newRow("named level 3") << "level, 1 to 2" << 3u << "" << "";
    QTest::newRow("integrity level 5") << "integrity" << 5u << "The policy names no integrity level 5"
        << "Die Richtlinie benennt keine Integritätsebene 5";
    QTest::newRow("named integrity level 63") << "integrity, 0" << 63u << "" << "";
}

void tst_LockReasons::unnamedValuesExplain()
{
    QFETCH(QString, kind);
    QFETCH(uint, value);
    QFETCH(QString, english);
    QFETCH(QString, german);
    const long live = varnel_standin_live();
    {
        StandinPolicy standin;
        standin.write("mac-users", kind.endsWith(QLatin1String("1 to 2")) ? "*:1:0:2:0xff\n" : "*:0:0:3:0xff\n");
        standin.write("mic-users", kind.endsWith(QLatin1String(", 0")) ? "*:0\n" : "*:63\n");
        for (const bool inGerman : {false, true}) {
            if (inGerman)
                QVERIFY(QCoreApplication::installTranslator(&m_german));
            const std::unique_ptr<QWidget> widget = build(kind.section(QLatin1Char(','), 0, 0));
            auto *combo = static_cast<QComboBox *>(widget.get());
            if (auto *level = qobject_cast<MacLevelComboBox *>(combo))
                level->setValue(mac_lev_t(value), true);
            else
                static_cast<ILevelComboBox *>(combo)->setValue(value, true);
            QCOMPARE(combo->currentText(), english.isEmpty() ? combo->currentText() : QString::number(value));
            const QString expected = inGerman ? german : english;
            QCOMPARE(combo->currentData(Qt::ToolTipRole).toString(), expected);
            QCOMPARE(combo->currentData(Qt::AccessibleDescriptionRole).toString(), expected);
            combo->show();
            QVERIFY(QTest::qWaitForWindowExposed(combo));
            // Hovering the closed box explains the value it shows; a named
            // value leaves the box to its other texts.
            if (!expected.isEmpty())
                QCOMPARE(toolTipAt(combo), expected);
            QCoreApplication::removeTranslator(&m_german);
        }
    }
    QCOMPARE(varnel_standin_live(), live);
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
        QLabel reference(shown);
        reference.setFont(label->font());
        reference.resize(label->size());
        const auto paint = [label](QWidget *widget) {
            QImage image(label->size(), QImage::Format_ARGB32);
            image.fill(Qt::white);
            widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
            return image;
        };
        QCOMPARE(paint(label), paint(&reference));
    }
    QCOMPARE(varnel_standin_live(), live);
}

QTEST_MAIN(tst_LockReasons)
#include "tst_lockreasons.moc"
