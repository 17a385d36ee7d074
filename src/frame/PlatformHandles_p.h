// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_PLATFORMHANDLES_P_H
#define VARNEL_PLATFORMHANDLES_P_H

// Scope guards for what the label policy services hand out, so that every
// handle, record and text is given back on every path.

#include "labelpolicy.h"

#include <cstdlib>
#include <memory>

namespace VarnelQt5 {
namespace Platform {

struct LabelRelease {
    void operator()(tav_label *label) const noexcept { tavl_put(label); }
};
using LabelHandle = std::unique_ptr<tav_label, LabelRelease>;

struct MacLabelRelease {
    void operator()(mac_label *label) const noexcept { mac_free(label); }
};
using MacLabel = std::unique_ptr<mac_label, MacLabelRelease>;

struct TextRelease {
    void operator()(char *text) const noexcept { std::free(text); }
};
using Text = std::unique_ptr<char, TextRelease>;

struct UserMacRelease {
    void operator()(user_mac_entry *entry) const noexcept { freemacent_r(entry); }
};
using UserMacEntry = std::unique_ptr<user_mac_entry, UserMacRelease>;

struct UserMicRelease {
    void operator()(user_mic_entry *entry) const noexcept { freemicent_r(entry); }
};
using UserMicEntry = std::unique_ptr<user_mic_entry, UserMicRelease>;

// How each database is opened, rewound, read and closed.
struct LevelDatabaseCalls {
    using Db = levdb;
    using Entry = level_entry;
    static Db *open() { return openlevdb_r(); }
    static int rewind(Db *db) { return setlevent_r(db); }
    static Entry *next(Db *db) { return getlevent_r(db); }
    static void release(Entry *entry) { freelevent_r(entry); }
    static void end(Db *db) { endlevent_r(db); }
    static void close(Db *db) { closelevdb_r(db); }
};

struct CategoryDatabaseCalls {
    using Db = catdb;
    using Entry = category_entry;
    static Db *open() { return opencatdb_r(); }
    static int rewind(Db *db) { return setcatent_r(db); }
    static Entry *next(Db *db) { return getcatent_r(db); }
    static void release(Entry *entry) { freecatent_r(entry); }
    static void end(Db *db) { endcatent_r(db); }
    static void close(Db *db) { closecatdb_r(db); }
};

struct UserMacDatabaseCalls {
    using Db = macdb;
    using Entry = user_mac_entry;
    static Db *open() { return openmacdb_r(); }
    static int rewind(Db *db) { return setmacent_r(db); }
    static void end(Db *db) { endmacent_r(db); }
    static void close(Db *db) { closemacdb_r(db); }
};

// An open database. The walk is ended only when a rewind started it, and the
// database is always closed last: open, rewind, read, end, close.
template <typename Calls>
class Database
{
public:
    Database() : m_db(Calls::open()) {}
    ~Database()
    {
        if (!m_db)
            return;
        if (m_walking)
            Calls::end(m_db);
        Calls::close(m_db);
    }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    bool isOpen() const { return m_db != nullptr; }
    typename Calls::Db *handle() const { return m_db; }

    // Starts a walk; false (and no walk to end) when the rewind fails.
    bool rewind()
    {
        m_walking = Calls::rewind(m_db) >= 0;
        return m_walking;
    }

    // Hands every record to f, in database order, releasing each afterwards.
    template <typename F>
    void forEach(F &&f)
    {
        while (typename Calls::Entry *entry = Calls::next(m_db)) {
            f(static_cast<const typename Calls::Entry &>(*entry));
            Calls::release(entry);
        }
    }

private:
    typename Calls::Db *m_db;
    bool m_walking = false;
};

using LevelDatabase = Database<LevelDatabaseCalls>;
using CategoryDatabase = Database<CategoryDatabaseCalls>;
using UserMacDatabase = Database<UserMacDatabaseCalls>;

// The user lookups as the user databases want them: open, look up and close
// at once, with no rewind. False when the database cannot be opened; entry is
// then null, as it is for a user without a record.
bool lookupUserMac(uid_t uid, UserMacEntry &entry);
bool lookupUserMic(uid_t uid, UserMicEntry &entry);

// The calling process's label; null when the platform gives none.
LabelHandle processLabel();

} // namespace Platform
} // namespace VarnelQt5

#endif
