#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine, on a virtual X display when there is no
# display. Its Wine prefix lives in WINEPREFIX (default: a folder of the
# user's cache), made on first use. VELMORA_SCALE sets the screen's scale
# (1: 96 dots per inch, 2: 192) for this and later runs in that prefix.
#
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
set -eu
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"  # no .NET or browser prompts

if [ -z "${DISPLAY:-}" ]; then
    exec sh "$(dirname "$0")/with-xvfb.sh" "$0" "$@"
fi

if command -v wine >/dev/null 2>&1; then
    wine=wine
elif [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
else
    echo "wine-run: Wine is not installed (scripts/install-deps.sh windows)" >&2
    exit 1
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
fi
if [ -n "${VELMORA_SCALE:-}" ]; then
    "$wine" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD \
        /d $((96 * VELMORA_SCALE)) /f >/dev/null 2>&1
    # Wine 10's server writes the setting back lazily; a program started
    # before it has would still see the previous scale.
    wineserver -w 2>/dev/null || true
fi
status=0
"$wine" "$@" || status=$?
exit "$status"
