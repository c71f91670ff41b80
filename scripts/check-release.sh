#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Checks the release files in a folder with each platform's own checkers, as
# their maintainers and reviewers do, and that every file carries the
# licences. make release runs it on what it has just made: every check runs,
# and any fault found stops the release.
#
#   scripts/check-release.sh DIST VERSION
#
#   the Debian package   lintian (no error, no warning), hardening-check,
#                        appstreamcli validate --pedantic (no error, no
#                        warning), desktop-file-validate
#   the Windows program  its header: address-space randomisation (also
#                        above 4 GB) and non-executable data
#   the Windows Installer package
#                        msiinfo: its summary (Velmora VERSION, x64, English),
#                        the properties of a per-machine install with its
#                        entry in "Apps & features", its folder in Program
#                        Files, its upgrades; msiextract: the program in it is
#                        the Windows program
#   the web zip          its entries in sorted order
#   the web folder, the one-file page, the Windows program, the installer
#   package and the Debian package
#                        Velmora's licence and the others' notices inside
set -eu
dist="$1"
version="$2"
deb="$dist/velmora_${version}_amd64.deb"
exe="$dist/velmora-$version-win64.exe"
msi="$dist/velmora-$version-win64.msi"
zip="$dist/velmora-$version-web.zip"
page="$dist/velmora-$version.html"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
ok() { echo "ok   $1"; }

# The Debian package.
lintian --info --pedantic "$deb" >"$work/lintian.txt" 2>&1 || true
if grep -q '^[EW]:' "$work/lintian.txt"; then
    fail "lintian $(lintian --version | cut -d' ' -f2):"
    grep '^[EW]:' "$work/lintian.txt"
else
    ok "lintian $(lintian --version | cut -d' ' -f2): no error, no warning; $(grep -c '^[IP]:' "$work/lintian.txt") notes"
fi
sed -n 's/^\([IP]\): /     \1: /p' "$work/lintian.txt"
dpkg-deb -x "$deb" "$work/root"
hardening-check "$work/root/usr/bin/velmora" >"$work/hardening.txt" || true
# Where the C library's start files carry no control-flow protection
# (Debian 12's and 13's), the linker cannot mark the program as protected, though the
# compiler put the protection into Velmora's own code.
start=/usr/lib/x86_64-linux-gnu/Scrt1.o
for feature in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
               "Read-only relocations" "Immediate binding" "Control flow integrity"; do
    answer="$(sed -n "s/^ $feature: //p" "$work/hardening.txt")"
    if [ "${answer%%[ ,]*}" = yes ]; then
        ok "hardening: $feature"
    elif [ "$feature" = "Control flow integrity" ] && ! readelf -n "$start" | grep -q "x86 feature: IBT" &&
        objdump -d "$work/root/usr/bin/velmora" | grep -q endbr64; then
        ok "hardening: $feature in Velmora's own code; $start has none, so the program is not marked"
    else
        fail "hardening: $feature: $answer"
    fi
done
for metainfo in "$work"/root/usr/share/metainfo/*.xml; do
    appstreamcli validate --pedantic --no-net --no-color "$metainfo" >"$work/appstream.txt" 2>&1 || true
    if grep -q '^[EW]:' "$work/appstream.txt" || ! grep -q 'Validation was successful' "$work/appstream.txt"; then
        fail "appstreamcli $(appstreamcli --version | sed 's/.* //'):"; cat "$work/appstream.txt"
    else
        ok "appstreamcli $(appstreamcli --version | sed 's/.* //'): $(tail -n 1 "$work/appstream.txt" | sed 's/^.*successful: *//')"
        sed -n 's/^\([IP]\): /     \1: /p' "$work/appstream.txt"
    fi
done
desktop-file-validate "$work"/root/usr/share/applications/*.desktop && ok "desktop-file-validate" ||
    fail "desktop-file-validate"

# The Windows program's header: DllCharacteristics.
flags="$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/^DllCharacteristics/ {print $2}')"
for bit in "20 high-entropy address-space randomisation" "40 address-space randomisation" \
           "100 non-executable data"; do
    if [ $((0x$flags & 0x${bit%% *})) -ne 0 ]; then ok "Windows: ${bit#* }"; else fail "Windows: no ${bit#* }"; fi
done

# The Windows Installer package: its summary, its tables, its files.
msiinfo suminfo "$msi" >"$work/msi-summary.txt"
for table in Property Directory Upgrade LaunchCondition Shortcut; do
    msiinfo export "$msi" "$table" | tr -d '\r' >>"$work/msi-tables.txt"
done
msi_version="$(echo "$version" | awk -F. '{printf "%d.%d.0", $1, $2}')"  # 1.01: 1.1.0
tab="$(printf '\t')"
for line in "Subject: Velmora $version" "Author: https://" "Template: x64;1033"; do
    grep -qF "$line" "$work/msi-summary.txt" && ok "installer summary: $line" || fail "installer summary: no $line"
done
for row in "ProductName${tab}Velmora" "ProductVersion$tab$msi_version" "ALLUSERS${tab}1" \
           "ARPNOMODIFY${tab}1" "ARPPRODUCTICON$tab" "ARPHELPLINK${tab}https://" \
           "ARPURLINFOABOUT${tab}https://" "DESKTOP_SHORTCUT${tab}1" \
           "INSTALLDIR${tab}ProgramFiles64Folder${tab}Velmora" "WIX_UPGRADE_DETECTED" \
           "NOT WIX_DOWNGRADE_DETECTED$tab" "StartMenuShortcut${tab}ProgramMenuFolder${tab}Velmora"; do
    grep -qF "$row" "$work/msi-tables.txt" && ok "installer table: $row" || fail "installer table: no $row"
done
msiextract -C "$work/msi" "$msi" >/dev/null
cmp -s "$work/msi/Velmora/velmora.exe" "$exe" && ok "installer: the Windows program inside" ||
    fail "installer: its velmora.exe is not the Windows program"

# The web zip's entries in one order whatever the file system's: sorted.
unzip -Z1 "$zip" | LC_ALL=C sort -c 2>/dev/null && ok "web zip: its entries sorted" ||
    fail "web zip: its entries are not sorted"

# The licences in every file given to users.
unzip -q "$zip" -d "$work/web"
wrestool -x --raw -t 10 -n LICENSE "$exe" >"$work/exe-licence.txt"
wrestool -x --raw -t 10 -n NOTICES "$exe" >"$work/exe-notices.txt"
for pair in "exe-licence.txt MIT License" "exe-notices.txt MinGW-w64 runtime" \
            "msi/Velmora/LICENSE.txt MIT License" "msi/Velmora/THIRD-PARTY-NOTICES.txt MinGW-w64 runtime" \
            "root/usr/share/doc/velmora/copyright License: MIT" \
            "root/usr/share/doc/velmora/THIRD-PARTY-NOTICES.txt.gz fast_float" \
            "web/velmora-$version-web/LICENSE.txt MIT License" \
            "web/velmora-$version-web/THIRD-PARTY-NOTICES.txt Emscripten"; do
    zgrep -q "${pair#* }" "$work/${pair%% *}" && ok "licence: ${pair%% *}" || fail "licence: ${pair%% *}"
done
grep -q "MIT License" "$page" && grep -q "musl" "$page" && ok "licence: $(basename "$page")" ||
    fail "licence: $(basename "$page")"

[ "$failures" -eq 0 ] || { echo "check-release: $failures failed"; exit 1; }
echo "check-release: every checker passed"
