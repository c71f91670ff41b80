#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Makes every release file of the commit checked out, from its committed
# sources alone, in dist/:
#
#   velmora-VERSION.tar.gz         the source (git archive)
#   velmora_VERSION_amd64.deb      the Debian package
#   velmora-VERSION-win64.exe      the Windows program, one self-contained file
#   velmora-VERSION-win64.msi      the same program as a Windows Installer package
#   velmora-VERSION-web.zip        the web folder, for a web host
#   velmora-VERSION.html           the web page in one file, for opening from disk
#   SHA256SUMS                     the checksums of the six
#
# Every file is the same, byte for byte, whoever builds the same commit
# wherever: each date is the commit's (SOURCE_DATE_EPOCH), the build
# folders' paths are mapped away, and archive entries have a fixed order,
# owner and mode. The editions are built from the source archive itself, in
# folders of their own under build-release/, whatever else was built here.
# Then each platform's checkers look at what was made (check-release.sh),
# and must find a fault planted in a copy of it; SHA256SUMS is written only
# if they find no fault in the release, and must list every file of it.
#
#   scripts/release.sh        (make release, which installs what it needs)
set -eu
umask 022
export LC_ALL=C.UTF-8 TZ=UTC
cd "$(git rev-parse --show-toplevel)"

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: refused: these files have changes that are not committed, and a release" >&2
    echo "is made of a commit alone. Commit them or put them aside (git stash) first:" >&2
    git status --short --untracked-files=no >&2
    exit 1
fi

version="$(git show HEAD:CMakeLists.txt | sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p')"
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt's project()" >&2; exit 1; }
name="velmora-$version"
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
export SOURCE_DATE_EPOCH
jobs="$(nproc 2>/dev/null || echo 2)"
work="$PWD/build-release"
dist="$PWD/dist"
rm -rf "$work" "$dist"
mkdir -p "$work" "$dist"
echo "release: $name of $(git log -1 --format='%h, %cd' --date=iso-strict)"

# The source, and the folder every edition is built from.
git -c tar.umask=0022 archive --format=tar --prefix="$name/" HEAD | gzip -9n >"$dist/$name.tar.gz"
tar -xzf "$dist/$name.tar.gz" -C "$work"
src="$work/$name"
reuse --root "$src" lint >"$work/reuse.txt" || { cat "$work/reuse.txt"; exit 1; }

# No path of these folders in any file.
flags="-ffile-prefix-map=$work=."
configure() {  # configure FOLDER CMAKE_OPTIONS...
    folder="$work/$1"
    shift
    cmake -S "$src" -B "$folder" -DBUILD_TESTING=OFF "$@" >/dev/null
}

# The Debian package, built from the source's debian/ as Debian builds its
# own (debian/rules: every hardening feature on, the build folder's path
# mapped away), binary only and unsigned; its dates are SOURCE_DATE_EPOCH's,
# which dpkg-buildpackage keeps. Its tests run in make test, not here.
(
    cd "$src"
    DEB_BUILD_OPTIONS="nocheck parallel=$jobs" dpkg-buildpackage -b -us -uc -Pnocheck \
        >"$work/dpkg-buildpackage.txt" 2>&1 || { tail -n 40 "$work/dpkg-buildpackage.txt"; exit 1; }
    debian/rules clean >/dev/null
)
cp "$work/velmora_${version}_amd64.deb" "$dist/"

# The Windows program, without its symbol table, and its installer package.
configure windows -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS=-s
cmake --build "$work/windows" -j "$jobs" --target velmora_exe velmora_msi
cp "$work/windows/window/velmora.exe" "$dist/$name-win64.exe"
cp "$work/windows/window/velmora.msi" "$dist/$name-win64.msi"

# The web folder, as a zip of the folder velmora-VERSION-web/ without
# owners or extra attributes, and the one-file page. Debian's em++ finds its
# JavaScript modules through NODE_PATH.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S "$src" -B "$work/web" -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/web" -j "$jobs" --target velmora_site
mkdir "$work/zip"
cp -R "$work/web/site" "$work/zip/$name-web"
cp "$work/web/velmora.html" "$dist/$name.html"
(
    cd "$work/zip"
    find . -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    find . -type f -exec chmod 644 {} +
    find . -type f | sed 's|^\./||' | LC_ALL=C sort | zip -X -D -9 -q "$dist/$name-web.zip" -@
)

# Each platform's checkers; a fault stops the release before its checksums.
sh "$src/scripts/check-release.sh" "$dist" "$version"

# The checker checked: the same files with one fault planted, a package whose
# priority lintian warns of, must fail it, and for that fault alone.
planted="$work/planted"
cp -R "$dist" "$planted"
dpkg-deb -R "$dist/velmora_${version}_amd64.deb" "$work/planted-deb"
sed -i 's/^Priority: .*/Priority: extra/' "$work/planted-deb/DEBIAN/control"
dpkg-deb -b --root-owner-group "$work/planted-deb" "$planted/velmora_${version}_amd64.deb" >/dev/null
if sh "$src/scripts/check-release.sh" "$planted" "$version" >"$work/planted.txt" 2>&1 ||
    [ "$(grep '^FAIL' "$work/planted.txt")" != "FAIL lintian $(lintian --version | cut -d' ' -f2):" ]; then
    echo "release: the checker did not fail a package that lintian warns of, and for that alone:" >&2
    grep -e '^FAIL' -e '^check-release' "$work/planted.txt" >&2
    exit 1
fi

files="$name.tar.gz velmora_${version}_amd64.deb $name-win64.exe $name-win64.msi $name-web.zip $name.html"
(cd "$dist" && sha256sum $files >SHA256SUMS)
for file in "$dist"/*; do
    [ "${file##*/}" = SHA256SUMS ] || grep -q "  ${file##*/}\$" "$dist/SHA256SUMS" ||
        { echo "release: ${file##*/} has no line in SHA256SUMS" >&2; exit 1; }
done
echo "release: in dist/:"
(cd "$dist" && ls -l $files SHA256SUMS | awk '{printf "  %9d  %s\n", $5, $9}')
