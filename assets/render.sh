#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Re-makes every picture, icon and sound in this folder from the sources in src/.
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert, python3 and the
# IPAPGothic font (fonts-ipafont-gothic) for the mascot's word.
set -euo pipefail
cd "$(dirname "$0")"

for tool in rsvg-convert convert python3; do
  command -v "$tool" >/dev/null || { echo "render.sh: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p pictures/icons sounds

# Window icon: a 32-pixel rendering, turned into a 24-bit .ico with a mask.
rsvg-convert -w 32 -h 32 src/frog.svg -o "$work/frog-32.png"
python3 -B src/make_icon.py "$work/frog-32.png" pictures/frog.ico

# The same frog for the desktop's icon theme.
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" src/frog.svg -o "pictures/icons/rovedavu-$size.png"
done

# Pictures: each SVG is drawn at its own pixel size, then saved as JPEG
# without metadata, so that the same sources give the same files.
jpeg() { # name quality
  rsvg-convert "src/$1.svg" -o "$work/$1.png"
  convert "$work/$1.png" -background white -flatten -strip -quality "$2" "pictures/$1.jpg"
}
jpeg praise 85
jpeg crest 90
jpeg logo 90
jpeg mascot 90

# Cue sounds.
python3 -B src/make_sounds.py sounds

python3 -B src/test_assets.py
