// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELLIBRARY_H
#define VARNEL_LABELLIBRARY_H

// The platform's label library, which the program runs on as the library
// does; these calls have no public header of their own.

#include <VarnelMacTypes.h>

#include <cstdint>
#include <memory>

extern "C" {
struct tav_label;
struct mac_label;
tav_label *tav_get_path(const char *path);
int tav_set_path(const char *path, tav_label *label);
tav_label *tavl_get_new(void);
void tavl_put(tav_label *label);
mac_lev_t tavl_lev(const tav_label *label);
TAV_ILEV_T tavl_ilev(const tav_label *label);
mac_cat_t tavl_cat(const tav_label *label);
uint16_t tavl_type(const tav_label *label);
void tavl_set_lev(tav_label *label, mac_lev_t level);
void tavl_set_ilev(tav_label *label, TAV_ILEV_T ilevel);
void tavl_set_cat(tav_label *label, mac_cat_t categories);
void tavl_set_type(tav_label *label, uint16_t type);
int tavl_supports_type(const tav_label *label, int type, int flags);
TAV_ILEV_T tav_get_max_ilev(void);
char *tav_ilev_get_text(TAV_ILEV_T ilevel, int form);
mac_label *mac_init(uint32_t type);
void mac_set_lev(mac_label *label, mac_lev_t level);
void mac_set_cat(mac_label *label, mac_cat_t categories);
char *mac_to_text(const mac_label *label, int flags, int form);
void mac_free(mac_label *label);
}

// Handles and texts given back on every path.
using LabelHandle = std::unique_ptr<tav_label, void (*)(tav_label *)>;

inline LabelHandle labelHandle(tav_label *label)
{
    return LabelHandle(label, tavl_put);
}

#endif
