// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "LabelCommand.h"

#include "LabelEditor.h"
#include "LabelLibrary.h"
#include "LabelNames.h"
#include "TreeWalk.h"

#include <FileMacLabelWidget.h>
#include <ILevelComboBox.h>
#include <MacCategoryListWidget.h>
#include <MacLevelComboBox.h>
#include <SpecialAttributesListModel.h>

#include <QAbstractProxyModel>
#include <QCoreApplication>
#include <QListView>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using VarnelQt5::FileMacLabelWidget;
using VarnelQt5::SpecialAttributesListModel;

namespace {

enum Status { Done = 0, PathFailed = 1 };

// The type bits the form of each kind of object holds; the other kind's
// attributes an object holds are kept as they are, as Apply keeps them.
constexpr uint16_t fileBits = 0xffdc;
constexpr uint16_t directoryBits = 0xffe3;
constexpr int eholeBit = 0x4;
constexpr int wholeBit = 0x8;
// The label library's own flag for the support question.
constexpr int supportFlags = 0x8000;
// How often the progress line is written, at most.
constexpr qint64 progressEvery = 100;

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileLabel labelOf(const tav_label *label)
{
    FileLabel read;
    read.level = tavl_lev(label);
    read.ilevel = tavl_ilev(label);
    read.categories = tavl_cat(label);
    read.type = tavl_type(label);
    return read;
}

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
        for (int bit = 0; bit < 64; ++bit) {
            if (label.categories & (mac_cat_t(1) << bit))
                categories += (categories.isEmpty() ? "" : ",") + jsonName(names->name(LabelNames::Category, bit));
        }
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
        if (!path.nameable) {
            fail(path.bytes, QStringLiteral("cannot read the label: its name is not valid in the locale's encoding"));
            continue;
        }
        // The named path itself is taken as it names an object, through a
        // link too; nothing below it is.
        if (!one(path.bytes, path.bytes.constData(), Kind::Unknown))
            break;
        struct stat status;
        if (options.recursive && ::stat(path.bytes.constData(), &status) == 0 && S_ISDIR(status.st_mode)
            && !walk.below(path.bytes))
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
            + ": cannot write the output: " + errorText(outputError ? outputError : EIO).toLocal8Bit() + '\n';
        std::fputs(line.constData(), stderr);
        return PathFailed;
    }
    return failed > 0 ? PathFailed : Done;
}

// One object; false when the run is to end (its output cannot be written).
bool LabelCommand::one(const QByteArray &path, const char *labelPath, Kind kind)
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
        fail(path, QStringLiteral("cannot read the label: %1").arg(LabelEditor::unreadable(labelPath, error)));
        return false;
    }
    const FileLabel label = labelOf(held.get());
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

bool LabelCommand::setOne(const QByteArray &path, const char *labelPath, Kind kind)
{
    errno = 0;
    const LabelHandle held = labelHandle(tav_get_path(labelPath));
    const int readError = errno;
    Case thisCase;
    if (held) {
        thisCase.held = labelOf(held.get());
        thisCase.readable = true;
    } else {
        QString reason = LabelEditor::unreadable(labelPath, readError);
        struct stat status;
        const bool there = ::stat(labelPath, &status) == 0;
        // Nothing of a label that cannot be read is needed when TYPE is
        // given: the label given replaces it.
        if (!withType || !there) {
            if (there && reason == LabelEditor::tr("its label cannot be read"))
                reason += QStringLiteral("; a label with TYPE (LEVEL:ILEVEL:CATEGORIES:TYPE) replaces it");
            fail(path, QStringLiteral("cannot %1 the label: %2")
                           .arg(withType ? QStringLiteral("write") : QStringLiteral("read"), reason));
            return false;
        }
    }
    thisCase.wanted = wanted;
    if (!withType)
        thisCase.wanted.type = thisCase.held.type;
    // A tree holds both kinds of object: each gets those of the attributes
    // given that its kind may carry.
    bool directory = kind == Kind::Directory;
    if (options.recursive && withType && (thisCase.wanted.type & 0x3f)) {
        if (kind == Kind::Unknown) {
            struct stat status;
            if (::stat(labelPath, &status) != 0) {
                fail(path, QStringLiteral("cannot read the label: %1").arg(errorText(errno)));
                return false;
            }
            directory = S_ISDIR(status.st_mode);
            kind = directory ? Kind::Directory : Kind::File;
        }
        thisCase.wanted.type &= directory ? directoryBits : fileBits;
    }

    // Where a case is checked alike for both kinds of object and the object
    // holds no attribute of either kind, what kind it is changes nothing.
    if (!lastCaseValid || !(thisCase == lastCase)) {
        lastCase = thisCase;
        lastCaseValid = true;
        lastVerdictKnown[0] = lastVerdictKnown[1] = false;
        lastKindFreeKnown = false;
    }
    const auto verdictFor = [this](bool directory) -> const QString & {
        if (!lastVerdictKnown[directory]) {
            lastVerdict[directory] = verdictOf(lastCase, directory);
            lastVerdictKnown[directory] = true;
        }
        return lastVerdict[directory];
    };
    if (kind == Kind::Unknown) {
        if (!lastKindFreeKnown) {
            lastKindFree = !(thisCase.held.type & 0x3f) && verdictFor(false).isEmpty() && verdictFor(true).isEmpty();
            lastKindFreeKnown = true;
        }
        if (!lastKindFree) {
            struct stat status;
            if (::stat(labelPath, &status) != 0) {
                fail(path, QStringLiteral("cannot read the label: %1").arg(errorText(errno)));
                return false;
            }
            directory = S_ISDIR(status.st_mode);
        }
    }
    const QString &refusal = verdictFor(directory);
    if (!refusal.isEmpty()) {
        fail(path, refusal);
        return false;
    }

    // Written as Apply writes it: onto the object's own label, so that the
    // type's high half and the other kind's attributes stay as they are.
    const LabelHandle fresh = labelHandle(held ? nullptr : tavl_get_new());
    tav_label *written = held ? held.get() : fresh.get();
    if (!written) {
        fail(path, QStringLiteral("cannot write the label: the label library refused it"));
        return false;
    }
    const FileLabel &label = thisCase.wanted;
    tavl_set_lev(written, label.level);
    tavl_set_ilev(written, label.ilevel);
    tavl_set_cat(written, label.categories);
    tavl_set_type(written,
                  uint16_t(label.type | (thisCase.held.type & ~(directory ? directoryBits : fileBits))));
    errno = 0;
    if (tav_set_path(labelPath, written) != 0) {
        const int error = errno;
        struct stat status;
        const QString reason = ::stat(labelPath, &status) != 0 ? errorText(errno)
            : error != 0 && error != ENOENT                     ? errorText(error)
                                                                : LabelEditor::tr("the label library refused it");
        fail(path, QStringLiteral("cannot write the label: %1").arg(reason));
        return false;
    }
    return true;
}

// Whether label may be written onto an object of this kind holding held
// (null: a label that cannot be read): the window's form is brought to what
// loading such an object gives and set to label, and must then hold exactly
// that. Empty when it may, else the failure.
QString LabelCommand::verdict(bool directory, const FileLabel *held, const FileLabel &label)
{
    FileMacLabelWidget widget;
    LabelEditor editor(&widget);
    auto *model = widget.findChild<SpecialAttributesListModel *>();
    auto *level = widget.findChild<VarnelQt5::MacLevelComboBox *>();
    auto *integrity = widget.findChild<VarnelQt5::ILevelComboBox *>();
    auto *categories = widget.findChild<VarnelQt5::MacCategoryListWidget *>();
    auto *rows = qobject_cast<QSortFilterProxyModel *>(
        widget.findChild<QListView *>(QStringLiteral("_specialListView"))->model());
    {
        const QSignalBlocker blocker(&widget);
        if (!level->isRebuilt())
            level->rebuild();
        if (!integrity->isRebuilt())
            integrity->rebuild();
        if (!categories->isRebuilt())
            categories->rebuild();
    }
    // As a load leaves the form, without reading the object again: its
    // attributes checked and its values shown, kept even where the lists
    // lack them, and no reaction run on either.
    {
        const QSignalBlocker blocker(model);
        model->setForContainer(directory);
        const uint16_t type = held ? held->type : 0;
        for (int attribute = 0; attribute < 6; ++attribute) {
            model->setCheckState(SpecialAttributesListModel::Attributes(attribute),
                                 (type & (1u << attribute)) ? Qt::Checked : Qt::Unchecked);
        }
        if (type & ~0x3fu)
            model->setOtherAttribute(type & ~0x3f);
        model->setCheckState(SpecialAttributesListModel::OtherAttributes,
                             (type & ~0x3fu) ? Qt::Checked : Qt::Unchecked);
    }
    if (rows)
        rows->invalidate();
    if (held) {
        const QSignalBlocker levelBlocker(level);
        const QSignalBlocker integrityBlocker(integrity);
        const QSignalBlocker categoriesBlocker(categories);
        level->setValue(held->level, true);
        integrity->setValue(held->ilevel, true);
        categories->setValue(held->categories);
    }

    // An attribute the window hides from this object cannot be added; one
    // it holds is shown and may stay.
    const uint16_t added = label.type & ~(held ? held->type : 0) & 0x3f;
    uint16_t hidden = 0;
    for (int attribute = 0; attribute < 6; ++attribute) {
        const int row = model->rowForAttribute(attribute);
        if ((added & (1u << attribute)) && row >= 0 && rows
            && !rows->mapFromSource(model->index(row, 0)).isValid())
            hidden |= uint16_t(1u << attribute);
    }
    if (hidden != 0) {
        return QStringLiteral("cannot set the label: special attributes 0x%1 are not offered on this %2 unless it "
                              "holds them already")
            .arg(hidden, 0, 16)
            .arg(directory ? QStringLiteral("directory") : QStringLiteral("file"));
    }

    QString reason;
    if (!editor.set(label, true, &reason))
        return QStringLiteral("cannot set the label: %1").arg(reason);

    // Apply asks once more on the label written; a hole the object holds on
    // the same level, integrity level and categories is left as it is.
    if (!directory && (label.type & (eholeBit | wholeBit))) {
        const bool samePlace = held && held->level == label.level && held->ilevel == label.ilevel
            && held->categories == label.categories;
        const LabelHandle probe = labelHandle(tavl_get_new());
        if (!probe)
            return QStringLiteral("cannot write the label: the label library refused it");
        tavl_set_lev(probe.get(), label.level);
        tavl_set_ilev(probe.get(), label.ilevel);
        tavl_set_cat(probe.get(), label.categories);
        for (const int bit : {eholeBit, wholeBit}) {
            if ((label.type & bit) && !(samePlace && (held->type & bit))
                && tavl_supports_type(probe.get(), bit, supportFlags) == 0)
                return QStringLiteral("cannot write the label: the label library refused it");
        }
    }
    return QString();
}

// The verdict of a case for one kind of object, worked out once.
QString LabelCommand::verdictOf(const Case &thisCase, bool directory)
{
    char key[96];
    const int length = std::snprintf(key, sizeof key, "%d:%d:%s:%s", int(directory), int(thisCase.readable),
                                     numbers(thisCase.held).constData(), numbers(thisCase.wanted).constData());
    const QByteArray keyText(key, length);
    auto found = verdicts.constFind(keyText);
    if (found == verdicts.cend())
        found = verdicts.insert(keyText, verdict(directory, thisCase.readable ? &thisCase.held : nullptr, thisCase.wanted));
    return found.value();
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
