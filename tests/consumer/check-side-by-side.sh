#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the Qt 5 and the Qt 6 build into one prefix and checks that they
# do not clash: the only files both install are the stand-in's plain C
# services, the same for both; the second installation leaves the first one's
# files as they were; and a program of each flavour builds and runs against
# the shared prefix, each way a program finds the library. Then the uninstall
# target removes the Qt 5 flavour, which leaves the Qt 6 one whole, so that its
# programs build and run, and removes the Qt 6 flavour, which leaves nothing.
# Usage: check-side-by-side.sh QT5_BUILD_DIR QT6_BUILD_DIR SOURCE_DIR SCRATCH_DIR [VERSION]
set -eu
build5=$1
build6=$2
source=$(cd "$3" && pwd)
scratch=$4
version=${5:-}
fail() { echo "FAILED: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
# Every installed file with its checksum, relative to the prefix.
listing() { (cd "$1" && find . ! -type d -exec sha256sum {} + | sort -k 2); }

for major in 5 6; do
    eval build=\$build$major
    cmake --install "$build" --prefix "$scratch/only-$major" >/dev/null
    listing "$scratch/only-$major" >"$scratch/only-$major.sums"
    awk '{print $2}' "$scratch/only-$major.sums" >"$scratch/only-$major.files"
    [ -f "$scratch/only-$major/include/varnel-mac-qt$major/MacLevelComboBox.h" ] \
        || fail "the Qt $major build is not a Qt $major build: $build"
done

# The shared files: the stand-in's C services (header and library), which
# carry no Qt; the header must be the very same.
shared=$(comm -12 "$scratch/only-5.files" "$scratch/only-6.files")
unexpected=$(echo "$shared" | grep -v -E '^\./(include/varnel-standin/varnel-standin\.h|lib[^/]*/varnel-standin/libvarnel-standin\.so(\.[0-9.]+)?)$' || true)
[ -z "$unexpected" ] || fail "both flavours install: $unexpected"
echo "$shared" | grep -q 'varnel-standin\.h$' || fail "the stand-in's header is not installed by both"
[ "$(grep ' ./include/varnel-standin/varnel-standin.h$' "$scratch/only-5.sums")" \
    = "$(grep ' ./include/varnel-standin/varnel-standin.h$' "$scratch/only-6.sums")" ] \
    || fail "the stand-in's header differs between the flavours"

# One prefix, Qt 5 first: Qt 6 changes none of Qt 5's own files, and the
# prefix holds exactly what each installs alone.
cmake --install "$build5" --prefix "$scratch/prefix" >/dev/null
listing "$scratch/prefix" >"$scratch/first.sums"
cmake --install "$build6" --prefix "$scratch/prefix" >/dev/null
listing "$scratch/prefix" >"$scratch/both.sums"
own5=$(grep -v -F -x -f "$scratch/only-6.files" "$scratch/only-5.files" || true)
for file in $own5; do
    grep -q -F -x "$(grep " $file\$" "$scratch/first.sums")" "$scratch/both.sums" \
        || fail "installing Qt 6 changed or removed $file"
done
sort -u "$scratch/only-5.files" "$scratch/only-6.files" >"$scratch/union.files"
awk '{print $2}' "$scratch/both.sums" | diff -u "$scratch/union.files" - \
    || fail "the shared prefix holds other files than the two installations"

echo "== Qt 5"
"$source/build-consumers.sh" "$scratch/prefix" "$source" "$scratch/consumers-5" "$version" 5

# Each build's install_manifest.txt lists this prefix, its last installation.
cmake --build "$build5" --target uninstall >/dev/null
listing "$scratch/prefix" >"$scratch/after-5.sums"
awk '{print $2}' "$scratch/after-5.sums" | diff -u "$scratch/only-6.files" - \
    || fail "removing Qt 5 left other files than the Qt 6 installation's"
changed=$(grep -v -F -x -f "$scratch/both.sums" "$scratch/after-5.sums" || true)
[ -z "$changed" ] || fail "removing Qt 5 changed: $changed"
echo "== Qt 6, after Qt 5 was removed"
"$source/build-consumers.sh" "$scratch/prefix" "$source" "$scratch/consumers-6" "$version" 6

cmake --build "$build6" --target uninstall >/dev/null
left=$(cd "$scratch/prefix" && find . ! -type d)
[ -z "$left" ] || fail "removing both flavours left: $left"
echo "both flavours installed side by side and removed one by one"
