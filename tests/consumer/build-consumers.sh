#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds and runs programs outside the tree against an installed library, each
# way a program finds it: the CMake package, pkg-config, and qmake's module
# file (QT += varnelmacqt5, or varnelmacqt6), with a form compiled by uic
# through CMake and qmake; and loads the installed Designer plugin, if any.
# QT_MAJOR (5 unless given) says which of the library's flavours to use.
# No program gets a run-time search path from the library's files: each
# starts as the README says, under /usr as it is, in a prefix of its own with
# LD_LIBRARY_PATH naming the library's folder, or by the path CMake gives a
# program in its build tree.
# Usage: build-consumers.sh PREFIX SOURCE_DIR SCRATCH_DIR [VERSION [QT_MAJOR]]
set -eu
prefix=$1
source=$(cd "$2" && pwd)
scratch=$3
version=${4:-}
major=${5:-5}
fail() { echo "FAILED: $*" >&2; exit 1; }
library=varnel-mac-qt$major

pc=$(find "$prefix/lib" "$prefix/lib64" -maxdepth 3 -name "$library.pc" 2>/dev/null | head -n 1)
[ -n "$pc" ] || fail "no $library.pc under $prefix"
libdir=$(dirname "$(dirname "$pc")")
modules=$libdir/qt$major/mkspecs/modules
[ -f "$modules/qt_VarnelMacQt$major.pri" ] || fail "no qt_VarnelMacQt$major.pri in $modules"
for header in varnel-mac_version.h varnelmac_export.h varnel-mac-qt5_version.h varnelmacqt5_export.h \
    ../varnel-common-qt$major/varnelcommon_export.h ../varnel-common-qt$major/varnelcommonqt5_export.h; do
    [ -f "$prefix/include/$library/$header" ] || fail "no $header"
done
case $major in
5) qmake=qmake ;;
*) qmake=qmake$major ;;
esac

rm -rf "$scratch"
mkdir -p "$scratch"
# The built-in policy and a private state directory; a program starts as it
# is, or, in a prefix where the loader does not look, with LD_LIBRARY_PATH
# naming the library's folder and nothing else.
as_is() {
    env -u VARNEL_STANDIN_DIR -u LD_LIBRARY_PATH XDG_STATE_HOME="$scratch/state" QT_QPA_PLATFORM=offscreen "$@"
}
if [ "$(cd "$prefix" && pwd -P)" = /usr ]; then
    private=""
    run() { as_is "$@"; }
else
    private=yes
    run() { as_is env LD_LIBRARY_PATH="$libdir" "$@"; }
fi
# The program's run-time search path (RUNPATH or RPATH), folder by folder.
search_path() {
    readelf -d "$1" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*path: \[\(.*\)\]$/\2/p' | tr ':' '\n'
}
# A program built with the CMake package, pkg-config or qmake has none; only
# CMake gives a program in its build tree the folder of a library outside
# the loader's own.
check_no_search_path() {
    got=$(search_path "$1")
    if [ "$2" = cmake ] && [ -n "$private" ]; then
        [ -n "$got" ] && [ "$(echo "$got" | wc -l)" -eq 1 ] && [ -d "$got" ] \
            && [ "$(cd "$got" && pwd -P)" = "$(cd "$libdir" && pwd -P)" ] \
            || fail "$1 has the run-time search path '$got'; CMake's own to $libdir alone expected"
    else
        [ -z "$got" ] || fail "$1 has a run-time search path: $got"
    fi
}
# Runs a consumer that prints its version, and checks it.
run_versioned() {
    out=$("$3" "$1") || fail "$2 failed: $out"
    echo "$out"
    [ -z "$version" ] || echo "$out" | grep -qx "version: $version $version" \
        || fail "$2 reports another version than $version"
}

echo "== CMake"
cmake -S "$source" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" -DVARNEL_QT_MAJOR="$major" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
for program in consumer form-consumer; do
    check_no_search_path "$scratch/cmake/$program" cmake
done
run_versioned "$scratch/cmake/consumer" "the CMake consumer" as_is
as_is "$scratch/cmake/form-consumer"
plugin=$libdir/qt$major/plugins/designer/varnelmacqt${major}widgets.so
# Whether the plugin's own search path leads to the library's folder; the
# stand-in's folder alone, which it names in every build, does not.
finds_library() {
    runpath=$(readelf -d "$plugin" | sed -n 's/.*Library runpath: \[\(.*\)\]$/\1/p')
    origin=$(dirname "$plugin")
    wanted=$(cd "$libdir" && pwd -P)
    for entry in $(echo "$runpath" | tr ':' ' '); do
        folder=$(echo "$entry" | sed -e "s|\$ORIGIN|$origin|" -e "s|\${ORIGIN}|$origin|")
        [ -d "$folder" ] && [ "$(cd "$folder" && pwd -P)" = "$wanted" ] && return 0
    done
    return 1
}
if [ -f "$plugin" ]; then
    if finds_library; then
        # A plugin with a search path to the library must find it by that.
        as_is "$scratch/cmake/plugin-consumer" "$plugin"
    else
        # Built for the system's library folder, it relies on the loader's
        # own search, which a scratch prefix is not part of.
        run "$scratch/cmake/plugin-consumer" "$plugin"
    fi
fi

echo "== pkg-config"
export PKG_CONFIG_PATH="$(dirname "$pc")${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
[ -z "$version" ] || [ "$(pkg-config --modversion "$library")" = "$version" ] \
    || fail "pkg-config reports another version than $version"
mkdir -p "$scratch/pkg-config"
# shellcheck disable=SC2046 # the flags are meant to be split into words
${CXX:-c++} -std=c++17 -fPIC -o "$scratch/pkg-config/consumer" "$source/main.cpp" \
    $(pkg-config --cflags --libs "$library")
check_no_search_path "$scratch/pkg-config/consumer" pkg-config
run_versioned "$scratch/pkg-config/consumer" "the pkg-config consumer" run

echo "== qmake"
mkdir -p "$scratch/qmake"
(
    cd "$scratch/qmake"
    QMAKEMODULES=$modules "$qmake" "$source/form-consumer.pro" >/dev/null
    make >/dev/null
)
check_no_search_path "$scratch/qmake/form-consumer" qmake
run "$scratch/qmake/form-consumer"
echo "all consumers built and ran"
