// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELPOLICY_H
#define VARNEL_LABELPOLICY_H

/* The platform's label policy services, as far as this library calls them.
 * These are the only platform symbols the library uses; the records are laid
 * out byte for byte as the platform hands them out. */

#include "VarnelMacTypes.h"

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Database records. */
typedef struct level_entry {
    char *name; /* local 8-bit text, may be null */
    mac_lev_t level;
} level_entry;

typedef struct category_entry {
    char *name; /* local 8-bit text, may be null */
    mac_cat_t mask;
} category_entry;

typedef struct user_mac_entry {
    uid_t uid;
    uint32_t reserved0;
    mac_lev_t min_level;
    mac_cat_t min_categories;
    mac_lev_t max_level;
    mac_cat_t max_categories;
} user_mac_entry;

typedef struct user_mic_entry {
    uid_t uid;
    uint32_t reserved0;
    unsigned char max_ilevel;
    unsigned char reserved1[7];
} user_mic_entry;

typedef struct last_choice_entry {
    mac_lev_t level;
    mac_cat_t categories;
} last_choice_entry;

/* Opaque handles. */
typedef struct levdb levdb;
typedef struct catdb catdb;
typedef struct macdb macdb;
typedef struct micdb micdb;
typedef struct tav_label tav_label; /* label handle of the label library */
typedef struct mac_label mac_label; /* label object */

/* System switches. */
int varnel_mac_enabled(void);
int varnel_strict_mode(void);

/* Level database. */
levdb *openlevdb_r(void);
int setlevent_r(levdb *db);
level_entry *getlevent_r(levdb *db);
void freelevent_r(level_entry *entry);
void endlevent_r(levdb *db);
void closelevdb_r(levdb *db);

/* Category database. */
catdb *opencatdb_r(void);
int setcatent_r(catdb *db);
category_entry *getcatent_r(catdb *db);
void freecatent_r(category_entry *entry);
void endcatent_r(catdb *db);
void closecatdb_r(catdb *db);

/* User MAC ranges. */
macdb *openmacdb_r(void);
int setmacent_r(macdb *db);
user_mac_entry *getmacuid_r(macdb *db, uid_t uid);
void freemacent_r(user_mac_entry *entry);
void endmacent_r(macdb *db);
void closemacdb_r(macdb *db);

/* User integrity ranges. */
micdb *openmicdb_r(void);
user_mic_entry *getmicuid_r(micdb *db, uid_t uid);
void freemicent_r(user_mic_entry *entry);
void closemicdb_r(micdb *db);

/* The per-user last choice. */
int getlchuid(uid_t uid, last_choice_entry *entry);
int setlchuid(uid_t uid, const last_choice_entry *entry);

/* The label library. */
tav_label *tav_get_pid(pid_t pid);
tav_label *tav_get_path(const char *path);
int tav_set_path(const char *path, tav_label *label);
tav_label *tavl_get_new(void);
void tavl_put(tav_label *label);
mac_lev_t tavl_lev(const tav_label *label);
TAV_ILEV_T tavl_ilev(const tav_label *label);
mac_cat_t tavl_cat(const tav_label *label);
uint16_t tavl_type(const tav_label *label);
void tavl_set_lev(tav_label *label, mac_lev_t level);
void tavl_set_ilev(tav_label *label, TAV_ILEV_T ilevel);
void tavl_set_cat(tav_label *label, mac_cat_t categories);
void tavl_set_type(tav_label *label, uint16_t type);
int tavl_supports_type(const tav_label *label, int type, int flags);
char *tavl_get_text(const tav_label *label, int form);
TAV_ILEV_T tav_get_max_ilev(void);
TAV_ILEV_T tav_get_current_ilev(void);
char *tav_ilev_get_text(TAV_ILEV_T ilevel, int form);

/* Label objects. */
mac_label *mac_init(uint32_t type);
void mac_set_lev(mac_label *label, mac_lev_t level);
void mac_set_cat(mac_label *label, mac_cat_t categories);
char *mac_to_text(const mac_label *label, int flags, int form);
void mac_free(mac_label *label);

#ifdef __cplusplus
}

static_assert(offsetof(level_entry, name) == 0 && offsetof(level_entry, level) == 8,
              "level_entry layout");
static_assert(offsetof(category_entry, name) == 0 && offsetof(category_entry, mask) == 8,
              "category_entry layout");
static_assert(sizeof(user_mac_entry) == 40 && offsetof(user_mac_entry, min_level) == 8
                  && offsetof(user_mac_entry, min_categories) == 16
                  && offsetof(user_mac_entry, max_level) == 24
                  && offsetof(user_mac_entry, max_categories) == 32,
              "user_mac_entry layout");
static_assert(sizeof(user_mic_entry) == 16 && offsetof(user_mic_entry, max_ilevel) == 8,
              "user_mic_entry layout");
static_assert(sizeof(last_choice_entry) == 16 && offsetof(last_choice_entry, level) == 0
                  && offsetof(last_choice_entry, categories) == 8,
              "last_choice_entry layout");
static_assert(sizeof(mac_lev_t) == 1 && sizeof(mac_cat_t) == 8 && sizeof(TAV_ILEV_T) == 4
                  && sizeof(uid_t) == 4,
              "label value types");
#endif

#endif
