#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the built library into a scratch prefix, then builds and runs
# programs outside the tree against the installed files alone.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR [VERSION [QT_MAJOR]]
set -eu
build=$1
source=$2
scratch=$3
version=${4:-}
major=${5:-5}
rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
test -f "$scratch/prefix/share/vix/translations/libvarnel-mac-qt${major}_de.qm"
test -f "$scratch/prefix/include/varnel-standin/varnel-standin.h"
# The stand-in's libraries, which carry the platform's names, in a folder of
# their own and nowhere else.
folders=$(cd "$scratch/prefix" && find . -name 'libvarnel-standin.so*' -o -name "libvarnel-common-qt$major.so*" \
    | sed 's|/[^/]*$||' | sort -u)
case "$folders" in
*/varnel-standin) [ "$(echo "$folders" | wc -l)" -eq 1 ] ;;
*) false ;;
esac || { echo "FAILED: the stand-in's libraries are not in one folder varnel-standin: $folders" >&2; exit 1; }
"$source/build-consumers.sh" "$scratch/prefix" "$source" "$scratch/consumers" "$version" "$major"
