#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the window's pictures with ImageMagick. The PNGs are kept in the
# repository; run this only to change them.
#   1 lyrics filtered   2 alert   3 lyrics not filtered   4 newer tag version
#   5 one match   and the window icon (and its larger sizes for the desktop)
set -e
cd "$(dirname "$0")"

# A sheet of lyrics with three lines of text; the rest of the arguments draw on it.
lyrics_page() {
    output=$1
    shift
    convert -size 16x16 xc:none \
        -fill '#ffffff' -stroke '#5a5a5a' -strokewidth 1 \
        -draw 'polygon 2.5,0.5 10.5,0.5 13.5,3.5 13.5,15.5 2.5,15.5' \
        -stroke '#8c8c8c' -draw 'line 4.5,4.5 10.5,4.5' -draw 'line 4.5,7.5 11.5,7.5' \
        -draw 'line 4.5,10.5 8.5,10.5' \
        "$@" -strip "$output"
}

lyrics_page 1.png -stroke '#1e8c2a' -strokewidth 2 -fill none -draw 'polyline 8,12 10.5,14.5 15,9'

convert -size 16x16 xc:none \
    -fill '#f6c21c' -stroke '#8a6200' -strokewidth 1 -draw 'polygon 8,1 15.5,14.5 0.5,14.5' \
    -stroke none -fill '#000000' -draw 'rectangle 7,5 8,10' -draw 'rectangle 7,12 8,13' \
    -strip 2.png

lyrics_page 3.png -stroke '#a04000' -strokewidth 1 -fill '#ff8a1c' -draw 'circle 11.5,12.5 11.5,9.5'

convert -size 16x16 xc:none \
    -fill '#d42020' -stroke '#801010' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,0.5' \
    -stroke none -fill '#ffffff' -draw 'rectangle 3,6 12,9' \
    -strip 4.png

convert -size 16x16 xc:none \
    -fill '#2060c0' -stroke '#2060c0' -strokewidth 1 \
    -draw 'ellipse 4.5,12.5 3,2.2 0,360' -draw 'ellipse 11.5,10.5 3,2.2 0,360' \
    -draw 'rectangle 6.5,2.5 7.5,12.5' -draw 'rectangle 13.5,1 14.5,10.5' \
    -draw 'polygon 6.5,2.5 14.5,0.5 14.5,3.5 6.5,5.5' \
    -strip 5.png

convert -size 48x48 xc:none \
    -fill '#ffffff' -stroke '#4a4a4a' -strokewidth 2 -draw 'polygon 6,2 32,2 42,12 42,46 6,46' \
    -stroke '#9a9a9a' -strokewidth 2 -draw 'line 12,12 30,12' -draw 'line 12,18 34,18' \
    -draw 'line 12,24 24,24' \
    -fill '#2060c0' -stroke '#2060c0' -strokewidth 1 \
    -draw 'ellipse 19,39 6,4.5 0,360' -draw 'ellipse 35,35 6,4.5 0,360' \
    -draw 'rectangle 23,22 25,39' -draw 'rectangle 39,18 41,35' \
    -draw 'polygon 23,22 41,17 41,22 23,27' \
    -strip versemark.png

# The icon in the sizes software centres use, drawn from the scalable icon, which
# has the shapes of the 48-pixel one above.
icons=../../../data/icons/hicolor
for size in 64 128 256; do
    mkdir -p "$icons/${size}x$size/apps"
    convert -background none -density $((96 * size / 48)) "$icons/scalable/apps/versemark.svg" \
        -resize "${size}x$size" -depth 8 -strip "$icons/${size}x$size/apps/versemark.png"
done
