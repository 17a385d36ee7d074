// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#ifndef VARNEL_LABELLIBRARY_H
#define VARNEL_LABELLIBRARY_H

// The platform's label library, which the program runs on as the library
// does, with the names of the services' text forms and of the category bits: declared once, where the
// library declares them.

#include <CategoryBits_p.h>
#include <LabelTexts_p.h>
#include <labelpolicy.h>

#include <memory>

// Handles and texts given back on every path.
using LabelHandle = std::unique_ptr<tav_label, void (*)(tav_label *)>;

inline LabelHandle labelHandle(tav_label *label)
{
    return LabelHandle(label, tavl_put);
}

#endif
