// Load-time behaviour: each case loads the start-up code into a fresh process
// (the host program) in its own way.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogue_data();
    void catalogue();
    void strictModeReadOnce_data();
    void strictModeReadOnce();

private:
    static void runHost(const QString &scenario, const QString &library, const QProcessEnvironment &environment);
};

void tst_Startup::runHost(const QString &scenario, const QString &library, const QProcessEnvironment &environment)
{
    QProcess host;
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(STARTUP_HOST), {scenario, library});
    QVERIFY(host.waitForFinished(60000));
    const QByteArray errors = host.readAllStandardError();
    QVERIFY2(host.exitStatus() == QProcess::NormalExit, errors.constData());
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

    const QString probe = QStringLiteral(STARTUP_PROBE);
    QTest::newRow("loaded before the application exists")
        << QStringLiteral("before-application") << probe << QByteArray("de_DE.UTF-8");
    QTest::newRow("loaded in the application's thread")
        << QStringLiteral("application-thread") << probe << QByteArray("de_DE.UTF-8");
    QTest::newRow("loaded from another thread")
        << QStringLiteral("other-thread") << probe << QByteArray("de_DE.UTF-8");
    QTest::newRow("no catalogue for the locale")
        << QStringLiteral("no-catalogue") << probe << QByteArray("fr_FR.UTF-8");
    QTest::newRow("territory falls back to the language")
        << QStringLiteral("application-thread") << probe << QByteArray("de_AT.UTF-8");
    QTest::newRow("the library itself, no catalogue installed")
        << QStringLiteral("no-catalogue") << QStringLiteral(VARNEL_LIBRARY) << QByteArray("fr_FR.UTF-8");
    QTest::newRow("the library closed before the application exists")
        << QStringLiteral("unloaded-before-application") << QStringLiteral(VARNEL_LIBRARY) << QByteArray("de_DE.UTF-8");
    QTest::newRow("the library closed before its queued start-up call")
        << QStringLiteral("unloaded-before-queued-call") << QStringLiteral(VARNEL_LIBRARY) << QByteArray("de_DE.UTF-8");
}

void tst_Startup::catalogue()
{
    QFETCH(QString, scenario);
    QFETCH(QString, library);
    QFETCH(QByteArray, locale);
    runHost(scenario, library, environmentWithLocale(locale.constData()));
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
