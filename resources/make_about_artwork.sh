#!/usr/bin/env bash
# Draws the about box's background into images/, as a 24-bit PNG file; its button faces are
# drawn by the program at the screen's pixel ratio (about/AboutButtonFace.cpp).
# Needs ImageMagick and the Liberation fonts (apt-get install imagemagick fonts-liberation).
set -euo pipefail
cd "$(dirname "$0")/images"

# A dark night sky: a deep blue plasma with faint stars.
convert -size 629x405 -seed 11 plasma:'#000010-#102040' -blur 0x3 -modulate 45,80 \
    \( -size 629x405 xc:black -seed 12 +noise Random -channel G -threshold 99.7% -separate +channel \
       -blur 0x0.6 -evaluate multiply 0.8 \) -compose screen -composite \
    -type TrueColor PNG24:about_background.png
