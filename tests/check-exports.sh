#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The shared object's face: its soname, the Qt version it requires, and that
# it exports its classes and nothing else (no platform calls, no internals).
# Usage: check-exports.sh LIBRARY [QT_MAJOR]
set -eu
library=$1
major=${2:-5}
fail() { echo "FAILED: $*" >&2; exit 1; }

readelf -d "$library" | grep -q "Library soname: \[libvarnel-mac-qt$major\.so\.0\]" \
    || fail "soname is not libvarnel-mac-qt$major.so.0"
if [ "$major" = 5 ]; then
    readelf -V "$library" | grep -q 'Qt_5\.15' || fail "no reference to the Qt 5.15 version tag"
else
    readelf -V "$library" | grep -q "Qt_$major" || fail "no reference to a Qt $major version tag"
    ! readelf -V "$library" | grep -q 'Qt_5' || fail "refers to Qt 5 as well"
fi

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
