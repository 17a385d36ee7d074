// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ILevelComboBox.h"
#include "LoginMacLabelWidget.h"
#include "MacCategoryListWidget.h"
#include "MacFileModel.h"
#include "MacLevelComboBox.h"
#include "LoginWidgetState.h"
#include "StandinPolicy.h"
#include "StrictChild.h"
#include "labelpolicy.h"

#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTreeView>

#include <cstdlib>
#include <memory>
#include <unistd.h>

using namespace VarnelQt5;

Q_DECLARE_METATYPE(QList<mac_lev_t>)
Q_DECLARE_METATYPE(QList<TAV_ILEV_T>)

namespace {

template <typename T>
T *part(const QWidget &widget, const char *name)
{
    T *found = widget.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

MacLevelComboBox *levelPicker(const QWidget &w) { return part<MacLevelComboBox>(w, "_levelComboBox"); }
ILevelComboBox *integrityPicker(const QWidget &w) { return part<ILevelComboBox>(w, "_integrityComboBox"); }
MacCategoryListWidget *categoryList(const QWidget &w) { return part<MacCategoryListWidget>(w, "_categoryListWidget"); }

QList<TAV_ILEV_T> integrityValues(const ILevelComboBox &combo)
{
    QList<TAV_ILEV_T> values;
    for (int i = 0; i < combo.count(); ++i)
        values.append(combo.itemData(i).toUInt());
    return values;
}

std::unique_ptr<LoginMacLabelWidget> makeWidget(uid_t uid, bool themed)
{
    if (themed)
        return std::make_unique<LoginMacLabelWidget>(uid, true, true, nullptr);
    return std::make_unique<LoginMacLabelWidget>(uid, nullptr, false);
}

QByteArray contents(const StandinPolicy &policy, const char *name)
{
    QFile file(policy.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString labelText(LoginMacLabelWidget &widget)
{
    char *text = widget.malloc_mac_label_text();
    const QString result = text ? QString::fromLatin1(text) : QStringLiteral("(null)");
    std::free(text);
    return result;
}

// The level hint where the user's range names no level: a reason, never the
// name of a level the user may not have.
QString noLevel()
{
    return QStringLiteral("No level lies within this user's range");
}

QString joinedIds(const MacFileModel &model)
{
    QStringList ids;
    for (const unsigned long id : model.checkedIds())
        ids.append(QString::number(id));
    return ids.join(QLatin1Char(','));
}

} // namespace

class tst_LoginMacLabelWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void userRanges_data();
    void userRanges();
    void formParts_data();
    void formParts();
    void callingUser();
    void formConstructorTakesTheRunningUser();
    void strictMode();
    void lastChoiceSavedAndRestored();
    void switchingUsersKeepsTheNewUsersChoice();
    void unresolvedUserIdHasNoLastChoice();
    void hintsStayWithoutLabelObject();
    void hintsShowNamesAsText_data();
    void hintsShowNamesAsText();
    void setEditable_data();
    void setEditable();
    void setMaxIntegrityLevel_data();
    void setMaxIntegrityLevel();
    void argumentsAndCommand();
    void productsWithoutLabel_data();
    void productsWithoutLabel();
    void readOnlyLoginParent_data();
    void readOnlyLoginParent();
    void noHandleLeaksOnFaults_data();
    void noHandleLeaksOnFaults();
    void failedAndOddRebuilds_data();
    void failedAndOddRebuilds();
    void hiddenIntegrityHoldsNoChoice();
    void policyChangesForUnknownNames();
    void informationLineNamesEveryCategory_data();
    void informationLineNamesEveryCategory();

private:
    long m_liveBefore = 0;
};

void tst_LoginMacLabelWidget::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_LoginMacLabelWidget::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_LoginMacLabelWidget::userRanges_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QList<mac_lev_t>>("levels");
    QTest::addColumn<QString>("levelHint"); // empty: the picker is shown, the hint hidden
    QTest::addColumn<QString>("categoryHint");
    QTest::addColumn<bool>("suitable");
    QTest::addColumn<bool>("variability");

    for (const bool themed : {false, true}) {
        const char *form = themed ? "themed: " : "plain: ";
        QTest::newRow(QByteArray(form + QByteArray("everything")).constData())
            << themed << QByteArray("1000:0:0:3:0xff\n") << QList<mac_lev_t>{0, 1, 2, 3}
            << QString() << QString() << true << true;
        QTest::newRow(QByteArray(form + QByteArray("one level")).constData())
            << themed << QByteArray("1000:2:0:2:0xff\n") << QList<mac_lev_t>{2}
            << QString() << QString() << true << true;
        QTest::newRow(QByteArray(form + QByteArray("no level")).constData())
            << themed << QByteArray("1000:5:0:6:0xff\n") << QList<mac_lev_t>{}
            << noLevel() << QString() << true << true;
        QTest::newRow(QByteArray(form + QByteArray("fixed categories")).constData())
            << themed << QByteArray("1000:1:0x15:1:0x15\n") << QList<mac_lev_t>{1}
            << QString() << QStringLiteral("C0, C2, C4") << true << false;
    }
    QTest::newRow("no level and fixed categories") << false << QByteArray("1000:7:0x3:7:0x3\n")
        << QList<mac_lev_t>{} << noLevel() << QStringLiteral("C0, C1") << false << false;
}

void tst_LoginMacLabelWidget::userRanges()
{
    QFETCH(bool, themed);
    QFETCH(QByteArray, macUsers);
    QFETCH(QList<mac_lev_t>, levels);
    QFETCH(QString, levelHint);
    QFETCH(QString, categoryHint);
    QFETCH(bool, suitable);
    QFETCH(bool, variability);

    StandinPolicy policy;
    policy.write("mac-users", macUsers);
    policy.write("mic-users", "1000:0\n");
    const auto widget = makeWidget(1000, themed);

    QCOMPARE(levelPicker(*widget)->allValues(), levels);
    QCOMPARE(levelPicker(*widget)->isHidden(), !levelHint.isEmpty());
    // A single level is shown, but there is nothing to pick.
    QCOMPARE(levelPicker(*widget)->isEnabled(), levels.size() > 1);
    QLabel *levelHintLabel = part<QLabel>(*widget, "_levelHintLabel");
    QCOMPARE(levelHintLabel->isHidden(), levelHint.isEmpty());
    if (!levelHint.isEmpty())
        QCOMPARE(levelHintLabel->text(), levelHint);
    QVERIFY(!part<QLabel>(*widget, "_levelLabelLabel")->isHidden());

    QCOMPARE(categoryList(*widget)->isHidden(), !categoryHint.isEmpty());
    QLabel *categoryHintLabel = part<QLabel>(*widget, "_categoryHintLabel");
    QCOMPARE(categoryHintLabel->isHidden(), categoryHint.isEmpty());
    if (!categoryHint.isEmpty())
        QCOMPARE(categoryHintLabel->text(), categoryHint);
    QCOMPARE(widget->isSuitable(), suitable);
    QCOMPARE(widget->isVariability(), variability);
}

void tst_LoginMacLabelWidget::formParts_data()
{
    QTest::addColumn<bool>("themed");
    QTest::newRow("plain") << false;
    QTest::newRow("themed") << true;
}

// What each form holds whatever the user's range: the role trees, hidden
// until asked for, and the form's own button layout.
void tst_LoginMacLabelWidget::formParts()
{
    QFETCH(bool, themed);
    StandinPolicy policy;
    const auto widget = makeWidget(1000, themed);

    QVERIFY(part<QWidget>(*widget, "_rolesGroupBox")->isHidden());
    QVERIFY(QMetaObject::invokeMethod(widget.get(), "setVisibleRoles", Q_ARG(bool, true)));
    QVERIFY(!part<QWidget>(*widget, "_rolesGroupBox")->isHidden());
    for (const char *name : {"_userTreeView", "_adminTreeView"}) {
        const QTreeView *view = part<QTreeView>(*widget, name);
        QVERIFY(qobject_cast<MacFileModel *>(view->model()));
        QVERIFY(view->isHeaderHidden());
        QVERIFY(!view->isColumnHidden(0) && view->isColumnHidden(1) && view->isColumnHidden(2));
        QCOMPARE(view->header()->sectionResizeMode(0), QHeaderView::ResizeToContents);
    }
    QVERIFY(part<QTreeView>(*widget, "_userTreeView")->model()
            != part<QTreeView>(*widget, "_adminTreeView")->model());
    QCOMPARE(widget->buttonLayout() == nullptr, themed);
    QCOMPARE(widget->newButtonLayout() == nullptr, !themed);
}

void tst_LoginMacLabelWidget::callingUser()
{
    // (uid_t)-1 is the calling user, bounded below by the process's level.
    StandinPolicy policy;
    policy.write("system", "process_label=2:0:0\n");
    policy.write("lastchoice", QByteArray::number(getuid()) + ":3:0x5\n");
    LoginMacLabelWidget widget(uid_t(-1), nullptr, false);
    QCOMPARE(levelPicker(widget)->allValues(), QList<mac_lev_t>({2, 3}));
    QCOMPARE(widget.level(), mac_lev_t(3));
    QCOMPARE(widget.categories(), mac_cat_t(0x5));
}

void tst_LoginMacLabelWidget::formConstructorTakesTheRunningUser()
{
    // What code generated from a form calls: the plain form for getuid(),
    // without the process label's lower bound that uid_t(-1) brings.
    StandinPolicy policy;
    policy.write("system", "process_label=2:0:0\n");
    policy.write("lastchoice", QByteArray::number(getuid()) + ":1:0x3\n");
    QWidget parent;
    auto *widget = new LoginMacLabelWidget(&parent);
    QCOMPARE(widget->parentWidget(), &parent);
    QVERIFY(!widget->themed());
    QVERIFY(widget->newButtonLayout() == nullptr);
    QCOMPARE(levelPicker(*widget)->allValues(), QList<mac_lev_t>({0, 1, 2, 3}));
    QCOMPARE(widget->level(), mac_lev_t(1));
    QCOMPARE(widget->categories(), mac_cat_t(0x3));
}

void tst_LoginMacLabelWidget::strictMode()
{
    // Strict mode is read when the library loads, so it is checked in a
    // child process that starts on a strict policy.
    if (qEnvironmentVariableIsSet("VARNEL_LOGIN_STRICT_CHILD")) {
        QVERIFY(varnel_strict_mode() != 0);
        LoginMacLabelWidget widget(1000, nullptr, false);
        QVERIFY(integrityPicker(widget)->isHidden());
        QVERIFY(part<QLabel>(widget, "_integrityLabel")->isHidden());
        widget.show();
        QVERIFY(!widget.isIntegrityLevelVisible());
        levelPicker(widget)->setValue(2);
        categoryList(widget)->setValue(0x3);
        integrityPicker(widget)->setValue(63);
        QCOMPARE(widget.integrity(), TAV_ILEV_T(63));
        QCOMPARE(labelText(widget), QStringLiteral("2:0:0x3"));
        QCOMPARE(widget.getVexorArguments().value(1), QStringLiteral("High"));
        widget.setEditable(false);
        QVERIFY(widget.isIntegrityLevelVisible());
        // Back in selection the integrity level is hidden again.
        widget.setEditable(true);
        QVERIFY(!widget.isIntegrityLevelVisible());
        QVERIFY(part<QLabel>(widget, "_integrityLabel")->isHidden());
        return;
    }

    StandinPolicy policy;
    const QByteArray failure = failureOfStrictChild(policy, "VARNEL_LOGIN_STRICT_CHILD", "tst_LoginMacLabelWidget");
    QVERIFY2(failure.isEmpty(), failure.constData());

    // Outside strict mode the chosen integrity level is part of the label.
    policy.write("system", "");
    LoginMacLabelWidget widget(1000, nullptr, false);
    QVERIFY(!integrityPicker(widget)->isHidden());
    integrityPicker(widget)->setValue(63);
    QCOMPARE(labelText(widget), QStringLiteral("0:63:0x0"));
}

void tst_LoginMacLabelWidget::lastChoiceSavedAndRestored()
{
    StandinPolicy policy;
    {
        LoginMacLabelWidget first(1000, true, true, nullptr);
        levelPicker(first)->setValue(2);
        categoryList(first)->setValue(0x3);
        integrityPicker(first)->setValue(63);
        QVERIFY(first.saveChoice());
    }
    QCOMPARE(contents(policy, "lastchoice"), QByteArray("1000:2:0x3\n"));

    LoginMacLabelWidget second(1000, nullptr, false);
    QCOMPARE(second.level(), mac_lev_t(2));
    QCOMPARE(second.categories(), mac_cat_t(0x3));
    QCOMPARE(second.integrity(), TAV_ILEV_T(0));

    // A remembered level the user may no longer use is not selected.
    policy.write("mac-users", "1000:0:0:1:0xff\n");
    second.setUid(1000);
    QCOMPARE(second.level(), mac_lev_t(0));
    QCOMPARE(second.categories(), mac_cat_t(0x3));

    policy.fail("setlchuid");
    QVERIFY(!second.saveChoice());
}

void tst_LoginMacLabelWidget::switchingUsersKeepsTheNewUsersChoice()
{
    // The remembered categories of the new user lie outside the previous
    // user's range; they must be judged against the new user's.
    StandinPolicy policy;
    policy.write("mac-users", "1000:0:0:1:0x1\n2000:0:0:3:0xff\n3000:0:0:3:0xff\n");
    policy.write("lastchoice", "2000:3:0x6\n");
    LoginMacLabelWidget widget(1000, nullptr, false);
    QCOMPARE(levelPicker(widget)->allValues(), QList<mac_lev_t>({0, 1}));

    widget.setUid(2000);
    QCOMPARE(levelPicker(widget)->allValues(), QList<mac_lev_t>({0, 1, 2, 3}));
    QCOMPARE(widget.level(), mac_lev_t(3));
    QCOMPARE(widget.categories(), mac_cat_t(0x6));

    // A level picker that refuses the user loads no last choice, and its row
    // stays hidden for later users. The previous user's categories are not
    // carried over.
    policy.write("lastchoice", "3000:1:0x1\n");
    policy.fail("openlevdb_r");
    widget.setUid(3000);
    QCOMPARE(widget.categories(), mac_cat_t(0));
    QVERIFY(levelPicker(widget)->isHidden());
    QVERIFY(part<QLabel>(widget, "_levelLabelLabel")->isHidden());
    policy.remove("faults");
    widget.setUid(3000);
    QVERIFY(!levelPicker(widget)->isHidden());
    // As a new widget for the user shows it: the caption is back too.
    QVERIFY(!part<QLabel>(widget, "_levelLabelLabel")->isHidden());
    QCOMPARE(widget.categories(), mac_cat_t(0x1));
}

void tst_LoginMacLabelWidget::unresolvedUserIdHasNoLastChoice()
{
    // (uid_t)-2 stands for a name nobody has: nothing is remembered for it.
    StandinPolicy policy;
    const QByteArray stored = QByteArray::number(uid_t(-2)) + ":2:0x1\n";
    policy.write("lastchoice", stored);
    LoginMacLabelWidget widget(uid_t(-2), nullptr, false);
    QCOMPARE(widget.level(), mac_lev_t(0));
    QVERIFY(!widget.loadLastChoice());
    levelPicker(widget)->setValue(3);
    QVERIFY(!widget.saveChoice());
    QCOMPARE(contents(policy, "lastchoice"), stored);
}

void tst_LoginMacLabelWidget::hintsStayWithoutLabelObject()
{
    StandinPolicy policy;
    policy.write("mac-users", "1000:1:0x5:1:0x5\n2000:1:0x8:1:0x8\n");
    LoginMacLabelWidget widget(1000, nullptr, false);
    QLabel *hint = part<QLabel>(widget, "_categoryHintLabel");
    QCOMPARE(hint->text(), QStringLiteral("C0, C2"));

    // Without a label object there are no names: the hint is empty, never
    // the previous user's names nor the form's placeholder.
    policy.fail("mac_init");
    widget.setUid(2000);
    QCOMPARE(widget.categories(), mac_cat_t(0x8));
    QCOMPARE(hint->text(), QString());
    QVERIFY(!hint->isHidden());
    LoginMacLabelWidget fresh(2000, true, true, nullptr);
    QCOMPARE(part<QLabel>(fresh, "_categoryHintLabel")->text(), QString());
    QCOMPARE(part<QLabel>(fresh, "_levelHintLabel")->text(), QString());

    policy.remove("faults");
    widget.setUid(2000);
    QCOMPARE(hint->text(), QStringLiteral("C3"));
}

void tst_LoginMacLabelWidget::hintsShowNamesAsText_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("file"); // of the policy, with names the user may not change
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<QString>("hint");

    for (const bool themed : {false, true}) {
        const QByteArray form(themed ? "themed: " : "plain: ");
        QTest::newRow(QByteArray(form + "level").constData()) << themed << QByteArray("levels")
            << QByteArray("0:<b>Public</b>\n") << QByteArray("1000:5:0:5:0xff\n") << noLevel();
        QTest::newRow(QByteArray(form + "categories").constData()) << themed << QByteArray("categories")
            << QByteArray("0x1:R&amp;D <u>Legal</u>\n0x2:<i>HR</i>\n") << QByteArray("1000:0:0x3:3:0x3\n")
            << QStringLiteral("R&amp;D <u>Legal</u>, <i>HR</i>");
    }
}

void tst_LoginMacLabelWidget::hintsShowNamesAsText()
{
    // The pickers show the policy's names as they are; so do the hints.
    QFETCH(bool, themed);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, macUsers);
    QFETCH(QString, hint);

    StandinPolicy policy;
    policy.write(file.constData(), contents);
    policy.write("mac-users", macUsers);
    const auto widget = makeWidget(1000, themed);
    QLabel *label = part<QLabel>(*widget, file == "levels" ? "_levelHintLabel" : "_categoryHintLabel");
    QVERIFY(!label->isHidden());
    QCOMPARE(label->text(), hint);
    // Rendered as markup, the tags would take no room: the hint takes the
    // room of its characters, as a label of plain text beside it does.
    auto *plain = new QLabel(label->parentWidget());
    plain->setTextFormat(Qt::PlainText);
    plain->setWordWrap(true);
    plain->setText(hint);
    QCOMPARE(label->sizeHint(), plain->sizeHint());
}

void tst_LoginMacLabelWidget::setEditable_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("processLabel");
    QTest::addColumn<QList<mac_lev_t>>("levelsShown");
    QTest::addColumn<mac_lev_t>("levelShown");
    QTest::addColumn<mac_cat_t>("categoriesShown");

    // The user may use levels 0..1; the process runs at level 3.
    QTest::newRow("plain shows the process's level too") << false << QByteArray("3:63:0x2")
        << QList<mac_lev_t>{0, 1, 3} << mac_lev_t(3) << mac_cat_t(0x2);
    QTest::newRow("themed shows the process's level") << true << QByteArray("3:63:0x2")
        << QList<mac_lev_t>{0, 1, 3} << mac_lev_t(3) << mac_cat_t(0x2);
    QTest::newRow("level within the list") << false << QByteArray("0:0:0x4")
        << QList<mac_lev_t>{0, 1} << mac_lev_t(0) << mac_cat_t(0x4);
    // Without the process's label there is nothing to show: no level is
    // selected, and the last choice is not passed off as the process's.
    QTest::newRow("no process label") << false << QByteArray()
        << QList<mac_lev_t>{0, 1} << mac_lev_t(0) << mac_cat_t(0);
}

void tst_LoginMacLabelWidget::setEditable()
{
    QFETCH(bool, themed);
    QFETCH(QByteArray, processLabel);
    QFETCH(QList<mac_lev_t>, levelsShown);
    QFETCH(mac_lev_t, levelShown);
    QFETCH(mac_cat_t, categoriesShown);

    StandinPolicy policy;
    policy.write("mac-users", "1000:0:0:1:0xff\n");
    policy.write("lastchoice", "1000:1:0x1\n");
    const auto widget = makeWidget(1000, themed);
    QCOMPARE(widget->level(), mac_lev_t(1));
    widget->setIntegrityLevelVisible(false);

    if (processLabel.isEmpty())
        policy.fail("tav_get_pid");
    else
        policy.write("system", "process_label=" + processLabel + '\n');
    widget->setEditable(false);
    QVERIFY(!widget->editable());
    QVERIFY(!integrityPicker(*widget)->isHidden());
    for (const char *name : {"_levelComboBox", "_integrityComboBox", "_categoryListWidget",
                             "_userTreeView", "_adminTreeView"})
        QVERIFY2(!part<QWidget>(*widget, name)->isEnabled(), name);
    QCOMPARE(levelPicker(*widget)->allValues(), levelsShown);
    QCOMPARE(widget->level(), levelShown);
    QCOMPARE(widget->categories(), categoriesShown);
    // What is shown is the process's label, not a choice to remember.
    QVERIFY(!widget->saveChoice());
    QCOMPARE(contents(policy, "lastchoice"), QByteArray("1000:1:0x1\n"));

    policy.remove("faults");
    policy.write("lastchoice", "1000:0:0x6\n");
    widget->setEditable(true);
    QVERIFY(widget->editable());
    for (const char *name : {"_levelComboBox", "_integrityComboBox", "_categoryListWidget",
                             "_userTreeView", "_adminTreeView"})
        QVERIFY2(part<QWidget>(*widget, name)->isEnabled(), name);
    QCOMPARE(widget->level(), mac_lev_t(0));
    QCOMPARE(widget->categories(), mac_cat_t(0x6));
}

void tst_LoginMacLabelWidget::setMaxIntegrityLevel_data()
{
    QTest::addColumn<QByteArray>("macUsers");
    QTest::addColumn<TAV_ILEV_T>("expected");

    QTest::newRow("level 0 alone, no categories") << QByteArray("1000:0:0:0:0\n") << TAV_ILEV_T(63);
    QTest::newRow("level 1 alone") << QByteArray("1000:1:0:1:0\n") << TAV_ILEV_T(0);
    QTest::newRow("level 0 with a category") << QByteArray("1000:0:0:0:0x1\n") << TAV_ILEV_T(0);
    QTest::newRow("two levels") << QByteArray("1000:0:0:1:0\n") << TAV_ILEV_T(0);
    QTest::newRow("no level at all") << QByteArray("1000:9:0:9:0\n") << TAV_ILEV_T(63);
}

void tst_LoginMacLabelWidget::setMaxIntegrityLevel()
{
    QFETCH(QByteArray, macUsers);
    QFETCH(TAV_ILEV_T, expected);

    StandinPolicy policy;
    policy.write("mac-users", macUsers);
    policy.write("system", "current_ilev=63\n");
    LoginMacLabelWidget widget(1000, nullptr, false);
    QCOMPARE(integrityValues(*integrityPicker(widget)), QList<TAV_ILEV_T>({0, 63}));
    integrityPicker(widget)->setValue(expected == 0 ? 63 : 0);
    widget.setMaxIntegrityLevel();
    QCOMPARE(widget.integrity(), expected);
}

void tst_LoginMacLabelWidget::argumentsAndCommand()
{
    StandinPolicy policy;
    LoginMacLabelWidget widget(1000, true, true, nullptr);
    levelPicker(widget)->setValue(2);
    categoryList(widget)->setValue(0x3);
    integrityPicker(widget)->setValue(63);
    QCOMPARE(labelText(widget), QStringLiteral("2:63:0x3"));

    // Nothing checked: two empty trailing entries, never missing ones.
    QCOMPARE(widget.getVexorArguments(),
             QStringList({"2", "High", "3", QString(), QString()}));
    QCOMPARE(widget.getVexorCommand(),
             QStringList({"vexor", "-x", "--level=2", "--category=0x3"}));

    // The role ids are whatever the two trees hold checked, in their order.
    const QList<MacFileModel *> models = widget.findChildren<MacFileModel *>();
    QCOMPARE(models.size(), 2);
    for (MacFileModel *model : models) {
        for (int row = 0; row < model->rowCount() && row < 2; ++row)
            QVERIFY(model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole));
    }
    const QStringList arguments = widget.getVexorArguments();
    QCOMPARE(arguments.size(), 5);
    const QStringList joined{joinedIds(*models.at(0)), joinedIds(*models.at(1))};
    QVERIFY(arguments.mid(3) == joined || arguments.mid(3) == QStringList({joined.at(1), joined.at(0)}));
    for (MacFileModel *model : models)
        QCOMPARE(model->checkedIds().isEmpty(), model->rowCount() == 0);
    QCOMPARE(widget.getVexorCommand(),
             QStringList({"vexor", "-x", "--level=2", "--category=0x3"}));
}

void tst_LoginMacLabelWidget::productsWithoutLabel_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("arguments");
    QTest::addColumn<int>("command");

    QTest::newRow("no label object") << QByteArray("mac_init") << QStringLiteral("1:0:0x0") << 0 << 0;
    // Without the label text's two fields the category entry would be role ids.
    QTest::newRow("no label text") << QByteArray("mac_to_text") << QStringLiteral("1:0:0x0") << 4 << 0;
    QTest::newRow("no label handle") << QByteArray("tavl_get_new") << QStringLiteral("(null)") << 5 << 4;
}

void tst_LoginMacLabelWidget::productsWithoutLabel()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, label);
    QFETCH(int, arguments);
    QFETCH(int, command);

    StandinPolicy policy;
    LoginMacLabelWidget widget(1000, nullptr, false);
    levelPicker(widget)->setValue(1);
    policy.fail(fault.constData());
    QCOMPARE(labelText(widget), label);
    QCOMPARE(widget.getVexorArguments().size(), arguments);
    QCOMPARE(widget.getVexorCommand().size(), command);
}

void tst_LoginMacLabelWidget::readOnlyLoginParent_data()
{
    QTest::addColumn<int>("parentKind"); // 0: a plain widget, 1: editable login widget, 2: read-only
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QList<mac_lev_t>>("levels");
    QTest::addColumn<QList<TAV_ILEV_T>>("integrityLevels");
    QTest::addColumn<TAV_ILEV_T>("integrity");

    const QByteArray process("process_label=2:63:0\n");
    QTest::newRow("plain parent") << 0 << process << QList<mac_lev_t>{0} << QList<TAV_ILEV_T>{0} << TAV_ILEV_T(0);
    QTest::newRow("editable login widget") << 1 << process << QList<mac_lev_t>{0} << QList<TAV_ILEV_T>{0}
                                           << TAV_ILEV_T(0);
    QTest::newRow("read-only login widget") << 2 << process << QList<mac_lev_t>{2}
                                            << QList<TAV_ILEV_T>{0, 63} << TAV_ILEV_T(63);
    QTest::newRow("read-only without process label") << 2 << QByteArray() << QList<mac_lev_t>{0}
                                                     << QList<TAV_ILEV_T>{0} << TAV_ILEV_T(0);
}

void tst_LoginMacLabelWidget::readOnlyLoginParent()
{
    // A user without records inside a read-only login widget is bounded by
    // the process's own label; anywhere else by nothing beyond level 0.
    QFETCH(int, parentKind);
    QFETCH(QByteArray, system);
    QFETCH(QList<mac_lev_t>, levels);
    QFETCH(QList<TAV_ILEV_T>, integrityLevels);
    QFETCH(TAV_ILEV_T, integrity);

    StandinPolicy policy;
    policy.write("mac-users", "");
    policy.write("mic-users", "");
    policy.write("system", system.isEmpty() ? QByteArray("process_label=2:63:0\n") : system);

    QWidget plainParent;
    LoginMacLabelWidget login(1000, nullptr, false);
    MacLevelComboBox *level = levelPicker(login);
    ILevelComboBox *ilevel = integrityPicker(login);
    if (parentKind == 0) {
        level = new MacLevelComboBox(&plainParent);
        ilevel = new ILevelComboBox(&plainParent);
    } else if (parentKind == 2) {
        login.setEditable(false);
    }
    if (system.isEmpty())
        policy.fail("tav_get_pid");
    varnel_standin_trace_clear();
    level->setUid(1000);
    ilevel->setUid(1000);

    QCOMPARE(level->allValues(), levels);
    QCOMPARE(integrityValues(*ilevel), integrityLevels);
    QCOMPARE(ilevel->value(), integrity);
    QCOMPARE(StandinPolicy::trace().contains(QStringLiteral("tav_get_pid")), parentKind == 2);
}

void tst_LoginMacLabelWidget::noHandleLeaksOnFaults_data()
{
    QTest::addColumn<QByteArray>("call");
    for (const char *call : {"openlevdb_r", "setlevent_r", "getlevent_r", "opencatdb_r", "setcatent_r",
                             "getcatent_r", "openmacdb_r", "getmacuid_r", "openmicdb_r", "getmicuid_r",
                             "getlchuid", "setlchuid", "tav_get_pid", "tavl_get_new", "tavl_get_text",
                             "tav_ilev_get_text", "mac_init", "mac_to_text", "varnel_mac_enabled"})
        QTest::newRow(call) << QByteArray(call);
}

void tst_LoginMacLabelWidget::noHandleLeaksOnFaults()
{
    // Every path of the widget under each failure the platform can give;
    // cleanup() checks that every handle went back.
    QFETCH(QByteArray, call);
    StandinPolicy policy;
    policy.write("mac-users", "1000:0:0x1:1:0x1\n2000:0:0:3:0xff\n");
    policy.write("lastchoice", "2000:1:0x2\n");
    policy.fail(call.constData());
    for (const bool themed : {false, true}) {
        const auto widget = makeWidget(uid_t(-1), themed);
        widget->setUid(1000);
        widget->setUid(2000);
        widget->setEditable(false);
        widget->setEditable(true);
        widget->setMaxIntegrityLevel();
        widget->saveChoice();
        std::free(widget->malloc_mac_label_text());
        widget->getVexorCommand();
    }
}

// A condition as data: "fault:CALL", or "FILE=CONTENTS" with \n for line
// ends (empty contents remove the file).
static void applyCondition(const StandinPolicy &policy, const QByteArray &condition)
{
    for (const QByteArray &step : condition.split('|')) {
        if (step.startsWith("fault:")) {
            policy.fail(step.mid(6).constData());
        } else {
            const int equals = step.indexOf('=');
            QByteArray text = step.mid(equals + 1);
            policy.writeOrRemove(step.left(equals).constData(), text.replace("\\n", "\n"));
        }
    }
}

void tst_LoginMacLabelWidget::failedAndOddRebuilds_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("condition"); // applied after the widget was built for user 1000
    QTest::addColumn<QString>("label");        // after setUid(2000)
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<QString>("line");         // names of the process's categories in information mode

    for (const bool themed : {false, true}) {
        const auto row = [themed](const char *name) -> QTestData & {
            return QTest::newRow(QByteArray(QByteArray(themed ? "themed: " : "plain: ") + name).constData()) << themed;
        };
        const QString names = QStringLiteral("C4, C5");
        // A list that could not be built takes no last choice and gives no
        // categories; the level, built, takes its part.
        row("category database") << QByteArray("fault:opencatdb_r") << "1:0:0x0" << true << false << names;
        row("category walk") << QByteArray("fault:setcatent_r") << "1:0:0x0" << true << false << names;
        // Nothing of user 1000's range is left to judge user 2000's choice by.
        row("user database unreadable") << QByteArray("mac-users=") << "0:0:0x0" << false << false << names;
        row("user database fails") << QByteArray("fault:openmacdb_r") << "0:0:0x0" << false << false << names;
        row("MAC off") << QByteArray("system=mac_enabled=0\\nprocess_label=3:63:0x30\\n") << "0:0:0x0" << false
                       << false << names;
        // No names without a label object: empty hints, numbers in the line.
        row("no label object") << QByteArray("fault:mac_init") << "1:0:0x2" << true << true
                               << QStringLiteral("4, 5");
        row("integrity database unreadable") << QByteArray("mic-users=") << "1:0:0x2" << true << true << names;
        row("integrity database fails") << QByteArray("fault:openmicdb_r") << "1:0:0x2" << true << true << names;
        // A range that names no level: nothing is saved.
        row("empty level range") << QByteArray("mac-users=1000:0:0:3:0xff\\n2000:2:0:3:0x6\\n|levels=0:L0\\n1:L1\\n")
                                 << "0:0:0x2" << true << false << names;
    }
}

void tst_LoginMacLabelWidget::failedAndOddRebuilds()
{
    // Each step of the widget that lived through the change is compared with
    // a widget made afresh for user 2000 under the same conditions.
    QFETCH(bool, themed);
    QFETCH(QByteArray, condition);
    QFETCH(QString, label);
    QFETCH(bool, loads);
    QFETCH(bool, saves);
    QFETCH(QString, line);
    using LoginWidgetState::describe;

    StandinPolicy policy;
    policy.write("mac-users", "1000:0:0:3:0xff\n2000:0:0:1:0x6\n");
    policy.write("lastchoice", "1000:1:0x6\n2000:1:0x2\n");
    policy.write("system", "process_label=3:63:0x30\n");
    const auto widget = makeWidget(1000, themed);
    QCOMPARE(labelText(*widget), QStringLiteral("1:0:0x6"));

    applyCondition(policy, condition);
    widget->setUid(2000);
    const auto fresh = makeWidget(2000, themed);
    QCOMPARE(describe(*widget), describe(*fresh));
    QCOMPARE(labelText(*widget), label);
    QCOMPARE(LoginWidgetState::shownLabel(*widget, false), label);
    QCOMPARE(categoryList(*widget)->count() == 0, !loads || condition.contains("catent") || condition.contains("opencat"));

    QCOMPARE(widget->loadLastChoice(), loads);
    QCOMPARE(fresh->loadLastChoice(), loads);
    QCOMPARE(describe(*widget), describe(*fresh));
    QCOMPARE(labelText(*widget), label);

    // Information mode: the process's label whatever failed, the same on
    // every path, with nothing to vary and no default integrity level.
    widget->setEditable(false);
    fresh->setEditable(false);
    QCOMPARE(describe(*widget), describe(*fresh));
    QCOMPARE(labelText(*widget), QStringLiteral("3:63:0x30"));
    QCOMPARE(LoginWidgetState::shownLabel(*widget, false), QStringLiteral("3:63:0x30"));
    QVERIFY(!widget->isVariability());
    QCOMPARE(part<QLabel>(*widget, "_categoryHintLabel")->toolTip(), line);
    // Named by the policy, or by its number where nothing can name it.
    QVERIFY(QStringList({QStringLiteral("L3"), QStringLiteral("3")}).contains(levelPicker(*widget)->currentText()));
    widget->setMaxIntegrityLevel();
    QCOMPARE(widget->integrity(), TAV_ILEV_T(63));
    widget->setUid(2000);
    QCOMPARE(describe(*widget), describe(*fresh));
    QCOMPARE(labelText(*widget), QStringLiteral("3:63:0x30"));
    QVERIFY(!widget->saveChoice());

    widget->setEditable(true);
    fresh->setEditable(true);
    QCOMPARE(describe(*widget), describe(*fresh));
    const QByteArray before = contents(policy, "lastchoice");
    QCOMPARE(widget->saveChoice(), saves);
    if (saves) {
        const QByteArray line = QByteArray("2000:") + QByteArray::number(widget->level()) + QByteArray(":0x2\n");
        QVERIFY(contents(policy, "lastchoice").contains(line));
    }
    else
        QCOMPARE(contents(policy, "lastchoice"), before);
}

void tst_LoginMacLabelWidget::hiddenIntegrityHoldsNoChoice()
{
    // The process runs at integrity 63, which the picker preselects.
    StandinPolicy policy;
    policy.write("system", "current_ilev=63\n");
    policy.write("lastchoice", "1000:1:0x0\n");
    policy.remove("mic-users");
    for (const bool themed : {false, true}) {
        const auto widget = makeWidget(1000, themed);
        QVERIFY(integrityPicker(*widget)->isHidden());
        QCOMPARE(labelText(*widget), QStringLiteral("1:0:0x0"));

        // Built again, the picker is shown again with what it holds.
        policy.write("mic-users", "*:63\n");
        widget->setUid(1000);
        QVERIFY(!integrityPicker(*widget)->isHidden());
        QVERIFY(!part<QLabel>(*widget, "_integrityLabel")->isHidden());
        QCOMPARE(labelText(*widget), QStringLiteral("1:63:0x0"));
        QCOMPARE(LoginWidgetState::describe(*widget), LoginWidgetState::describe(*makeWidget(1000, themed)));

        // A host that hides the row takes away its value as well.
        widget->setIntegrityLevelVisible(false);
        QCOMPARE(widget->integrity(), TAV_ILEV_T(0));
        QCOMPARE(labelText(*widget), QStringLiteral("1:0:0x0"));
        policy.remove("mic-users");
    }
}

void tst_LoginMacLabelWidget::policyChangesForUnknownNames()
{
    StandinPolicy policy;
    policy.write("mac-users", "1000:0:0:3:0xff\n2000:0:0:3:0xff\n");
    for (const bool themed : {false, true}) {
        policy.write("mac-users", "1000:0:0:3:0xff\n2000:0:0:3:0xff\n");
        const auto widget = makeWidget(uid_t(-2), themed);
        QCOMPARE(categoryList(*widget)->count(), 0);

        // A forced category of the new line for everybody else stays with
        // the name it was forced for.
        policy.write("mac-users", "1000:0:0:3:0xff\n2000:0:0:3:0xff\n*:0:0x4:3:0xff\n");
        widget->setUid(2000);
        QCOMPARE(widget->categories(), mac_cat_t(0));
        QCOMPARE(LoginWidgetState::describe(*widget), LoginWidgetState::describe(*makeWidget(2000, themed)));

        // A name nobody has gets exactly what the line for everybody grants.
        policy.write("mac-users", "1000:0:0:3:0xff\n*:0:0:1:0x3\n");
        widget->setUid(uid_t(-2));
        QCOMPARE(levelPicker(*widget)->allValues(), QList<mac_lev_t>({0, 1}));
        mac_cat_t offered = 0;
        for (int row = 0; row < categoryList(*widget)->count(); ++row)
            offered |= categoryList(*widget)->cat4Item(row);
        QCOMPARE(offered, mac_cat_t(0x3));
        QVERIFY(!categoryList(*widget)->isHidden());
        QCOMPARE(LoginWidgetState::describe(*widget), LoginWidgetState::describe(*makeWidget(uid_t(-2), themed)));
    }
}

void tst_LoginMacLabelWidget::informationLineNamesEveryCategory_data()
{
    QTest::addColumn<bool>("themed");
    QTest::addColumn<QByteArray>("processCategories");
    QTest::addColumn<QString>("line");

    QString farDown;
    for (int bit = 60; bit < 64; ++bit)
        farDown += (farDown.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("A category with a long name number %1").arg(bit);
    for (const bool themed : {false, true}) {
        QTest::newRow(themed ? "themed: far down the list" : "plain: far down the list")
            << themed << QByteArray("0xf000000000000000") << farDown;
        QTest::newRow(themed ? "themed: none" : "plain: none") << themed << QByteArray("0") << QString();
    }
}

void tst_LoginMacLabelWidget::informationLineNamesEveryCategory()
{
    // A disabled list cannot be scrolled: information mode names the
    // process's categories on one line, elided to its width, the whole list
    // in its tool tip and in what assistive tools read; nothing can change.
    QFETCH(bool, themed);
    QFETCH(QByteArray, processCategories);
    QFETCH(QString, line);

    StandinPolicy policy;
    QByteArray categories;
    for (int bit = 0; bit < 64; ++bit)
        categories += "0x" + QByteArray::number(1ULL << bit, 16) + ":A category with a long name number "
                      + QByteArray::number(bit) + '\n';
    policy.write("categories", categories);
    policy.write("mac-users", "*:0:0:3:0xffffffffffffffff\n");
    policy.write("system", "process_label=1:0:" + processCategories + '\n');
    const auto widget = makeWidget(1000, themed);
    widget->resize(1400, 500);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    widget->setEditable(false);

    QLabel *hint = part<QLabel>(*widget, "_categoryHintLabel");
    QVERIFY(hint->isVisible());
    QVERIFY(!categoryList(*widget)->isVisible());
    QCOMPARE(hint->toolTip(), line);
    // A line with no category says so in words.
    QCOMPARE(hint->accessibleName(), line.isEmpty() ? QStringLiteral("No category") : line);
    if (line.isEmpty())
        QCOMPARE(hint->text(), QStringLiteral("No category"));
    QCOMPARE(widget->categories(), mac_cat_t(processCategories.toULongLong(nullptr, 16)));
    QVERIFY(!hint->wordWrap());
    QVERIFY2(hint->fontMetrics().horizontalAdvance(hint->text()) <= hint->width(), qPrintable(hint->text()));
    if (!line.isEmpty()) {
        QVERIFY(hint->text().startsWith(QStringLiteral("A category")));
        // A narrower line elides further; the tool tip keeps everything.
        const QString wide = hint->text();
        hint->resize(hint->width() / 2, hint->height());
        QVERIFY(hint->text() != wide);
        QVERIFY(hint->fontMetrics().horizontalAdvance(hint->text()) <= hint->width());
        QCOMPARE(hint->toolTip(), line);
    }
    for (const char *name : {"_levelComboBox", "_integrityComboBox", "_categoryListWidget"})
        QVERIFY2(!part<QWidget>(*widget, name)->isEnabled(), name);

    // Back in selection the list is shown again and the hint wraps as before.
    widget->setEditable(true);
    QVERIFY(categoryList(*widget)->isVisible());
    QVERIFY(!hint->isVisible());
    QVERIFY(hint->wordWrap());
    QCOMPARE(hint->toolTip(), QString());
}

QTEST_MAIN(tst_LoginMacLabelWidget)
#include "tst_loginmaclabelwidget.moc"
