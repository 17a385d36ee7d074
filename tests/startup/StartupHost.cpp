// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Loads the library's start-up code at a chosen moment and from a chosen
// thread, then reports whether the catalogue was installed as it should be.
// Exits 0 when every expectation of the scenario holds.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A text of the library's own catalogue, which the probe's catalogue lacks.
bool libraryTextTranslated()
{
    return QCoreApplication::translate("VarnelQt5::MacFileModel", "%1, checked") == QLatin1String("%1, aktiviert");
}

// Runs the application's event loop until nothing is left to do.
void drainEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The folder the library reads its catalogue from.
const char fixedFolder[] = "/usr/share/vix/translations";

// Exit status of a run that could not show the folder it was given.
constexpr int noPrivateMount = 77;

bool isDirectory(const char *path)
{
    struct stat status;
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool writeFile(const char *path, const std::string &text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = write(fd, text.data(), text.size()) == ssize_t(text.size());
    return close(fd) == 0 && written;
}

// Shows the folder private in place of the library's catalogue folder, to this
// process alone: in a mount namespace of its own, so that whatever catalogue
// the machine has installed there does not count. Where the folder does not
// exist, a read-only overlay adds it; an empty folder needs no mount there.
bool showPrivateCatalogueFolder(const char *root)
{
    const std::string wanted = std::string(root) + "/vix/translations";
    const bool exists = isDirectory(fixedFolder);
    const bool wantedEmpty = QDir(QString::fromLocal8Bit(wanted.c_str())).isEmpty();
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return !exists && wantedEmpty;
    if (!writeFile("/proc/self/setgroups", "deny") || !writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1")
        || !writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")
        || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return !exists && wantedEmpty;
    }
    if (exists)
        return mount(wanted.c_str(), fixedFolder, nullptr, MS_BIND, nullptr) == 0;
    const std::string options = "lowerdir=" + std::string(root) + ":/usr/share";
    return wantedEmpty || mount("overlay", "/usr/share", "overlay", MS_RDONLY, options.c_str()) == 0;
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
    } else if (scenario == "which-catalogue") {
        // EXPECT_CATALOGUE names the catalogue that should be installed: the
        // probe's ("probe"), the library's own ("library") or none ("none").
        const QByteArray expected = qgetenv("EXPECT_CATALOGUE");
        void *handle = loadLibrary(library);
        expect(handle, "library loads");
        drainEvents();
        expect(translators() == (expected == "none" ? 0 : 1), "one translator where a catalogue loads, else none");
        expect(translated() == (expected == "probe"), "the probe's catalogue as expected");
        expect(libraryTextTranslated() == (expected == "library"), "the library's catalogue as expected");
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
    // Before any thread exists, as a new mount namespace requires.
    const char *catalogues = std::getenv("STARTUP_CATALOGUE_ROOT");
    if (catalogues && !showPrivateCatalogueFolder(catalogues)) {
        std::fprintf(stderr, "no private mount namespace for %s here\n", fixedFolder);
        return noPrivateMount;
    }
    const QByteArray scenario(argv[1]);
    const char *library = argv[2];
    return run(scenario, library, argc, argv) == 0 ? 0 : 1;
}
