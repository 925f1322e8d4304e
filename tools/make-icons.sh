#!/usr/bin/env bash
# Renders resources/icons/saroko.svg into the PNG sizes of the desktop's hicolor icon theme
# (resources/icons/hicolor/NxN/apps/saroko.png, committed) and the program's own window icon.
# Run it after a change to the SVG; the build itself needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends librsvg2-bin
fi
for size in 16 22 24 32 48 64 128 256; do
  dir=resources/icons/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  rsvg-convert -w "$size" -h "$size" -o "$dir/saroko.png" resources/icons/saroko.svg
done
cp resources/icons/hicolor/64x64/apps/saroko.png resources/saroko.png
