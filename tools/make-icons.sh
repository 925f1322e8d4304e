#!/usr/bin/env bash
# Renders resources/icons/saroko.svg into the PNG sizes of the desktop's hicolor icon theme
# (resources/icons/hicolor/NxN/apps/saroko.png, committed), the program's own window icon and
# the Windows icon (resources/icons/saroko.ico, committed).
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
# The Windows icon (the programs' resources, the setup program): an .ico of the PNGs as they
# are, which Windows reads since Vista. Width and height 0 stand for 256.
python3 - <<'PY'
import struct
from pathlib import Path
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [(s, Path(f"resources/icons/hicolor/{s}x{s}/apps/saroko.png").read_bytes()) for s in sizes]
out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
offset = 6 + 16 * len(images)
for size, png in images:
    out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
for _, png in images:
    out += png
Path("resources/icons/saroko.ico").write_bytes(out)
PY
