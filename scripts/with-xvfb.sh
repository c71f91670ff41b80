#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Runs a command on a virtual X display of its own and stops the display
# afterwards, waiting until the server has gone, so that a display started
# right after this one never meets the remains of it. The server does not
# reset when its last client leaves: a program that connects while a short
# helper (xwininfo, import) is leaving would otherwise be turned away.
#
#   scripts/with-xvfb.sh COMMAND [ARGUMENT...]
#
# The X server picks a free display number itself (-displayfd) and says it
# only once it accepts connections. Needs Xvfb (package xvfb).
set -eu
work="$(mktemp -d)"
server=""
stop() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/log" &
server=$!
for _ in $(seq 1 300); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$server" 2>/dev/null; then
        echo "with-xvfb: Xvfb did not start:" >&2
        cat "$work/log" >&2
        exit 1
    fi
    sleep 0.1
done
display="$(tr -d '[:space:]' <"$work/display")"
if [ -z "$display" ]; then
    echo "with-xvfb: Xvfb gave no display within 30 seconds" >&2
    exit 1
fi

status=0
DISPLAY=":$display" "$@" || status=$?
exit "$status"
