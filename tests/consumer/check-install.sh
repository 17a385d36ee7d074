#!/bin/sh
# Installs the built library into a scratch prefix, then builds and runs
# programs outside the tree against the installed files alone.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR [VERSION]
set -eu
build=$1
source=$2
scratch=$3
version=${4:-}
rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
test -f "$scratch/prefix/share/vix/translations/libvarnel-mac-qt5_de.qm"
test -f "$scratch/prefix/include/varnel-standin/varnel-standin.h"
"$source/build-consumers.sh" "$scratch/prefix" "$source" "$scratch/consumers" "$version"
