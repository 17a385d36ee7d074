#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The API documentation builds without a single Doxygen warning whatever
# pictures docs/pics holds, and shows exactly the pictures that exist: in the
# main page's gallery and on their classes' pages.
# Usage: check-docs.sh CMAKE DOXYGEN SOURCE_DIR SCRATCH_DIR
set -eu
cmake=$1
doxygen=$2
source=$3
scratch=$4
fail() { echo "FAILED: $*" >&2; exit 1; }

all="gallery maclevelcombobox ilevelcombobox maccategorylistwidget maccategorycombobox
maccategorypushbutton maccategorywidget maccategoryfilteredit mactypecombobox loginmaclabelwidget loginmaclabeldialog
loginmaclabeldialog-themed filemaclabelwidget varnel-file-label"

# The page on which a picture of a class shows; none for the programs' pictures.
page_of() {
    case $1 in
    gallery | varnel-file-label) echo "" ;;
    ilevelcombobox) echo classVarnelQt5_1_1ILevelComboBox.html ;;
    maclevelcombobox) echo classVarnelQt5_1_1MacLevelComboBox.html ;;
    maccategorylistwidget) echo classVarnelQt5_1_1MacCategoryListWidget.html ;;
    maccategorycombobox) echo classVarnelQt5_1_1MacCategoryComboBox.html ;;
    maccategorypushbutton) echo classVarnelQt5_1_1MacCategoryPushButton.html ;;
    maccategorywidget) echo classVarnelQt5_1_1MacCategoryWidget.html ;;
    maccategoryfilteredit) echo classVarnelQt5_1_1MacCategoryFilterEdit.html ;;
    mactypecombobox) echo classVarnelQt5_1_1MacTypeComboBox.html ;;
    loginmaclabelwidget) echo classVarnelQt5_1_1LoginMacLabelWidget.html ;;
    loginmaclabeldialog*) echo classVarnelQt5_1_1LoginMacLabelDialog.html ;;
    filemaclabelwidget) echo classVarnelQt5_1_1FileMacLabelWidget.html ;;
    *) fail "no page known for $1" ;;
    esac
}

# check NAME PICTURES...: builds the pages over a copy of the tree whose
# docs/pics holds the named pictures, then checks where pictures show.
check() {
    name=$1
    shift
    tree="$scratch/$name"
    rm -rf "$tree"
    mkdir -p "$tree/docs/pics"
    ln -s "$source/include" "$tree/include"
    cp "$source/docs/Doxyfile.in" "$source/docs/mainpage.dox.in" "$tree/docs/"
    for picture in "$@"; do
        # A 1x1 PNG: the pages only refer to the file.
        echo 'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==' \
            | base64 -d > "$tree/docs/pics/$picture.png"
    done
    [ $# -gt 0 ] || rmdir "$tree/docs/pics"

    "$cmake" -DVARNEL_DOCS_SOURCE="$tree" -DVARNEL_DOCS_OUTPUT="$tree/out" \
        -DVARNEL_DOCS_VERSION=0.0.0 -DVARNEL_DOCS_WERROR=ON \
        -P "$source/cmake/VarnelDocs.cmake" || fail "$name: generating the configuration"
    (cd "$tree/out" && "$doxygen" generated/Doxyfile) || fail "$name: Doxygen warned or failed"

    html="$tree/out/html"
    [ -f "$html/index.html" ] || fail "$name: no main page"
    for picture in $all; do
        present=no
        for wanted in "$@"; do
            [ "$wanted" = "$picture" ] && present=yes
        done
        page=$(page_of "$picture")
        if [ $present = yes ]; then
            grep -q "<img src=\"$picture.png\"" "$html/index.html" \
                || fail "$name: $picture missing from the gallery"
            [ -f "$html/$picture.png" ] || fail "$name: $picture not copied to the pages"
            if [ -n "$page" ]; then
                grep -q "<img src=\"$picture.png\"" "$html/$page" || fail "$name: $picture missing from $page"
            fi
        else
            ! grep -q "$picture.png" "$html/index.html" || fail "$name: gallery shows the absent $picture"
            if [ -n "$page" ]; then
                ! grep -q "\"$picture.png\"" "$html/$page" || fail "$name: $page shows the absent $picture"
            fi
        fi
    done
    if [ $# -eq 0 ]; then
        ! grep -q 'Gallery' "$html/index.html" || fail "$name: an empty gallery section"
    fi
    echo "$name: ok"
}

check no-pictures
# The plain and the themed dialog are told apart, and a class without its
# picture stays without one beside classes that have theirs.
check some-pictures gallery maclevelcombobox loginmaclabeldialog-themed varnel-file-label
# shellcheck disable=SC2086
check all-pictures $all
