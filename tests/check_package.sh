#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Makes the Debian package with dpkg-buildpackage from a copy of the source
# tree's files (those git tracks or would) in OUT_DIR, and checks it from the
# outside: its declared dependencies, its files, its desktop entry and
# AppStream metainfo; then unpacks it into a scratch folder (nothing is
# installed) and starts the unpacked program on a virtual display until its
# window is shown. DEB_BUILD_OPTIONS and DEB_BUILD_PROFILES=nocheck skip the
# build's own tests.
#
#   check_package.sh SOURCE_DIR SCREENSHOT_SCRIPT OUT_DIR
set -eu
source="$1"
screenshot="$2"
out="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
ok() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }

rm -rf "$out"
mkdir -p "$out/velmora"
git -C "$source" ls-files -z --cached --others --exclude-standard |
    (cd "$source" && tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$out/velmora"
(cd "$out/velmora" && dpkg-buildpackage -b -us -uc >"$out/build.log" 2>&1) ||
    { tail -n 30 "$out/build.log"; echo "FAIL dpkg-buildpackage: $out/build.log"; exit 1; }
deb="$(ls "$out"/velmora_*.deb)"
case "$(basename "$deb")" in
    velmora_1.00_*.deb) ok "package file $(basename "$deb")" ;;
    *) fail "package file is $(basename "$deb")" ;;
esac

info="$(dpkg-deb -I "$deb")"
for field in "Package: velmora" "Version: 1.00" "Section: education"; do
    echo "$info" | grep -q "^ $field\$" && ok "$field" || fail "no '$field'"
done
echo "$info" | grep -q "^ Homepage: https://" && ok "Homepage" || fail "no Homepage"
depends="$(echo "$info" | sed -n 's/^ Depends: //p')"
# A library may carry Debian's "t64" suffix (64-bit time), as on Debian 13:
# libqt6core6t64 stands in for libqt6core6.
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation; do
    echo "$depends" | tr ',|' '\n\n' | grep -Eq "^ *${package}(t64)?( |\$)" \
        && ok "depends on $package" || fail "no dependency on $package"
done

contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in ./usr/bin/velmora \
            ./usr/share/applications/example.velmora.velmora.desktop \
            ./usr/share/metainfo/example.velmora.velmora.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/example.velmora.velmora.png \
            ./usr/share/icons/hicolor/scalable/apps/example.velmora.velmora.svg \
            ./usr/share/doc/velmora/copyright ./usr/share/doc/velmora/THIRD-PARTY-NOTICES.txt.gz; do
    echo "$contents" | grep -qx "$file" && ok "holds $file" || fail "lacks $file"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/example.velmora.velmora.desktop" \
    && ok "desktop entry valid" || fail "desktop entry invalid"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.velmora.velmora.metainfo.xml" >/dev/null \
    && ok "metainfo valid" || fail "metainfo invalid"
grep -q '<release version="1.00"' "$root/usr/share/metainfo/example.velmora.velmora.metainfo.xml" \
    && ok "metainfo release 1.00" || fail "metainfo release is not 1.00"
# What the package's files name is in the package: the desktop entry's icon,
# the metainfo's desktop entry, the manual pages under the names man finds.
icon="$(sed -n 's/^Icon=//p' "$root"/usr/share/applications/*.desktop)"
launchable="$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$root"/usr/share/metainfo/*.xml)"
for file in "icons/hicolor/32x32/apps/$icon.png" "icons/hicolor/scalable/apps/$icon.svg" \
            "applications/$launchable" man/man1/velmora.1.gz man/bg/man1/velmora.1.gz; do
    [ -f "$root/usr/share/$file" ] && ok "holds $file, as named" || fail "lacks $file, which it names"
done
zgrep -q "Въведи" "$root/usr/share/man/bg/man1/velmora.1.gz" 2>/dev/null && ok "the Bulgarian manual page" ||
    fail "the Bulgarian manual page is not in Bulgarian"
size="$(identify -format "%wx%h" "$root/usr/share/icons/hicolor/32x32/apps/example.velmora.velmora.png")"
[ "$size" = "32x32" ] && ok "icon 32x32" || fail "icon is $size"

if PROGRAM="$root/usr/bin/velmora" sh "$screenshot" "$work/shown.png" 1 >/dev/null \
    && [ "$(identify -format "%wx%h" "$work/shown.png")" = "461x315" ]; then
    ok "the unpacked program shows its window"
else
    fail "the unpacked program did not show its window"
fi

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "package: all checks passed"
