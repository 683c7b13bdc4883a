#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows program icon from the scalable artwork: one picture for each
# size Windows asks for (list views, title bars, the taskbar at 100 to 250 %,
# Explorer's large views), each drawn from the SVG at its own size rather than
# scaled from another picture. ImageMagick stores the 256-pixel one as PNG.
# Usage: scripts/make-windows-icon.sh ARTWORK.svg OUTPUT.ico
set -eu
artwork=$1
output=$2
artwork_size=48 # the SVG's own width and height, at 96 dpi
sizes="16 20 24 32 40 48 64 128 256"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures=""
for size in $sizes; do
    # Drawn at a density that gives the size directly, so that no picture is
    # a blurred enlargement.
    density=$((96 * size / artwork_size))
    convert -background none -density "$density" "$artwork" -resize "${size}x${size}" \
        "PNG32:$work/$size.png"
    pictures="$pictures $work/$size.png"
done
# shellcheck disable=SC2086 # one argument per picture
convert $pictures "ICO:$output.part"
mv "$output.part" "$output"
