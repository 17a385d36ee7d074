// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNELMACTYPES_H
#define VARNELMACTYPES_H

/**
 * \file VarnelMacTypes.h
 * The value types of a MAC label, shared by the public classes and by the
 * platform's label policy services. Valid in C and C++.
 */

#include <sys/types.h>

/** Confidentiality level. */
typedef unsigned char mac_lev_t;
/** Category set: bit n set means category n is in the set; 0 is the empty set. */
typedef unsigned long long mac_cat_t;
/** Integrity level. */
typedef unsigned int TAV_ILEV_T;

#endif
