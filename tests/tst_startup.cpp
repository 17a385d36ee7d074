// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Load-time behaviour: each case loads the start-up code into a fresh process
// (the host program) in its own way.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogue_data();
    void catalogue();
    void prefixCatalogue_data();
    void prefixCatalogue();
    void strictModeReadOnce_data();
    void strictModeReadOnce();

private:
    static void runHost(const QString &scenario, const QString &library, const QProcessEnvironment &environment);
};

// What the library's own catalogue folder holds for a run of the library
// itself, whatever the machine has installed there.
enum class FixedFolder { NotShown, Empty, GermanCatalogue };
Q_DECLARE_METATYPE(FixedFolder)

// Has the host see, in place of the library's own catalogue folder, a folder
// under root that holds what fixed says (the probe's catalogue, under the
// library's name, for the German one).
static bool showFixedFolder(const QTemporaryDir &root, FixedFolder fixed, QProcessEnvironment &environment)
{
    if (fixed == FixedFolder::NotShown)
        return true;
    const QString folder = root.filePath(QStringLiteral("vix/translations"));
    if (!QDir().mkpath(folder))
        return false;
    if (fixed == FixedFolder::GermanCatalogue
        && !QFile::copy(QStringLiteral(PROBE_CATALOGUE), folder + QStringLiteral("/" VARNEL_CATALOGUE "_de.qm")))
        return false;
    environment.insert(QStringLiteral("STARTUP_CATALOGUE_ROOT"), root.path());
    return true;
}

void tst_Startup::runHost(const QString &scenario, const QString &library, const QProcessEnvironment &environment)
{
    QProcess host;
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(STARTUP_HOST), {scenario, library});
    QVERIFY(host.waitForFinished(60000));
    const QByteArray errors = host.readAllStandardError();
    QVERIFY2(host.exitStatus() == QProcess::NormalExit, errors.constData());
    if (host.exitCode() == 77)
        QSKIP(errors.constData());
    QVERIFY2(host.exitCode() == 0, errors.constData());
}

static QProcessEnvironment environmentWithLocale(const char *locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.remove(QStringLiteral("VARNEL_STANDIN_DIR"));
    environment.insert(QStringLiteral("LC_ALL"), QLatin1String(locale));
    environment.insert(QStringLiteral("LANG"), QLatin1String(locale));
    return environment;
}

void tst_Startup::catalogue_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<FixedFolder>("fixed");

    // The probe reads a folder of the build tree; the library itself its
    // fixed folder, which each of its runs sees privately as the row says.
    const QString probe = QStringLiteral(STARTUP_PROBE);
    const QString library = QStringLiteral(VARNEL_LIBRARY);
    QTest::newRow("loaded before the application exists")
        << QStringLiteral("before-application") << probe << QByteArray("de_DE.UTF-8") << FixedFolder::NotShown;
    QTest::newRow("loaded in the application's thread")
        << QStringLiteral("application-thread") << probe << QByteArray("de_DE.UTF-8") << FixedFolder::NotShown;
    QTest::newRow("loaded from another thread")
        << QStringLiteral("other-thread") << probe << QByteArray("de_DE.UTF-8") << FixedFolder::NotShown;
    QTest::newRow("no catalogue for the locale")
        << QStringLiteral("no-catalogue") << probe << QByteArray("fr_FR.UTF-8") << FixedFolder::NotShown;
    QTest::newRow("territory falls back to the language")
        << QStringLiteral("application-thread") << probe << QByteArray("de_AT.UTF-8") << FixedFolder::NotShown;
    QTest::newRow("the library itself, no catalogue installed")
        << QStringLiteral("no-catalogue") << library << QByteArray("fr_FR.UTF-8") << FixedFolder::Empty;
    QTest::newRow("the library itself, no catalogue for the locale")
        << QStringLiteral("no-catalogue") << library << QByteArray("fr_FR.UTF-8") << FixedFolder::GermanCatalogue;
    QTest::newRow("the library itself, its folder empty")
        << QStringLiteral("no-catalogue") << library << QByteArray("de_DE.UTF-8") << FixedFolder::Empty;
    QTest::newRow("the library itself, catalogue installed")
        << QStringLiteral("application-thread") << library << QByteArray("de_DE.UTF-8") << FixedFolder::GermanCatalogue;
    QTest::newRow("the library itself, before the application exists")
        << QStringLiteral("before-application") << library << QByteArray("de_AT.UTF-8") << FixedFolder::GermanCatalogue;
    for (const FixedFolder fixed : {FixedFolder::Empty, FixedFolder::GermanCatalogue}) {
        const char *folder = fixed == FixedFolder::Empty ? "no catalogue" : "catalogue installed";
        QTest::addRow("the library closed before the application exists, %s", folder)
            << QStringLiteral("unloaded-before-application") << library << QByteArray("de_DE.UTF-8") << fixed;
        QTest::addRow("the library closed before its queued start-up call, %s", folder)
            << QStringLiteral("unloaded-before-queued-call") << library << QByteArray("de_DE.UTF-8") << fixed;
    }
}

void tst_Startup::catalogue()
{
    QFETCH(QString, scenario);
    QFETCH(QString, library);
    QFETCH(QByteArray, locale);
    QFETCH(FixedFolder, fixed);

    QProcessEnvironment environment = environmentWithLocale(locale.constData());
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(showFixedFolder(root, fixed, environment));
    runHost(scenario, library, environment);
}

void tst_Startup::prefixCatalogue_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<FixedFolder>("fixed");
    QTest::addColumn<bool>("prefixCatalogue"); // the library's German catalogue in its prefix
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("expected"); // the catalogue installed: probe, library or none

    // The library is laid out in a prefix of its own, which is then moved. The
    // probe's own folder, in the build tree, holds its German catalogue. How
    // a locale finds its catalogue is the catalogue test's.
    const QString probe = QStringLiteral(STARTUP_PROBE);
    const QString library = QStringLiteral(VARNEL_LIBRARY);
    const QByteArray german("de_DE.UTF-8");
    QTest::newRow("moved prefix") << library << FixedFolder::Empty << true << german << QByteArray("library");
    QTest::newRow("moved prefix, no catalogue for the locale")
        << library << FixedFolder::Empty << true << QByteArray("fr_FR.UTF-8") << QByteArray("none");
    QTest::newRow("moved prefix without a catalogue")
        << library << FixedFolder::Empty << false << german << QByteArray("none");
    QTest::newRow("the system's folder wins over the prefix")
        << library << FixedFolder::GermanCatalogue << true << german << QByteArray("probe");
    QTest::newRow("the probe's own folder wins over its prefix")
        << probe << FixedFolder::NotShown << true << german << QByteArray("probe");
}

void tst_Startup::prefixCatalogue()
{
    QFETCH(QString, library);
    QFETCH(FixedFolder, fixed);
    QFETCH(bool, prefixCatalogue);
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, expected);

    const QString libraryFolder = QStringLiteral(INSTALL_LIBDIR);
    const QString catalogueFolder = QStringLiteral(INSTALL_TRANSLATIONS_DIR);
    if (QDir::isAbsolutePath(libraryFolder) || QDir::isAbsolutePath(catalogueFolder))
        QSKIP("the install folders are absolute: no prefix to move");

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    // Copies file into folder of the prefix named, as the file's name there.
    const auto place = [&scratch](const QString &prefix, const QString &folder, const QString &file,
                                  const QString &name) {
        const QString target = scratch.filePath(prefix + QLatin1Char('/') + folder);
        return QDir().mkpath(target) && QFile::copy(file, target + QLatin1Char('/') + name);
    };
    const QString libraryName = QFileInfo(library).fileName();
    QVERIFY(place(QStringLiteral("first"), libraryFolder, library, libraryName));
    if (prefixCatalogue)
        QVERIFY(place(QStringLiteral("first"), catalogueFolder, QStringLiteral(LIBRARY_CATALOGUE),
                      QStringLiteral(VARNEL_CATALOGUE "_de.qm")));
    QVERIFY(QDir().rename(scratch.filePath(QStringLiteral("first")), scratch.filePath(QStringLiteral("moved"))));

    QProcessEnvironment environment = environmentWithLocale(locale.constData());
    environment.insert(QStringLiteral("EXPECT_CATALOGUE"), QString::fromLatin1(expected));
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(showFixedFolder(root, fixed, environment));
    runHost(QStringLiteral("which-catalogue"),
            scratch.filePath(QStringLiteral("moved/") + libraryFolder + QLatin1Char('/') + libraryName), environment);
}

void tst_Startup::strictModeReadOnce_data()
{
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<bool>("strict");

    QTest::newRow("built-in policy") << QByteArray() << false;
    QTest::newRow("strict") << QByteArray("strict_mode=1\n") << true;
    QTest::newRow("not strict") << QByteArray("strict_mode=0\n") << false;
    QTest::newRow("any non-zero value") << QByteArray("strict_mode=7\n") << true;
}

void tst_Startup::strictModeReadOnce()
{
    QFETCH(QByteArray, system);
    QFETCH(bool, strict);

    QProcessEnvironment environment = environmentWithLocale("C.UTF-8");
    environment.insert(QStringLiteral("EXPECT_STRICT"), strict ? QStringLiteral("1") : QStringLiteral("0"));
    QTemporaryDir policy;
    QVERIFY(policy.isValid());
    if (!system.isNull()) {
        QFile file(policy.filePath(QStringLiteral("system")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(system);
        file.close();
        environment.insert(QStringLiteral("VARNEL_STANDIN_DIR"), policy.path());
        environment.insert(QStringLiteral("STRICT_SYSTEM_FILE"), file.fileName());
    }
    runHost(QStringLiteral("strict-mode"), QStringLiteral(STARTUP_PROBE), environment);
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
