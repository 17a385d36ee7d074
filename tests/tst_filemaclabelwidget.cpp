// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "SpecialAttributesListModel.h"
#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QAbstractItemModelTester>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTest>

#include <sys/xattr.h>

using VarnelQt5::FileMacLabelWidget;
using VarnelQt5::ILevelComboBox;
using VarnelQt5::MacCategoryListWidget;
using VarnelQt5::MacLevelComboBox;
using VarnelQt5::SpecialAttributesListModel;

namespace {

const char attribute[] = "user.varnel.label";
constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

bool setLabel(const QString &path, const QByteArray &value)
{
    return setxattr(QFile::encodeName(path).constData(), attribute, value.constData(),
                    size_t(value.size()), 0)
        == 0;
}

// The label the platform reads, as "level ilevel categories type" with the
// last two in hexadecimal; "null" when it cannot be read.
QString labelOf(const QString &path)
{
    tav_label *label = tav_get_path(QFile::encodeName(path).constData());
    if (!label)
        return QStringLiteral("null");
    const QString text = QStringLiteral("%1 %2 %3 %4")
                             .arg(tavl_lev(label))
                             .arg(tavl_ilev(label))
                             .arg(tavl_cat(label), 0, 16)
                             .arg(tavl_type(label), 0, 16);
    tavl_put(label);
    return text;
}

// The attribute rows as the list view shows them, "[x]" marking checked ones.
QString rowsOf(const QAbstractItemModel *model)
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        rows << (checked ? QLatin1String("[x]") : QLatin1String("")) + index.data().toString();
    }
    return rows.join(QLatin1Char(' '));
}

// The form's values as "level ilevel categories", categories in hexadecimal.
struct Form {
    explicit Form(FileMacLabelWidget &widget)
        : level(widget.findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox")))
        , integrity(widget.findChild<ILevelComboBox *>(QStringLiteral("_integrityComboBox")))
        , categories(widget.findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget")))
        , view(widget.findChild<QListView *>(QStringLiteral("_specialListView")))
    {
    }

    QString values() const
    {
        return QStringLiteral("%1 %2 %3")
            .arg(level->value())
            .arg(integrity->value())
            .arg(categories->value(), 0, 16);
    }

    QString rows() const { return rowsOf(view->model()); }

    // Ticks or unticks an attribute in the view, as a person does.
    bool setAttribute(const QString &text, Qt::CheckState state) const
    {
        QAbstractItemModel *model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data().toString() == text)
                return model->setData(index, int(state), Qt::CheckStateRole);
        }
        return false;
    }

    MacLevelComboBox *level;
    ILevelComboBox *integrity;
    MacCategoryListWidget *categories;
    QListView *view;
};

} // namespace

class TestFileMacLabelWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void form();
    void load_data();
    void load();
    void switchingObjects();
    void unreadableLoadsNothing_data();
    void unreadableLoadsNothing();
    void holeReactions_data();
    void holeReactions();
    void handEdits_data();
    void handEdits();
    void chmacFailures_data();
    void chmacFailures();
    void emptyPickerKeepsObjectsValue_data();
    void emptyPickerKeepsObjectsValue();
    void currentLabelWithoutFlags();
    void noHandleLeaks_data();
    void noHandleLeaks();

private:
    long m_liveBefore = 0;
    QTemporaryDir m_dir;
    QString m_file;
    QString m_folder;
};

void TestFileMacLabelWidget::init()
{
    m_liveBefore = varnel_standin_live();
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("file"));
    m_folder = m_dir.filePath(QStringLiteral("folder"));
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QDir().mkpath(m_folder));
    // Labels live in user extended attributes: without them nothing here
    // could be tested, and a skip would pass for a success.
    QVERIFY2(setLabel(m_file, "0:0:0:0") && setLabel(m_folder, "0:0:0:0"),
             "the temporary directory keeps no user extended attributes");
}

void TestFileMacLabelWidget::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void TestFileMacLabelWidget::form()
{
    StandinPolicy policy;
    FileMacLabelWidget widget;
    QCOMPARE(widget.objectName(), QStringLiteral("FileMacLabelWidget"));
    QCOMPARE(widget.size(), QSize(400, 322));
    QCOMPARE(widget.windowTitle(), QStringLiteral("Form"));
    auto *grid = qobject_cast<QGridLayout *>(widget.layout());
    QVERIFY(grid);
    QCOMPARE(grid->objectName(), QStringLiteral("gridLayout"));

    // Name, row and column, and the label's text.
    const QStringList cells = {"_typeLabelLabel 0 0 Type:", "_typeComboBox 0 1",
                               "_levelLabelLanel 1 0 Level:", "_levelComboBox 1 1",
                               "_integrityLabelLabel 2 0 Integrity:", "_integrityComboBox 2 1",
                               "_categoriesLabelLabellabel 3 0 Categories:", "_categoryListWidget 3 1",
                               "_specialLabelLabel 4 0 Specials:", "_specialListView 4 1"};
    for (const QString &cell : cells) {
        const QStringList parts = cell.split(QLatin1Char(' '));
        QWidget *child = grid->itemAtPosition(parts.at(1).toInt(), parts.at(2).toInt())->widget();
        QCOMPARE(child->objectName(), parts.at(0));
        if (auto *label = qobject_cast<QLabel *>(child))
            QCOMPARE(label->text(), parts.value(3));
    }
    QCOMPARE(widget.findChild<QLabel *>(QStringLiteral("_categoriesLabelLabellabel"))->alignment(),
             Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(widget.findChild<QWidget *>(QStringLiteral("_typeComboBox"))->isHidden());
    QVERIFY(widget.findChild<QWidget *>(QStringLiteral("_typeLabelLabel"))->isHidden());

    const Form form(widget);
    auto *proxy = qobject_cast<QSortFilterProxyModel *>(form.view->model());
    QVERIFY(proxy && qobject_cast<SpecialAttributesListModel *>(proxy->sourceModel()));
    QCOMPARE(form.rows(), QStringLiteral("ehole whole silev"));
    const QMetaObject *meta = widget.metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 1);
}

void TestFileMacLabelWidget::load_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("written"); // by chmac on the same object

    QTest::newRow("plain file") << false << QByteArray("1:63:0x3:0") << QStringLiteral("ehole whole silev")
                                << QStringLiteral("1 63 3") << QStringLiteral("1 63 3 0");
    QTest::newRow("directory with type 0x41")
        << true << QByteArray("2:0:0x1:0x41") << QStringLiteral("[x]ccnr [x]0x40")
        << QStringLiteral("2 0 1") << QStringLiteral("2 0 1 41");
    QTest::newRow("directory with ccnri and irelax")
        << true << QByteArray("0:0:0:0x22") << QStringLiteral("ccnr [x]ccnri (deprecated) [x]irelax")
        << QStringLiteral("0 0 0") << QStringLiteral("0 0 0 22");
    QTest::newRow("file with silev and a high bit")
        << false << QByteArray("3:0:0x80:0x8010") << QStringLiteral("ehole whole [x]silev [x]0x8000")
        << QStringLiteral("3 0 80") << QStringLiteral("3 0 80 8010");
    QTest::newRow("ehole file") << false << QByteArray("0:0:0:0x4") << QStringLiteral("[x]ehole whole silev")
                                << QStringLiteral("0 0 0") << QStringLiteral("0 0 0 4");
    QTest::newRow("values the pickers lack are forced in")
        << false << QByteArray("7:5:0x8000000000000102:0") << QStringLiteral("ehole whole silev")
        << QStringLiteral("7 5 8000000000000102") << QStringLiteral("7 5 8000000000000102 0");
}

void TestFileMacLabelWidget::load()
{
    QFETCH(bool, directory);
    QFETCH(QByteArray, label);
    QFETCH(QString, rows);
    QFETCH(QString, values);
    QFETCH(QString, written);

    StandinPolicy policy;
    const QString path = directory ? m_folder : m_file;
    QVERIFY(setLabel(path, label));
    FileMacLabelWidget widget;
    const Form form(widget);
    QAbstractItemModelTester tester(form.view->model(), Fatal);
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    widget.getfmac(path);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(form.rows(), rows);
    QCOMPARE(form.values(), values);
    QVERIFY(!form.level->signalsBlocked() && !form.integrity->signalsBlocked()
            && !form.categories->signalsBlocked() && !widget.signalsBlocked());

    QVERIFY(setLabel(path, "0:0:0:0"));
    QVERIFY(widget.chmac(path));
    QCOMPARE(labelOf(path), written);
    QCOMPARE(changed.count(), 1);
}

void TestFileMacLabelWidget::switchingObjects()
{
    StandinPolicy policy;
    QVERIFY(setLabel(m_folder, "0:0:0:0x41"));
    QVERIFY(setLabel(m_file, "1:0:0:0x10"));
    FileMacLabelWidget widget;
    const Form form(widget);
    QAbstractItemModelTester tester(form.view->model(), Fatal);

    widget.getfmac(m_folder);
    QCOMPARE(form.rows(), QStringLiteral("[x]ccnr [x]0x40"));
    widget.getfmac(m_file);
    QCOMPARE(form.rows(), QStringLiteral("ehole whole [x]silev 0x40"));

    // No bits of the directory reach the file.
    QVERIFY(widget.chmac(m_file));
    QCOMPARE(labelOf(m_file), QStringLiteral("1 0 0 10"));

    // A host that blocked the widget hears nothing, and the block stays.
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    widget.blockSignals(true);
    widget.getfmac(m_folder);
    QVERIFY(widget.signalsBlocked());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(form.rows(), QStringLiteral("[x]ccnr [x]0x40"));
}

void TestFileMacLabelWidget::unreadableLoadsNothing_data()
{
    QTest::addColumn<QString>("name"); // of the object loaded second
    QTest::addColumn<QByteArray>("value"); // its label; empty: left as it is
    QTest::addColumn<QByteArray>("fault");

    QTest::newRow("no such object") << QStringLiteral("missing") << QByteArray() << QByteArray();
    QTest::newRow("malformed label") << QStringLiteral("folder") << QByteArray("1:2") << QByteArray();
    QTest::newRow("label services refuse") << QStringLiteral("folder") << QByteArray()
                                           << QByteArray("tav_get_path");
}

void TestFileMacLabelWidget::unreadableLoadsNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, fault);

    StandinPolicy policy;
    QVERIFY(setLabel(m_file, "2:63:0x5:0x10"));
    const QString path = m_dir.filePath(name);
    if (!value.isEmpty())
        QVERIFY(setLabel(path, value));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QCOMPARE(form.values(), QStringLiteral("2 63 5"));
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    {
        // The malformed label's warning is the stand-in's, not ours.
        StandinStderr quiet;
        widget.getfmac(path);
    }
    QCOMPARE(changed.count(), 0);
    QCOMPARE(form.values(), QStringLiteral("2 63 5"));
    QCOMPARE(form.rows(), QStringLiteral("ehole whole [x]silev"));
}

void TestFileMacLabelWidget::holeReactions_data()
{
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QByteArray>("fault"); // set after the load
    QTest::addColumn<QString>("values"); // "root": those of the label of "/"
    QTest::addColumn<bool>("staysChecked");
    QTest::addColumn<int>("emitted");

    QTest::newRow("ehole") << QStringLiteral("ehole") << QByteArray() << QStringLiteral("0 0 0") << true << 1;
    QTest::newRow("ehole refused") << QStringLiteral("ehole") << QByteArray("tavl_supports_type")
                                   << QStringLiteral("0 0 0") << false << 2;
    QTest::newRow("ehole without a new handle")
        << QStringLiteral("ehole") << QByteArray("tavl_get_new") << QStringLiteral("0 0 0") << true << 1;
    QTest::newRow("whole") << QStringLiteral("whole") << QByteArray() << QStringLiteral("root") << true << 1;
    QTest::newRow("whole refused") << QStringLiteral("whole") << QByteArray("tavl_supports_type")
                                   << QStringLiteral("root") << false << 2;
    QTest::newRow("whole, root unreadable") << QStringLiteral("whole") << QByteArray("tav_get_path")
                                            << QStringLiteral("2 63 5") << false << 2;
}

void TestFileMacLabelWidget::holeReactions()
{
    QFETCH(QString, attribute);
    QFETCH(QByteArray, fault);
    QFETCH(QString, values);
    QFETCH(bool, staysChecked);
    QFETCH(int, emitted);

    StandinPolicy policy;
    const QString root = labelOf(QStringLiteral("/"));
    QVERIFY2(root != QLatin1String("null") && root.section(QLatin1Char(' '), 0, 2) != QLatin1String("2 63 5"),
             qPrintable(root));
    if (values == QLatin1String("root"))
        values = root.section(QLatin1Char(' '), 0, 2);

    QVERIFY(setLabel(m_file, "2:63:0x5:0"));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    QVERIFY(form.setAttribute(attribute, Qt::Checked));
    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows().contains(QLatin1String("[x]") + attribute), staysChecked);
    QCOMPARE(changed.count(), emitted);
}

void TestFileMacLabelWidget::handEdits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("rows");

    QTest::newRow("level") << QStringLiteral("level") << QStringLiteral("2 0 1")
                           << QStringLiteral("ehole whole silev");
    QTest::newRow("integrity") << QStringLiteral("integrity") << QStringLiteral("1 63 1")
                               << QStringLiteral("ehole whole silev");
    QTest::newRow("category") << QStringLiteral("category") << QStringLiteral("1 0 5")
                              << QStringLiteral("ehole whole silev");
    QTest::newRow("silev") << QStringLiteral("silev") << QStringLiteral("1 0 1")
                           << QStringLiteral("ehole whole [x]silev");
}

void TestFileMacLabelWidget::handEdits()
{
    QFETCH(QString, edit);
    QFETCH(QString, values);
    QFETCH(QString, rows);

    StandinPolicy policy;
    QVERIFY(setLabel(m_file, "1:0:0x1:0"));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    if (edit == QLatin1String("level"))
        QTest::keyClick(form.level, Qt::Key_Down);
    else if (edit == QLatin1String("integrity"))
        QTest::keyClick(form.integrity, Qt::Key_Down);
    else if (edit == QLatin1String("category"))
        form.categories->item(2)->setCheckState(Qt::Checked);
    else
        QVERIFY(form.setAttribute(edit, Qt::Checked));

    QCOMPARE(changed.count(), 1);
    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows(), rows);
}

void TestFileMacLabelWidget::chmacFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<bool>("writes"); // whether tav_set_path is called at all

    QTest::newRow("no such object") << QStringLiteral("missing/file") << QByteArray() << true;
    QTest::newRow("label services refuse") << QStringLiteral("folder") << QByteArray("tav_set_path") << true;
    QTest::newRow("no new handle") << QStringLiteral("folder") << QByteArray("tavl_get_new") << false;
}

void TestFileMacLabelWidget::chmacFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, fault);
    QFETCH(bool, writes);

    StandinPolicy policy;
    QVERIFY(setLabel(m_file, "3:63:0x81:0x10"));
    QVERIFY(setLabel(m_folder, "1:0:0x2:0x1"));
    const QString path = m_dir.filePath(name);
    const QString before = labelOf(path);
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    StandinPolicy::takeTrace();

    QVERIFY(!widget.chmac(path));
    QCOMPARE(StandinPolicy::trace().contains(QStringLiteral("tav_set_path")), writes);
    QCOMPARE(labelOf(path), before);
    QCOMPARE(form.values(), QStringLiteral("3 63 81"));
    QCOMPARE(form.rows(), QStringLiteral("ehole whole [x]silev"));
    QCOMPARE(changed.count(), 0);
}

void TestFileMacLabelWidget::emptyPickerKeepsObjectsValue_data()
{
    QTest::addColumn<QByteArray>("missing"); // the policy file whose picker stays empty
    QTest::addColumn<QString>("values");
    QTest::newRow("no level database") << QByteArray("levels") << QStringLiteral("0 63 3");
    QTest::newRow("no integrity level names") << QByteArray("ilevels") << QStringLiteral("2 0 3");
}

void TestFileMacLabelWidget::emptyPickerKeepsObjectsValue()
{
    QFETCH(QByteArray, missing);
    QFETCH(QString, values);

    StandinPolicy policy;
    policy.remove(missing.constData());
    QVERIFY(setLabel(m_file, "2:63:0x3:0"));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QCOMPARE(form.values(), values);

    // A category ticked by hand is written; what the form could not show is
    // not replaced by 0.
    QVERIFY(form.categories->setValue(0x7));
    QVERIFY(widget.chmac(m_file));
    QCOMPARE(labelOf(m_file), QStringLiteral("2 63 7 0"));

    // Nor is anything written where the object's own label cannot be read.
    QVERIFY(setLabel(m_file, "bad"));
    QVERIFY(!widget.chmac(m_file));
}

void TestFileMacLabelWidget::currentLabelWithoutFlags()
{
    StandinPolicy policy;
    QVERIFY(setLabel(m_file, "3:63:0x81:0x10"));
    FileMacLabelWidget widget;
    widget.getfmac(m_file);
    const long live = varnel_standin_live();

    tav_label *label = widget.currentLabelWithoutFlags();
    QVERIFY(label);
    QCOMPARE(varnel_standin_live(), live + 1);
    const QString values = QStringLiteral("%1 %2 %3 %4")
                               .arg(tavl_lev(label))
                               .arg(tavl_ilev(label))
                               .arg(tavl_cat(label), 0, 16)
                               .arg(tavl_type(label));
    tavl_put(label);
    QCOMPARE(values, QStringLiteral("3 63 81 0"));

    policy.fail("tavl_get_new");
    QVERIFY(!widget.currentLabelWithoutFlags());
    QCOMPARE(varnel_standin_live(), live);
}

void TestFileMacLabelWidget::noHandleLeaks_data()
{
    QTest::addColumn<QByteArray>("fault");
    for (const char *call :
         {"tav_get_path", "tav_set_path", "tavl_get_new", "tavl_supports_type", "openlevdb_r",
          "setlevent_r", "getlevent_r", "opencatdb_r", "setcatent_r", "getcatent_r", "mac_init",
          "mac_to_text", "tav_ilev_get_text"})
        QTest::newRow(call) << QByteArray(call);
}

// Every path through the widget, with one platform call failing throughout.
void TestFileMacLabelWidget::noHandleLeaks()
{
    QFETCH(QByteArray, fault);

    StandinPolicy policy;
    policy.fail(fault.constData());
    QVERIFY(setLabel(m_file, "7:5:0x300:0x4"));
    QVERIFY(setLabel(m_folder, "2:0:0x1:0x41"));
    {
        FileMacLabelWidget widget;
        const Form form(widget);
        widget.getfmac(m_file);
        form.setAttribute(QStringLiteral("whole"), Qt::Checked);
        form.setAttribute(QStringLiteral("ehole"), Qt::Checked);
        widget.chmac(m_file);
        widget.getfmac(m_folder);
        widget.chmac(m_folder);
        tavl_put(widget.currentLabelWithoutFlags());
    }
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

QTEST_MAIN(TestFileMacLabelWidget)
#include "tst_filemaclabelwidget.moc"
