#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The manual pages the packages install say what the programs' --help says:
# every option, and the same exit statuses with the same occasions for them.
# Usage: check-manpages.sh MAN_DIR PROGRAM...
set -eu
man=$1
shift
fail() { echo "FAILED: $*" >&2; failed=yes; }
failed=no

for program in "$@"; do
    name=$(basename "$program")
    page="$man/$name.1"
    [ -f "$page" ] || { fail "$name: no manual page $page"; continue; }
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$program" --help 2>/dev/null) \
        || { fail "$name: --help failed"; continue; }
    # The page's text without roff's escapes and font requests.
    text=$(sed -e 's/\\f[BIRP]//g' -e 's/\\//g' -e 's/^\.[A-Z]* *//' "$page")

    for option in $(echo "$help" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        [ "$option" = --help-all ] && continue
        echo "$text" | grep -q -- "$option" || fail "$name: $option missing from the page"
    done

    # The exit statuses: the help's paragraph after "Exit status:" and the
    # page's EXIT STATUS section, each as its list of numbers.
    help_exit=$(echo "$help" | sed -n '/Exit status:/,/^$/p' | tr '\n' ' ')
    page_exit=$(echo "$text" | sed -n '/^EXIT STATUS/,/^[A-Z][A-Z ]*$/p' | sed '1d;$d' | tr '\n' ' ')
    codes() { echo "$1" | grep -o '\b[0-9]\( on\| when\)' | cut -c1 | sort -u | tr '\n' ' '; }
    [ "$(codes "$help_exit")" = "$(codes "$page_exit")" ] \
        || fail "$name: exit statuses '$(codes "$help_exit")' in --help, '$(codes "$page_exit")' on the page"
    for word in display label; do
        if echo "$help_exit" | grep -qi "$word" && ! echo "$page_exit" | grep -qi "$word"; then
            fail "$name: the page's EXIT STATUS leaves out the case of '$word' that --help names"
        fi
    done
done
[ $failed = no ] || exit 1
echo "manual pages agree with --help"
