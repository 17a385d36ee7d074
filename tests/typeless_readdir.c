// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* Preloaded into one run of the file model's tests: every directory entry
 * comes without its type, as on file systems that record none, so that the
 * walk has to ask lstat what each entry is. */
#define _GNU_SOURCE
/* Both entry points are defined below, each under its own name, whatever
 * the build chose for the callers. */
#undef _FILE_OFFSET_BITS
#include <dirent.h>
#include <dlfcn.h>
#include <stddef.h>

struct dirent *readdir(DIR *dir)
{
    static struct dirent *(*next)(DIR *);
    if (!next)
        next = (struct dirent * (*)(DIR *)) dlsym(RTLD_NEXT, "readdir");
    struct dirent *entry = next ? next(dir) : NULL;
    if (entry)
        entry->d_type = DT_UNKNOWN;
    return entry;
}

struct dirent64 *readdir64(DIR *dir)
{
    static struct dirent64 *(*next)(DIR *);
    if (!next)
        next = (struct dirent64 * (*)(DIR *)) dlsym(RTLD_NEXT, "readdir64");
    struct dirent64 *entry = next ? next(dir) : NULL;
    if (entry)
        entry->d_type = DT_UNKNOWN;
    return entry;
}
