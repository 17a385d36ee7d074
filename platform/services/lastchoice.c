// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* The per-user last choice, one line a user in the file lastchoice. Writers
 * replace the file by rename under an exclusive lock on a lock file beside
 * it: the lock cannot live on the data file, whose inode each write
 * replaces. */
#define _GNU_SOURCE
#include "standin_p.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

/* Creates dir and its missing parents. */
static int make_dirs(char *dir)
{
    for (char *p = dir + 1; *p; ++p) {
        if (*p != '/')
            continue;
        *p = '\0';
        int made = mkdir(dir, 0700) == 0 || errno == EEXIST;
        *p = '/';
        if (!made)
            return -1;
    }
    return mkdir(dir, 0700) == 0 || errno == EEXIST ? 0 : -1;
}

/* The directory holding the store, or null. With create set, the state
 * directory used without a policy directory is made when missing. */
static char *store_dir(int create)
{
    const char *policy = secure_getenv("VARNEL_STANDIN_DIR");
    if (policy && *policy)
        return strdup(policy);
    char *dir = NULL;
    const char *state = secure_getenv("XDG_STATE_HOME");
    const char *home = secure_getenv("HOME");
    /* A relative XDG_STATE_HOME is ignored, as XDG asks. */
    if (state && state[0] == '/')
        dir = standin_format_text("%s/varnel-standin", state);
    else if (home && home[0] == '/')
        dir = standin_format_text("%s/.local/state/varnel-standin", home);
    if (dir && create && make_dirs(dir) != 0) {
        free(dir);
        return NULL;
    }
    return dir;
}

static char *store_file(const char *dir, const char *name)
{
    return dir ? standin_format_text("%s/%s", dir, name) : NULL;
}

STANDIN_EXPORT int getlchuid(uid_t uid, last_choice_entry *entry)
{
    standin_trace("getlchuid");
    if (!entry || standin_faulted("getlchuid"))
        return -1;
    char *dir = store_dir(0);
    char *path = store_file(dir, "lastchoice");
    free(dir);
    standin_text text;
    int loaded = path ? standin_text_load_path(path, &text) : -1;
    free(path);
    if (loaded <= 0)
        return -1;
    standin_table table;
    int result = -1;
    if (standin_table_parse(&text, &standin_lastchoice_format, &table) > 0) {
        for (size_t i = 0; i < table.count; ++i) {
            if (table.rows[i].field[0] == uid) {
                entry->level = (mac_lev_t)table.rows[i].field[1];
                entry->categories = table.rows[i].field[2];
                result = 0;
                break;
            }
        }
    }
    standin_table_free(&table);
    standin_text_free(&text);
    return result;
}

typedef struct buffer {
    char *data;
    size_t size;
    size_t capacity;
    int failed;
} buffer;

static void append(buffer *b, const char *data, size_t size)
{
    /* An empty line adds nothing, and the buffer may not exist yet. */
    if (b->failed || size == 0)
        return;
    if (b->size + size > b->capacity) {
        size_t capacity = b->capacity ? b->capacity : 256;
        while (b->size + size > capacity)
            capacity *= 2;
        char *grown = realloc(b->data, capacity);
        if (!grown) {
            b->failed = 1;
            return;
        }
        b->data = grown;
        b->capacity = capacity;
    }
    memcpy(b->data + b->size, data, size);
    b->size += size;
}

/* The new contents: every line as it stands, except the first well-formed
 * record of uid, which gives way to new_line (appended when there is none). */
static void replace_line(const standin_text *old, uid_t uid, const char *new_line, buffer *out)
{
    int replaced = 0;
    size_t pos = 0;
    unsigned line_number = 0;
    while (pos < old->size) {
        const char *start = old->data + pos;
        const char *end = memchr(start, '\n', old->size - pos);
        size_t raw_length = end ? (size_t)(end - start) : old->size - pos;
        pos += raw_length + (end ? 1 : 0);
        ++line_number;
        /* Reuse the reader's idea of blank lines and comments. */
        standin_text one = {(char *)start, raw_length, old->path};
        size_t one_pos = 0;
        unsigned ignored = 0;
        const char *line;
        size_t length;
        standin_row row;
        int record = standin_text_next(&one, &one_pos, &ignored, &line, &length);
        if (record && standin_parse_row(line, length, &standin_lastchoice_format, &row) == 0) {
            if (!replaced && row.field[0] == uid) {
                replaced = 1;
                append(out, new_line, strlen(new_line));
                continue;
            }
        } else if (record) {
            standin_row_free(&row);
            standin_warn_line(old, line_number);
        }
        append(out, start, raw_length);
        append(out, "\n", 1);
    }
    if (!replaced)
        append(out, new_line, strlen(new_line));
}

static int write_all(int fd, const char *data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        data += n;
        size -= (size_t)n;
    }
    return 0;
}

/* Writes contents to a temporary file beside path and renames it over path,
 * so that readers see the old file or the new one, never a torn one. */
static int replace_file(const char *dir, const char *path, const buffer *contents, mode_t mode)
{
    char *temporary = store_file(dir, ".lastchoice.XXXXXX");
    if (!temporary)
        return -1;
    int fd = mkostemp(temporary, O_CLOEXEC);
    if (fd < 0) {
        free(temporary);
        return -1;
    }
    /* The data must be on disk before the rename is: a file system may
     * commit the rename first, and a crash between the two would leave an
     * empty store in place of the old one. */
    int ok = fchmod(fd, mode) == 0 && write_all(fd, contents->data, contents->size) == 0
        && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary, path) == 0;
    if (!ok)
        unlink(temporary);
    free(temporary);
    return ok ? 0 : -1;
}

/* Names as mkostemp makes them from ".lastchoice.XXXXXX". */
static int is_temporary_name(const char *name)
{
    static const char prefix[] = ".lastchoice.";
    if (strncmp(name, prefix, sizeof prefix - 1) != 0)
        return 0;
    const char *suffix = name + sizeof prefix - 1;
    size_t length = 0;
    for (; suffix[length]; ++length) {
        char c = suffix[length];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return 0;
    }
    return length == 6;
}

/* Writers make their temporary file only while holding the lock, so one
 * found by the holder of the lock was left by a writer that died before
 * renaming it. */
static void remove_stale_temporaries(const char *dir)
{
    DIR *d = opendir(dir);
    if (!d)
        return;
    int fd = dirfd(d);
    struct dirent *entry;
    while ((entry = readdir(d)) != NULL) {
        struct stat st;
        if (is_temporary_name(entry->d_name)
            && fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            unlinkat(fd, entry->d_name, 0);
    }
    closedir(d);
}

STANDIN_EXPORT int setlchuid(uid_t uid, const last_choice_entry *entry)
{
    standin_trace("setlchuid");
    if (!entry || standin_faulted("setlchuid"))
        return -1;
    char *dir = store_dir(1);
    char *path = store_file(dir, "lastchoice");
    char *lock_path = store_file(dir, "lastchoice.lock");
    char *new_line = standin_format_text("%u:%u:0x%llx\n", (unsigned)uid,
                                         (unsigned)entry->level, entry->categories);
    int result = -1;
    int lock = path && lock_path && new_line
        ? open(lock_path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600)
        : -1;
    int locked = 0;
    if (lock >= 0) {
        while ((locked = flock(lock, LOCK_EX) == 0) == 0 && errno == EINTR)
            ;
    }
    if (locked) {
        remove_stale_temporaries(dir);
        standin_text old;
        int loaded = standin_text_load_path(path, &old);
        struct stat st;
        mode_t mode = loaded > 0 && stat(path, &st) == 0 ? (st.st_mode & 07777) : 0644;
        if (loaded >= 0) {
            buffer contents = {NULL, 0, 0, 0};
            replace_line(&old, uid, new_line, &contents);
            if (!contents.failed)
                result = replace_file(dir, path, &contents, mode);
            free(contents.data);
        }
        standin_text_free(&old);
        flock(lock, LOCK_UN);
    }
    if (lock >= 0)
        close(lock);
    free(new_line);
    free(lock_path);
    free(path);
    free(dir);
    return result;
}
