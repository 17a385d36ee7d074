// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_STANDIN_H
#define VARNEL_STANDIN_H

/* What tests can see of the platform stand-in. */

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets the calls recorded so far. */
void varnel_standin_trace_clear(void);
/* The names of the platform calls made since the last clear, one a line, in
 * call order. Valid until the next platform call. */
const char *varnel_standin_trace(void);
/* Handles, records, label handles and label objects handed out and not yet
 * given back. */
long varnel_standin_live(void);

#ifdef __cplusplus
}
#endif

#endif
