// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* The policy files: where they come from, how their lines are read, and the
 * built-in policy used when no policy directory is set. */
#define _GNU_SOURCE
#include "standin_p.h"

#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

/* Larger files are refused rather than read: a policy file is a few lines. */
#define STANDIN_MAX_FILE_SIZE (16 * 1024 * 1024)

static const struct {
    const char *name;
    const char *text;
} builtin_files[] = {
    {"levels", "0:Public\n1:Internal\n2:Confidential\n3:Secret\n"},
    {"categories", "0x1:Finance\n0x2:Personnel\n0x4:Research\n0x8:Legal\n"
                   "0x10:Operations\n0x20:Sales\n0x40:Engineering\n0x80:Audit\n"},
    {"mac-users", "*:0:0:3:0xff\n"},
    {"mic-users", "*:63\n"},
    {"ilevels", "0:Low\n63:High\n"},
    {"types", "0x1002d:Shared\n0x1003f:Privileged\n0x10012:Integrity\n"},
    {"system", ""},
};

const standin_format standin_levels_format = {1, {0xff}, 1, 0};
const standin_format standin_categories_format = {1, {~0ULL}, 1, 0};
const standin_format standin_names32_format = {1, {0xffffffffULL}, 1, 0};
const standin_format standin_mac_users_format = {
    5, {0xffffffffULL, 0xff, ~0ULL, 0xff, ~0ULL}, 0, 1};
/* The record keeps the integrity maximum in 8 bits, so a larger one cannot
 * be handed out faithfully. */
const standin_format standin_mic_users_format = {2, {0xffffffffULL, 0xff}, 0, 1};
const standin_format standin_lastchoice_format = {3, {0xffffffffULL, 0xff, ~0ULL}, 0, 0};

char *standin_format_text(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    char *text = NULL;
    if (vasprintf(&text, format, args) < 0)
        text = NULL;
    va_end(args);
    return text;
}

static const char *policy_dir(void)
{
    const char *dir = secure_getenv("VARNEL_STANDIN_DIR");
    return dir && *dir ? dir : NULL;
}

static int read_fd(int fd, const char *path, standin_text *text)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > STANDIN_MAX_FILE_SIZE) {
        fprintf(stderr, "varnel-standin: %s: not a readable policy file, ignored\n", path);
        return -1;
    }
    size_t capacity = (size_t)st.st_size + 1;
    char *data = malloc(capacity);
    if (!data)
        return -1;
    size_t size = 0;
    for (;;) {
        if (size + 1 >= capacity) {
            /* The file grew while being read: take what fits. */
            break;
        }
        ssize_t n = read(fd, data + size, capacity - 1 - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fprintf(stderr, "varnel-standin: %s: %s, ignored\n", path, strerror(errno));
            free(data);
            return -1;
        }
        if (n == 0)
            break;
        size += (size_t)n;
    }
    data[size] = '\0';
    text->data = data;
    text->size = size;
    return 1;
}

int standin_text_load_path(const char *path, standin_text *text)
{
    memset(text, 0, sizeof *text);
    text->path = strdup(path);
    if (!text->path)
        return -1;
    /* Non-blocking, so that a FIFO in place of a policy file cannot hang us. */
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        int missing = errno == ENOENT || errno == ENOTDIR;
        if (!missing)
            fprintf(stderr, "varnel-standin: %s: %s, ignored\n", path, strerror(errno));
        standin_text_free(text);
        return missing ? 0 : -1;
    }
    int result = read_fd(fd, text->path, text);
    close(fd);
    if (result < 0)
        standin_text_free(text);
    return result;
}

int standin_text_load(const char *name, standin_text *text)
{
    memset(text, 0, sizeof *text);
    const char *dir = policy_dir();
    if (dir) {
        char *path = standin_format_text("%s/%s", dir, name);
        if (!path)
            return -1;
        int result = standin_text_load_path(path, text);
        free(path);
        return result;
    }
    for (size_t i = 0; i < sizeof builtin_files / sizeof builtin_files[0]; ++i) {
        if (strcmp(builtin_files[i].name, name) == 0) {
            text->data = strdup(builtin_files[i].text);
            if (!text->data)
                return -1;
            text->size = strlen(text->data);
            return 1;
        }
    }
    return 0;
}

void standin_text_free(standin_text *text)
{
    free(text->data);
    free(text->path);
    memset(text, 0, sizeof *text);
}

int standin_text_next(const standin_text *text, size_t *pos, unsigned *line_number,
                      const char **line, size_t *length)
{
    while (*pos < text->size) {
        const char *start = text->data + *pos;
        const char *end = memchr(start, '\n', text->size - *pos);
        size_t n = end ? (size_t)(end - start) : text->size - *pos;
        *pos += n + (end ? 1 : 0);
        ++*line_number;
        if (n > 0 && start[n - 1] == '\r')
            --n;
        size_t blank = 0;
        while (blank < n && (start[blank] == ' ' || start[blank] == '\t'))
            ++blank;
        if (blank == n || start[0] == '#')
            continue;
        *line = start;
        *length = n;
        return 1;
    }
    return 0;
}

void standin_warn_line(const standin_text *text, unsigned line_number)
{
    fprintf(stderr, "varnel-standin: %s:%u: malformed line, skipped\n",
            text->path ? text->path : "(built-in policy)", line_number);
}

int standin_parse_number(const char *s, size_t length, unsigned long long max,
                         unsigned long long *value)
{
    unsigned base = 10;
    if (length > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
        length -= 2;
    }
    if (length == 0)
        return -1;
    unsigned long long v = 0;
    for (size_t i = 0; i < length; ++i) {
        unsigned digit;
        char c = s[i];
        if (c >= '0' && c <= '9')
            digit = (unsigned)(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = (unsigned)(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = (unsigned)(c - 'A' + 10);
        else
            return -1;
        if (v > (max - digit) / base)
            return -1;
        v = v * base + digit;
    }
    *value = v;
    return 0;
}

int standin_parse_row(const char *line, size_t length, const standin_format *format,
                      standin_row *row)
{
    memset(row, 0, sizeof *row);
    /* A NUL byte cannot be part of a C string name or of a number. */
    if (memchr(line, '\0', length))
        return -1;
    const char *end = line + length;
    const char *p = line;
    for (size_t i = 0; i < format->fields; ++i) {
        int last = i + 1 == format->fields;
        const char *colon = memchr(p, ':', (size_t)(end - p));
        const char *field_end = colon;
        if (!last && !colon)
            return -1;
        if (last && !format->named && colon)
            return -1; /* more fields than the file has */
        if (last && !colon)
            field_end = end;
        size_t n = (size_t)(field_end - p);
        if (i == 0 && format->uid_first && n == 1 && p[0] == '*')
            row->any_user = 1;
        else if (standin_parse_number(p, n, format->max[i], &row->field[i]) != 0)
            return -1;
        if (last && colon) {
            size_t name_length = (size_t)(end - (colon + 1));
            row->name = malloc(name_length + 1);
            if (!row->name)
                return -1;
            memcpy(row->name, colon + 1, name_length);
            row->name[name_length] = '\0';
        }
        if (!last)
            p = field_end + 1;
    }
    return 0;
}

void standin_row_free(standin_row *row)
{
    free(row->name);
    row->name = NULL;
}

int standin_table_parse(const standin_text *text, const standin_format *format,
                        standin_table *table)
{
    memset(table, 0, sizeof *table);
    size_t pos = 0, capacity = 0;
    unsigned line_number = 0;
    const char *line;
    size_t length;
    while (standin_text_next(text, &pos, &line_number, &line, &length)) {
        standin_row row;
        if (standin_parse_row(line, length, format, &row) != 0) {
            standin_row_free(&row);
            standin_warn_line(text, line_number);
            continue;
        }
        if (table->count == capacity) {
            capacity = capacity ? capacity * 2 : 16;
            standin_row *rows = realloc(table->rows, capacity * sizeof *rows);
            if (!rows) {
                standin_row_free(&row);
                standin_table_free(table);
                return -1;
            }
            table->rows = rows;
        }
        table->rows[table->count++] = row;
    }
    return 1;
}

int standin_table_load(const char *name, const standin_format *format, standin_table *table)
{
    memset(table, 0, sizeof *table);
    standin_text text;
    int loaded = standin_text_load(name, &text);
    if (loaded <= 0)
        return loaded;
    int result = standin_table_parse(&text, format, table);
    standin_text_free(&text);
    return result;
}

void standin_table_free(standin_table *table)
{
    for (size_t i = 0; i < table->count; ++i)
        standin_row_free(&table->rows[i]);
    free(table->rows);
    memset(table, 0, sizeof *table);
}

const char *standin_table_name(const standin_table *table, unsigned long long number, int *found)
{
    *found = 0;
    const char *name = NULL;
    for (size_t i = 0; i < table->count; ++i) {
        if (table->rows[i].field[0] == number) {
            *found = 1;
            name = table->rows[i].name;
        }
    }
    return name;
}

static int parse_system_line(const char *line, size_t length, standin_system *system)
{
    static const struct {
        const char *key;
        size_t offset;
        unsigned long long max;
    } keys[] = {
        {"mac_enabled", offsetof(standin_system, mac_enabled), 0xffffffffULL},
        {"strict_mode", offsetof(standin_system, strict_mode), 0xffffffffULL},
        {"max_ilev", offsetof(standin_system, max_ilev), 0xffffffffULL},
        {"current_ilev", offsetof(standin_system, current_ilev), 0xffffffffULL},
    };
    const char *equals = memchr(line, '=', length);
    if (!equals)
        return -1;
    size_t key_length = (size_t)(equals - line);
    const char *value = equals + 1;
    size_t value_length = length - key_length - 1;
    for (size_t i = 0; i < sizeof keys / sizeof keys[0]; ++i) {
        if (strlen(keys[i].key) == key_length && memcmp(keys[i].key, line, key_length) == 0) {
            unsigned long long v;
            if (standin_parse_number(value, value_length, keys[i].max, &v) != 0)
                return -1;
            *(unsigned long long *)((char *)system + keys[i].offset) = v;
            return 0;
        }
    }
    if (key_length == strlen("process_label") && memcmp(line, "process_label", key_length) == 0) {
        static const standin_format label_format = {3, {0xff, 0xffffffffULL, ~0ULL}, 0, 0};
        standin_row row;
        if (standin_parse_row(value, value_length, &label_format, &row) != 0)
            return -1;
        system->process_level = row.field[0];
        system->process_ilev = row.field[1];
        system->process_categories = row.field[2];
        return 0;
    }
    return -1;
}

void standin_system_load(standin_system *system)
{
    memset(system, 0, sizeof *system);
    system->mac_enabled = 1;
    system->max_ilev = 63;
    standin_text text;
    if (standin_text_load("system", &text) <= 0)
        return;
    size_t pos = 0;
    unsigned line_number = 0;
    const char *line;
    size_t length;
    while (standin_text_next(&text, &pos, &line_number, &line, &length)) {
        /* Parse into a copy so that a malformed line changes nothing. */
        standin_system parsed = *system;
        if (memchr(line, '\0', length) || parse_system_line(line, length, &parsed) != 0)
            standin_warn_line(&text, line_number);
        else
            *system = parsed;
    }
    standin_text_free(&text);
}

static const char *const fault_calls[] = {
    "openlevdb_r", "setlevent_r", "getlevent_r", "opencatdb_r", "setcatent_r", "getcatent_r",
    "openmacdb_r", "setmacent_r", "getmacuid_r", "openmicdb_r", "getmicuid_r", "getlchuid",
    "setlchuid", "tav_get_pid", "tav_get_path", "tav_set_path", "tavl_get_new",
    "tavl_supports_type", "tavl_get_text", "tav_ilev_get_text", "mac_init", "mac_to_text",
    /* Calls that cannot fail are still accepted, so that listing them is not
     * reported as a malformed line; listing them has no effect. */
    "varnel_mac_enabled", "varnel_strict_mode", "freelevent_r", "endlevent_r",
    "closelevdb_r", "freecatent_r", "endcatent_r", "closecatdb_r", "freemacent_r",
    "endmacent_r", "closemacdb_r", "freemicent_r", "closemicdb_r", "tavl_put", "tavl_lev",
    "tavl_ilev", "tavl_cat", "tavl_type", "tavl_set_lev", "tavl_set_ilev", "tavl_set_cat",
    "tavl_set_type", "tav_get_max_ilev", "tav_get_current_ilev", "mac_set_lev", "mac_set_cat",
    "mac_free",
};

int standin_faulted(const char *call)
{
    if (!policy_dir())
        return 0;
    standin_text text;
    if (standin_text_load("faults", &text) <= 0)
        return 0;
    int listed = 0;
    size_t pos = 0;
    unsigned line_number = 0;
    const char *line;
    size_t length;
    while (standin_text_next(&text, &pos, &line_number, &line, &length)) {
        while (length > 0 && (line[length - 1] == ' ' || line[length - 1] == '\t'))
            --length;
        int known = 0;
        for (size_t i = 0; i < sizeof fault_calls / sizeof fault_calls[0]; ++i) {
            if (strlen(fault_calls[i]) == length && memcmp(fault_calls[i], line, length) == 0)
                known = 1;
        }
        if (!known)
            standin_warn_line(&text, line_number);
        else if (strlen(call) == length && memcmp(call, line, length) == 0)
            listed = 1;
    }
    standin_text_free(&text);
    return listed;
}
