// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "FilePanel.h"
#include "GalleryWindow.h"
#include "StandinPolicy.h"

#include <ILevelComboBox.h>
#include <LoginMacLabelDialog.h>
#include <LoginMacLabelWidget.h>
#include <MacCategoryComboBox.h>
#include <MacCategoryFilterEdit.h>
#include <MacCategoryListWidget.h>
#include <MacCategoryPushButton.h>
#include <MacCategoryWidget.h>
#include <MacLevelComboBox.h>
#include <MacTypeComboBox.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QSet>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <unistd.h>

using namespace VarnelQt5;

using PartAction = std::function<void(QWidget *part)>;
Q_DECLARE_METATYPE(PartAction)

namespace {

const QStringList pictureNames{
    "filemaclabelwidget.png",    "gallery.png",           "ilevelcombobox.png",
    "loginmaclabeldialog-themed.png", "loginmaclabeldialog.png", "loginmaclabelwidget.png",
    "maccategorycombobox.png",   "maccategoryfilteredit.png", "maccategorylistwidget.png", "maccategorypushbutton.png",
    "maccategorywidget.png",     "maclevelcombobox.png",  "mactypecombobox.png",
};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// The environment of a run: this process's (the policy directory included)
// without any display, with a private state directory.
QProcessEnvironment baseEnvironment(const QString &stateDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert("XDG_STATE_HOME", stateDir);
    env.insert("LC_ALL", "C.UTF-8");
    return env;
}

Run runGallery(const QStringList &arguments, const QProcessEnvironment &env, const QString &workingDir)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(QString::fromLocal8Bit(VARNEL_GALLERY), arguments);
    Run run;
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        run.err = "(timed out)";
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Whether the picture holds more than a plain background.
bool hasContent(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size() > 2;
}

// A page with a dark background must not show through a picture.
bool isOpaque(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) != 255)
                return false;
    return true;
}

QString valueOf(QWidget *part)
{
    auto *label = part->findChild<QLabel *>("value");
    return label ? label->text() : QStringLiteral("(no value line)");
}

} // namespace

class tst_Gallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pictures_data();
    void pictures();
    void failures_data();
    void failures();
    void displayThatCannotBeOpened_data();
    void displayThatCannotBeOpened();
    void information_data();
    void information();
    void liveValues_data();
    void liveValues();
    void oneButtonAway_data();
    void oneButtonAway();
    void fitsTheScreen();
    void keyboardMeetsTheFilterFirst();

private:
    long m_liveBefore = 0;
};

void tst_Gallery::init()
{
    m_liveBefore = varnel_standin_live();
}

void tst_Gallery::cleanup()
{
    QCOMPARE(varnel_standin_live(), m_liveBefore);
}

void tst_Gallery::pictures_data()
{
    QTest::addColumn<QStringList>("arguments"); // "DIR" stands for the scratch directory
    QTest::addColumn<QStringList>("environment"); // NAME=VALUE entries added to the run's
    QTest::addColumn<QString>("folder"); // relative to the scratch directory
    QTest::addColumn<QString>("message");

    QTest::newRow("on purpose, folder made")
        << QStringList{"--screenshots", "DIR/new/pics"} << QStringList{"QT_QPA_PLATFORM=offscreen"} << "new/pics"
        << "Rendered 13 pictures to ";
    // An unreachable display must not matter: pictures are rendered off screen.
    QTest::newRow("on purpose, with a display named")
        << QStringList{"--screenshots", "DIR/pics"} << QStringList{"DISPLAY=:97"} << "pics"
        << "Rendered 13 pictures to ";
    QTest::newRow("no display at all") << QStringList{} << QStringList{} << "varnel-gallery-pics"
                                       << "No display: rendered 13 pictures to ";
    // Qt takes an empty platform name for none chosen.
    QTest::newRow("no display, empty platform name")
        << QStringList{} << QStringList{"QT_QPA_PLATFORM=", "DISPLAY="} << "varnel-gallery-pics"
        << "No display: rendered 13 pictures to ";
}

void tst_Gallery::pictures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QString, folder);
    QFETCH(QString, message);

    StandinPolicy policy;
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QProcessEnvironment env = baseEnvironment(scratch.filePath("state"));
    for (const QString &entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    arguments.replaceInStrings("DIR", scratch.path());

    const Run run = runGallery(arguments, env, scratch.path());
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QDir pics(scratch.filePath(folder));
    QCOMPARE(run.out, message + pics.absolutePath() + '\n');
    QCOMPARE(pics.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), pictureNames);

    for (const QString &name : pictureNames) {
        const QImage picture(pics.filePath(name));
        QVERIFY2(!picture.isNull(), qPrintable(name));
        QVERIFY2(picture.width() >= 150 && picture.height() >= 60, qPrintable(name));
        QVERIFY2(picture.width() <= 2000 && picture.height() <= 1500, qPrintable(name));
        QVERIFY2(hasContent(picture), qPrintable(name));
        QVERIFY2(isOpaque(picture), qPrintable(name));
    }
    // The dialogs and the file label window come whole, not as a strip.
    for (const char *name : {"loginmaclabeldialog.png", "loginmaclabeldialog-themed.png", "filemaclabelwidget.png"})
        QVERIFY2(QImage(pics.filePath(name)).height() >= 250, name);
}

void tst_Gallery::failures_data()
{
    QTest::addColumn<QStringList>("arguments"); // "DIR" stands for the scratch directory
    QTest::addColumn<QString>("error"); // the end of standard error, DIR as above

    QTest::newRow("folder under a plain file") << QStringList{"--screenshots", "DIR/plain/pics"}
                                               << "varnel-gallery: cannot create the folder DIR/plain/pics\n";
    QTest::newRow("picture name taken by a folder") << QStringList{"--screenshots", "DIR/taken"}
                                                    << "varnel-gallery: cannot write DIR/taken/gallery.png\n";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "varnel-gallery: Unknown option 'bogus'.\n";
}

void tst_Gallery::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    StandinPolicy policy;
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QFile plain(scratch.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QDir(scratch.path()).mkpath("taken/gallery.png"));
    arguments.replaceInStrings("DIR", scratch.path());
    error.replace("DIR", scratch.path());

    const Run run = runGallery(arguments, baseEnvironment(scratch.filePath("state")), scratch.path());
    QVERIFY2(run.exitCode > 0, qPrintable(run.err));
    // Qt may warn before; the program's own sentence comes last.
    QVERIFY2(run.err.endsWith(error), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(scratch.filePath("varnel-gallery-pics")));
}

void tst_Gallery::displayThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("platform"); // empty: none chosen
    QTest::newRow("none chosen") << QString();
    QTest::newRow("X chosen") << "xcb";
}

// A display named that cannot be opened is one line and status 2, as for
// the other programs, and no picture is rendered in its place.
void tst_Gallery::displayThatCannotBeOpened()
{
    QFETCH(QString, platform);
    StandinPolicy policy;
    QTemporaryDir scratch;
    QProcessEnvironment env = baseEnvironment(scratch.filePath("state"));
    env.insert("DISPLAY", ":977");
    if (!platform.isEmpty())
        env.insert("QT_QPA_PLATFORM", platform);
    const Run run = runGallery({}, env, scratch.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QStringLiteral("varnel-gallery: cannot open the display ':977' to show the gallery on\n"));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(scratch.filePath("varnel-gallery-pics")));
}

void tst_Gallery::information_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("lines"); // each must appear in standard output
    QTest::addColumn<QString>("absent");

    // The flavour built, by the Qt the test is built with; the other major's
    // library is never named.
    const QString library = QStringLiteral("libvarnel-mac-qt%1").arg(QT_VERSION_MAJOR);
    const QString otherLibrary = QStringLiteral("libvarnel-mac-qt%1").arg(QT_VERSION_MAJOR == 5 ? 6 : 5);
    QTest::newRow("version") << "--version" << QStringList{"varnel-gallery " VARNEL_PROGRAM_VERSION "\n"}
                             << otherLibrary;
    QTest::newRow("help") << "--help"
                          << QStringList{"Shows every widget of " + library + " for the calling user",
                                         "--screenshots <dir>", "--file <path>", "VARNEL_STANDIN_DIR",
                                         "varnel-gallery-pics"}
                          << otherLibrary;
}

void tst_Gallery::information()
{
    QFETCH(QString, option);
    QFETCH(QStringList, lines);
    QFETCH(QString, absent);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    // Without a display: the options still answer and nothing is rendered.
    const Run run = runGallery({option}, baseEnvironment(scratch.filePath("state")), scratch.path());
    QCOMPARE(run.exitCode, 0);
    for (const QString &line : lines)
        QVERIFY2(run.out.contains(line), qPrintable(run.out));
    QVERIFY2(!run.out.contains(absent), qPrintable(run.out));
    if (option == "--version")
        QCOMPARE(run.out, lines.first());
    QVERIFY(!QFileInfo::exists(scratch.filePath("varnel-gallery-pics")));
}

void tst_Gallery::liveValues_data()
{
    QTest::addColumn<QString>("part"); // object name of the box; the file label window by its own
    QTest::addColumn<QString>("before");
    QTest::addColumn<PartAction>("action");
    QTest::addColumn<QString>("after");

    QTest::newRow("level") << "maclevelcombobox" << "L2 (level 2)"
        << PartAction([](QWidget *part) { part->findChild<MacLevelComboBox *>()->setValue(3); }) << "L3 (level 3)";
    QTest::newRow("integrity level") << "ilevelcombobox" << "Low (integrity level 0)"
        << PartAction([](QWidget *part) { part->findChild<ILevelComboBox *>()->setValue(63); })
        << "High (integrity level 63)";
    QTest::newRow("checklist row ticked") << "maccategorylistwidget" << "C0, C2 (0x5)"
        << PartAction([](QWidget *part) { part->findChild<MacCategoryListWidget *>()->item(1)->setCheckState(Qt::Checked); })
        << "C0, C1, C2 (0x7)";
    QTest::newRow("one category picked by key") << "maccategorycombobox" << "C2 (mask 0x4)"
        << PartAction([](QWidget *part) { QTest::keyClick(part->findChild<MacCategoryComboBox *>(), Qt::Key_Down); })
        << "C3 (mask 0x8)";
    QTest::newRow("popup editor") << "maccategorywidget" << "C1, C3 (0xa)"
        << PartAction([](QWidget *part) { part->findChild<MacCategoryWidget *>()->setValue(0x30); })
        << "C4, C5 (0x30)";
    QTest::newRow("button's checklist emptied") << "maccategorypushbutton" << "C4 (0x10)"
        << PartAction([](QWidget *part) { part->findChild<MacCategoryListWidget *>()->setValue(0); })
        << "no categories (0x0)";
    QTest::newRow("label type") << "mactypecombobox" << QString()
        << PartAction([](QWidget *part) { part->findChild<MacTypeComboBox *>()->setValue(0x1002D); })
        << "Gallery type (type 0x1002d)";
    QTest::newRow("login level") << "loginmaclabelwidget" << "L0; no categories; integrity Low\nlabel text 0:0:0x0"
        << PartAction([](QWidget *part) { part->findChild<MacLevelComboBox *>()->setValue(2); })
        << "L2; no categories; integrity Low\nlabel text 2:0:0x0";
    QTest::newRow("login categories") << "loginmaclabelwidget" << "L0; no categories; integrity Low\nlabel text 0:0:0x0"
        << PartAction([](QWidget *part) { part->findChild<MacCategoryListWidget *>()->setValue(0x3); })
        << "L0; C0, C1; integrity Low\nlabel text 0:0:0x3";
    QTest::newRow("file label level") << "filemaclabelwidget" << "L1; C0, C2; integrity Low; type "
        << PartAction([](QWidget *part) {
               part->findChild<MacLevelComboBox *>(QStringLiteral("_levelComboBox"))->setValue(3);
           })
        << "L3; C0, C2; integrity Low; type ";
}

void tst_Gallery::liveValues()
{
    QFETCH(QString, part);
    QFETCH(QString, before);
    QFETCH(PartAction, action);
    QFETCH(QString, after);

    StandinPolicy policy;
    policy.write("types", "0x1002D:Gallery type\n");
    {
        GalleryWindow window(getuid(), QString());
        QWidget *box = part == "filemaclabelwidget" ? static_cast<QWidget *>(window.filePanel())
                                                    : window.findChild<QGroupBox *>(part);
        QVERIFY(box);
        // The file label window ends its line with the type's name, which is
        // the platform's to choose.
        const bool prefix = part == "filemaclabelwidget";
        if (!before.isEmpty())
            QVERIFY2(prefix ? valueOf(box).startsWith(before) : valueOf(box) == before, qPrintable(valueOf(box)));
        action(box);
        QVERIFY2(prefix ? valueOf(box).startsWith(after) : valueOf(box) == after, qPrintable(valueOf(box)));
    }
}

void tst_Gallery::oneButtonAway_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("themed");

    QTest::newRow("plain dialog") << "Login dialog..." << false;
    QTest::newRow("themed dialog") << "Themed login dialog..." << true;
}

void tst_Gallery::oneButtonAway()
{
    QFETCH(QString, button);
    QFETCH(bool, themed);

    StandinPolicy policy;
    GalleryWindow window(getuid(), QString());
    window.show();
    QPushButton *opener = nullptr;
    QPushButton *fileOpener = nullptr;
    for (QPushButton *candidate : window.findChildren<QPushButton *>()) {
        if (candidate->text() == button)
            opener = candidate;
        if (candidate->text() == "File label...")
            fileOpener = candidate;
    }
    QVERIFY(opener && fileOpener);

    QVERIFY(!window.filePanel()->isVisible());
    QTest::mouseClick(fileOpener, Qt::LeftButton);
    QVERIFY(window.filePanel()->isVisible());
    QVERIFY(window.filePanel()->isWindow());

    // The dialog runs modally: look at it and press its OK from within.
    bool sawDialog = false;
    bool sawThemed = !themed;
    QString dialogText;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<LoginMacLabelDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        sawDialog = true;
        if (auto *widget = dialog->findChild<LoginMacLabelWidget *>()) {
            sawThemed = widget->themed();
            widget->findChild<MacLevelComboBox *>()->setValue(1);
            widget->findChild<MacCategoryListWidget *>()->setValue(0x6);
        }
        char *text = dialog->malloc_mac_label_text();
        dialogText = QString::fromLocal8Bit(text);
        std::free(text);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    QVERIFY(sawDialog);
    QCOMPARE(sawThemed, themed);
    QCOMPARE(dialogText, QString("1:0:0x6"));
    QCOMPARE(window.findChild<QLabel *>("acceptedLabelText")->text(), dialogText);
}

// The headless screen (800 by 600) is smaller than the gallery, as a
// 1000-pixel screen is at a scale factor of 2: the window stays on the screen
// and scrolls over the whole gallery.
void tst_Gallery::fitsTheScreen()
{
    StandinPolicy policy;
    GalleryWindow window(getuid(), QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize available = window.screen()->availableGeometry().size();
    QVERIFY2(window.frameGeometry().width() <= available.width() && window.frameGeometry().height() <= available.height(),
             qPrintable(QStringLiteral("%1x%2").arg(window.frameGeometry().width()).arg(window.frameGeometry().height())));

    auto *scroll = window.findChild<QScrollArea *>();
    QVERIFY(scroll);
    QCOMPARE(scroll->widget(), window.content());
    const QSize whole = window.content()->sizeHint();
    QVERIFY(whole.width() > available.width() || whole.height() > available.height());
    // Scrolled to its far corner, the gallery shows its last part whole.
    scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    QVERIFY(window.content()->width() >= whole.width() || scroll->horizontalScrollBar()->maximum() > 0);
    QVERIFY(window.content()->height() >= whole.height() || scroll->verticalScrollBar()->maximum() > 0);
    for (QGroupBox *part : window.parts()) {
        QVERIFY2(part->window() == &window && window.content()->isAncestorOf(part), qPrintable(part->objectName()));
        const QRect inContent(part->mapTo(window.content(), QPoint()), part->size());
        QVERIFY2(window.content()->rect().contains(inContent), qPrintable(part->objectName()));
    }
    const QRect seen(window.content()->mapFromGlobal(scroll->viewport()->mapToGlobal(QPoint())),
                     scroll->viewport()->size());
    QVERIFY(seen.bottom() >= window.content()->height() - 1 && seen.right() >= window.content()->width() - 1);
}

// The filter comes before the list it narrows, and Tab never rests on
// something invisible such as the scroll area around the parts.
void tst_Gallery::keyboardMeetsTheFilterFirst()
{
    StandinPolicy policy;
    GalleryWindow window(getuid(), QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *scroll = window.findChild<QScrollArea *>(QStringLiteral("galleryScrollArea"));
    QVERIFY(scroll);
    QCOMPARE(scroll->focusPolicy(), Qt::NoFocus);

    auto *filter = window.findChild<MacCategoryFilterEdit *>();
    QVERIFY(filter);
    QWidget *next = filter->nextInFocusChain();
    while (next && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    QCOMPARE(next, static_cast<QWidget *>(filter->categoryList()));
}

QTEST_MAIN(tst_Gallery)
#include "tst_gallery.moc"
