// Loads the library's start-up code at a chosen moment and from a chosen
// thread, then reports whether the catalogue was installed as it should be.
// Exits 0 when every expectation of the scenario holds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>

namespace {

int failures = 0;

void expect(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

void *loadLibrary(const char *path)
{
    void *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
    return handle;
}

int translators()
{
    return QCoreApplication::instance()->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly).size();
}

bool translated()
{
    return QCoreApplication::translate("StartupProbe", "Categories") == QLatin1String("Kategorien");
}

// Runs the application's event loop until nothing is left to do.
void drainEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

int run(const QByteArray &scenario, const char *library, int argc, char **argv)
{
    if (scenario == "before-application") {
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        {
            QCoreApplication application(argc, argv);
            expect(translators() == 1, "one translator owned by the application");
            expect(translated(), "catalogue installed while the application was built");
        }
        // A new application object gets a translator of its own.
        QCoreApplication application(argc, argv);
        expect(translators() == 1, "one translator owned by the new application");
        expect(translated(), "catalogue installed again");
        return failures;
    }

    // A plugin tried and dropped before the application exists: building the
    // application afterwards runs whatever start-up routine the library left.
    if (scenario == "unloaded-before-application") {
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        expect(handle && dlclose(handle) == 0, "library closed");
        QCoreApplication application(argc, argv);
        drainEvents();
        expect(translators() == (translated() ? 1 : 0), "a translator only where a catalogue was installed");
        return failures;
    }

    QCoreApplication application(argc, argv);
    if (scenario == "unloaded-before-queued-call") {
        void *handle = nullptr;
        QThread *loader = QThread::create([&] { handle = loadLibrary(library); });
        loader->start();
        loader->wait();
        delete loader;
        expect(handle, "library loads");
        expect(handle && dlclose(handle) == 0, "library closed");
        drainEvents();
        expect(translators() == (translated() ? 1 : 0), "a translator only where a catalogue was installed");
    } else if (scenario == "application-thread") {
        expect(translators() == 0 && !translated(), "nothing installed before the load");
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        expect(translators() == 1, "one translator owned by the application");
        expect(translated(), "catalogue installed before the load returned");
    } else if (scenario == "other-thread") {
        void *handle = nullptr;
        QThread *loader = QThread::create([&] { handle = loadLibrary(library); });
        loader->start();
        loader->wait();
        delete loader;
        expect(handle, "library loads");
        expect(translators() == 0 && !translated(), "nothing installed before the event loop ran");
        drainEvents();
        expect(translators() == 1, "one translator owned by the application");
        expect(translated(), "catalogue installed by the application's event loop");
        const QList<QTranslator *> found = application.findChildren<QTranslator *>();
        expect(!found.isEmpty() && found.first()->thread() == application.thread(),
               "translator lives in the application's thread");
    } else if (scenario == "no-catalogue") {
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        drainEvents();
        expect(translators() == 0, "no translator object left behind");
        expect(!translated(), "nothing translated");
    } else if (scenario == "strict-mode") {
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        using StrictMode = bool (*)();
        using ConstantString = const QString *(*)(int);
        auto strictMode = reinterpret_cast<StrictMode>(dlsym(handle, "startupProbeStrictMode"));
        auto constant = reinterpret_cast<ConstantString>(dlsym(handle, "startupProbeString"));
        expect(strictMode && constant, "probe symbols found");
        if (!strictMode || !constant)
            return failures;
        const bool expected = qgetenv("EXPECT_STRICT") == "1";
        expect(strictMode() == expected, "strict mode as the system said at load");
        // Whatever the system says later, the flag keeps the value read at load.
        const QByteArray systemFile = qgetenv("STRICT_SYSTEM_FILE");
        if (!systemFile.isEmpty()) {
            FILE *file = std::fopen(systemFile.constData(), "w");
            expect(file, "system file rewritten");
            if (file) {
                std::fprintf(file, "strict_mode=%d\n", expected ? 0 : 1);
                std::fclose(file);
            }
            using SystemStrictMode = int (*)();
            auto systemStrictMode = reinterpret_cast<SystemStrictMode>(dlsym(handle, "varnel_strict_mode"));
            expect(systemStrictMode && (systemStrictMode() != 0) != expected, "system switched mode");
            expect(strictMode() == expected, "flag kept after the switch");
        }
        expect(*constant(0) == QLatin1String("/etc/X11/"), "X11 directory");
        expect(*constant(1) == QLatin1String("/etc/init.d/"), "init scripts directory");
        expect(*constant(2) == QLatin1String(","), "list separator");
        expect(*constant(3) == QLatin1String(":"), "field separator");
    } else {
        std::fprintf(stderr, "unknown scenario %s\n", scenario.constData());
        return 2;
    }
    return failures;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SCENARIO LIBRARY\n", argv[0]);
        return 2;
    }
    const QByteArray scenario(argv[1]);
    const char *library = argv[2];
    return run(scenario, library, argc, argv) == 0 ? 0 : 1;
}
