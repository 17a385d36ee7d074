// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_STANDIN_P_H
#define VARNEL_STANDIN_P_H

/* Internals of the platform stand-in, shared between its sources and hidden
 * from the library's users (the build hides every symbol not marked
 * STANDIN_EXPORT). */

#include "labelpolicy.h"

#include <stddef.h>
#include <stdint.h>

#define STANDIN_EXPORT __attribute__((visibility("default")))

/* Trace and live count. */
void standin_trace(const char *call);
void standin_live_add(long delta);

/* Non-zero while the faults file lists the call. */
int standin_faulted(const char *call);

/* A policy file loaded into memory. path is null for the built-in policy. */
typedef struct standin_text {
    char *data;
    size_t size;
    char *path;
} standin_text;

/* 1: loaded; 0: the file does not exist; -1: it exists but cannot be read
 * (a warning has been printed). */
int standin_text_load(const char *name, standin_text *text);
/* The same for a file outside the policy directory. */
int standin_text_load_path(const char *path, standin_text *text);
void standin_text_free(standin_text *text);

/* Steps to the next line that is neither blank nor a comment; the line ends
 * before its line feed (and before a carriage return preceding it).
 * Returns 0 at the end. */
int standin_text_next(const standin_text *text, size_t *pos, unsigned *line_number,
                      const char **line, size_t *length);

void standin_warn_line(const standin_text *text, unsigned line_number);

/* Parses a decimal or 0x-prefixed hexadecimal number of exactly length
 * bytes, no greater than max. Returns 0 on success. */
int standin_parse_number(const char *s, size_t length, unsigned long long max,
                         unsigned long long *value);

/* One parsed line of a table file. */
typedef struct standin_row {
    unsigned long long field[5];
    int any_user; /* the uid was '*' */
    char *name;   /* named tables only; null for "NUMBER" without ':' */
} standin_row;

typedef struct standin_table {
    standin_row *rows;
    size_t count;
} standin_table;

typedef struct standin_format {
    size_t fields; /* numeric fields */
    unsigned long long max[5];
    int named;     /* one number, then the name after the first ':' */
    int uid_first; /* the first field is a uid, or '*' */
} standin_format;

extern const standin_format standin_levels_format;
extern const standin_format standin_categories_format;
extern const standin_format standin_mac_users_format;
extern const standin_format standin_mic_users_format;
extern const standin_format standin_names32_format; /* ilevels, types */
extern const standin_format standin_lastchoice_format;

/* Parses one line; returns 0 when it is well formed. */
int standin_parse_row(const char *line, size_t length, const standin_format *format,
                      standin_row *row);
void standin_row_free(standin_row *row);

/* Reads a whole table; malformed lines are skipped with a warning. Returns
 * as standin_text_load, and -1 when memory runs out. */
int standin_table_load(const char *name, const standin_format *format, standin_table *table);
int standin_table_parse(const standin_text *text, const standin_format *format,
                        standin_table *table);
void standin_table_free(standin_table *table);

/* The name the last line for number gives, or null. *found tells whether a
 * line for number exists at all (its name may still be null). */
const char *standin_table_name(const standin_table *table, unsigned long long number, int *found);

/* The keys of the system file. */
typedef struct standin_system {
    unsigned long long mac_enabled;
    unsigned long long strict_mode;
    unsigned long long max_ilev;
    unsigned long long current_ilev;
    unsigned long long process_level;
    unsigned long long process_ilev;
    unsigned long long process_categories;
} standin_system;

void standin_system_load(standin_system *system);

/* The label of a file system object, as the extended attribute holds it. */
typedef struct standin_label_value {
    mac_lev_t level;
    TAV_ILEV_T ilevel;
    mac_cat_t categories;
    uint32_t type;
} standin_label_value;

/* Parses an attribute value of length bytes; 0 when it is well formed. */
int standin_parse_label_value(const char *text, size_t length, standin_label_value *value);

/* 0 on success; -1 when the object is missing, unreadable or its value is
 * malformed. */
int standin_read_path_label(const char *path, standin_label_value *value);

/* Formats into a new malloc'd string; null when memory runs out. */
char *standin_format_text(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
