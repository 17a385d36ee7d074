#ifndef VARNELMACTYPES_H
#define VARNELMACTYPES_H

/* The value types of a MAC label, shared by the public classes and by the
 * platform's label policy services. Valid in C and C++. */

#include <sys/types.h>

/* Confidentiality level. */
typedef unsigned char mac_lev_t;
/* Category set: bit n set means category n is in the set. */
typedef unsigned long long mac_cat_t;
/* Integrity level. */
typedef unsigned int TAV_ILEV_T;

#endif
