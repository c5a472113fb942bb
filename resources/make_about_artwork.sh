#!/usr/bin/env bash
# Draws the about box's background and its three button faces into images/, as 24-bit PNG files.
# Needs ImageMagick and the Liberation fonts (apt-get install imagemagick fonts-liberation).
set -euo pipefail
cd "$(dirname "$0")/images"

# A dark night sky: a deep blue plasma with faint stars.
convert -size 629x405 -seed 11 plasma:'#000010-#102040' -blur 0x3 -modulate 45,80 \
    \( -size 629x405 xc:black -seed 12 +noise Random -channel G -threshold 99.7% -separate +channel \
       -blur 0x0.6 -evaluate multiply 0.8 \) -compose screen -composite \
    -type TrueColor PNG24:about_background.png

# Faces: a rounded grey plate with black text on a white surround, which is cut out as transparent.
# Arguments: file, text, horizontal text offset, then any further drawing.
face() {
    local name=$1 text=$2 offset=$3
    shift 3
    convert -size 108x25 xc:white -fill '#b4b4b4' -stroke '#606060' -draw 'roundrectangle 1,1 106,23 9,9' \
        -stroke none -fill black -font Liberation-Sans-Bold -pointsize 13 -gravity center \
        -annotate +"$offset"+0 "$text" "$@" -type TrueColor PNG24:"$name"
}
face about_close.png "Close" 0
face about_homepage.png "Homepage" 0
# The envelope: a small outlined rectangle with its flap, left of the word.
face about_email.png "Email" 9 -gravity northwest -fill none -stroke black -strokewidth 1 \
    -draw 'rectangle 18,7 34,17' -draw 'polyline 18,7 26,13 34,7'
