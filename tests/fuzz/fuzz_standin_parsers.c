// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* libFuzzer target for the stand-in's readers of policy files and of the
 * label attribute. The first byte of an input picks the reader ('0' to '9');
 * the rest is the file's contents or the attribute's value. Every input runs
 * against a fresh policy directory and must give back every handle. */
#define _GNU_SOURCE
#include "standin_p.h"
#include "varnel-standin.h"

#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char policy[] = "/tmp/varnel-fuzz-XXXXXX";

static const char *const files[] = {"levels", "categories", "mac-users", "mic-users", "ilevels",
                                    "types",  "system",     "lastchoice", "faults"};
enum { file_count = sizeof files / sizeof files[0], readers = file_count + 1 };

static void remove_policy(void)
{
    for (size_t i = 0; i < file_count; ++i) {
        char path[64];
        snprintf(path, sizeof path, "%s/%s", policy, files[i]);
        unlink(path);
    }
    char lock[64];
    snprintf(lock, sizeof lock, "%s/lastchoice.lock", policy);
    unlink(lock);
    rmdir(policy);
}

int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    (void)argc;
    (void)argv;
    if (!mkdtemp(policy))
        abort();
    atexit(remove_policy);
    setenv("VARNEL_STANDIN_DIR", policy, 1);
    return 0;
}

static void write_file(const char *name, const uint8_t *data, size_t size)
{
    char path[64];
    snprintf(path, sizeof path, "%s/%s", policy, name);
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        abort();
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n <= 0)
            abort();
        data += n;
        size -= (size_t)n;
    }
    close(fd);
}

static void take_text(char *text)
{
    /* Reading the whole text catches one that is not terminated. */
    if (text) {
        volatile size_t length = strlen(text);
        (void)length;
    }
    free(text);
}

static void label_texts(uint32_t type, mac_lev_t level, mac_cat_t categories)
{
    mac_label *label = mac_init(type);
    mac_set_lev(label, level);
    mac_set_cat(label, categories);
    static const int forms[] = {0, 3, 5, 9};
    for (size_t i = 0; i < sizeof forms / sizeof forms[0]; ++i)
        take_text(mac_to_text(label, 0, forms[i]));
    mac_free(label);
}

/* The calls that read the file of that reader. */
static void read_file(unsigned reader)
{
    switch (reader) {
    case 0: {
        levdb *levels = openlevdb_r();
        if (levels && setlevent_r(levels) == 0) {
            level_entry *entry;
            while ((entry = getlevent_r(levels)) != NULL) {
                label_texts(0, entry->level, 0);
                freelevent_r(entry);
            }
            endlevent_r(levels);
        }
        closelevdb_r(levels);
        break;
    }
    case 1: {
        catdb *categories = opencatdb_r();
        if (categories && setcatent_r(categories) == 0) {
            category_entry *entry;
            while ((entry = getcatent_r(categories)) != NULL)
                freecatent_r(entry);
            endcatent_r(categories);
        }
        closecatdb_r(categories);
        label_texts(0, 0, ~0ULL);
        label_texts(0, 0, 0x8000000000000005ULL);
        break;
    }
    case 2: {
        macdb *mac = openmacdb_r();
        if (mac && setmacent_r(mac) == 0) {
            freemacent_r(getmacuid_r(mac, 0));
            freemacent_r(getmacuid_r(mac, 1000));
            endmacent_r(mac);
        }
        closemacdb_r(mac);
        break;
    }
    case 3: {
        micdb *mic = openmicdb_r();
        freemicent_r(getmicuid_r(mic, 0));
        freemicent_r(getmicuid_r(mic, 1000));
        closemicdb_r(mic);
        break;
    }
    case 4:
        take_text(tav_ilev_get_text(0, 0));
        take_text(tav_ilev_get_text(63, 1));
        break;
    case 5:
        label_texts(0x1002d, 3, 0x3);
        break;
    case 6: {
        (void)varnel_mac_enabled();
        (void)tav_get_max_ilev();
        tav_label *process = tav_get_pid(0);
        take_text(tavl_get_text(process, 1));
        tavl_put(process);
        break;
    }
    case 7: {
        last_choice_entry choice;
        (void)getlchuid(1000, &choice);
        const last_choice_entry stored = {1, 0x3};
        (void)setlchuid(1, &stored);
        (void)getlchuid(1, &choice);
        break;
    }
    default:
        label_texts(0, 1, 0x1);
        tavl_put(tavl_get_new());
        break;
    }
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    unsigned reader = (unsigned char)(data[0] - '0') % readers;
    if (reader == file_count) {
        standin_label_value value;
        (void)standin_parse_label_value((const char *)data + 1, size - 1, &value);
    } else {
        write_file(files[reader], data + 1, size - 1);
        read_file(reader);
        /* Each input starts from the built-in defaults of every other file. */
        char path[64];
        snprintf(path, sizeof path, "%s/%s", policy, files[reader]);
        unlink(path);
        snprintf(path, sizeof path, "%s/lastchoice", policy);
        unlink(path);
    }
    varnel_standin_trace_clear();
    /* Every handle, record and label handed out was given back. */
    if (varnel_standin_live() != 0)
        abort();
    return 0;
}
