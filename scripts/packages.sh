# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the Debian packages the build needs when any is missing.
# Sourced by the other scripts. VARNEL_QT_MAJOR (5 unless set; scripts/test
# sets it from its -DVARNEL_QT_MAJOR=...) says for which Qt major.
# qttranslations5-l10n, qt6-translations-l10n: Qt's own catalogues, which the
# programs load and their tests read. qt6-l10n-tools: Qt 6's lrelease and
# lupdate; qmake6: the qmake test of the installed library; libgl-dev: the
# OpenGL headers Qt 6's CMake package for Qt GUI looks for. dbus-daemon,
# at-spi2-core, xvfb and xauth: the test that reads the widgets through
# AT-SPI on a private session bus and X display.
varnel_packages="cmake make g++ pkgconf fonts-dejavu-core dbus-daemon at-spi2-core xvfb xauth"
varnel_qt5_packages="qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n"
varnel_qt6_packages="qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
qmake6 libgl-dev"

varnel_install_packages() {
    case ${VARNEL_QT_MAJOR:-5} in
    6) qt_packages=$varnel_qt6_packages ;;
    *) qt_packages=$varnel_qt5_packages ;;
    esac
    missing=""
    for package in $varnel_packages $qt_packages "$@"; do
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

# varnel_qt_major ARGUMENTS...: the Qt major that cmake arguments ask for
# (-DVARNEL_QT_MAJOR=6 or -DVARNEL_QT_MAJOR:STRING=6), 5 when none does.
varnel_qt_major() {
    qt_major=5
    for argument in "$@"; do
        case $argument in
        -DVARNEL_QT_MAJOR=* | -DVARNEL_QT_MAJOR:*=*) qt_major=${argument#*=} ;;
        esac
    done
    echo "$qt_major"
}
