#!/usr/bin/env bash
# Renders the program's icon from its SVG to the PNG sizes that are kept beside it. Run after
# changing the SVG, and commit the PNGs with it (the build does not need the renderer).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "org.mr3x.Master-$size.png" org.mr3x.Master.svg
done
