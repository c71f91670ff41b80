#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Checks that the release files are the same bytes from every build: makes
# the release of the commit checked out twice, in two fresh clones in two
# folders of different paths, one after the other and with a different
# umask, time zone and language, then compares the two dist/ folders file by
# file, the Windows Installer package too (wixl writes the time of the build
# and random codes unless told otherwise: window/CMakeLists.txt tells it).
# Where files differ, diffoscope shows where, and msidiff (msitools) in the
# installer's tables.
#
#   scripts/check-reproducible.sh [OTHER_DIST]
#
# OTHER_DIST, a dist/ folder made elsewhere (another machine, another
# system), is compared with the first build as well. Exits with 1 if any
# file differs.
set -eu
top="$(git rev-parse --show-toplevel)"
sh "$top/scripts/install-deps.sh" build windows web package release reproducible
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

build() {  # build FOLDER: a fresh clone of HEAD, released
    git clone -q --no-hardlinks "$top" "$1"
    git -C "$1" checkout -q "$(git -C "$top" rev-parse HEAD)"
    (cd "$1" && make --no-print-directory release >"$1.log" 2>&1) || { tail -n 30 "$1.log"; exit 1; }
    echo "built in $1"
}
build "$work/first"
(umask 002 && export TZ=Pacific/Kiritimati LANG=bg_BG.UTF-8 && build "$work/second/a/longer/path/velmora")

differences=0
compare() {  # compare DIST_A DIST_B
    for file in $( (ls "$1" && ls "$2") | sort -u); do
        if ! cmp -s "$1/$file" "$2/$file"; then
            differences=$((differences + 1))
            echo "DIFFERS: $file ($1, $2)"
            [ -f "$1/$file" ] && [ -f "$2/$file" ] && diffoscope --text - "$1/$file" "$2/$file" | head -n 200
            case "$file" in *.msi)  # msidiff leaves the streams it reads in its folder
                (a="$(realpath "$1/$file")" b="$(realpath "$2/$file")" && cd "$work" && msidiff "$a" "$b" | head -n 100) ;;
            esac
        fi
    done
}
compare "$work/first/dist" "$work/second/a/longer/path/velmora/dist"
[ "$#" -eq 0 ] || compare "$work/first/dist" "$1"

echo
(cd "$work/first/dist" && cat SHA256SUMS)
if [ "$differences" -eq 0 ]; then
    echo "reproducible: every file the same in ${1:+three and }two builds"
else
    echo "reproducible: $differences files differ"
    exit 1
fi
