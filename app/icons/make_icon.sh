#!/usr/bin/env bash
# Draws the program's icon with ImageMagick: a V under two radio waves, yellow and white on
# dark blue, plain enough to read at 16 pixels and for an operator with low vision. Writes
# varrowlog.png (256 pixels, for the Linux desktop) and varrowlog.ico (16 to 256 pixels, for
# the Windows program) beside this script; both are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"
navy='#12345a'
# The waves are rings cut to the quarter that faces up: the rest is painted over in the
# background colour before the V is drawn.
/usr/bin/convert -size 256x256 xc:none \
    -fill "$navy" -draw 'roundrectangle 8,8 247,247 40,40' \
    -fill white -draw 'circle 128,124 128,32' -fill "$navy" -draw 'circle 128,124 128,50' \
    -fill white -draw 'circle 128,124 128,66' -fill "$navy" -draw 'circle 128,124 128,84' \
    -draw 'polygon 128,124 36,32 24,32 24,224 232,224 232,32 220,32' \
    -fill '#ffd23f' -draw 'polygon 56,104 100,104 128,180 156,104 200,104 148,228 108,228' \
    varrowlog.png
/usr/bin/convert varrowlog.png -define icon:auto-resize=256,48,32,16 varrowlog.ico
