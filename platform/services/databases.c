// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* The level, category, user MAC and user integrity databases. Each open
 * reads its file afresh into the handle; a walk and a lookup then work on
 * what the open read. */
#include "standin_p.h"

#include <stdlib.h>
#include <string.h>

typedef struct standin_db {
    standin_table table;
    size_t position;
} standin_db;

struct levdb {
    standin_db db;
};
struct catdb {
    standin_db db;
};
struct macdb {
    standin_db db;
};
struct micdb {
    standin_db db;
};

static void *db_open(const char *call, const char *file, const standin_format *format, size_t size)
{
    standin_trace(call);
    if (standin_faulted(call))
        return NULL;
    standin_db *db = calloc(1, size);
    if (!db)
        return NULL;
    if (standin_table_load(file, format, &db->table) <= 0) {
        free(db);
        return NULL;
    }
    standin_live_add(1);
    return db;
}

static int db_rewind(const char *call, standin_db *db)
{
    standin_trace(call);
    if (!db || standin_faulted(call))
        return -1;
    db->position = 0;
    return 0;
}

/* The next row of a walk, or null at the end. */
static const standin_row *db_next(const char *call, standin_db *db)
{
    standin_trace(call);
    if (!db || standin_faulted(call) || db->position >= db->table.count)
        return NULL;
    return &db->table.rows[db->position++];
}

/* The user's own row, else the first '*' row. */
static const standin_row *db_find_user(const char *call, standin_db *db, uid_t uid)
{
    standin_trace(call);
    if (!db || standin_faulted(call))
        return NULL;
    const standin_row *any = NULL;
    for (size_t i = 0; i < db->table.count; ++i) {
        const standin_row *row = &db->table.rows[i];
        if (row->any_user) {
            if (!any)
                any = row;
        } else if (row->field[0] == uid) {
            return row;
        }
    }
    return any;
}

static void db_end(const char *call, standin_db *db)
{
    standin_trace(call);
    if (db)
        db->position = 0;
}

static void db_close(const char *call, standin_db *db)
{
    standin_trace(call);
    if (!db)
        return;
    standin_table_free(&db->table);
    free(db);
    standin_live_add(-1);
}

/* Level and category records share their shape: the name first, then the
 * number. The next row of a walk as such a record of the given size (its
 * row in *row, for the number); null at the end or when memory runs out. */
static void *next_named_entry(const char *call, standin_db *db, size_t size, const standin_row **row)
{
    *row = db_next(call, db);
    if (!*row)
        return NULL;
    char **entry = calloc(1, size);
    if (!entry)
        return NULL;
    if ((*row)->name && !(*entry = strdup((*row)->name))) {
        free(entry);
        return NULL;
    }
    standin_live_add(1);
    return entry;
}

static void free_named_entry(const char *call, char **entry)
{
    standin_trace(call);
    if (!entry)
        return;
    free(*entry);
    free(entry);
    standin_live_add(-1);
}

STANDIN_EXPORT levdb *openlevdb_r(void)
{
    return db_open("openlevdb_r", "levels", &standin_levels_format, sizeof(levdb));
}

STANDIN_EXPORT int setlevent_r(levdb *db)
{
    return db_rewind("setlevent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT level_entry *getlevent_r(levdb *db)
{
    const standin_row *row;
    level_entry *entry = next_named_entry("getlevent_r", db ? &db->db : NULL, sizeof *entry, &row);
    if (entry)
        entry->level = (mac_lev_t)row->field[0];
    return entry;
}

STANDIN_EXPORT void freelevent_r(level_entry *entry)
{
    free_named_entry("freelevent_r", entry ? &entry->name : NULL);
}

STANDIN_EXPORT void endlevent_r(levdb *db)
{
    db_end("endlevent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT void closelevdb_r(levdb *db)
{
    db_close("closelevdb_r", db ? &db->db : NULL);
}

STANDIN_EXPORT catdb *opencatdb_r(void)
{
    return db_open("opencatdb_r", "categories", &standin_categories_format, sizeof(catdb));
}

STANDIN_EXPORT int setcatent_r(catdb *db)
{
    return db_rewind("setcatent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT category_entry *getcatent_r(catdb *db)
{
    const standin_row *row;
    category_entry *entry = next_named_entry("getcatent_r", db ? &db->db : NULL, sizeof *entry, &row);
    if (entry)
        entry->mask = row->field[0];
    return entry;
}

STANDIN_EXPORT void freecatent_r(category_entry *entry)
{
    free_named_entry("freecatent_r", entry ? &entry->name : NULL);
}

STANDIN_EXPORT void endcatent_r(catdb *db)
{
    db_end("endcatent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT void closecatdb_r(catdb *db)
{
    db_close("closecatdb_r", db ? &db->db : NULL);
}

STANDIN_EXPORT macdb *openmacdb_r(void)
{
    return db_open("openmacdb_r", "mac-users", &standin_mac_users_format, sizeof(macdb));
}

STANDIN_EXPORT int setmacent_r(macdb *db)
{
    return db_rewind("setmacent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT user_mac_entry *getmacuid_r(macdb *db, uid_t uid)
{
    const standin_row *row = db_find_user("getmacuid_r", db ? &db->db : NULL, uid);
    if (!row)
        return NULL;
    user_mac_entry *entry = calloc(1, sizeof *entry);
    if (!entry)
        return NULL;
    entry->uid = uid;
    entry->min_level = (mac_lev_t)row->field[1];
    entry->min_categories = row->field[2];
    entry->max_level = (mac_lev_t)row->field[3];
    entry->max_categories = row->field[4];
    standin_live_add(1);
    return entry;
}

STANDIN_EXPORT void freemacent_r(user_mac_entry *entry)
{
    standin_trace("freemacent_r");
    if (!entry)
        return;
    free(entry);
    standin_live_add(-1);
}

STANDIN_EXPORT void endmacent_r(macdb *db)
{
    db_end("endmacent_r", db ? &db->db : NULL);
}

STANDIN_EXPORT void closemacdb_r(macdb *db)
{
    db_close("closemacdb_r", db ? &db->db : NULL);
}

STANDIN_EXPORT micdb *openmicdb_r(void)
{
    return db_open("openmicdb_r", "mic-users", &standin_mic_users_format, sizeof(micdb));
}

STANDIN_EXPORT user_mic_entry *getmicuid_r(micdb *db, uid_t uid)
{
    const standin_row *row = db_find_user("getmicuid_r", db ? &db->db : NULL, uid);
    if (!row)
        return NULL;
    user_mic_entry *entry = calloc(1, sizeof *entry);
    if (!entry)
        return NULL;
    entry->uid = uid;
    entry->max_ilevel = (unsigned char)row->field[1];
    standin_live_add(1);
    return entry;
}

STANDIN_EXPORT void freemicent_r(user_mic_entry *entry)
{
    standin_trace("freemicent_r");
    if (!entry)
        return;
    free(entry);
    standin_live_add(-1);
}

STANDIN_EXPORT void closemicdb_r(micdb *db)
{
    db_close("closemicdb_r", db ? &db->db : NULL);
}

STANDIN_EXPORT int varnel_mac_enabled(void)
{
    standin_trace("varnel_mac_enabled");
    standin_system system;
    standin_system_load(&system);
    return system.mac_enabled != 0;
}

STANDIN_EXPORT int varnel_strict_mode(void)
{
    standin_trace("varnel_strict_mode");
    standin_system system;
    standin_system_load(&system);
    return system.strict_mode != 0;
}
