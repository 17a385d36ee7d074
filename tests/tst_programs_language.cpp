// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The programs speak the locale's language: their own texts, the library's
// and Qt's standard buttons, with the catalogues only in the build tree (the
// library's own catalogue folder is hidden from them).

#include "StandinPolicy.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const char fixedFolder[] = "/usr/share/vix/translations";

struct Run {
    int status = -1;
    QByteArrayList lines;
    QByteArray err;
};

// Runs program under locale, in a mount namespace of its own where the
// library's catalogue folder, if the machine has one, is empty.
Run runIn(const QByteArray &locale, const QString &program, const QStringList &arguments, const QString &empty)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QString command = program;
    QStringList commandArguments = arguments;
    if (QFileInfo(QString::fromLatin1(fixedFolder)).isDir()) {
        command = QStringLiteral("unshare");
        commandArguments = QStringList{QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                                       QStringLiteral("--mount"), QStringLiteral("sh"), QStringLiteral("-c"),
                                       QStringLiteral("mount --bind \"$0\" %1 || exit 77; exec \"$@\"")
                                           .arg(QString::fromLatin1(fixedFolder)),
                                       empty, program}
            + arguments;
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(command, commandArguments);
    Run run;
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.lines = process.readAllStandardOutput().split('\n');
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class tst_ProgramsLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void windowTexts_data();
    void windowTexts();

private:
    QTemporaryDir m_scratch;
};

void tst_ProgramsLanguage::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("empty")));
    QFile file(m_scratch.filePath(QStringLiteral("notes.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    qputenv("XDG_RUNTIME_DIR", m_scratch.path().toLocal8Bit());
}

void tst_ProgramsLanguage::windowTexts_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments"); // "FILE" stands for a scratch file
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArrayList>("shown"); // lines the window shows
    QTest::addColumn<QByteArrayList>("notShown");

    const QString gallery = QStringLiteral(VARNEL_GALLERY);
    const QString chooseLabel = QStringLiteral(CHOOSE_LABEL);
    const QString fileLabel = QStringLiteral(FILE_LABEL);
    const QStringList texts{QStringLiteral("--window-texts")};
    const QStringList themed{QStringLiteral("--themed"), QStringLiteral("--window-texts")};
    const QStringList file{QStringLiteral("--window-texts"), QStringLiteral("FILE")};

    // The gallery's title names the flavour built, by the Qt the test is
    // built with, and never the other one.
    const QByteArray uid = QByteArray::number(uint(getuid()));
    const QByteArray library = "libvarnel-mac-qt" + QByteArray::number(QT_VERSION_MAJOR);
    const QByteArray otherLibrary = "libvarnel-mac-qt" + QByteArray::number(QT_VERSION_MAJOR == 5 ? 6 : 5);

    // The program's own texts, the library's, Qt's standard buttons.
    QTest::newRow("gallery, German")
        << gallery << texts << QByteArray("de_DE.UTF-8")
        << QByteArrayList{library + "-Galerie f\xc3\xbcr Benutzer " + uid, "Anmeldedialog \xe2\x80\xa6",
                          "Einen Knopfdruck entfernt", "Verwerfen", "Ebene:", "Fertig"}
        << QByteArrayList{otherLibrary + "-Galerie f\xc3\xbcr Benutzer " + uid, "Login dialog...", "Revert",
                          "Level:", "Done"};
    QTest::newRow("gallery, English")
        << gallery << texts << QByteArray("C.UTF-8")
        << QByteArrayList{library + " gallery for user " + uid, "Login dialog...", "Revert", "Level:", "Done"}
        << QByteArrayList{otherLibrary + " gallery for user " + uid, "Anmeldedialog \xe2\x80\xa6", "Ebene:"};
    QTest::newRow("login dialog, German")
        << chooseLabel << themed << QByteArray("de_DE.UTF-8")
        << QByteArrayList{"MAC-Label-Auswahl", "Ebene:", "Anmelden", "Abbrechen"}
        << QByteArrayList{"MAC label selection", "Cancel"};
    QTest::newRow("login dialog, Austrian German")
        << chooseLabel << themed << QByteArray("de_AT.UTF-8") << QByteArrayList{"MAC-Label-Auswahl", "Abbrechen"}
        << QByteArrayList{"Cancel"};
    QTest::newRow("login dialog, English")
        << chooseLabel << themed << QByteArray("C.UTF-8") << QByteArrayList{"MAC label selection", "Enter", "Cancel"}
        << QByteArrayList{"Abbrechen"};
    QTest::newRow("file label window, German")
        << fileLabel << file << QByteArray("de_DE.UTF-8")
        << QByteArrayList{"Datei-Labels", "&Anwenden", "&Zur\xc3\xbc" "cksetzen", "Ebene:", "Kategorien:"}
        << QByteArrayList{"File labels", "&Apply", "Level:", "&Verwerfen"};
    QTest::newRow("file label window, English")
        << fileLabel << file << QByteArray("C.UTF-8") << QByteArrayList{"File labels", "&Apply", "Level:"}
        << QByteArrayList{"&Anwenden", "Ebene:"};
}

void tst_ProgramsLanguage::windowTexts()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, locale);
    QFETCH(QByteArrayList, shown);
    QFETCH(QByteArrayList, notShown);

    StandinPolicy policy;
    arguments.replaceInStrings(QStringLiteral("FILE"), m_scratch.filePath(QStringLiteral("notes.txt")));
    const Run run = runIn(locale, program, arguments, m_scratch.filePath(QStringLiteral("empty")));
    if (run.status == 77)
        QSKIP("the library's catalogue folder cannot be hidden here");
    QVERIFY2(run.status == 0, run.err.constData());
    for (const QByteArray &line : shown)
        QVERIFY2(run.lines.contains(line), QByteArray(line + " missing from\n" + run.lines.join('\n')).constData());
    for (const QByteArray &line : notShown)
        QVERIFY2(!run.lines.contains(line), QByteArray(line + " shown in\n" + run.lines.join('\n')).constData());
}

QTEST_GUILESS_MAIN(tst_ProgramsLanguage)
#include "tst_programs_language.moc"
