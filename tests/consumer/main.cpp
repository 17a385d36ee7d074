// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Shows a level picker on the stand-in's built-in policy and checks that it
// offers every level and gives back what it took from the platform.

#include "StandinLive.h"

#include <MacLevelComboBox.h>
#include <varnel-mac_version.h>
#include <varnelcommon_export.h>
#include <varnelmac_export.h>

#include <QApplication>
#include <QtGlobal>
#include <cstdio>
#include <cstring>
#include <type_traits>

// The names without the Qt major, which both flavours install.
static_assert(VARNELMAC_VERSION
                  == QT_VERSION_CHECK(VARNELMAC_VERSION_MAJOR, VARNELMAC_VERSION_MINOR, VARNELMAC_VERSION_PATCH),
              "the combined version number is made as Qt makes its own");
static_assert(VARNELMAC_VERSION >= VARNELMAC_VERSION_CHECK(0, 1, 0), "the version checks compare as numbers");
static_assert(std::is_same<VarnelQt::MacLevelComboBox, VarnelQt5::MacLevelComboBox>::value,
              "the namespace has a name without the Qt major");

#if !defined(VARNELMAC_EXPORT) || !defined(VARNELCOMMON_EXPORT)
#error "the export macros without the Qt major are missing"
#endif

// The first names, with a 5 in either flavour, stay for hosts that use them
// and mean the same.
#include <varnel-mac-qt5_version.h>
#include <varnelcommonqt5_export.h>
#include <varnelmacqt5_export.h>

static_assert(VARNELMACQT5_VERSION == VARNELMAC_VERSION
                  && VARNELMACQT5_VERSION_CHECK(1, 2, 3) == VARNELMAC_VERSION_CHECK(1, 2, 3)
                  && VARNELMACQT5_VERSION_MAJOR == VARNELMAC_VERSION_MAJOR
                  && VARNELMACQT5_VERSION_MINOR == VARNELMAC_VERSION_MINOR
                  && VARNELMACQT5_VERSION_PATCH == VARNELMAC_VERSION_PATCH,
              "the version under its first names");
#if !defined(VARNELMACQT5_EXPORT) || !defined(VARNELCOMMONQT5_EXPORT)
#error "the export macros under their first names are missing"
#endif

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (std::strcmp(VARNELMACQT5_VERSION_STRING, VARNELMAC_VERSION_STRING) != 0)
        return 1;
    std::printf("version: %s %d.%d.%d\n", VARNELMAC_VERSION_STRING, VARNELMAC_VERSION_MAJOR,
                VARNELMAC_VERSION_MINOR, VARNELMAC_VERSION_PATCH);
    VarnelQt::MacLevelComboBox picker(nullptr);
    picker.setUid(0);
    const QList<mac_lev_t> levels = picker.allValues();
    std::printf("levels offered: %d\n", int(levels.size()));
    return levels.size() == 4 && standinLive() == 0 ? 0 : 1;
}
