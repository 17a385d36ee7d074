#!/bin/sh

# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Renders the widget box icons of the Designer plugin from their drawings.
# Needs rsvg-convert (librsvg2-bin). Usage: designer/icons/render.sh
set -eu
cd "$(dirname "$0")"
for drawing in *.svg; do
    rsvg-convert -w 22 -h 22 -o "${drawing%.svg}.png" "$drawing"
done
