#!/bin/sh
# Renders the PNG sizes of the icon from velmaro.svg (needs librsvg2-bin):
#   sh packaging/icons/render.sh
set -eu
cd "$(dirname "$0")"
for size in 48 128 256; do
    rsvg-convert -w "$size" -h "$size" velmaro.svg -o "velmaro-$size.png"
done
