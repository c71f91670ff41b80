#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Renders the window icon from its source, window/icons/velmora.svg, into the
# images the program is built with:
#   velmora.png  32 by 32, with transparency: the Qt edition's window icon;
#   velmora.ico  32 by 32, 256 colours with a transparency mask: the Windows
#                executable's and window's icon;
#   velmora-192.png, velmora-512.png  the web edition's icons, for its
#                manifest (a browser shows them when the page is installed);
#   velmora-16.png ... velmora-256.png  the sizes the Linux desktops' menus and
#                software centres show, for the hicolor icon theme.
# Needs ImageMagick, rsvg-convert (librsvg2-bin) and Python 3. Run it after changing the SVG, and commit
# the results.
set -eu
cd "$(dirname "$0")/../window/icons"
convert -background none velmora.svg -resize 32x32 -depth 8 PNG32:velmora.png

# ImageMagick picks the ICO's colour depth by the colour count; write the
# 8-bit ICO from the pixels instead.
convert velmora.png -channel RGB -colors 255 +channel -depth 8 rgba:- | python3 -c '
import struct, sys
size = 32
pixels = sys.stdin.buffer.read()
assert len(pixels) == size * size * 4
palette, indices, mask = [], bytearray(), bytearray()
for y in reversed(range(size)):  # bottom-up rows
    bits = 0
    for x in range(size):
        r, g, b, a = pixels[(y * size + x) * 4:(y * size + x) * 4 + 4]
        colour = (b, g, r, 0) if a >= 128 else (0, 0, 0, 0)
        if colour not in palette:
            palette.append(colour)
        indices.append(palette.index(colour))
        bits = bits << 1 | (a < 128)
    mask += bits.to_bytes(4, "big")
assert len(palette) <= 256
palette += [(0, 0, 0, 0)] * (256 - len(palette))
header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                     len(indices) + len(mask), 0, 0, 256, 0)
image = header + b"".join(bytes(c) for c in palette) + bytes(indices) + bytes(mask)
icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8,
                                                   len(image), 6 + 16) + image
open("velmora.ico", "wb").write(icon)
'
for size in 16 24 48 64 128 256 192 512; do
    rsvg-convert --width $size --height $size velmora.svg --output velmora-$size.png
done
echo "velmora.png, velmora.ico and velmora-SIZE.png made from velmora.svg"
