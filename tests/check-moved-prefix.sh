#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the built library into a scratch prefix, moves the prefix, and has
# a host load the library from there in German: the library finds its
# catalogue in the moved prefix, with the system's catalogue folder seen
# empty. The installed gallery, where there is one, speaks German from there
# too. Exits 77 where that folder cannot be hidden.
# Usage: check-moved-prefix.sh BUILD_DIR STARTUP_HOST SCRATCH_DIR MAJOR LIBDIR
set -eu
build=$1
host=$2
scratch=$3
major=$4
libdir=$5
fail() { echo "FAILED: $*" >&2; exit 1; }
case $libdir in
/*) echo "the library folder $libdir is absolute: no prefix to move"; exit 77 ;;
esac
rm -rf "$scratch"
# The root under which the host finds the folder it shows in place of the
# system's catalogue folder.
mkdir -p "$scratch/empty/vix/translations" "$scratch/policy"
cmake --install "$build" --prefix "$scratch/first" >/dev/null
mv "$scratch/first" "$scratch/moved"
library=$scratch/moved/$libdir/libvarnel-mac-qt$major.so.0
[ -f "$library" ] || fail "no $library"

# run LOCALE EXPECTED: the catalogue the host should find (library or none).
# Which locales find which catalogue is tst_startup's; here, that the
# installed layout is the one the library looks for.
status=0
env -u LANGUAGE LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 EXPECT_CATALOGUE=library STARTUP_CATALOGUE_ROOT="$scratch/empty" \
    "$host" which-catalogue "$library" || status=$?
[ "$status" -ne 77 ] || exit 77
[ "$status" -eq 0 ] || fail "the installed German catalogue was not found"
echo "ok: the host in German"

# The gallery's own texts and the library's, where the gallery is installed.
gallery=$scratch/moved/bin/varnel-gallery
[ -x "$gallery" ] || exit 0
mkdir -m 700 "$scratch/runtime"
fixed=/usr/share/vix/translations
set -- "$gallery" --window-texts
if [ -d "$fixed" ]; then
    hide="mount --bind \"$scratch/empty/vix/translations\" $fixed || exit 77"
    set -- unshare --user --map-root-user --mount sh -c "$hide; exec \"\$@\"" sh "$@"
fi
status=0
env -u LANGUAGE -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen \
    XDG_RUNTIME_DIR="$scratch/runtime" XDG_STATE_HOME="$scratch/runtime" VARNEL_STANDIN_DIR="$scratch/policy" \
    "$@" >"$scratch/gallery-texts" 2>"$scratch/gallery-errors" || status=$?
[ "$status" -ne 77 ] || exit 77
[ "$status" -eq 0 ] || { cat "$scratch/gallery-errors" >&2; fail "the gallery did not run"; }
for text in 'Anmeldedialog …' 'Ebene:'; do
    grep -qxF "$text" "$scratch/gallery-texts" || { cat "$scratch/gallery-texts" >&2; fail "the gallery lacks $text"; }
done
echo "ok: the gallery in German"
