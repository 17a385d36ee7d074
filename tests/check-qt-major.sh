#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The Qt major setting, configured as part of a parent project: the parent's
# QT_MAJOR_VERSION is the default, VARNEL_QT_MAJOR wins over it, anything but
# 5 or 6 is refused before Qt is looked for, and the major chosen names the
# library and the Qt it is built with. Only the major under test needs to be
# installed.
# Usage: check-qt-major.sh SOURCE_DIR SCRATCH_DIR MAJOR
set -eu
source=$(cd "$1" && pwd)
scratch=$2
major=$3
other=$((11 - major))
fail() { echo "FAILED: $*" >&2; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"

# row NAME PARENT_QT_MAJOR_VERSION EXPECTED [cmake arguments...]
# EXPECTED is the major chosen, or "refused".
row() {
    name=$1 parent=$2 expected=$3
    shift 3
    dir=$scratch/$(echo "$name" | tr -c 'a-z0-9\n' '-')
    mkdir -p "$dir/parent"
    {
        echo 'cmake_minimum_required(VERSION 3.16)'
        echo 'project(parent LANGUAGES C CXX)'
        [ -z "$parent" ] || echo "set(QT_MAJOR_VERSION $parent)"
        echo "add_subdirectory(\"$source\" varnel)"
    } >"$dir/parent/CMakeLists.txt"
    if cmake -S "$dir/parent" -B "$dir/build" -DBUILD_TESTING=OFF -DVARNEL_BUILD_PROGRAMS=OFF \
        -DVARNEL_BUILD_DESIGNER_PLUGIN=OFF "$@" >"$dir/log" 2>&1; then
        [ "$expected" != refused ] || fail "$name: configured, should be refused"
        [ -f "$dir/build/varnel/installed-files/varnel-mac-qt$expected.pc.in" ] \
            || fail "$name: no varnel-mac-qt$expected.pc.in"
        [ ! -e "$dir/build/varnel/installed-files/varnel-mac-qt$((11 - expected)).pc.in" ] \
            || fail "$name: the other major's names as well"
        grep -q "^Qt${expected}Core_DIR:PATH=/" "$dir/build/CMakeCache.txt" \
            || fail "$name: not built with Qt $expected"
        ! grep -q "^Qt$((11 - expected))Core_DIR:PATH=/" "$dir/build/CMakeCache.txt" \
            || fail "$name: Qt $((11 - expected)) looked for as well"
    else
        [ "$expected" = refused ] || { cat "$dir/log" >&2; fail "$name: not configured"; }
        grep -q 'it must be 5 or 6' "$dir/log" || { cat "$dir/log" >&2; fail "$name: refused without saying why"; }
        ! grep -q 'Qt[56]Core_DIR:PATH=/' "$dir/build/CMakeCache.txt" 2>/dev/null \
            || fail "$name: Qt looked for before the major was checked"
    fi
    echo "ok: $name"
}

if [ "$major" = 5 ]; then
    row "nothing set" "" 5
fi
row "parent's major" "$major" "$major"
row "own setting over the parent's" "$other" "$major" "-DVARNEL_QT_MAJOR=$major"
row "major 4" "" refused -DVARNEL_QT_MAJOR=4
row "parent's major 7" 7 refused
row "not a number" "" refused -DVARNEL_QT_MAJOR=six
