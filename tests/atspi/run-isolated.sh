#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Runs a program on a private session bus and a private X display, with a
# runtime directory of its own, so that the accessibility bus it starts
# (whose socket lives there) is never another session's.
# Usage: run-isolated.sh PROGRAM [ARGUMENTS...]
set -eu
for tool in dbus-run-session xvfb-run xauth; do
    command -v "$tool" >/dev/null 2>&1 \
        || { echo "FAILED: $tool is missing: install dbus-daemon, at-spi2-core, xvfb and xauth" >&2; exit 1; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] \
    || { echo "FAILED: at-spi-bus-launcher is missing: install at-spi2-core" >&2; exit 1; }
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# Without "exec", so that the trap removes the directory afterwards.
dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" "$@"
