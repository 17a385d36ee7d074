// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The "Security label" page in KIO's own Properties dialog, loaded by KIO
// from the build tree (QT_PLUGIN_PATH): which items get it, what it shows,
// and what OK writes. Every case compares the stored attribute before and
// after and leaves no platform handle behind.

#include "CheckedRows.h"
#include "StandinPolicy.h"
#include "StoredLabel.h"

#include <FileMacLabelWidget.h>

#include <KFileItem>
#include <KPageWidget>
#include <KPageWidgetModel>
#include <KPropertiesDialog>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <cstdio>
#include <sys/stat.h>
#include <varnel-standin.h>

using VarnelQt5::FileMacLabelWidget;

namespace {

// The stored attribute's numbers, however spelt, as "L:I:0xC:0xT".
QByteArray numbersOf(const QString &path)
{
    unsigned long long level = 0, integrity = 0, categories = 0, type = 0;
    if (std::sscanf(stored(path).constData(), "%llu:%llu:%llx:%llx", &level, &integrity, &categories, &type) != 4)
        return "unreadable";
    return QStringLiteral("%1:%2:0x%3:0x%4").arg(level).arg(integrity).arg(categories, 0, 16).arg(type, 0, 16).toLatin1();
}

// The titles of the dialog's pages, in order.
QStringList titlesOf(KPropertiesDialog *dialog)
{
    const auto *pages = dialog->findChild<KPageWidget *>();
    const auto *model = pages ? qobject_cast<const KPageWidgetModel *>(pages->model()) : nullptr;
    QStringList titles;
    for (int row = 0; model && row < model->rowCount(); ++row)
        titles << model->index(row, 0).data(Qt::DisplayRole).toString();
    return titles;
}

// The one page KIO shows under that title; null when there is none or more.
KPageWidgetItem *pageTitled(KPropertiesDialog *dialog, const QString &title)
{
    const QStringList titles = titlesOf(dialog);
    if (titles.count(title) != 1)
        return nullptr;
    const auto *model = qobject_cast<const KPageWidgetModel *>(dialog->findChild<KPageWidget *>()->model());
    return model->item(model->index(titles.indexOf(title), 0));
}

KPropertiesDialogPlugin *pluginOf(KPropertiesDialog *dialog)
{
    for (KPropertiesDialogPlugin *plugin : dialog->findChildren<KPropertiesDialogPlugin *>()) {
        if (qstrcmp(plugin->metaObject()->className(), "MacLabelPropertiesPlugin") == 0)
            return plugin;
    }
    return nullptr;
}

// Edits the form as a person does: "level" and "integrity" step their
// picker down by one, "category:NAME" and "attribute:NAME" check that row.
bool edit(FileMacLabelWidget *form, const QString &action)
{
    const QString kind = action.section(QLatin1Char(':'), 0, 0);
    const QString name = action.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("level") || kind == QLatin1String("integrity")) {
        auto *picker = form->findChild<QComboBox *>(kind == QLatin1String("level") ? QStringLiteral("_levelComboBox")
                                                                                  : QStringLiteral("_integrityComboBox"));
        const int before = picker ? picker->currentIndex() : -1;
        if (picker)
            QTest::keyClick(picker, Qt::Key_Down);
        return picker && picker->currentIndex() == before + 1;
    }
    if (kind == QLatin1String("category")) {
        auto *list = form->findChild<QListWidget *>(QStringLiteral("_categoryListWidget"));
        for (int row = 0; list && row < list->count(); ++row) {
            if (list->item(row)->text().endsWith(QLatin1Char(':') + name)) {
                list->item(row)->setCheckState(Qt::Checked);
                return true;
            }
        }
        return false;
    }
    auto *view = form->findChild<QListView *>(QStringLiteral("_specialListView"));
    for (int row = 0; view && row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        if (index.data().toString().startsWith(name))
            return view->model()->setData(index, Qt::Checked, Qt::CheckStateRole);
    }
    return false;
}

// A dialog that accept() hands to deleteLater() and the test may delete.
struct Dialog {
    explicit Dialog(KPropertiesDialog *dialog) : dialog(dialog) {}
    ~Dialog() { delete dialog; }
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;
    KPropertiesDialog *operator->() const { return dialog; }
    QPointer<KPropertiesDialog> dialog;
};

} // namespace

class TestMacLabelPropertiesPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void pageShowsTheLabel_data();
    void pageShowsTheLabel();
    void okWritesTheEdit_data();
    void okWritesTheEdit();
    void writeRefused_data();
    void writeRefused();
    void titleInGerman();

private:
    QString pathOf(const char *kind) const;

    QTemporaryDir m_dir;
    long m_liveBefore = 0;
};

void TestMacLabelPropertiesPlugin::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Without the page's plugin on the search path no case could find it,
    // and "no page" would pass for the wrong reason.
    QVERIFY2(qEnvironmentVariable("QT_PLUGIN_PATH").contains(QLatin1String(VARNEL_PLUGIN_DIR)),
             "QT_PLUGIN_PATH does not name the build tree's plugins");
}

void TestMacLabelPropertiesPlugin::init()
{
    m_liveBefore = varnel_standin_live();
    QFile file(pathOf("file"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(QDir().mkpath(pathOf("folder")));
    QVERIFY2(store(pathOf("file"), "1:0:0x1:0") && store(pathOf("folder"), "1:0:0x1:0"),
             "the temporary directory keeps no user extended attributes");
}

void TestMacLabelPropertiesPlugin::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

QString TestMacLabelPropertiesPlugin::pathOf(const char *kind) const
{
    return m_dir.filePath(QLatin1String(kind));
}

void TestMacLabelPropertiesPlugin::pageShowsTheLabel_data()
{
    QTest::addColumn<QString>("items"); // local names or URLs, one a word
    QTest::addColumn<QByteArray>("stored"); // of the first; empty: no attribute
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("level"); // empty: cannot be edited; "none": no page
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("message");

    const QString unreadable = QStringLiteral("The label of this object cannot be read: the label library gave no "
                                              "label for it. This page cannot change it.");
    QTest::newRow("file") << "file" << QByteArray("2:0:0x3:0x10") << QByteArray() << "L2" << "ehole whole [x]silev"
                          << QString();
    QTest::newRow("folder") << "folder" << QByteArray("3:63:0x0:0x21") << QByteArray() << "L3" << "[x]ccnr [x]irelax"
                            << QString();
    QTest::newRow("file without attribute") << "file" << QByteArray() << QByteArray() << "L0" << "ehole whole silev"
                                            << QString();
    QTest::newRow("malformed attribute") << "file" << QByteArray("not a label") << QByteArray() << QString()
                                         << QString() << unreadable;
    QTest::newRow("label library fails") << "folder" << QByteArray("2:0:0x1:0") << QByteArray("tav_get_path")
                                         << QString() << QString() << unreadable;
    QTest::newRow("several local items") << "file folder" << QByteArray("2:0:0x1:0") << QByteArray() << "none"
                                         << QString() << QString();
    QTest::newRow("remote file") << "sftp://host.invalid/home/report.txt" << QByteArray() << QByteArray() << "none"
                                 << QString() << QString();
    QTest::newRow("remote folder") << "webdavs://host.invalid/share/" << QByteArray() << QByteArray() << "none"
                                   << QString() << QString();
}

// The page is found by its title through KIO's own plugin loading and shows
// the stored label, or why it cannot; several or remote items get none. OK
// without an edit writes nothing.
void TestMacLabelPropertiesPlugin::pageShowsTheLabel()
{
    QFETCH(QString, items);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, fault);
    QFETCH(QString, level);
    QFETCH(QString, rows);
    QFETCH(QString, message);
    StandinPolicy policy;
    KFileItemList list;
    for (const QString &item : items.split(QLatin1Char(' '))) {
        const bool folder = item.endsWith(QLatin1Char('/'));
        list << (item.contains(QLatin1Char(':'))
                     ? KFileItem(QUrl(item), folder ? QStringLiteral("inode/directory") : QStringLiteral("text/plain"),
                                 folder ? S_IFDIR : S_IFREG)
                     : KFileItem(QUrl::fromLocalFile(pathOf(item.toLatin1().constData()))));
    }
    const QString path = list.first().url().toLocalFile();
    if (!path.isEmpty() && stored.isEmpty())
        QVERIFY(removexattr(QFile::encodeName(path).constData(), attribute) == 0);
    else if (!path.isEmpty())
        QVERIFY(store(path, stored));
    if (!fault.isEmpty())
        policy.fail(fault.constData());
    const QByteArray before = ::stored(pathOf("file")) + ' ' + ::stored(pathOf("folder"));

    Dialog dialog(new KPropertiesDialog(list, nullptr));
    const QStringList titles = titlesOf(dialog.dialog);
    if (level == QLatin1String("none")) {
        // KIO's own pages are there, this one is not.
        QVERIFY(!titles.isEmpty());
        QVERIFY2(!titles.contains(QStringLiteral("Security label")), qPrintable(titles.join(QLatin1Char(' '))));
        QVERIFY(!dialog->findChild<FileMacLabelWidget *>());
    } else {
        KPageWidgetItem *page = pageTitled(dialog.dialog, QStringLiteral("Security label"));
        QVERIFY2(page, qPrintable(titles.join(QLatin1Char(' '))));
        auto *form = page->widget()->findChild<FileMacLabelWidget *>();
        QVERIFY(form->findChild<QLineEdit *>(QStringLiteral("_categoryFilterEdit")));
        QCOMPARE(page->widget()->findChild<QLabel *>(QStringLiteral("_pageMessageLabel"))->text(), message);
        QCOMPARE(form->isEnabled(), !level.isEmpty());
        if (!level.isEmpty()) {
            QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("_levelComboBox"))->currentText(), level);
            QCOMPARE(rowsOf(form->findChild<QListView *>(QStringLiteral("_specialListView"))->model()), rows);
        }
        QVERIFY(!pluginOf(dialog.dialog)->isDirty());
    }

    QSignalSpy applied(dialog.dialog, &KPropertiesDialog::applied);
    dialog->accept();
    QTRY_COMPARE(applied.count(), 1);
    QCOMPARE(::stored(pathOf("file")) + ' ' + ::stored(pathOf("folder")), before);
}

void TestMacLabelPropertiesPlugin::okWritesTheEdit_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("action"); // empty: no edit
    QTest::addColumn<QByteArray>("meanwhile"); // stored by another writer after the page read
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("level") << QByteArray("file") << "level" << QByteArray() << QByteArray("2:0:0x1:0x0");
    QTest::newRow("integrity") << QByteArray("file") << "integrity" << QByteArray() << QByteArray("1:63:0x1:0x0");
    QTest::newRow("category") << QByteArray("folder") << "category:C2" << QByteArray() << QByteArray("1:0:0x5:0x0");
    QTest::newRow("file attribute") << QByteArray("file") << "attribute:silev" << QByteArray()
                                    << QByteArray("1:0:0x1:0x10");
    QTest::newRow("folder attribute") << QByteArray("folder") << "attribute:ccnr" << QByteArray()
                                      << QByteArray("1:0:0x1:0x1");
    // A page without edits has nothing to write, so nothing to refuse.
    QTest::newRow("no edit, another writer") << QByteArray("file") << QString() << QByteArray("3:0:0x2:0")
                                             << QByteArray("3:0:0x2:0x0");
}

// An edit marks the dialog changed, and OK writes exactly the edited label.
void TestMacLabelPropertiesPlugin::okWritesTheEdit()
{
    QFETCH(QByteArray, kind);
    QFETCH(QString, action);
    QFETCH(QByteArray, meanwhile);
    QFETCH(QByteArray, after);
    StandinPolicy policy;
    const QString path = pathOf(kind.constData());
    const QByteArray before = stored(path);
    QCOMPARE(numbersOf(path), QByteArray("1:0:0x1:0x0"));

    Dialog dialog(new KPropertiesDialog(KFileItem(QUrl::fromLocalFile(path)), nullptr));
    dialog->show();
    KPageWidgetItem *page = pageTitled(dialog.dialog, QStringLiteral("Security label"));
    QVERIFY(page);
    KPropertiesDialogPlugin *plugin = pluginOf(dialog.dialog);
    QVERIFY(!plugin->isDirty());
    if (!action.isEmpty())
        QVERIFY(edit(page->widget()->findChild<FileMacLabelWidget *>(), action));
    QCOMPARE(plugin->isDirty(), !action.isEmpty());
    QCOMPARE(stored(path), before);
    if (!meanwhile.isEmpty())
        QVERIFY(store(path, meanwhile));

    QSignalSpy applied(dialog.dialog, &KPropertiesDialog::applied);
    dialog->accept();
    QTRY_COMPARE(applied.count(), 1);
    QCOMPARE(numbersOf(path), after);
}

void TestMacLabelPropertiesPlugin::writeRefused_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QByteArray>("heldAfter");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("readAgain");

    QTest::newRow("label changed by another writer")
        << "relabel" << QByteArray("3:0:0x2:0") << "another program changed it" << true;
    QTest::newRow("another object at the path")
        << "replace" << QByteArray("1:0:0x1:0") << "another program changed it" << true;
    QTest::newRow("label library refuses") << "fault" << QByteArray("1:0:0x1:0") << "could not be written" << false;
}

// A write that is refused writes nothing, keeps the dialog open on the page
// with the reason, and keeps the edits; "Read the label again" then shows
// what the object holds.
void TestMacLabelPropertiesPlugin::writeRefused()
{
    QFETCH(QString, change);
    QFETCH(QByteArray, heldAfter);
    QFETCH(QString, message);
    QFETCH(bool, readAgain);
    StandinPolicy policy;
    const QString path = pathOf("file");

    Dialog dialog(new KPropertiesDialog(KFileItem(QUrl::fromLocalFile(path)), nullptr));
    dialog->show();
    KPageWidgetItem *page = pageTitled(dialog.dialog, QStringLiteral("Security label"));
    QVERIFY(page);
    auto *form = page->widget()->findChild<FileMacLabelWidget *>();
    QVERIFY(edit(form, QStringLiteral("level")));

    if (change == QLatin1String("relabel")) {
        QVERIFY(store(path, heldAfter));
    } else if (change == QLatin1String("replace")) {
        // Made while the old one still exists, so on another inode, with the
        // same label: only the object tells them apart.
        const QString other = pathOf("other");
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(store(other, heldAfter));
        QVERIFY(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0);
    } else {
        policy.fail("tav_set_path");
    }
    const QByteArray before = stored(path);
    QCOMPARE(before, heldAfter);

    QSignalSpy applied(dialog.dialog, &KPropertiesDialog::applied);
    dialog->accept();
    const auto *line = page->widget()->findChild<QLabel *>(QStringLiteral("_pageMessageLabel"));
    QTRY_VERIFY(!line->text().isEmpty());
    QVERIFY2(line->text().contains(message), qPrintable(line->text()));
    QCOMPARE(applied.count(), 0);
    QVERIFY(dialog.dialog);
    QCOMPARE(stored(path), before);
    QCOMPARE(dialog->currentPage(), page);
    QVERIFY(line->isVisible());
    // The edit is still there.
    QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("_levelComboBox"))->currentText(), QStringLiteral("L2"));

    auto *button = page->widget()->findChild<QPushButton *>(QStringLiteral("_readAgainButton"));
    QCOMPARE(button->isVisible(), readAgain);
    if (!readAgain)
        return;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("_levelComboBox"))->currentText(),
             QStringLiteral("L%1").arg(QLatin1Char(heldAfter.at(0))));
    QVERIFY(!line->isVisible());
    QVERIFY(!button->isVisible());
    // What was read again is written as it is: OK now closes the dialog.
    // KIO's dialog announces this OK once more for each one refused before.
    const QByteArray numbers = numbersOf(path);
    dialog->accept();
    QTRY_VERIFY(applied.count() > 0);
    QCOMPARE(numbersOf(path), numbers);
}

void TestMacLabelPropertiesPlugin::titleInGerman()
{
    StandinPolicy policy;
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(VARNEL_CATALOGUE "_de"), QStringLiteral(VARNEL_QM_DIR)));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QByteArray before = stored(pathOf("file"));
    {
        Dialog dialog(new KPropertiesDialog(KFileItem(QUrl::fromLocalFile(pathOf("file"))), nullptr));
        QVERIFY(!pageTitled(dialog.dialog, QStringLiteral("Security label")));
        QVERIFY(pageTitled(dialog.dialog, QStringLiteral("Sicherheitslabel")));
    }
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(stored(pathOf("file")), before);
}

QTEST_MAIN(TestMacLabelPropertiesPlugin)

#include "tst_maclabelpropertiesplugin.moc"
