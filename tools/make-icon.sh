#!/usr/bin/env bash
# make-icon.sh [OUT]: draws Tavolin's icon (a disc cartridge: a dark square
# with a silver disc, its hub and a shutter) with ImageMagick at 16, 32 and
# 48 pixels and writes them as one .ico (default app/tavolin.ico). The icon
# is committed; run this only to change it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/app/tavolin.ico}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# Drawn once at 96 pixels and scaled down for each size.
convert -size 96x96 xc:none \
  -fill '#20304a' -draw 'roundrectangle 4,4 91,91 10,10' \
  -fill '#c8ccd4' -draw 'circle 48,50 48,12' \
  -fill '#20304a' -draw 'circle 48,50 48,38' \
  -fill '#e8a020' -draw 'rectangle 30,4 66,26' \
  -fill '#20304a' -draw 'rectangle 40,9 48,21' \
  "$tmp/big.png"
for s in 16 32 48; do convert "$tmp/big.png" -resize ${s}x${s} "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$out"
echo "$out"
