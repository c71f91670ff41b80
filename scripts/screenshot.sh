#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Starts the built program on a virtual X display (Xvfb), waits for its
# window and saves a picture of it.
#
#   scripts/screenshot.sh [OUTPUT.png] [SCALE]
#
# OUTPUT.png defaults to docs/velmora-qt.png; SCALE, the screen's device
# pixel ratio, to 1. PROGRAM names another executable (default
# build/window/velmora), LAUNCHER a command to start it with (such as
# "sh scripts/wine-run.sh"), WINDOW_CLASS the X class of its window (default
# velmora). WINDOW_PROPERTIES names a file for what the window manager reads
# of the window (xprop), such as its title. KEYS names keys to press in the
# window before the picture, in xdotool's names (such as "Tab Tab" or
# "shift+Tab"). Needs Xvfb, xwininfo, xprop and ImageMagick's import, and
# xdotool for KEYS.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
output="${1:-$root/docs/velmora-qt.png}"
scale="${2:-1}"
program="${PROGRAM:-$root/build/window/velmora}"
launcher="${LAUNCHER:-}"
class="${WINDOW_CLASS:-velmora}"
mkdir -p "$(dirname "$output")"

if [ -z "${VELMORA_IN_XVFB:-}" ]; then
    VELMORA_IN_XVFB=1 exec sh "$root/scripts/with-xvfb.sh" "$0" "$output" "$scale"
fi

# shellcheck disable=SC2086
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" VELMORA_SCALE="$scale" $launcher "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The window is a shown top-level one of the program's class, of a window's
# size (a toolkit may keep hidden helper windows of the same class).
find_window() {
    for id in $(xwininfo -root -tree 2>/dev/null \
                | awk -v class="(\"$class\" " 'index($0, class) {print $1}'); do
        details="$(xwininfo -id "$id" 2>/dev/null)" || continue
        echo "$details" | grep -q "IsViewable" || continue
        width="$(echo "$details" | awk '/Width:/ {print $2}')"
        [ "${width:-0}" -ge 100 ] && { echo "$id"; return; }
    done
}
window=""
for _ in $(seq 1 600); do
    window="$(find_window)"
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "screenshot: the program ended before its window appeared" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "screenshot: the window did not appear" >&2
    exit 1
fi
if [ -n "${KEYS:-}" ]; then
    xdotool windowfocus --sync "$window"  # there is no window manager to give it
    for key in $KEYS; do
        sleep 0.5
        xdotool key --clearmodifiers "$key"
    done
fi
# Pictures until two in a row agree: the window has finished painting.
rm -f "$output"
previous="$output.previous.png"
for _ in $(seq 1 40); do
    sleep 0.25
    import -window "$window" "$output" 2>/dev/null || continue
    if [ -f "$previous" ] && compare -metric AE "$output" "$previous" null: 2>/dev/null; then
        break
    fi
    cp "$output" "$previous"
done
rm -f "$previous"
if [ -n "${WINDOW_PROPERTIES:-}" ]; then
    LC_ALL=C.UTF-8 xprop -id "$window" WM_NAME _NET_WM_NAME WM_CLIENT_LEADER >"$WINDOW_PROPERTIES"
fi
[ -f "$output" ] || { echo "screenshot: the window could not be read" >&2; exit 1; }
echo "$output"
