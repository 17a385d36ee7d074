#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The shared object's face: its soname, the Qt version it requires, and that
# it exports its classes and nothing else (no platform calls, no internals).
# Usage: check-exports.sh LIBRARY
set -eu
library=$1
fail() { echo "FAILED: $*" >&2; exit 1; }

readelf -d "$library" | grep -q 'Library soname: \[libvarnel-mac-qt5\.so\.0\]' \
    || fail "soname is not libvarnel-mac-qt5.so.0"
readelf -V "$library" | grep -q 'Qt_5\.15' || fail "no reference to the Qt 5.15 version tag"

symbols=$(nm -D --defined-only "$library" | awk '{print $3}' | c++filt)
echo "$symbols" | grep -q '^VarnelQt5::MacLevelComboBox::setValue(unsigned char, bool)$' \
    || fail "MacLevelComboBox members are not exported"
stray=$(echo "$symbols" \
    | grep -v -E '^(_edata|_end|__bss_start|_init|_fini)$' \
    | grep -v -E '^((typeinfo|typeinfo name|vtable|non-virtual thunk to|virtual thunk to) (for )?)?(VarnelQt5::|HierarchyItem|HierarchyModel)' \
    || true)
[ -z "$stray" ] || fail "exported beyond the library's classes: $stray"
internal=$(echo "$symbols" | grep -E 'SpecialAttributesProxyListModel|_p::|Platform::|insideReadOnlyLoginWidget' || true)
[ -z "$internal" ] || fail "internals exported: $internal"
echo "exports ok"
