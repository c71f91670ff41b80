#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Starts the real program on a virtual X display, takes a picture of its
# window at each of the given device pixel ratios (default: 1 and 2), and
# checks the title that the window manager reads, the window's size and the
# colours of its background, labels and buttons.
#
#   check_window_colours.sh SCREENSHOT_SCRIPT [SCALE...]
#
# PROGRAM, LAUNCHER and WINDOW_CLASS go to the screenshot script.
set -eu
screenshot="$1"
shift
[ "$#" -gt 0 ] || set -- 1 2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
title="https://velmora.example Математика - двойки числа с равни суми"

pixel() {  # pixel IMAGE X Y -> srgb(r,g,b)
    convert "$1" -format "%[pixel:p{$2,$3}]" info: | sed 's/srgba\(([0-9]*,[0-9]*,[0-9]*\),1)/srgb\1)/'
}

expect() {  # expect IMAGE SCALE X Y COLOUR WHAT   (X, Y in pixels at 96 dpi)
    actual="$(pixel "$1" $(($3 * $2)) $(($4 * $2)))"
    if [ "$actual" = "$5" ]; then
        echo "ok   scale $2: $6 is $5"
    else
        echo "FAIL scale $2: $6 is $actual, expected $5"
        failures=$((failures + 1))
    fi
}

check_title() {  # check_title SCALE PROPERTY   (in $work/properties)
    actual="$(sed -n "s/^$2([A-Z_0-9]*) = \"\(.*\)\"\$/\1/p" "$work/properties")"
    if [ "$actual" = "$title" ]; then
        echo "ok   scale $1: $2 is the title"
    else
        echo "FAIL scale $1: $2 is \"$actual\", expected \"$title\""
        failures=$((failures + 1))
    fi
}

for scale in "$@"; do
    image="$work/window-$scale.png"
    WINDOW_PROPERTIES="$work/properties" sh "$screenshot" "$image" "$scale" >/dev/null
    check_title "$scale" _NET_WM_NAME
    check_title "$scale" WM_NAME
    size="$(identify -format "%wx%h" "$image")"
    if [ "$size" = "$((461 * scale))x$((315 * scale))" ]; then
        echo "ok   scale $scale: window is $size"
    else
        echo "FAIL scale $scale: window is $size"
        failures=$((failures + 1))
    fi
    expect "$image" "$scale" 4 100 "srgb(192,192,255)" "the background"
    expect "$image" "$scale" 450 170 "srgb(192,192,255)" "the background at the right"
    expect "$image" "$scale" 68 4 "srgb(255,192,128)" "the title label"
    expect "$image" "$scale" 44 44 "srgb(255,192,128)" "the label Числа"
    expect "$image" "$scale" 165 69 "srgb(0,255,0)" "Въведи"
    expect "$image" "$scale" 165 109 "srgb(255,0,255)" "Изведи"
    expect "$image" "$scale" 165 149 "srgb(255,0,0)" "Изчисти"
    expect "$image" "$scale" 250 124 "srgb(255,0,255)" "Изведи at its right"
done

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "window colours: all checks passed"
