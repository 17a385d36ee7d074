// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FileMacLabelWidget.h"
#include "ILevelComboBox.h"
#include "MacCategoryListWidget.h"
#include "MacLevelComboBox.h"
#include "MacTypeComboBox.h"
#include "SpecialAttributesListModel.h"
#include "CheckedRows.h"
#include "StandinPolicy.h"
#include "StandinStderr.h"
#include "labelpolicy.h"

#include <QAbstractItemModelTester>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTest>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

#include <cstdio>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

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

bool makeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
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

// A stored label with its whole 32-bit type, which the label handle's reader
// cuts to 16 bits; all 0 when there is none.
struct Stored {
    unsigned long long level = 0, integrity = 0, categories = 0, type = 0;

    QString text() const
    {
        return QStringLiteral("%1:%2:0x%3:0x%4").arg(level).arg(integrity).arg(categories, 0, 16).arg(type, 0, 16);
    }
};

Stored storedOf(const QString &path)
{
    char value[128] = {};
    Stored s;
    if (getxattr(QFile::encodeName(path).constData(), attribute, value, sizeof value - 1) > 0)
        std::sscanf(value, "%llu:%llu:%llx:%llx", &s.level, &s.integrity, &s.categories, &s.type);
    return s;
}

// Removes the file at path and makes a new one there, on the old inode
// number where the file system gives it out again (files it hands out first
// are kept aside until then), so that only the birth time tells the two
// apart.
bool recreateWithSameInode(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !QFile::remove(path))
        return false;
    const QDir aside(QFileInfo(path).dir());
    for (int attempt = 0; attempt < 200; ++attempt) {
        struct stat made;
        if (!makeFile(path) || ::stat(QFile::encodeName(path).constData(), &made) != 0)
            return false;
        if (made.st_ino == status.st_ino)
            break;
        if (!QFile::rename(path, aside.filePath(QStringLiteral("aside %1").arg(attempt))))
            return false;
    }
    return true;
}

// The form's values as "level ilevel categories", categories in hexadecimal.
struct Form {
    explicit Form(FileMacLabelWidget &widget)
        : level(widget.findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox")))
        , integrity(widget.findChild<ILevelComboBox *>(QStringLiteral("_integrityComboBox")))
        , categories(widget.findChild<MacCategoryListWidget *>(QStringLiteral("_categoryListWidget")))
        , view(widget.findChild<QListView *>(QStringLiteral("_specialListView")))
        , attributes(widget.findChild<SpecialAttributesListModel *>())
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

    // The label the form shows, type bits as chmac() reads the check boxes.
    Stored shown() const
    {
        Stored s{level->value(), integrity->value(), categories->value(), 0};
        for (int bit = 0; bit < SpecialAttributesListModel::OtherAttributes; ++bit) {
            if (attributes->checkState(SpecialAttributesListModel::Attributes(bit)) == Qt::Checked)
                s.type |= 1u << bit;
        }
        if (attributes->checkState(SpecialAttributesListModel::OtherAttributes) == Qt::Checked)
            s.type |= quint64(attributes->otherAttribute());
        return s;
    }

    // A stored label as far as the form can show it: the type bits of the
    // current mode's rows.
    Stored showable(Stored stored) const
    {
        stored.type &= attributes->isForContainer() ? 0xffe3 : 0xffdc;
        return stored;
    }

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

    // A person's edit: a step down in a picker, or a category or an
    // attribute ticked.
    bool edit(const QString &what) const
    {
        if (what == QLatin1String("level"))
            QTest::keyClick(level, Qt::Key_Down);
        else if (what == QLatin1String("integrity"))
            QTest::keyClick(integrity, Qt::Key_Down);
        else if (what == QLatin1String("category"))
            categories->item(2)->setCheckState(Qt::Checked);
        else
            return setAttribute(what, Qt::Checked);
        return true;
    }

    MacLevelComboBox *level;
    ILevelComboBox *integrity;
    MacCategoryListWidget *categories;
    QListView *view;
    SpecialAttributesListModel *attributes;
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
    void loadThenWrite_data();
    void loadThenWrite();
    void unnameablePaths_data();
    void unnameablePaths();
    void kindChanged_data();
    void kindChanged();
    void editThenWrite_data();
    void editThenWrite();
    void randomWalk_data();
    void randomWalk();
    void outsideWriters_data();
    void outsideWriters();
    void afterAFailedLoad_data();
    void afterAFailedLoad();
    void rowEnablingIsNoEdit_data();
    void rowEnablingIsNoEdit();
    void reactionsAreSaid_data();
    void reactionsAreSaid();
    void loadIsHeardOnce_data();
    void loadIsHeardOnce();

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
    // Two signals: every edit, and what the form changed on its own.
    const QMetaObject *meta = widget.metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 2);
    QCOMPARE(meta->method(meta->methodOffset()).methodSignature(), QByteArray("changed()"));
    QCOMPARE(meta->method(meta->methodOffset() + 1).methodSignature(),
             QByteArray("reactionMessageChanged(QString)"));
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

    // Written back, and onto a copy of the same kind: the object read is
    // not relabelled behind the form's back, which would refuse the write.
    QVERIFY(widget.chmac(path));
    QCOMPARE(labelOf(path), written);
    const QString copy = m_dir.filePath(QLatin1String(directory ? "copy of a directory" : "copy of a file"));
    QVERIFY((directory ? QDir().mkpath(copy) : makeFile(copy)) && setLabel(copy, "0:0:0:0"));
    QVERIFY(widget.chmac(copy));
    QCOMPARE(labelOf(copy), written);
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

    QVERIFY(form.edit(edit));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows(), rows);
}

void TestFileMacLabelWidget::chmacFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("value"); // its label after the load; empty: left as it is
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<bool>("writes"); // whether tav_set_path is called at all

    QTest::newRow("no such object") << QStringLiteral("missing/file") << QByteArray() << QByteArray() << true;
    QTest::newRow("label services refuse")
        << QStringLiteral("file") << QByteArray() << QByteArray("tav_set_path") << true;
    // Only an object without a readable label needs a new handle.
    QTest::newRow("no new handle") << QStringLiteral("file") << QByteArray("bad") << QByteArray("tavl_get_new")
                                   << false;
    QTest::newRow("a directory for a file's form")
        << QStringLiteral("folder") << QByteArray() << QByteArray() << false;
}

void TestFileMacLabelWidget::chmacFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, fault);
    QFETCH(bool, writes);

    StandinPolicy policy;
    StandinStderr quiet; // the malformed label's warnings are the stand-in's
    QVERIFY(setLabel(m_file, "3:63:0x81:0x10"));
    QVERIFY(setLabel(m_folder, "1:0:0x2:0x1"));
    const QString path = m_dir.filePath(name);
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    if (!value.isEmpty())
        QVERIFY(setLabel(path, value));
    const QString before = labelOf(path);
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

void TestFileMacLabelWidget::loadThenWrite_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QStringList>("history"); // objects loaded before, "self" the one tested

    const QPair<bool, const char *> labels[] = {
        {false, "1:63:0x3:0x10"},    {false, "1:0:0x1:0x4"},      {false, "3:63:0x81:0x8"},
        {false, "0:0:0x0:0xc"},      {false, "1:0:0x1:0x10010"},  {false, "2:63:0x5:0x1002d"},
        {false, "3:0:0x80:0xff40"},  {false, "7:5:0x8000000000000102:0x4"},
        {true, "2:0:0x3:0x10021"},   {true, "1:0:0x0:0x1c"}};
    const QStringList histories[] = {{}, {QStringLiteral("folder")}, {QStringLiteral("other")},
                                     {QStringLiteral("folder"), QStringLiteral("other")}, {QStringLiteral("self")},
                                     {QStringLiteral("other"), QStringLiteral("self")}};
    for (const auto &label : labels) {
        for (const QStringList &history : histories) {
            const QString name = QStringLiteral("%1 %2 after %3")
                                     .arg(QLatin1String(label.first ? "directory" : "file"),
                                          QLatin1String(label.second), history.join(QLatin1String(", ")));
            QTest::newRow(qPrintable(name)) << label.first << QByteArray(label.second) << history;
        }
    }
}

// Whatever was loaded before, the form shows the stored label as it is, and
// writing it back at once leaves the object as it was: type bits of the
// other kind or above the low 16 included, and labels the attribute
// reactions would not make.
void TestFileMacLabelWidget::loadThenWrite()
{
    QFETCH(bool, directory);
    QFETCH(QByteArray, label);
    QFETCH(QStringList, history);

    StandinPolicy policy;
    const QString path = directory ? m_folder : m_file;
    QVERIFY(makeFile(m_dir.filePath(QStringLiteral("other"))));
    QVERIFY(setLabel(m_folder, "0:0:0x0:0x23"));
    QVERIFY(setLabel(m_dir.filePath(QStringLiteral("other")), "0:0:0x0:0x4"));
    QVERIFY(setLabel(path, label));
    const Stored before = storedOf(path);
    QCOMPARE(before.text(), QString::fromLatin1(label));
    FileMacLabelWidget widget;
    const Form form(widget);
    for (const QString &earlier : history)
        widget.getfmac(earlier == QLatin1String("self") ? path : m_dir.filePath(earlier));
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    widget.getfmac(path);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(form.shown().text(), form.showable(before).text());
    QVERIFY(widget.chmac(path));
    QCOMPARE(storedOf(path).text(), before.text());
    QCOMPARE(changed.count(), 1);
}

void TestFileMacLabelWidget::unnameablePaths_data()
{
    QTest::addColumn<QString>("name"); // in m_dir
    QTest::addColumn<QByteArray>("codec"); // of the locale; empty: as it is

    QTest::newRow("NUL after the name") << QStringLiteral("file") + QChar(0) + QStringLiteral("/other")
                                        << QByteArray();
    QTest::newRow("lone surrogate") << QStringLiteral("x") + QChar(0xd800) << QByteArray();
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 names files in UTF-8 whatever the locale, so there every
    // character has bytes.
    QTest::newRow("not in Latin-1") << QStringLiteral("x") + QChar(0x20ac) << QByteArray("ISO-8859-1");
#endif
}

// A path whose text names no object exactly is neither read nor written,
// least of all the object its cut or mangled bytes would name.
void TestFileMacLabelWidget::unnameablePaths()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, codec);

    StandinPolicy policy;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QTextCodec *const savedCodec = QTextCodec::codecForLocale();
    const auto restoreCodec = qScopeGuard([savedCodec] { QTextCodec::setCodecForLocale(savedCodec); });
    if (!codec.isEmpty())
        QTextCodec::setCodecForLocale(QTextCodec::codecForName(codec));
#else
    QVERIFY(codec.isEmpty());
#endif
    const QString path = m_dir.filePath(name);
    // The object the path's cut or mangled bytes name.
    QByteArray named = path.toLocal8Bit();
    named.truncate(int(qstrlen(named.constData())));
    const QString victim = QFile::decodeName(named);
    QVERIFY(victim == m_file || makeFile(victim));
    QVERIFY(setLabel(victim, "1:0:0x2:0x10"));
    // A file loaded before, so that the form could be written onto the victim.
    const QString loaded = m_dir.filePath(QStringLiteral("loaded"));
    QVERIFY(makeFile(loaded) && setLabel(loaded, "3:63:0x81:0x10"));

    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(loaded);
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    StandinPolicy::takeTrace();

    widget.getfmac(path);
    QVERIFY(!widget.chmac(path));
    QCOMPARE(StandinPolicy::trace(), QStringList());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(form.values(), QStringLiteral("3 63 81"));
    QCOMPARE(form.rows(), QStringLiteral("ehole whole [x]silev"));
    QCOMPARE(storedOf(victim).text(), QStringLiteral("1:0:0x2:0x10"));
}

void TestFileMacLabelWidget::kindChanged_data()
{
    QTest::addColumn<bool>("directoryFirst");
    QTest::newRow("a file replaced by a directory") << false;
    QTest::newRow("a directory replaced by a file") << true;
}

void TestFileMacLabelWidget::kindChanged()
{
    QFETCH(bool, directoryFirst);

    StandinPolicy policy;
    const QString path = m_dir.filePath(QLatin1String(directoryFirst ? "was a directory" : "was a file"));
    const QByteArray label(directoryFirst ? "1:0:0x1:0x10" : "2:0:0x3:0x21");
    QVERIFY((directoryFirst ? QDir().mkdir(path) : makeFile(path)) && setLabel(path, "0:0:0x0:0x0"));
    FileMacLabelWidget widget;
    widget.getfmac(path);
    QVERIFY(directoryFirst ? QDir().rmdir(path) && makeFile(path) : QFile::remove(path) && QDir().mkdir(path));
    QVERIFY(setLabel(path, label));

    QVERIFY(!widget.chmac(path));
    QCOMPARE(storedOf(path).text(), QString::fromLatin1(label));
    // Loaded again, the form writes the new object's label as it is.
    widget.getfmac(path);
    QVERIFY(widget.chmac(path));
    QCOMPARE(storedOf(path).text(), QString::fromLatin1(label));
}

void TestFileMacLabelWidget::editThenWrite_data()
{
    QTest::addColumn<QByteArray>("missing"); // a policy file whose picker stays empty
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("stored"); // afterwards; equal to label: refused

    // The hole the object holds stays through an edit that cannot change its
    // support, and is unchecked by one that can; the type's high half stays.
    const QByteArray held("1:0:0x1:0x10004");
    QTest::newRow("silev beside a held hole") << QByteArray() << held << "silev" << QByteArray("1:0:0x1:0x10014");
    QTest::newRow("level beside a held hole") << QByteArray() << held << "level" << QByteArray("2:0:0x1:0x10000");
    QTest::newRow("integrity beside a held hole")
        << QByteArray() << held << "integrity" << QByteArray("1:63:0x1:0x10000");
    QTest::newRow("category beside a held hole") << QByteArray() << held << "category" << QByteArray("1:0:0x5:0x10000");
    // With a picker empty, the object keeps its own value for that part; a
    // hole goes only onto the label then written, if that can carry it.
    QTest::newRow("ehole on a level the form cannot show")
        << QByteArray("levels") << QByteArray("2:0:0x0:0x0") << "ehole" << QByteArray("2:0:0x0:0x0");
    QTest::newRow("ehole on an integrity level the form cannot show")
        << QByteArray("ilevels") << QByteArray("0:63:0x1:0x10") << "ehole" << QByteArray("0:63:0x1:0x10");
    QTest::newRow("ehole at level 0, level list empty")
        << QByteArray("levels") << QByteArray("0:0:0x3:0x10") << "ehole" << QByteArray("0:0:0x0:0x14");
    QTest::newRow("whole off the root's level, level list empty")
        << QByteArray("levels") << QByteArray("3:0:0x0:0x0") << "whole" << QByteArray("3:0:0x0:0x0");
}

void TestFileMacLabelWidget::editThenWrite()
{
    QFETCH(QByteArray, missing);
    QFETCH(QByteArray, label);
    QFETCH(QString, edit);
    QFETCH(QByteArray, stored);

    StandinPolicy policy;
    if (!missing.isEmpty())
        policy.remove(missing.constData());
    const QString root = labelOf(QStringLiteral("/"));
    QVERIFY2(!root.startsWith(QLatin1String("3 ")), qPrintable(root));
    QVERIFY(setLabel(m_file, label));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QVERIFY(form.edit(edit));
    StandinPolicy::takeTrace();

    QCOMPARE(widget.chmac(m_file), stored != label);
    QCOMPARE(StandinPolicy::trace().contains(QStringLiteral("tav_set_path")), stored != label);
    QCOMPARE(storedOf(m_file).text(), QString::fromLatin1(stored));
}

void TestFileMacLabelWidget::randomWalk_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 17u, 2026u, 40961u})
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

// Loads, a person's edits and writes in a seeded random order over a few
// objects: every write leaves each part that no edit since the load or the
// last write touched as the object held it, and writes the rest as shown.
void TestFileMacLabelWidget::randomWalk()
{
    QFETCH(quint32, seed);

    StandinPolicy policy;
    const QString objects[] = {m_file, m_folder, m_dir.filePath(QStringLiteral("other"))};
    QVERIFY(makeFile(objects[2]));
    const QByteArray labels[] = {"1:0:0x1:0x4",     "0:0:0x0:0x10010", "2:63:0x5:0x1002d", "3:0:0x80:0x8010",
                                 "2:0:0x3:0x10021", "1:0:0x0:0x1c",    "0:0:0x0:0xc",      "1:63:0xff:0x23",
                                 "2:0:0x2:0x8",     "0:0:0x0:0x0",     "3:63:0x81:0xff52"};
    QRandomGenerator random(seed);
    for (const QString &object : objects)
        QVERIFY(setLabel(object, labels[random.bounded(int(std::size(labels)))]));

    FileMacLabelWidget widget;
    const Form form(widget);
    QAbstractItemModel *view = form.view->model();
    const auto *proxy = qobject_cast<QSortFilterProxyModel *>(view);
    QVERIFY(proxy);

    QString loaded;
    Stored held;
    Stored touched; // the bits edits may have changed since the load or the last write
    QStringList steps;
    for (int step = 0; step < 150; ++step) {
        const int action = loaded.isEmpty() ? 0 : int(random.bounded(9));
        // The type check may uncheck a hole ("ehole", "whole") after any
        // change of level, integrity level or categories.
        const unsigned long long holes = 0xc;
        if (action == 0) {
            loaded = objects[random.bounded(int(std::size(objects)))];
            widget.getfmac(loaded);
            held = storedOf(loaded);
            touched = Stored();
            steps << QStringLiteral("load %1 (%2)").arg(QFileInfo(loaded).fileName(), held.text());
        } else if (action <= 2) {
            QComboBox *box = action == 1 ? static_cast<QComboBox *>(form.level) : form.integrity;
            QTest::keyClick(box, random.bounded(2) ? Qt::Key_Down : Qt::Key_Up);
            (action == 1 ? touched.level : touched.integrity) = 1;
            touched.type |= holes;
            steps << QStringLiteral("pick %1").arg(box->currentText());
        } else if (action == 3) {
            const int row = int(random.bounded(form.categories->count()));
            QListWidgetItem *item = form.categories->item(row);
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            touched.categories |= form.categories->cat4Item(row);
            touched.type |= holes;
            steps << QStringLiteral("category row %1").arg(row);
        } else if (action <= 5) {
            const QModelIndex index = view->index(int(random.bounded(view->rowCount())), 0);
            const bool check = index.data(Qt::CheckStateRole).toInt() != Qt::Checked;
            // Unchecked, a row may leave the view: read it first.
            const int attribute = form.attributes->attributeForRow(proxy->mapToSource(index).row());
            steps << (check ? QLatin1String("tick ") : QLatin1String("untick ")) + index.data().toString();
            QVERIFY(view->setData(index, check ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
            touched.type |= attribute == SpecialAttributesListModel::OtherAttributes ? 0xffc0 : 1u << attribute;
            if (check && (1u << attribute) & holes) {
                touched.level = touched.integrity = 1;
                touched.categories = ~0ULL;
            }
        } else {
            QVERIFY2(widget.chmac(loaded), qPrintable(steps.join(QLatin1String("; "))));
            const Stored now = storedOf(loaded);
            steps << QStringLiteral("write (%1)").arg(now.text());
            const bool untouchedKept = (touched.level || now.level == held.level)
                && (touched.integrity || now.integrity == held.integrity)
                && ((now.categories ^ held.categories) & ~touched.categories) == 0
                && ((now.type ^ held.type) & ~touched.type) == 0;
            QVERIFY2(untouchedKept && form.showable(now).text() == form.shown().text(),
                     qPrintable(steps.join(QLatin1String("; "))));
            held = now;
            touched = Stored();
        }
    }
}

void TestFileMacLabelWidget::outsideWriters_data()
{
    QTest::addColumn<QString>("outside"); // what another writer does between the load and the write
    QTest::addColumn<QString>("target"); // the path written: "file", its hard link "link", or "other"
    QTest::addColumn<QByteArray>("stored"); // what the target holds afterwards
    QTest::addColumn<int>("failure"); // lastWriteFailure(); NoWriteFailure: written

    const int changedSinceRead = FileMacLabelWidget::LabelChangedSinceRead;
    QTest::newRow("nobody") << "" << "file" << QByteArray("1:0:0x5:0x0") << 0;
    QTest::newRow("relabelled") << "relabel" << "file" << QByteArray("3:63:0x80:0x10") << changedSinceRead;
    QTest::newRow("relabelled, written by a hard link")
        << "relabel" << "link" << QByteArray("3:63:0x80:0x10") << changedSinceRead;
    QTest::newRow("relabelled to the label read") << "relabel back" << "file" << QByteArray("1:0:0x5:0x0") << 0;
    QTest::newRow("unreadable now") << "unreadable" << "file" << QByteArray("1:2") << changedSinceRead;
    QTest::newRow("replaced by rename, same label")
        << "rename" << "file" << QByteArray("1:0:0x1:0x0") << changedSinceRead;
    QTest::newRow("recreated, same label") << "recreate" << "file" << QByteArray("1:0:0x1:0x0") << changedSinceRead;
    // The form's own write is what the next one compares with.
    QTest::newRow("written before by the form") << "own write" << "file" << QByteArray("1:0:0xd:0x0") << 0;
    // Copying a label onto another object is no write behind its back.
    QTest::newRow("another object relabelled") << "relabel other" << "other" << QByteArray("1:0:0x5:0x0") << 0;
}

// A label another writer set after the form read it is never overwritten:
// the write is refused in a way a host can tell, and the form keeps its edit.
void TestFileMacLabelWidget::outsideWriters()
{
    QFETCH(QString, outside);
    QFETCH(QString, target);
    QFETCH(QByteArray, stored);
    QFETCH(int, failure);

    StandinPolicy policy;
    StandinStderr quiet; // the unreadable label's warnings are the stand-in's
    QVERIFY(setLabel(m_file, "1:0:0x1:0x0"));
    const QString link = m_dir.filePath(QStringLiteral("link"));
    const QString other = m_dir.filePath(QStringLiteral("other"));
    QFile::remove(link);
    QVERIFY(::link(QFile::encodeName(m_file).constData(), QFile::encodeName(link).constData()) == 0);
    QVERIFY(makeFile(other) && setLabel(other, "2:0:0x2:0x0"));
    const QString path = m_dir.filePath(target);
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QVERIFY(form.edit(QStringLiteral("category")));

    if (outside == QLatin1String("relabel")) {
        QVERIFY(setLabel(m_file, "3:63:0x80:0x10"));
    } else if (outside == QLatin1String("relabel back")) {
        QVERIFY(setLabel(m_file, "3:63:0x80:0x10") && setLabel(m_file, "1:0:0x1:0x0"));
    } else if (outside == QLatin1String("unreadable")) {
        QVERIFY(setLabel(m_file, "1:2"));
    } else if (outside == QLatin1String("rename")) {
        const QString made = m_dir.filePath(QStringLiteral("made"));
        QVERIFY(makeFile(made) && setLabel(made, "1:0:0x1:0x0"));
        QVERIFY(::rename(QFile::encodeName(made).constData(), QFile::encodeName(m_file).constData()) == 0);
    } else if (outside == QLatin1String("recreate")) {
        QVERIFY(QFile::remove(link));
        QVERIFY(recreateWithSameInode(m_file));
        QVERIFY(setLabel(m_file, "1:0:0x1:0x0"));
    } else if (outside == QLatin1String("own write")) {
        QVERIFY(widget.chmac(m_file));
        QVERIFY(form.edit(QStringLiteral("category")) && form.categories->item(3));
        form.categories->item(3)->setCheckState(Qt::Checked);
    } else if (outside == QLatin1String("relabel other")) {
        QVERIFY(setLabel(other, "3:0:0x0:0x0"));
    }
    const Stored shownBefore = form.shown();

    QCOMPARE(widget.chmac(path), failure == FileMacLabelWidget::NoWriteFailure);
    QCOMPARE(int(widget.lastWriteFailure()), failure);
    char value[64] = {};
    QVERIFY(getxattr(QFile::encodeName(path).constData(), attribute, value, sizeof value - 1) > 0);
    QCOMPARE(QByteArray(value), stored);
    QCOMPARE(form.shown().text(), shownBefore.text());
    if (failure != FileMacLabelWidget::NoWriteFailure && outside != QLatin1String("unreadable")) {
        // Read again, the form shows the new label and writes over it.
        widget.getfmac(m_file);
        QVERIFY(form.edit(QStringLiteral("level")));
        QVERIFY(widget.chmac(m_file));
        QCOMPARE(int(widget.lastWriteFailure()), int(FileMacLabelWidget::NoWriteFailure));
    }
}

void TestFileMacLabelWidget::afterAFailedLoad_data()
{
    QTest::addColumn<QString>("name"); // of the object whose load fails, in m_dir
    QTest::addColumn<QByteArray>("value"); // its label; empty: none written

    QTest::newRow("malformed label") << QStringLiteral("second") << QByteArray("1:2");
    QTest::newRow("type above 32 bits") << QStringLiteral("second") << QByteArray("1:0:0x0:0x100000000");
    QTest::newRow("no such object") << QStringLiteral("missing") << QByteArray();
    QTest::newRow("NUL in the path") << QStringLiteral("second") + QChar(0) << QByteArray("0:0:0x0:0x0");
}

// After a load that read nothing the form holds no object's label: nothing
// is written, onto that object or any other, until a load succeeds.
void TestFileMacLabelWidget::afterAFailedLoad()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, value);

    StandinPolicy policy;
    StandinStderr quiet;
    QVERIFY(setLabel(m_file, "2:63:0x5:0x10"));
    const QString path = m_dir.filePath(name);
    const QString existing = m_dir.filePath(name.section(QChar(0), 0, 0));
    if (!value.isEmpty())
        QVERIFY(makeFile(existing) && setLabel(existing, value));
    const Stored before = storedOf(existing);
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);

    widget.getfmac(path);
    QCOMPARE(changed.count(), 0);
    StandinPolicy::takeTrace();
    for (const QString &written : {path, existing, m_file}) {
        QVERIFY(!widget.chmac(written));
        QCOMPARE(int(widget.lastWriteFailure()), int(FileMacLabelWidget::NoLabelLoaded));
    }
    QVERIFY(!StandinPolicy::trace().contains(QStringLiteral("tav_set_path")));
    QCOMPARE(storedOf(existing).text(), before.text());
    QCOMPARE(storedOf(m_file).text(), QStringLiteral("2:63:0x5:0x10"));

    widget.getfmac(m_file);
    QVERIFY(widget.chmac(m_file));
    QCOMPARE(storedOf(m_file).text(), QStringLiteral("2:63:0x5:0x10"));

    // A host that never loads writes as before.
    FileMacLabelWidget fresh;
    QVERIFY(fresh.chmac(m_file));
    QCOMPARE(int(fresh.lastWriteFailure()), int(FileMacLabelWidget::NoWriteFailure));
}

void TestFileMacLabelWidget::rowEnablingIsNoEdit_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<int>("attribute");
    QTest::addColumn<QString>("rows"); // after disabling

    QTest::newRow("checked ehole the label cannot carry")
        << QByteArray("2:63:0x5:0x4") << int(SpecialAttributesListModel::Ehole) << "[x]ehole whole silev";
    QTest::newRow("checked whole the label cannot carry")
        << QByteArray("2:63:0x5:0x8") << int(SpecialAttributesListModel::Whole) << "ehole [x]whole silev";
    QTest::newRow("unchecked ehole") << QByteArray("2:63:0x5:0x0") << int(SpecialAttributesListModel::Ehole)
                                     << "ehole whole silev";
    QTest::newRow("silev") << QByteArray("1:0:0x1:0x10") << int(SpecialAttributesListModel::Silev)
                           << "ehole whole [x]silev";
    QTest::newRow("unnamed bits") << QByteArray("1:0:0x1:0x8040") << int(SpecialAttributesListModel::OtherAttributes)
                                  << "ehole whole silev [x]0x8040";
}

// Greying a row out and enabling it again changes no value, emits no
// changed() and leaves the label chmac() writes as the object held it.
void TestFileMacLabelWidget::rowEnablingIsNoEdit()
{
    QFETCH(QByteArray, label);
    QFETCH(int, attribute);
    QFETCH(QString, rows);

    StandinPolicy policy;
    QVERIFY(setLabel(m_file, label));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    const QString values = form.values();
    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    QSignalSpy said(&widget, &FileMacLabelWidget::reactionMessageChanged);
    const auto which = SpecialAttributesListModel::Attributes(attribute);

    QVERIFY(form.attributes->setEnabled(which, false));
    QVERIFY(!(form.attributes->flags(form.attributes->index(form.attributes->rowForAttribute(which), 0))
              & Qt::ItemIsEnabled));
    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows(), rows);
    QVERIFY(form.attributes->setEnabled(which, true));
    QCOMPARE(form.values(), values);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(said.count(), 0);

    QVERIFY(form.attributes->setEnabled(which, false));
    QVERIFY(widget.chmac(m_file));
    QCOMPARE(storedOf(m_file).text(), QString::fromLatin1(label));
}

void TestFileMacLabelWidget::reactionsAreSaid_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("steps"); // "+name" ticks, "-name" unticks an attribute; or a picker edit
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("rows");

    const QByteArray mixed("2:63:0x13:0x0");
    const QString rewrote = QStringLiteral("set the level to L0, the integrity level to Low and removed C0, C1, C4.");
    const QString gaveBack = QStringLiteral("set the level to L2, the integrity level to High and added C0, C1, C4.");
    QTest::newRow("ehole") << mixed << "+ehole" << "Checking ehole " + rewrote << "0 0 0" << "[x]ehole whole silev";
    QTest::newRow("ehole undone") << mixed << "+ehole -ehole" << "Unchecking ehole " + gaveBack << "2 63 13"
                                  << "ehole whole silev";
    QTest::newRow("whole") << mixed << "+whole" << "Checking whole " + rewrote << "0 0 0" << "ehole [x]whole silev";
    QTest::newRow("whole undone") << mixed << "+whole -whole" << "Unchecking whole " + gaveBack << "2 63 13"
                                  << "ehole whole silev";
    QTest::newRow("ehole, only categories") << QByteArray("0:0:0x5:0x0") << "+ehole"
                                            << "Checking ehole removed C0, C2." << "0 0 0" << "[x]ehole whole silev";
    QTest::newRow("ehole on a label at 0") << QByteArray("0:0:0x0:0x0") << "+ehole" << "" << "0 0 0"
                                           << "[x]ehole whole silev";
    // Another edit between the check and the uncheck: nothing comes back.
    QTest::newRow("ehole, silev, ehole undone") << mixed << "+ehole +silev -ehole" << "" << "0 0 0"
                                                << "ehole whole [x]silev";
    QTest::newRow("ehole, ehole undone twice") << mixed << "+ehole -ehole +ehole -ehole" << "Unchecking ehole " + gaveBack
                                               << "2 63 13" << "ehole whole silev";
    QTest::newRow("a held ehole unchecked gives nothing") << QByteArray("0:0:0x0:0x4") << "-ehole" << ""
                                                          << "0 0 0" << "ehole whole silev";
    QTest::newRow("ehole, then a level") << mixed << "+ehole level"
                                         << "ehole was unchecked: a label at L1 cannot carry it." << "1 0 0"
                                         << "ehole whole silev";
    QTest::newRow("a held ehole, an integrity level")
        << QByteArray("0:0:0x0:0x4") << "integrity"
        << "ehole was unchecked: a label at L0 and integrity level High cannot carry it." << "0 63 0"
        << "ehole whole silev";
    QTest::newRow("a held whole, a category") << QByteArray("0:0:0x0:0x8") << "category"
                                              << "whole was unchecked: a label at L0 with C2 cannot carry it."
                                              << "0 0 4" << "ehole whole silev";
    QTest::newRow("ehole after a message, then silev") << mixed << "+ehole +silev" << "" << "0 0 0"
                                                       << "[x]ehole whole [x]silev";
}

// What the form changes on its own is said in a line with names, and
// unchecking a hole right after checking it gives back what it replaced.
void TestFileMacLabelWidget::reactionsAreSaid()
{
    QFETCH(QByteArray, label);
    QFETCH(QString, steps);
    QFETCH(QString, message);
    QFETCH(QString, values);
    QFETCH(QString, rows);

    StandinPolicy policy;
    // "whole" copies the label of "/", which these rows take to be 0.
    QCOMPARE(labelOf(QStringLiteral("/")).section(QLatin1Char(' '), 0, 2), QStringLiteral("0 0 0"));
    QVERIFY(setLabel(m_file, label));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.show();
    widget.getfmac(m_file);
    QSignalSpy said(&widget, &FileMacLabelWidget::reactionMessageChanged);

    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step.startsWith(QLatin1Char('+')) || step.startsWith(QLatin1Char('-')))
            QVERIFY2(form.setAttribute(step.mid(1), step.startsWith(QLatin1Char('+')) ? Qt::Checked : Qt::Unchecked),
                     qPrintable(step));
        else
            QVERIFY2(form.edit(step), qPrintable(step));
    }
    QCOMPARE(widget.reactionMessage(), message);
    const auto *line = widget.findChild<QLabel *>(QStringLiteral("_reactionLabel"));
    QVERIFY(line);
    QCOMPARE(line->text(), message);
    QCOMPARE(line->isVisible(), !message.isEmpty());
    QCOMPARE(said.isEmpty() ? QString() : said.last().at(0).toString(), message);
    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows(), rows);
    // Nothing reaches the object before a write.
    QCOMPARE(storedOf(m_file).text(), QString::fromLatin1(label));

    // A load starts afresh: no message, nothing to give back.
    widget.getfmac(m_file);
    QCOMPARE(widget.reactionMessage(), QString());
    QVERIFY(line->isHidden());
}

void TestFileMacLabelWidget::loadIsHeardOnce_data()
{
    QTest::addColumn<QByteArray>("second"); // the label the object holds at the second load
    QTest::addColumn<QString>("values");

    QTest::newRow("the same label") << QByteArray("2:63:0x13:0x0") << QStringLiteral("2 63 13");
    QTest::newRow("another label") << QByteArray("1:0:0x4:0x0") << QStringLiteral("1 0 4");
    QTest::newRow("a level the policy does not name") << QByteArray("9:0:0x0:0x0") << QStringLiteral("9 0 0");
}

// A load sets the pickers quietly, however many of their values it changes:
// the host hears the load once, and hears the form's last message go.
void TestFileMacLabelWidget::loadIsHeardOnce()
{
    QFETCH(QByteArray, second);
    QFETCH(QString, values);

    StandinPolicy policy;
    QVERIFY(setLabel(m_file, "2:63:0x13:0x0"));
    FileMacLabelWidget widget;
    const Form form(widget);
    widget.getfmac(m_file);
    QVERIFY(form.setAttribute(QStringLiteral("ehole"), Qt::Checked));
    QVERIFY(!widget.reactionMessage().isEmpty());
    QVERIFY(setLabel(m_file, second));

    QSignalSpy changed(&widget, &FileMacLabelWidget::changed);
    QSignalSpy said(&widget, &FileMacLabelWidget::reactionMessageChanged);
    QSignalSpy level(form.level, &MacLevelComboBox::valueChanged);
    QSignalSpy integrity(form.integrity, &ILevelComboBox::valueChanged);
    QSignalSpy categories(form.categories, &MacCategoryListWidget::valueChanged);
    widget.getfmac(m_file);

    QCOMPARE(form.values(), values);
    QCOMPARE(form.rows(), QStringLiteral("ehole whole silev"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(said.count(), 1);
    QCOMPARE(said.first().at(0).toString(), QString());
    QCOMPARE(widget.reactionMessage(), QString());
    QCOMPARE(level.count() + integrity.count() + categories.count(), 0);
    // The loaded label is the base of the next write, which leaves it whole.
    QVERIFY(widget.chmac(m_file));
    QCOMPARE(storedOf(m_file).text(), QString::fromLatin1(second));
}

QTEST_MAIN(TestFileMacLabelWidget)
#include "tst_filemaclabelwidget.moc"
