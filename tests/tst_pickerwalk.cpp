// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Seeded random walks over the value pickers: users with narrow and wide
// ranges and without a record, policy files changed between calls, platform
// calls made to fail, MAC switched off, a filter bound, unbound and destroyed,
// keys typed. After every step the picker's value matches what it shows,
// lies within the user's range, valueChanged fired exactly when the value
// changed (outside rebuilds), a reason is given exactly when the picker is
// locked, and no platform handle is left open. A failure names seed and step.

#include "ILevelComboBox.h"
#include "MacCategoryComboBox.h"
#include "MacCategoryFilterEdit.h"
#include "MacCategoryListWidget.h"
#include "MacCategoryWidget.h"
#include "MacLevelComboBox.h"
#include "StandinPolicy.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace VarnelQt5;

// A check whose message is built from parts.
#define WALK_VERIFY(condition, message) QVERIFY2(condition, QByteArray(message).constData())

namespace {

const int seeds = 10;
const int steps = 100;

// The policy as the walk last wrote it, so that each step knows what a
// rebuild reads.
struct Policy {
    QByteArray macUsers = StandinPolicy::defaultFile("mac-users");
    QByteArray micUsers = StandinPolicy::defaultFile("mic-users");
    QByteArray categories = StandinPolicy::defaultFile("categories");
    bool macOn = true;
    mac_cat_t processCategories = 0;
    QByteArray fault;

    // The line of uid in a users file, or of "*"; empty when neither.
    static QList<QByteArray> record(const QByteArray &file, uid_t uid)
    {
        QList<QByteArray> any;
        for (const QByteArray &line : file.split('\n')) {
            const QList<QByteArray> fields = line.split(':');
            if (fields.first() == QByteArray::number(uid))
                return fields;
            if (fields.first() == "*" && any.isEmpty())
                any = fields;
        }
        return any;
    }

    bool failing(std::initializer_list<const char *> calls) const
    {
        for (const char *call : calls) {
            if (fault == call)
                return true;
        }
        return false;
    }

    // The user's category range as the platform tells it: {minimum, maximum}.
    QPair<mac_cat_t, mac_cat_t> categoryRange(uid_t uid) const
    {
        if (!macOn || failing({"openmacdb_r"}))
            return {0, 0};
        const QList<QByteArray> line = failing({"getmacuid_r"}) ? QList<QByteArray>() : record(macUsers, uid);
        if (line.size() == 5)
            return {line.at(2).toULongLong(nullptr, 16), line.at(4).toULongLong(nullptr, 16)};
        return {0, failing({"tav_get_pid"}) ? 0 : processCategories};
    }

    // The user's levels: {lowest, highest}.
    QPair<int, int> levelRange(uid_t uid) const
    {
        const QList<QByteArray> line = failing({"getmacuid_r"}) ? QList<QByteArray>() : record(macUsers, uid);
        return line.size() == 5 ? qMakePair(line.at(1).toInt(), line.at(3).toInt()) : qMakePair(0, 0);
    }

    uint integrityMaximum(uid_t uid) const
    {
        const QList<QByteArray> line = failing({"getmicuid_r"}) ? QList<QByteArray>() : record(micUsers, uid);
        return line.size() == 2 ? line.at(1).toUInt() : 0;
    }

    // What the editor shows for a set: names of single-bit categories, else
    // numbers, joined by ", ".
    QString names(mac_cat_t set) const
    {
        QStringList words;
        for (int n = 0; n < 64; ++n) {
            if (!(set & (mac_cat_t(1) << n)))
                continue;
            QString word = QString::number(n);
            for (const QString &line : QString::fromLatin1(categories).split(QLatin1Char('\n'))) {
                if (line.section(QLatin1Char(':'), 0, 0).toULongLong(nullptr, 16) == mac_cat_t(1) << n
                    && line.contains(QLatin1Char(':')))
                    word = line.section(QLatin1Char(':'), 1);
            }
            words << word;
        }
        return words.join(QStringLiteral(", "));
    }
};

const char *const faults[] = {"openmacdb_r", "getmacuid_r", "setmacent_r", "opencatdb_r", "setcatent_r",
                              "openlevdb_r", "setlevent_r", "openmicdb_r", "getmicuid_r", "tav_get_pid",
                              "mac_init",    "mac_to_text", "tav_ilev_get_text"};

// Writes one policy file chosen at dice.
void changePolicy(QRandomGenerator &dice, StandinPolicy &standin, Policy &policy)
{
    switch (dice.bounded(6)) {
    case 0: {
        const QByteArray users[] = {"*:0:0:3:0xff\n", "*:1:0x2:2:0x7\n", "1000:2:0x4:2:0x5\n*:0:0:3:0xff\n",
                                    "1:0:0:3:0xff\n", "1000:0:0x1:3:0x3\n1001:1:0:1:0x30\n"};
        policy.macUsers = users[dice.bounded(5)];
        standin.write("mac-users", policy.macUsers);
        break;
    }
    case 1: {
        const QByteArray users[] = {"*:63\n", "*:0\n", "1:63\n", "1000:63\n*:0\n"};
        policy.micUsers = users[dice.bounded(4)];
        standin.write("mic-users", policy.micUsers);
        break;
    }
    case 2: {
        policy.categories = StandinPolicy::defaultFile("categories");
        // A category of two bits, and one without a name.
        if (dice.bounded(2))
            policy.categories += "0x3:Both\n0x100\n";
        standin.write("categories", policy.categories);
        break;
    }
    case 3:
    case 4: {
        policy.macOn = dice.bounded(5) != 0;
        policy.processCategories = dice.bounded(2) ? 0x0f : 0;
        standin.write("system", QByteArray("mac_enabled=") + (policy.macOn ? "1" : "0") + "\nprocess_label=0:0:0x"
                                    + QByteArray::number(qulonglong(policy.processCategories), 16)
                                    + "\ncurrent_ilev=" + (dice.bounded(2) ? "63" : "0") + '\n');
        break;
    }
    default:
        policy.fault = dice.bounded(3) ? QByteArray() : QByteArray(faults[dice.bounded(13)]);
        if (policy.fault.isEmpty())
            standin.remove("faults");
        else
            standin.fail(policy.fault.constData());
        break;
    }
}

bool isSubset(mac_cat_t a, mac_cat_t b)
{
    return (a & b) == a;
}

bool comboLocked(const QComboBox &combo)
{
    return !combo.isEnabled() || combo.count() < 2;
}

bool listLocked(const QListWidget &list)
{
    if (!list.isEnabled())
        return true;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->flags() & Qt::ItemIsEnabled)
            return false;
    }
    return true;
}

// A key without a text of its own, as QTest's keyClick asks for one.
void pressKey(QWidget *widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// A random key a person may press in a picker; a combo box hears arrows
// only, as others would open its popup.
void pressKey(QRandomGenerator &dice, QWidget *widget)
{
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Space, Qt::Key_Select, Qt::Key_1, Qt::Key_C};
    const Qt::Key key = keys[dice.bounded(qobject_cast<QComboBox *>(widget) ? 2 : 6)];
    if (key == Qt::Key_1)
        QTest::keyClicks(widget, QString::number(dice.bounded(64)));
    else if (key == Qt::Key_C)
        QTest::keyClicks(widget, QStringLiteral("C"));
    else
        pressKey(widget, key);
}

// The value a combo box shows is the data of its current item.
template <typename Picker>
void checkShown(Picker &picker)
{
    QCOMPARE(qulonglong(picker.value()), picker.currentIndex() < 0 ? 0ull
                                                                    : picker.currentData(Qt::UserRole).toULongLong());
}

} // namespace

class tst_PickerWalk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void walk_data();
    void walk();
};

void tst_PickerWalk::initTestCase()
{
    // Reasons are read as assistive tools read them.
    QAccessible::setActive(true);
}

void tst_PickerWalk::walk_data()
{
    QTest::addColumn<QString>("family");
    for (const char *family : {"level", "integrity", "category list", "category combo", "category editor"}) {
        for (int seed = 1; seed <= seeds; ++seed)
            QTest::addRow("%s, seed %d", family, seed) << QString::fromLatin1(family);
    }
}

void tst_PickerWalk::walk()
{
    QFETCH(QString, family);
    const int seed = QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(' '), -1).toInt();
    QRandomGenerator dice{quint32(seed)};
    const long live = varnel_standin_live();
    StandinPolicy standin;
    Policy policy;

    QWidget window;
    std::unique_ptr<QWidget> picker;
    MacLevelComboBox *level = nullptr;
    ILevelComboBox *integrity = nullptr;
    MacCategoryListWidget *list = nullptr;
    MacCategoryComboBox *combo = nullptr;
    MacCategoryWidget *editor = nullptr;
    if (family == QLatin1String("level"))
        picker.reset(level = new MacLevelComboBox(uid_t(1000), &window));
    else if (family == QLatin1String("integrity"))
        picker.reset(integrity = new ILevelComboBox(uid_t(1000), &window));
    else if (family == QLatin1String("category list"))
        picker.reset(list = new MacCategoryListWidget(uid_t(1000), &window));
    else if (family == QLatin1String("category combo"))
        picker.reset(combo = new MacCategoryComboBox(&window));
    else
        picker.reset(editor = new MacCategoryWidget(&window));
    if (editor)
        list = editor->findChild<MacCategoryListWidget *>();
    QPointer<MacCategoryFilterEdit> filter;
    window.resize(300, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // What the picker was last built with.
    uid_t uid = 1000;
    bool byUser = family != QLatin1String("category combo") && family != QLatin1String("category editor");
    Policy built = policy;
    QList<qulonglong> forced; // values a forced setValue put in since
    mac_cat_t refused = 0;    // the set a refused setValue asked the editor to show
    bool refusedShown = false;
    QString text; // what the editor's line should show
    mac_cat_t callerMaximum = ~mac_cat_t(0); // the list's maximum

    const auto value = [&]() -> qulonglong {
        if (level)
            return level->value();
        if (integrity)
            return integrity->value();
        if (combo)
            return combo->value();
        return list->value();
    };
    QSignalSpy *spy = nullptr;
    if (level)
        spy = new QSignalSpy(level, &MacLevelComboBox::valueChanged);
    else if (integrity)
        spy = new QSignalSpy(integrity, &ILevelComboBox::valueChanged);
    else if (combo)
        spy = new QSignalSpy(combo, &MacCategoryComboBox::valueChanged);
    else if (editor)
        spy = new QSignalSpy(editor, &MacCategoryWidget::valueChanged);
    else
        spy = new QSignalSpy(list, &MacCategoryListWidget::valueChanged);
    const std::unique_ptr<QSignalSpy> spyOwner(spy);

    for (int step = 0; step < steps; ++step) {
        QByteArray where = "seed " + QByteArray::number(seed) + ", step " + QByteArray::number(step);
        const qulonglong before = value();
        spy->clear();
        bool rebuilds = false;
        bool setsQuietly = false; // the combo box's setValue never signals
        QMap<int, Qt::CheckState> hiddenRows;
        if (list) {
            for (int row = 0; row < list->count(); ++row) {
                if (list->item(row)->isHidden())
                    hiddenRows.insert(row, list->item(row)->checkState());
            }
        }
        const int action = dice.bounded(list ? 10 : 8);
        QByteArray what;
        switch (action) {
        case 0:
            changePolicy(dice, standin, policy);
            what = "policy";
            break;
        case 1:
            uid = dice.bounded(3) ? 1000 : 1001;
            rebuilds = byUser = true;
            what = "setUid";
            if (level)
                level->setUid(uid);
            else if (integrity)
                integrity->setUid(uid);
            else if (combo)
                combo->setUid(uid);
            else if (editor)
                editor->setUid(uid);
            else
                list->setUid(uid);
            break;
        case 2:
        case 3: {
            const qulonglong bound = list || combo ? dice.bounded(0x200) : dice.bounded(4) * (integrity ? 21 : 1);
            rebuilds = true;
            what = action == 2 ? "setMinimumValue" : "setMaximumValue";
            if (level)
                action == 2 ? level->setMinimumValue(mac_lev_t(bound)) : level->setMaximumValue(mac_lev_t(bound));
            else if (integrity)
                action == 2 ? integrity->setMinimumValue(TAV_ILEV_T(bound))
                            : integrity->setMaximumValue(TAV_ILEV_T(bound));
            else if (combo)
                action == 2 ? combo->setMinimumValue(bound) : combo->setMaximumValue(bound);
            else if (editor)
                action == 2 ? editor->setMinimumValue(bound) : editor->setMaximumValue(bound);
            else
                action == 2 ? list->setMinimumValue(bound) : list->setMaximumValue(bound);
            // A caller's minimum replaces the user's range in the list, and
            // raises its maximum.
            if (action == 2 && list)
                byUser = false;
            callerMaximum = action == 2 ? callerMaximum | bound : bound;
            break;
        }
        case 4:
            // The editor's list is its own: only its setters rebuild it.
            if (editor)
                break;
            rebuilds = true;
            what = "rebuild";
            if (level)
                level->rebuild();
            else if (integrity)
                integrity->rebuild();
            else if (combo)
                combo->rebuild();
            else
                list->rebuild();
            break;
        case 5: {
            const bool force = dice.bounded(2);
            what = "setValue";
            if (level) {
                const mac_lev_t wanted = mac_lev_t(dice.bounded(12));
                level->setValue(wanted, force);
                if (level->value() == wanted && force)
                    forced << wanted;
            } else if (integrity) {
                const TAV_ILEV_T wanted = dice.bounded(2) ? dice.bounded(70) : 63;
                integrity->setValue(wanted, force);
                if (integrity->value() == wanted && force)
                    forced << wanted;
            } else if (combo) {
                combo->setValue(mac_cat_t(1) << dice.bounded(10));
                setsQuietly = true;
            } else {
                const mac_cat_t wanted = dice.bounded(0x400);
                if (editor) {
                    editor->setValue(wanted);
                    // A set the list refused outright is shown as asked.
                    refusedShown = list->value() == before && before != wanted;
                    refused = wanted;
                } else {
                    const bool taken = list->setValue(wanted);
                    WALK_VERIFY(taken == (list->value() == wanted), where);
                }
            }
            break;
        }
        case 6:
        case 7:
            what = "a person";
            if (list && list->count() > 0 && dice.bounded(2)) {
                // A click on a row in view.
                QListWidgetItem *row = list->item(dice.bounded(list->count()));
                if (!row->isHidden() && (row->flags() & Qt::ItemIsEnabled) && list->isEnabled())
                    row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            } else {
                pressKey(dice, list ? static_cast<QWidget *>(list) : picker.get());
            }
            break;
        case 8:
            what = "filter";
            switch (dice.bounded(4)) {
            case 0:
                if (!filter) {
                    filter = new MacCategoryFilterEdit(&window);
                    filter->setCategoryList(list);
                }
                break;
            case 1:
                if (filter)
                    filter->setCategoryList(dice.bounded(2) ? nullptr : list);
                break;
            case 2:
                delete filter;
                break;
            default:
                if (filter) {
                    const char *texts[] = {"", "C", "C5", "Both", "1", "zebra"};
                    filter->setText(QString::fromLatin1(texts[dice.bounded(6)]));
                }
                break;
            }
            break;
        default: {
            // The program moves to a row in view.
            what = "current row";
            const int row = list->count() ? dice.bounded(list->count()) : -1;
            if (row >= 0 && !list->item(row)->isHidden())
                list->setCurrentRow(row);
            break;
        }
        }
        where += QByteArray(" (" + what + ")");
        if (rebuilds) {
            built = policy;
            forced.clear();
            refusedShown = false;
        }

        // No handle of the platform stays open.
        WALK_VERIFY(varnel_standin_live() == live, where);

        // valueChanged fired exactly when the value changed, outside rebuilds.
        const qulonglong now = value();
        if (rebuilds) {
            if (level || integrity || combo)
                WALK_VERIFY(spy->isEmpty(), where);
        } else {
            const bool changed = now != before;
            WALK_VERIFY(spy->count() == (changed && !setsQuietly ? 1 : 0), where + " emissions " + QByteArray::number(spy->count()));
            if (!spy->isEmpty())
                WALK_VERIFY(spy->last().first().toULongLong() == now, where);
        }

        // The value is what the picker shows, within the user's range.
        if (level) {
            checkShown(*level);
            const QPair<int, int> range = built.levelRange(uid);
            WALK_VERIFY(level->count() == 0 || (int(now) >= range.first && int(now) <= range.second)
                         || forced.contains(now),
                     where);
        } else if (integrity) {
            checkShown(*integrity);
            WALK_VERIFY(integrity->count() == 0 || now <= built.integrityMaximum(uid) || forced.contains(now), where);
        } else if (combo) {
            checkShown(*combo);
            if (byUser && combo->count() > 0)
                WALK_VERIFY(isSubset(now, built.categoryRange(uid).second), where);
        }
        if (list) {
            mac_cat_t checked = 0;
            for (int row = 0; row < list->count(); ++row) {
                const QListWidgetItem *item = list->item(row);
                if (item->checkState() == Qt::Checked)
                    checked |= list->cat4Item(item);
                // The filter never hides a checked row; a hidden row is
                // never current, and no key changed one.
                WALK_VERIFY(!(item->isHidden() && item->checkState() == Qt::Checked), where);
                if (hiddenRows.contains(row) && !rebuilds && what != "setValue" && what != "filter")
                    WALK_VERIFY(item->checkState() == hiddenRows.value(row), where);
            }
            WALK_VERIFY(checked == now, where);
            WALK_VERIFY(!list->currentItem() || !list->currentItem()->isHidden(), where);
            if (byUser) {
                const QPair<mac_cat_t, mac_cat_t> range = built.categoryRange(uid);
                WALK_VERIFY(isSubset(now, range.second), where + " value " + QByteArray::number(now, 16));
                if (list->count() > 0)
                    WALK_VERIFY(isSubset(range.first & callerMaximum, now), where);
            }
        }
        if (editor) {
            // The line follows every setter and every change of the set, in
            // the names the policy gave at that moment.
            if (what != "setValue" && (rebuilds || !spy->isEmpty()))
                refusedShown = false;
            if (rebuilds || what == "setValue" || !spy->isEmpty())
                text = policy.failing({"mac_init", "mac_to_text"}) ? QString()
                                                                   : policy.names(refusedShown ? refused : now);
            const QString shownText = editor->findChild<QLabel *>()->text().trimmed();
            WALK_VERIFY(shownText == text, where + " text '" + shownText.toUtf8() + "', not '" + text.toUtf8() + "'");
        }

        // A reason exactly when the picker is locked.
        QWidget *shown = list && !editor ? static_cast<QWidget *>(list) : picker.get();
        if (!editor) {
            const bool locked = list ? listLocked(*list) : comboLocked(*static_cast<QComboBox *>(shown));
            // A reader that starts now is told the reason afresh.
            QAccessible::setActive(false);
            QAccessible::setActive(true);
            QString reason = shown->accessibleDescription();
            // A combo box without a caption says first what it is.
            const QString kind = shown->accessibleName();
            if (qobject_cast<QComboBox *>(shown) && !kind.isEmpty()) {
                if (reason == kind)
                    reason.clear();
                else if (reason.startsWith(kind + QLatin1String(": ")))
                    reason = reason.mid(kind.size() + 2);
            }
            WALK_VERIFY(locked == !reason.isEmpty(), where + " reason '" + reason.toUtf8() + "'");
            if (locked && !built.macOn && !integrity && rebuilds)
                WALK_VERIFY(reason.contains(QLatin1String("switched off")), where);
        }
    }
    picker.reset();
    delete filter;
    QCOMPARE(varnel_standin_live(), live);
}

QTEST_MAIN(tst_PickerWalk)
#include "tst_pickerwalk.moc"
