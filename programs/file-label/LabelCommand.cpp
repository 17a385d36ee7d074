// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelCommand.h"

#include "ExitStatus.h"
#include "LabelEditor.h"
#include "LabelLibrary.h"
#include "LabelNames.h"
#include "PathReason.h"
#include "TreeWalk.h"

#include <FileLabelRules_p.h>
#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacLevelComboBox.h>

#include <QBitArray>
#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using VarnelQt5::FileMacLabelWidget;
namespace Rules = VarnelQt5::FileLabelRules;

namespace {

// How often the progress line is written, at most.
constexpr qint64 progressEvery = 100;

// LEVEL:ILEVEL:0xCATEGORIES:0xTYPE, as FileLabel::text() writes it.
QByteArray numbers(const FileLabel &label)
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%u:%u:0x%llx:0x%x", uint(label.level), uint(label.ilevel),
                                     static_cast<unsigned long long>(label.categories), uint(label.type));
    return QByteArray(text, length);
}

QByteArray jsonString(const QString &text)
{
    QByteArray out = "\"";
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", uint(byte));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray jsonName(const QString &name)
{
    return name.isEmpty() ? QByteArray("null") : jsonString(name);
}

// The level, integrity level and categories of label onto written.
void setPlace(tav_label *written, const FileLabel &label)
{
    tavl_set_lev(written, label.level);
    tavl_set_ilev(written, label.ilevel);
    tavl_set_cat(written, label.categories);
}

QString mismatch(uint16_t bits, const FileLabel &label, bool directory)
{
    return failedTo(LabelStep::Set,
                    LabelEditor::tr("special attributes 0x%1 do not go with the label %2 on this %3")
                        .arg(bits, 0, 16)
                        .arg(label.text(), directory ? LabelEditor::tr("directory") : LabelEditor::tr("file")));
}

// A hole goes only onto a label that can carry it; one the object holds on
// the same level, integrity level and categories is left as it is.
QString holeRefusal(const std::optional<FileLabel> &held, const FileLabel &label)
{
    const bool samePlace = held && held->level == label.level && held->ilevel == label.ilevel
        && held->categories == label.categories;
    const LabelHandle probe = labelHandle(tavl_get_new());
    if (!probe)
        return failedTo(LabelStep::Write, PathReason(PathReason::LabelRefused).text());
    setPlace(probe.get(), label);
    if (const uint16_t holes = Rules::unsupportedHoles(probe.get(), label.type & Rules::holeBits,
                                                       samePlace ? held->type : 0))
        return mismatch(holes, label, false);
    return QString();
}

} // namespace

LabelCommand::LabelCommand(const Options &options)
    : options(options)
{
    if (options.names || options.format == Format::Json)
        names = std::make_unique<LabelNames>();
}

LabelCommand::~LabelCommand() = default;

QByteArray LabelCommand::escaped(const QByteArray &path)
{
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7f && c != '\\';
    };
    if (std::all_of(path.cbegin(), path.cend(), plain))
        return path;
    QByteArray out;
    out.reserve(path.size() + 8);
    for (const char c : path) {
        if (plain(c)) {
            out += c;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", uint(static_cast<unsigned char>(c)));
            out += escape;
        }
    }
    return out;
}

bool LabelCommand::nameable(const QByteArray &bytes)
{
    // Every locale's encoding carries ASCII as it is.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return true;
    return QString::fromLocal8Bit(bytes).toLocal8Bit() == bytes;
}

QByteArray LabelCommand::jsonPath(const QByteArray &path)
{
    if (nameable(path))
        return jsonString(QString::fromLocal8Bit(path));
    QByteArray bytes = "[";
    for (int i = 0; i < path.size(); ++i)
        bytes += (i ? "," : "") + QByteArray::number(uint(static_cast<unsigned char>(path.at(i))));
    return bytes + ']';
}

QByteArray LabelCommand::jsonLabel(const QByteArray &path, const FileLabel &label, const LabelNames *names)
{
    QByteArray line = "{\"path\":" + jsonPath(path) + ",\"level\":" + QByteArray::number(uint(label.level))
        + ",\"integrity\":" + QByteArray::number(uint(label.ilevel))
        + ",\"categories\":" + QByteArray::number(qulonglong(label.categories))
        + ",\"type\":" + QByteArray::number(uint(label.type));
    if (names) {
        QByteArray categories;
        VarnelQt5::forEachCategory(label.categories, [&](int bit) {
            categories += (categories.isEmpty() ? "" : ",") + jsonName(names->name(LabelNames::Category, bit));
        });
        line += ",\"names\":{\"level\":" + jsonName(names->name(LabelNames::Level, label.level))
            + ",\"integrity\":" + jsonName(names->name(LabelNames::Integrity, label.ilevel)) + ",\"categories\":["
            + categories + "]}";
    }
    return line + '}';
}

int LabelCommand::get(const QList<Path> &paths)
{
    setting = false;
    return run(paths);
}

int LabelCommand::set(const FileLabel &label, bool withType, const QList<Path> &paths)
{
    setting = true;
    wanted = label;
    this->withType = withType;
    return run(paths);
}

int LabelCommand::run(const QList<Path> &paths)
{
    clock.start();
    // A progress line shares no terminal with the labels printed.
    showProgress = ::isatty(STDERR_FILENO) && (setting || !::isatty(STDOUT_FILENO));
    TreeWalk walk(
        options.oneFileSystem,
        [this](const QByteArray &path, const char *labelPath, bool directory) {
            return one(path, labelPath, directory ? Kind::Directory : Kind::File);
        },
        [this](const QByteArray &path, const QString &what, bool failure) {
            if (failure)
                fail(path, what);
            else
                note(path, what);
        });
    for (const Path &path : paths) {
        // The named path itself is taken as it names an object, through a
        // link too; nothing below it is.
        if (!one(path, path.constData(), std::nullopt))
            break;
        if (options.recursive && kindOf(path.constData()) == Kind::Directory && !walk.below(path))
            break;
    }
    if (progressShown)
        std::fputs("\r\033[K", stderr);
    if (!outputFailed && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        outputFailed = true;
        outputError = errno;
    }
    if (outputFailed) {
        const QByteArray line = QCoreApplication::applicationName().toLocal8Bit()
            + ": cannot write the output: " + PathReason::system(outputError ? outputError : EIO).text().toLocal8Bit()
            + '\n';
        std::fputs(line.constData(), stderr);
        return PathFailed;
    }
    return failed > 0 ? PathFailed : Done;
}

// What path names, looked at through a link; nothing when it cannot be
// looked at, errno saying why.
std::optional<LabelCommand::Kind> LabelCommand::kindOf(const char *path)
{
    struct stat status;
    if (::stat(path, &status) != 0)
        return std::nullopt;
    return S_ISDIR(status.st_mode) ? Kind::Directory : Kind::File;
}

// One object; false when the run is to end (its output cannot be written).
bool LabelCommand::one(const QByteArray &path, const char *labelPath, std::optional<Kind> kind)
{
    // A failure counts itself as it is named.
    setting ? setOne(path, labelPath, kind) : getOne(path, labelPath);
    ++done;
    if (showProgress)
        progress();
    return !outputFailed;
}

bool LabelCommand::getOne(const QByteArray &path, const char *labelPath)
{
    errno = 0;
    const LabelHandle held = labelHandle(tav_get_path(labelPath));
    if (!held) {
        const int error = errno;
        fail(path, failedTo(LabelStep::Read, PathReason::unreadable(labelPath, error).text()));
        return false;
    }
    const FileLabel label = FileLabel(Rules::LabelParts::of(held.get()));
    switch (options.format) {
    case Format::Json:
        output(jsonLabel(path, label, names.get()) + '\n');
        break;
    case Format::NullSeparated:
        output(path + '\t' + (names ? names->text(label).toLocal8Bit() : numbers(label)) + '\0');
        break;
    case Format::Escaped:
        output(escaped(path) + '\t' + (names ? names->text(label).toLocal8Bit() : numbers(label)) + '\n');
        break;
    }
    return true;
}

bool LabelCommand::setOne(const QByteArray &path, const char *labelPath, std::optional<Kind> kind)
{
    errno = 0;
    const LabelHandle held = labelHandle(tav_get_path(labelPath));
    const int readError = errno;
    std::optional<FileLabel> before;
    if (held)
        before = FileLabel(Rules::LabelParts::of(held.get()));
    else if (!replacesUnreadable(path, labelPath, readError))
        return false;
    Target target{path, labelPath, kind};
    const std::optional<FileLabel> label = allowed(target, before);
    return label && write(target, held.get(), *label);
}

// Nothing of a label that cannot be read is needed when TYPE is given: the
// label given replaces it. Otherwise the path fails, and false.
bool LabelCommand::replacesUnreadable(const QByteArray &path, const char *labelPath, int readError)
{
    const PathReason reason = PathReason::unreadable(labelPath, readError);
    const bool there = kindOf(labelPath).has_value();
    if (withType && there)
        return true;
    QString text = reason.text();
    if (there && reason.kind() == PathReason::LabelUnreadable)
        text += QStringLiteral("; a label with TYPE (LEVEL:ILEVEL:CATEGORIES:TYPE) replaces it");
    fail(path, failedTo(withType ? LabelStep::Write : LabelStep::Read, text));
    return false;
}

// The label to write onto the target holding held, or nothing when the
// path fails; its kind is asked where it makes a difference.
std::optional<FileLabel> LabelCommand::allowed(Target &target, const std::optional<FileLabel> &held)
{
    FileLabel label = wanted;
    if (!withType)
        label.type = held.value_or(FileLabel()).type;
    // A tree holds both kinds of object: each gets those of the attributes
    // given that its kind may carry.
    if (options.recursive && withType && (label.type & Rules::namedBits)) {
        if (!knowKind(target))
            return std::nullopt;
        label.type &= Rules::kindBits(target.kind == Kind::Directory);
    }
    QString refusal = verdict(target.kind == Kind::Directory, held, label);
    if (!target.kind && refusal != verdict(true, held, label)) {
        if (!knowKind(target))
            return std::nullopt;
        if (target.kind == Kind::Directory)
            refusal = verdict(true, held, label);
    }
    if (!refusal.isEmpty()) {
        fail(target.path, refusal);
        return std::nullopt;
    }
    return label;
}

// Asks the target's kind once; false, the path failed, when it cannot be.
bool LabelCommand::knowKind(Target &target)
{
    if (!target.kind)
        target.kind = kindOf(target.labelPath);
    if (target.kind)
        return true;
    fail(target.path, failedTo(LabelStep::Read, PathReason::system(errno).text()));
    return false;
}

// Written onto the object's own label where it has one, so that what the
// label library keeps beyond the four parts stays as it is.
bool LabelCommand::write(const Target &target, tav_label *held, const FileLabel &label)
{
    const LabelHandle fresh = labelHandle(held ? nullptr : tavl_get_new());
    tav_label *written = held ? held : fresh.get();
    if (!written) {
        fail(target.path, failedTo(LabelStep::Write, PathReason(PathReason::LabelRefused).text()));
        return false;
    }
    setPlace(written, label);
    tavl_set_type(written, label.type);
    errno = 0;
    if (tav_set_path(target.labelPath, written) == 0)
        return true;
    const int error = errno;
    fail(target.path, failedTo(LabelStep::Write, PathReason::unwritten(target.labelPath, error).text()));
    return false;
}

// What the window's pickers offer, read once: every check of a run asks the
// same policy.
struct LabelCommand::Offered {
    QBitArray levels{256};
    bool integrityListed = false;
    TAV_ILEV_T maximumIntegrity = 0;
    mac_cat_t categories = 0;
};

const LabelCommand::Offered &LabelCommand::offered()
{
    if (offers)
        return *offers;
    offers = std::make_unique<Offered>();
    FileMacLabelWidget widget;
    const QSignalBlocker blocker(&widget);
    if (auto *level = widget.findChild<VarnelQt5::MacLevelComboBox *>()) {
        if (!level->isRebuilt())
            level->rebuild();
        const QList<mac_lev_t> levels = level->allValues();
        for (const mac_lev_t each : levels)
            offers->levels.setBit(each);
    }
    if (auto *integrity = widget.findChild<VarnelQt5::ILevelComboBox *>()) {
        if (!integrity->isRebuilt())
            integrity->rebuild();
        offers->integrityListed = integrity->count() > 0;
        offers->maximumIntegrity = integrity->maximumValue();
    }
    if (auto *categories = widget.findChild<VarnelQt5::MacCategoryListWidget *>()) {
        if (!categories->isRebuilt())
            categories->rebuild();
        for (int row = 0; row < categories->count(); ++row)
            offers->categories |= categories->cat4Item(row);
    }
    return *offers;
}

// Whether label may be written onto an object of this kind holding held
// (nothing: a label that cannot be read). What the object holds already
// stays as it is, unjudged, as the window shows and keeps it; what the label
// changes must be what the window offers. Empty when it may, else the
// failure.
QString LabelCommand::verdict(bool directory, const std::optional<FileLabel> &held, const FileLabel &label)
{
    const uint16_t added = label.type & ~held.value_or(FileLabel()).type;
    // An attribute the window hides from this kind of object cannot be
    // added; one it holds is shown and may stay.
    if (const uint16_t hidden = added & Rules::hiddenBits(directory)) {
        const QString kind = directory ? QStringLiteral("directory") : QStringLiteral("file");
        return failedTo(LabelStep::Set,
                        QStringLiteral("special attributes 0x%1 are not offered on this %2 unless it holds them "
                                       "already")
                            .arg(hidden, 0, 16)
                            .arg(kind));
    }
    const QString refusal = unoffered(held, label);
    if (!refusal.isEmpty())
        return refusal;
    if (const uint16_t foreign = added & Rules::namedBits & ~Rules::kindBits(directory))
        return mismatch(foreign, label, directory);
    if (!directory && (label.type & Rules::holeBits))
        return holeRefusal(held, label);
    return QString();
}

// What label changes of held that the pickers do not offer; empty when
// nothing.
QString LabelCommand::unoffered(const std::optional<FileLabel> &held, const FileLabel &label)
{
    const auto refuse = [](const QString &reason) { return failedTo(LabelStep::Set, reason); };
    const Offered &offer = offered();
    if ((!held || label.level != held->level) && !offer.levels.testBit(label.level))
        return refuse(LabelEditor::tr("level %1 is not in the level list").arg(uint(label.level)));
    if (!held || label.ilevel != held->ilevel) {
        // Between 0 and the system's maximum every integrity level exists.
        if (!offer.integrityListed)
            return refuse(LabelEditor::tr("the integrity list is empty"));
        if (label.ilevel > offer.maximumIntegrity) {
            return refuse(LabelEditor::tr("integrity level %1 is above the system's maximum, %2")
                              .arg(label.ilevel)
                              .arg(offer.maximumIntegrity));
        }
    }
    const mac_cat_t before = held.value_or(FileLabel()).categories;
    if (const mac_cat_t unlisted = label.categories & ~before & ~offer.categories)
        return refuse(LabelEditor::tr("categories 0x%1 are not in the category list").arg(qulonglong(unlisted), 0, 16));
    return QString();
}

void LabelCommand::output(const QByteArray &bytes)
{
    if (outputFailed)
        return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) || std::ferror(stdout)) {
        outputFailed = true;
        outputError = errno;
    }
}

void LabelCommand::fail(const QByteArray &path, const QString &reason)
{
    ++failed;
    if (options.format == Format::Json && !setting)
        output("{\"path\":" + jsonPath(path) + ",\"error\":" + jsonString(reason) + "}\n");
    say(escaped(path) + ": " + reason.toLocal8Bit());
}

void LabelCommand::note(const QByteArray &path, const QString &what)
{
    if (options.verbose)
        say(escaped(path) + ": " + what.toLocal8Bit());
}

void LabelCommand::say(const QByteArray &line)
{
    if (progressShown) {
        std::fputs("\r\033[K", stderr);
        progressShown = false;
    }
    const QByteArray whole = QCoreApplication::applicationName().toLocal8Bit() + ": " + line + '\n';
    std::fwrite(whole.constData(), 1, size_t(whole.size()), stderr);
}

void LabelCommand::progress()
{
    const qint64 now = clock.elapsed();
    if (now < options.progressAfter || (progressShown && now - lastProgress < progressEvery))
        return;
    lastProgress = now;
    std::fprintf(stderr, "\r%lld done, %lld failed", static_cast<long long>(done), static_cast<long long>(failed));
    progressShown = true;
}
