# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the Debian packages the build needs when any is missing.
# Sourced by the other scripts.
# qttranslations5-l10n: Qt's own catalogues, which the programs load and their
# tests read. dbus-daemon, at-spi2-core, xvfb and xauth: the test that reads
# the widgets through AT-SPI on a private session bus and X display.
varnel_packages="cmake make g++ pkgconf qtbase5-dev qttools5-dev qttools5-dev-tools fonts-dejavu-core
qttranslations5-l10n dbus-daemon at-spi2-core xvfb xauth"

varnel_install_packages() {
    missing=""
    for package in $varnel_packages "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' \
            || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run as root to install the packages, or install them yourself:$missing" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing >/dev/null
}
