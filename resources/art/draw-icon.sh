#!/usr/bin/env bash
# Draws the program icon (resources/wyndo.ico) with ImageMagick: a window with a blue title bar
# under the finder's orange cross-hair. Run from anywhere; the output is committed, so the build
# needs no ImageMagick.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn at 256 pixels and scaled down, so every size comes from the same geometry.
convert -size 256x256 xc:none \
  -fill '#1b3a6b' -stroke '#0e2444' -strokewidth 6 -draw 'roundrectangle 18,30 214,206 18,18' \
  -fill '#f4f7fb' -stroke none -draw 'rectangle 30,72 202,194' \
  -fill '#3f7fd6' -draw 'rectangle 30,42 202,68' \
  -fill '#ffffff' -draw 'circle 186,55 186,48' -draw 'circle 164,55 164,48' \
  -fill '#c9d6e8' -draw 'rectangle 44,90 120,100' -draw 'rectangle 44,112 150,122' -draw 'rectangle 44,134 104,144' \
  -fill 'rgba(255,140,26,0.18)' -stroke '#ff8c1a' -strokewidth 14 -draw 'circle 168,170 168,114' \
  -stroke '#ff8c1a' -strokewidth 12 -draw 'line 168,96 168,244' -draw 'line 94,170 242,170' \
  -fill '#ff8c1a' -stroke none -draw 'circle 168,170 168,160' \
  "$work/master.png"

for size in 48 32 16; do
  convert "$work/master.png" -filter Lanczos -resize ${size}x${size} -unsharp 0x0.6 "$work/icon$size.png"
done
convert "$work/icon48.png" "$work/icon32.png" "$work/icon16.png" "$out/wyndo.ico"
echo "wrote $out/wyndo.ico"
