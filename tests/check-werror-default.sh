#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# A build configured with nothing set shows compiler warnings without failing
# on them: a user's newer compiler or Qt may warn where ours does not.
# Usage: check-werror-default.sh SOURCE_DIR SCRATCH_DIR MAJOR
set -eu
source=$1
scratch=$2
major=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"
cmake -S "$source" -B "$scratch/build" -DVARNEL_QT_MAJOR="$major" -DBUILD_TESTING=OFF \
    -DVARNEL_BUILD_PROGRAMS=OFF -DVARNEL_BUILD_DESIGNER_PLUGIN=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    >"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; fail "not configured"; }
grep -q '^VARNEL_WERROR:BOOL=OFF$' "$scratch/build/CMakeCache.txt" || fail "VARNEL_WERROR is not off by default"
commands=$scratch/build/compile_commands.json
grep -q -- '-Wall' "$commands" || fail "the library is not built with -Wall"
! grep -q -- '-Werror' "$commands" || fail "warnings are errors by default"
echo "ok: warnings by default, no errors"
