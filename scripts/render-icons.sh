#!/usr/bin/env bash
# Renders the hicolor PNG icons from the scalable one. The PNGs are committed,
# so the build needs no SVG renderer; run this again after changing the SVG:
#
#   bash scripts/render-icons.sh      (needs rsvg-convert: apt-get install librsvg2-bin)
set -euo pipefail
cd "$(dirname "$0")/../resources/icons/hicolor"
for size in 16 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" scalable/apps/letterwell.svg -o "${size}x${size}/apps/letterwell.png"
done
