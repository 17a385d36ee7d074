#!/bin/sh
# Installs the built library into a scratch prefix, then configures, builds and
# runs a program outside the tree against the installed package alone.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
set -eu
build=$1
source=$2
scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
test -f "$scratch/prefix/share/vix/translations/libvarnel-mac-qt5_de.qm"
test -f "$scratch/prefix/include/varnel-standin/varnel-standin.h"
cmake -S "$source" -B "$scratch/build" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/build" >/dev/null
# The built-in policy and a private state directory.
env -u VARNEL_STANDIN_DIR XDG_STATE_HOME="$scratch/state" QT_QPA_PLATFORM=offscreen \
    "$scratch/build/consumer"
