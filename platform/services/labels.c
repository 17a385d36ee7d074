// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* Label handles, label objects and the labels of file system objects, which
 * live in an extended attribute of the object. */
#define _GNU_SOURCE
#include "standin_p.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/xattr.h>

#define LABEL_ATTRIBUTE "user.varnel.label"

struct tav_label {
    standin_label_value value;
};

struct mac_label {
    uint32_t type;
    mac_lev_t level;
    mac_cat_t categories;
};

static tav_label *new_label(const standin_label_value *value)
{
    tav_label *label = malloc(sizeof *label);
    if (!label)
        return NULL;
    label->value = *value;
    standin_live_add(1);
    return label;
}

int standin_parse_label_value(const char *text, size_t length, standin_label_value *value)
{
    static const standin_format format = {4, {0xff, 0xffffffffULL, ~0ULL, 0xffffffffULL}, 0, 0};
    standin_row row;
    if (standin_parse_row(text, length, &format, &row) != 0)
        return -1;
    value->level = (mac_lev_t)row.field[0];
    value->ilevel = (TAV_ILEV_T)row.field[1];
    value->categories = row.field[2];
    value->type = (uint32_t)row.field[3];
    return 0;
}

/* Leading zeros make a well-formed value as long as one likes; the largest
 * value the kernel stores at all bounds what is read. */
#define LABEL_MAX_SIZE 65536
#define LABEL_ABSENT (-2)
#define LABEL_UNREADABLE (-3)
#define LABEL_TOO_LONG (-4)

/* The whole value into a new buffer (*buffer, to be freed) and its length;
 * LABEL_ABSENT where the object has no such attribute or its file system
 * keeps none, LABEL_UNREADABLE where it cannot be read, LABEL_TOO_LONG
 * beyond the bound. */
static ssize_t read_label_attribute(const char *path, char **buffer)
{
    *buffer = NULL;
    /* A value of the usual length is read in one call; the call's own
     * failure says whether the object is there at all. */
    char small[128];
    ssize_t first = getxattr(path, LABEL_ATTRIBUTE, small, sizeof small);
    if (first >= 0) {
        *buffer = malloc((size_t)first + 1);
        if (!*buffer)
            return LABEL_UNREADABLE;
        memcpy(*buffer, small, (size_t)first);
        return first;
    }
    if (errno == ENODATA || errno == ENOTSUP)
        return LABEL_ABSENT;
    if (errno != ERANGE)
        return LABEL_UNREADABLE;
    /* The value may change between asking its size and reading it. */
    for (int attempt = 0; attempt < 8; ++attempt) {
        ssize_t size = getxattr(path, LABEL_ATTRIBUTE, NULL, 0);
        if (size < 0)
            return errno == ENODATA || errno == ENOTSUP ? LABEL_ABSENT : LABEL_UNREADABLE;
        if (size > LABEL_MAX_SIZE)
            return LABEL_TOO_LONG;
        char *grown = realloc(*buffer, (size_t)size + 1);
        if (!grown)
            return LABEL_UNREADABLE;
        *buffer = grown;
        ssize_t length = getxattr(path, LABEL_ATTRIBUTE, *buffer, (size_t)size + 1);
        if (length >= 0)
            return length;
        if (errno == ENODATA || errno == ENOTSUP)
            return LABEL_ABSENT;
        if (errno != ERANGE)
            return LABEL_UNREADABLE;
    }
    return LABEL_UNREADABLE;
}

int standin_read_path_label(const char *path, standin_label_value *value)
{
    memset(value, 0, sizeof *value);
    if (!path)
        return -1;
    char *buffer = NULL;
    ssize_t length = read_label_attribute(path, &buffer);
    if (length == LABEL_ABSENT || length == LABEL_UNREADABLE) {
        free(buffer);
        return length == LABEL_ABSENT ? 0 : -1;
    }
    int result = length >= 0 ? standin_parse_label_value(buffer, (size_t)length, value) : -1;
    free(buffer);
    if (result != 0) {
        fprintf(stderr, "varnel-standin: %s: malformed value of %s\n", path, LABEL_ATTRIBUTE);
        memset(value, 0, sizeof *value);
    }
    return result;
}

STANDIN_EXPORT tav_label *tav_get_pid(pid_t pid)
{
    standin_trace("tav_get_pid");
    if (pid != 0 || standin_faulted("tav_get_pid"))
        return NULL;
    standin_system system;
    standin_system_load(&system);
    standin_label_value value = {(mac_lev_t)system.process_level,
                                 (TAV_ILEV_T)system.process_ilev,
                                 system.process_categories, 0};
    return new_label(&value);
}

STANDIN_EXPORT tav_label *tav_get_path(const char *path)
{
    standin_trace("tav_get_path");
    standin_label_value value;
    if (standin_faulted("tav_get_path") || standin_read_path_label(path, &value) != 0)
        return NULL;
    return new_label(&value);
}

STANDIN_EXPORT int tav_set_path(const char *path, tav_label *label)
{
    standin_trace("tav_set_path");
    /* Writing fails by itself where the object is not there. */
    if (!path || !label || standin_faulted("tav_set_path"))
        return -1;
    char buffer[128];
    int length = snprintf(buffer, sizeof buffer, "%u:%u:0x%llx:0x%x",
                          (unsigned)label->value.level, label->value.ilevel,
                          label->value.categories, label->value.type);
    if (length < 0 || (size_t)length >= sizeof buffer)
        return -1;
    return setxattr(path, LABEL_ATTRIBUTE, buffer, (size_t)length, 0) == 0 ? 0 : -1;
}

STANDIN_EXPORT tav_label *tavl_get_new(void)
{
    standin_trace("tavl_get_new");
    if (standin_faulted("tavl_get_new"))
        return NULL;
    standin_label_value value = {0, 0, 0, 0};
    return new_label(&value);
}

STANDIN_EXPORT void tavl_put(tav_label *label)
{
    standin_trace("tavl_put");
    if (!label)
        return;
    free(label);
    standin_live_add(-1);
}

STANDIN_EXPORT mac_lev_t tavl_lev(const tav_label *label)
{
    standin_trace("tavl_lev");
    return label ? label->value.level : 0;
}

STANDIN_EXPORT TAV_ILEV_T tavl_ilev(const tav_label *label)
{
    standin_trace("tavl_ilev");
    return label ? label->value.ilevel : 0;
}

STANDIN_EXPORT mac_cat_t tavl_cat(const tav_label *label)
{
    standin_trace("tavl_cat");
    return label ? label->value.categories : 0;
}

/* The handle keeps the object's full 32-bit type; its special attributes are
 * the low 16 bits, and the high half (the type's class) is kept as it is. */
STANDIN_EXPORT uint16_t tavl_type(const tav_label *label)
{
    standin_trace("tavl_type");
    return label ? (uint16_t)(label->value.type & 0xffffu) : 0;
}

STANDIN_EXPORT void tavl_set_lev(tav_label *label, mac_lev_t level)
{
    standin_trace("tavl_set_lev");
    if (label)
        label->value.level = level;
}

STANDIN_EXPORT void tavl_set_ilev(tav_label *label, TAV_ILEV_T ilevel)
{
    standin_trace("tavl_set_ilev");
    if (label)
        label->value.ilevel = ilevel;
}

STANDIN_EXPORT void tavl_set_cat(tav_label *label, mac_cat_t categories)
{
    standin_trace("tavl_set_cat");
    if (label)
        label->value.categories = categories;
}

STANDIN_EXPORT void tavl_set_type(tav_label *label, uint16_t type)
{
    standin_trace("tavl_set_type");
    if (label)
        label->value.type = (label->value.type & 0xffff0000u) | type;
}

STANDIN_EXPORT int tavl_supports_type(const tav_label *label, int type, int flags)
{
    (void)flags;
    standin_trace("tavl_supports_type");
    if (!label || standin_faulted("tavl_supports_type"))
        return 0;
    const standin_label_value *v = &label->value;
    if (type == 4)
        return v->level == 0 && v->ilevel == 0 && v->categories == 0;
    if (type == 8) {
        standin_label_value root;
        if (standin_read_path_label("/", &root) != 0)
            return 0;
        return v->level == root.level && v->ilevel == root.ilevel
            && v->categories == root.categories;
    }
    return 0;
}

STANDIN_EXPORT char *tavl_get_text(const tav_label *label, int form)
{
    standin_trace("tavl_get_text");
    if (!label || form != 1 || standin_faulted("tavl_get_text"))
        return NULL;
    return standin_format_text("%u:%u:0x%llx", (unsigned)label->value.level,
                               label->value.ilevel, label->value.categories);
}

STANDIN_EXPORT TAV_ILEV_T tav_get_max_ilev(void)
{
    standin_trace("tav_get_max_ilev");
    standin_system system;
    standin_system_load(&system);
    return (TAV_ILEV_T)system.max_ilev;
}

STANDIN_EXPORT TAV_ILEV_T tav_get_current_ilev(void)
{
    standin_trace("tav_get_current_ilev");
    standin_system system;
    standin_system_load(&system);
    return (TAV_ILEV_T)system.current_ilev;
}

/* The name the last line of the file gives number; null when there is no
 * line or the line has no name. When fallback is set, a number without a
 * name is written out with it instead. */
static char *name_text(const char *file, const standin_format *format,
                       unsigned long long number, const char *fallback)
{
    standin_table table;
    const char *name = NULL;
    int found = 0;
    if (standin_table_load(file, format, &table) > 0)
        name = standin_table_name(&table, number, &found);
    char *text = name ? strdup(name) : fallback ? standin_format_text(fallback, number) : NULL;
    standin_table_free(&table);
    return text;
}

STANDIN_EXPORT char *tav_ilev_get_text(TAV_ILEV_T ilevel, int form)
{
    standin_trace("tav_ilev_get_text");
    if ((form != 0 && form != 1) || standin_faulted("tav_ilev_get_text"))
        return NULL;
    return name_text("ilevels", &standin_names32_format, ilevel, form == 1 ? "%llu" : NULL);
}

STANDIN_EXPORT mac_label *mac_init(uint32_t type)
{
    standin_trace("mac_init");
    if (standin_faulted("mac_init"))
        return NULL;
    mac_label *label = calloc(1, sizeof *label);
    if (!label)
        return NULL;
    label->type = type;
    standin_live_add(1);
    return label;
}

STANDIN_EXPORT void mac_set_lev(mac_label *label, mac_lev_t level)
{
    standin_trace("mac_set_lev");
    if (label)
        label->level = level;
}

STANDIN_EXPORT void mac_set_cat(mac_label *label, mac_cat_t categories)
{
    standin_trace("mac_set_cat");
    if (label)
        label->categories = categories;
}

/* Category names for each set bit, ascending, joined with ','. */
static char *categories_text(mac_cat_t categories)
{
    standin_table table;
    int loaded = standin_table_load("categories", &standin_categories_format, &table);
    size_t capacity = 1, length = 0;
    char *text = malloc(capacity);
    /* Counted apart from the length: an empty name is a part too, and the
     * next part still needs its separator. */
    int parts = 0;
    for (unsigned bit = 0; text && bit < 64; ++bit) {
        if (!(categories & (1ULL << bit)))
            continue;
        int found = 0;
        const char *name = loaded > 0 ? standin_table_name(&table, 1ULL << bit, &found) : NULL;
        char number[4];
        snprintf(number, sizeof number, "%u", bit);
        const char *part = name ? name : number;
        size_t part_length = strlen(part) + (parts ? 1 : 0);
        char *grown = realloc(text, capacity + part_length);
        if (!grown) {
            free(text);
            text = NULL;
            break;
        }
        text = grown;
        capacity += part_length;
        if (parts++)
            text[length++] = ',';
        memcpy(text + length, part, strlen(part));
        length += strlen(part);
    }
    if (text)
        text[length] = '\0';
    standin_table_free(&table);
    return text;
}

STANDIN_EXPORT char *mac_to_text(const mac_label *label, int flags, int form)
{
    (void)flags;
    standin_trace("mac_to_text");
    if (!label || standin_faulted("mac_to_text"))
        return NULL;
    switch (form) {
    case 0:
        return standin_format_text("%u:%llx", (unsigned)label->level, label->categories);
    case 3:
        return name_text("levels", &standin_levels_format, label->level, "%llu");
    case 5:
        return categories_text(label->categories);
    case 9:
        return name_text("types", &standin_names32_format, label->type, "0x%llx");
    default:
        return NULL;
    }
}

STANDIN_EXPORT void mac_free(mac_label *label)
{
    standin_trace("mac_free");
    if (!label)
        return;
    free(label);
    standin_live_add(-1);
}
