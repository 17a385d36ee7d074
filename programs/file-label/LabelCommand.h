// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELCOMMAND_H
#define VARNEL_LABELCOMMAND_H

#include "FileLabel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class LabelNames;
struct tav_label;

// --get and --set without a window, for scripts and whole trees: each path
// (and with recursion everything below it) is read or written in turn, every
// failure named on stderr with its reason, none ending the run. Labels are
// checked by the rules the window's Apply follows, worked out from the
// labels and the policy without a form: what an object holds already is
// kept as it is, and only what the command changes is checked.
class LabelCommand
{
public:
    enum class Format { Escaped, NullSeparated, Json };
    struct Options {
        Format format = Format::Escaped;
        bool names = false;
        bool recursive = false;
        bool oneFileSystem = false;
        bool verbose = false;
        // Milliseconds after which a run shows its progress on a terminal.
        qint64 progressAfter = 1000;
    };
    // A path as given: the bytes of the argument, whatever the locale's
    // encoding makes of them.
    using Path = QByteArray;

    explicit LabelCommand(const Options &options);
    ~LabelCommand();

    // Prints the label each object holds; the exit status.
    int get(const QList<Path> &paths);
    // Writes label to each object, keeping its special attributes unless
    // withType; the exit status.
    int set(const FileLabel &label, bool withType, const QList<Path> &paths);

    // A path as one field of a line: control bytes as three octal digits
    // after a backslash, the backslash doubled, everything else as it is.
    static QByteArray escaped(const QByteArray &path);
    // Whether the locale's encoding carries bytes as text: read as text and
    // written back, they are the same bytes.
    static bool nameable(const QByteArray &bytes);
    // A path as a JSON value: a string where the locale's encoding carries
    // it as text, else an array of its bytes.
    static QByteArray jsonPath(const QByteArray &path);
    // One JSON object of --get --json for a label read.
    static QByteArray jsonLabel(const QByteArray &path, const FileLabel &label, const LabelNames *names);

private:
    Q_DISABLE_COPY(LabelCommand)

    enum class Kind { File, Directory };
    // What the policy offers, read once from the pickers the window shows.
    struct Offered;
    // The object --set is at, and its kind once known.
    struct Target {
        const QByteArray &path;
        const char *labelPath;
        std::optional<Kind> kind;
    };

    static std::optional<Kind> kindOf(const char *path);
    int run(const QList<Path> &paths);
    bool one(const QByteArray &path, const char *labelPath, std::optional<Kind> kind);
    bool getOne(const QByteArray &path, const char *labelPath);
    bool setOne(const QByteArray &path, const char *labelPath, std::optional<Kind> kind);
    bool replacesUnreadable(const QByteArray &path, const char *labelPath, int readError);
    std::optional<FileLabel> allowed(Target &target, const std::optional<FileLabel> &held);
    bool knowKind(Target &target);
    bool write(const Target &target, tav_label *held, const FileLabel &label);
    QString verdict(bool directory, const std::optional<FileLabel> &held, const FileLabel &label);
    QString unoffered(const std::optional<FileLabel> &held, const FileLabel &label);
    const Offered &offered();
    void output(const QByteArray &bytes);
    void fail(const QByteArray &path, const QString &reason);
    void note(const QByteArray &path, const QString &what);
    void say(const QByteArray &line);
    void progress();

    const Options options;
    std::unique_ptr<LabelNames> names;
    bool setting = false;
    bool withType = false;
    FileLabel wanted;
    std::unique_ptr<Offered> offers;
    qint64 done = 0;
    qint64 failed = 0;
    bool outputFailed = false;
    int outputError = 0;
    bool showProgress = false;
    bool progressShown = false;
    QElapsedTimer clock;
    qint64 lastProgress = 0;
};

#endif
