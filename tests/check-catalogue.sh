#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The catalogue is up to date with the sources: refreshing it finds no text
# that is new, gone or untranslated.
# Usage: check-catalogue.sh LUPDATE SOURCE_DIR SOURCES CATALOGUE...
# SOURCES: the folders the catalogues' texts come from, relative to
# SOURCE_DIR and joined by colons (src:include for the library's).
set -eu
lupdate=$1
top=$2
sources=$(echo "$3" | tr ':' ' ')
shift 3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
texts() { grep -E '<(name|source|translation)' "$1"; }
for catalogue in "$@"; do
    copy="$scratch/$(basename "$catalogue")"
    cp "$catalogue" "$copy"
    # shellcheck disable=SC2086 # one folder a word
    (cd "$top" && "$lupdate" -silent -no-obsolete -locations none $sources -ts "$copy")
    if ! texts "$catalogue" | diff -u - "$(texts "$copy" >"$scratch/refreshed"; echo "$scratch/refreshed")"; then
        echo "FAILED: $catalogue is out of date; run the update-translations target" >&2
        exit 1
    fi
    if grep -q 'type="unfinished"' "$copy"; then
        echo "FAILED: $catalogue has untranslated texts" >&2
        exit 1
    fi
done
echo "catalogues up to date"
