#!/bin/sh
# Renders the window icon from its source, window/icons/velmora.svg, into the
# image the program is built with: a 32 by 32 PNG, the window icon.
# Needs ImageMagick. Run it after changing the SVG, and commit the results.
set -eu
cd "$(dirname "$0")/../window/icons"
convert -background none velmora.svg -resize 32x32 -depth 8 PNG32:velmora.png
echo "velmora.png made from velmora.svg"
