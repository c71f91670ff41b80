#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Installs velmora.msi silently in a fresh Wine prefix, starts the installed
# program, installs a later version made from the same template (in FOLDER,
# with its files) over it, and uninstalls; checks what is there after each.
#
#   check_installer.sh VELMORA.MSI FOLDER
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
[ -n "${DISPLAY:-}" ] || exec sh "$root/scripts/with-xvfb.sh" sh "$0" "$@"
msi="$(realpath "$1")"
work="$(mktemp -d)"
server="$(command -v wineserver || echo /usr/lib/wine/wineserver64)"
trap '"$server" -k 2>/dev/null || true; rm -rf "$work"' EXIT
# The desktop is $HOME's; no menu entries for the desktop of the machine.
export HOME="$work" WINEPREFIX="$work/prefix" WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wine="sh $root/scripts/wine-run.sh"
folder="$WINEPREFIX/drive_c/Program Files/Velmora"
failures=0
check() {  # check WHAT COMMAND...
    what="$1"; shift
    if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
property() { msiinfo export "$msi" Property | tr -d '\r' | awk -v name="$1" '$1 == name {print $2}'; }
# The desktop is $HOME under Wine 8, the user's own Desktop folder under Wine 10.
shortcuts() { echo "$(find "$work" -path '*/Start Menu/Programs/Velmora.lnk' | wc -l)$(find "$work" \
    -path "$work/Velmora.lnk" -o -path '*/Desktop/Velmora.lnk' | wc -l)"; }
entry() { $wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" /v DisplayVersion | grep -q "DisplayVersion .*$2"; }
upgraded() { entry "$next" 99.0.0 && ! entry "$code" . && test "$(find "$work" -name velmora.exe | wc -l)$(shortcuts)" = 111; }
gone() { test ! -e "$folder" -a "$(shortcuts)" = 00 && ! entry "$next" . && ! $wine reg query 'HKLM\Software\Velmora'; }
code="$(property ProductCode)"
version="$(property ProductVersion)"
next="{B83253AA-9BD8-40E4-8ADE-0D19F98B8065}"

$wine msiexec /i "$msi" /qn
check "installed: velmora.exe and its licences" test -f "$folder/velmora.exe" -a \
    -f "$folder/LICENSE.txt" -a -f "$folder/THIRD-PARTY-NOTICES.txt"
check "installed: a Start-menu and a desktop shortcut" test "$(shortcuts)" = 11
check "installed: Apps & features entry $code, $version" entry "$code" "$version"
check "the installed program's window" env PROGRAM="$folder/velmora.exe" LAUNCHER="$wine" \
    WINDOW_CLASS=velmora.exe VELMORA_IN_XVFB=1 sh "$root/scripts/screenshot.sh" "$work/window.png"
$wine taskkill /f /im velmora.exe >/dev/null 2>&1 || true
(cd "$2" && wixl -a x64 -D Version=99.0.0 -D ProductCode="$next" \
    -D PackageCode=B83253AA-9BD8-40E4-8ADE-0D19F98B8066 -o "$work/next.msi" velmora.wxs)
$wine msiexec /i "$work/next.msi" /qn
check "upgraded in place: 99.0.0's entry alone, the program and shortcuts once" upgraded
$wine msiexec /x "$work/next.msi" /qn
check "uninstalled: no folder, shortcut, entry or key left" gone
$wine msiexec /i "$msi" /qn DESKTOP_SHORTCUT=0
check "DESKTOP_SHORTCUT=0: the Start-menu shortcut alone" test "$(shortcuts)" = 10
[ "$failures" -eq 0 ] || { echo "installer: $failures failed"; exit 1; }
echo "installer: every check passed"
