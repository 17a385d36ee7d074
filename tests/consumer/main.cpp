// SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Shows a level picker on the stand-in's built-in policy and checks that it
// offers every level and gives back what it took from the platform.

#include <MacLevelComboBox.h>
#include <varnel-mac-qt5_version.h>
#include <varnel-standin.h>

#include <QApplication>
#include <QtGlobal>
#include <cstdio>
#include <type_traits>

static_assert(VARNELMACQT5_VERSION
                  == QT_VERSION_CHECK(VARNELMACQT5_VERSION_MAJOR, VARNELMACQT5_VERSION_MINOR,
                                      VARNELMACQT5_VERSION_PATCH),
              "the combined version number is made as Qt makes its own");
static_assert(VARNELMACQT5_VERSION >= VARNELMACQT5_VERSION_CHECK(0, 1, 0),
              "the version checks compare as numbers");
static_assert(std::is_same<VarnelQt::MacLevelComboBox, VarnelQt5::MacLevelComboBox>::value,
              "the namespace has a name without the Qt major");

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    std::printf("version: %s %d.%d.%d\n", VARNELMACQT5_VERSION_STRING, VARNELMACQT5_VERSION_MAJOR,
                VARNELMACQT5_VERSION_MINOR, VARNELMACQT5_VERSION_PATCH);
    VarnelQt::MacLevelComboBox picker(nullptr);
    picker.setUid(0);
    const QList<mac_lev_t> levels = picker.allValues();
    std::printf("levels offered: %d\n", int(levels.size()));
    return levels.size() == 4 && varnel_standin_live() == 0 ? 0 : 1;
}
