// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

/* What tests can see: the calls made and what is still handed out. */
#include "standin_p.h"
#include "varnel-standin.h"

#include <pthread.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>

/* A process that never clears the trace keeps only its latest calls: past
 * this size the oldest lines go, down to half of it, so that dropping them
 * costs little per call. */
#define TRACE_LIMIT (1024 * 1024)

static pthread_mutex_t trace_mutex = PTHREAD_MUTEX_INITIALIZER;
static char *trace_text;
static size_t trace_size;
static size_t trace_capacity;
static atomic_long live_count;

void standin_trace(const char *call)
{
    size_t length = strlen(call);
    pthread_mutex_lock(&trace_mutex);
    if (trace_size > 0 && trace_size + length + 2 > TRACE_LIMIT) {
        size_t drop = trace_size > TRACE_LIMIT / 2 ? trace_size - TRACE_LIMIT / 2 : trace_size;
        /* Whole lines only: the kept part starts after a line feed. */
        while (drop < trace_size && trace_text[drop - 1] != '\n')
            ++drop;
        trace_size -= drop;
        memmove(trace_text, trace_text + drop, trace_size + 1);
    }
    if (trace_size + length + 2 > trace_capacity) {
        size_t capacity = trace_capacity ? trace_capacity : 4096;
        while (trace_size + length + 2 > capacity)
            capacity *= 2;
        char *grown = realloc(trace_text, capacity);
        if (!grown) {
            /* Losing a trace line is better than failing the call itself. */
            pthread_mutex_unlock(&trace_mutex);
            return;
        }
        trace_text = grown;
        trace_capacity = capacity;
    }
    memcpy(trace_text + trace_size, call, length);
    trace_size += length;
    trace_text[trace_size++] = '\n';
    trace_text[trace_size] = '\0';
    pthread_mutex_unlock(&trace_mutex);
}

void standin_live_add(long delta)
{
    atomic_fetch_add(&live_count, delta);
}

STANDIN_EXPORT void varnel_standin_trace_clear(void)
{
    pthread_mutex_lock(&trace_mutex);
    trace_size = 0;
    if (trace_text)
        trace_text[0] = '\0';
    pthread_mutex_unlock(&trace_mutex);
}

STANDIN_EXPORT const char *varnel_standin_trace(void)
{
    pthread_mutex_lock(&trace_mutex);
    const char *text = trace_text ? trace_text : "";
    pthread_mutex_unlock(&trace_mutex);
    return text;
}

STANDIN_EXPORT long varnel_standin_live(void)
{
    return atomic_load(&live_count);
}
