#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Builds the Debian package of the commit checked out for arm64, the
# Raspberry Pi's architecture (Raspberry Pi OS 64-bit is Debian 12), and
# tests it there: in a Debian 12 arm64 system made with debootstrap and run
# under emulation (qemu-user-static through binfmt_misc), it installs the
# build dependencies, builds the package with its build-time tests, and
# runs its autopkgtest on the package built. Too slow for make test (31
# minutes on two cores, and 16 more to make the arm64 system the first
# time); needs root. The arm64 system is kept in FOLDER for the next run;
# the package is left there too.
#
#   scripts/check-arm64.sh [FOLDER]      (default: build-arm64)
set -eu
export LC_ALL=C.UTF-8
cd "$(git rev-parse --show-toplevel)"
version="$(git show HEAD:CMakeLists.txt | sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p')"
folder="$(realpath -m "${1:-build-arm64}")"
system="$folder/bookworm-arm64"
mirror="${MIRROR:-http://deb.debian.org/debian}"
[ "$(id -u)" -eq 0 ] || { echo "check-arm64: needs root (debootstrap, chroot)" >&2; exit 2; }
sh scripts/install-deps.sh arm64

# arm64 programs run through qemu-aarch64-static, registered with the
# kernel's binfmt_misc ("F": the emulator is found also inside the chroot).
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
update-binfmts --enable qemu-aarch64 2>/dev/null || true
grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-aarch64 ||
    { echo "check-arm64: qemu-aarch64 is not registered with binfmt_misc" >&2; exit 1; }

if [ ! -f "$system/.ready" ]; then
    echo "check-arm64: making a Debian 12 arm64 system in $system (once; some minutes)"
    rm -rf "$system"
    mkdir -p "$folder"
    debootstrap --arch=arm64 --variant=buildd bookworm "$system" "$mirror" >"$folder/debootstrap.log" 2>&1 ||
        { echo "check-arm64: debootstrap failed, see $folder/debootstrap.log" >&2; exit 1; }
    printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s-security bookworm-security main\n' \
        "$mirror" "$mirror" "$mirror" >"$system/etc/apt/sources.list"
    touch "$system/.ready"
fi

mounted=""
cleanup() {
    for point in $mounted; do umount -l "$point" 2>/dev/null || true; done
}
trap cleanup EXIT
for point in /proc /sys /dev /dev/pts; do
    mount --bind "$point" "$system$point"
    mounted="$system$point $mounted"
done
cp /etc/resolv.conf "$system/etc/resolv.conf"

# The source of the commit checked out, as the release archives it.
rm -rf "$system/build"
mkdir -p "$system/build"
git archive --prefix="velmora-$version/" HEAD | tar -x -C "$system/build"

echo "check-arm64: building velmora $version for $(chroot "$system" dpkg --print-architecture) under emulation"
start=$(date +%s)
chroot "$system" /usr/bin/env -i HOME=/root LC_ALL=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive DEB_BUILD_OPTIONS="parallel=$(nproc)" /bin/sh -ec "
    cd /build/velmora-$version
    apt-get update -q
    apt-get build-dep -y -q --no-install-recommends .
    apt-get install -y -q --no-install-recommends autopkgtest
    dpkg-buildpackage -us -uc -b
    autopkgtest ../velmora_${version}_arm64.deb . -- null
" >"$folder/check.log" 2>&1 || {
    tail -n 40 "$folder/check.log"
    echo "check-arm64: FAILED after $(( $(date +%s) - start )) s; the log: $folder/check.log" >&2
    exit 1
}
cp "$system/build/velmora_${version}_arm64.deb" "$folder/"
sed -n 's/^\(100% tests passed.*\)/build-time tests: \1/p; s/^\(window .*PASS\)$/autopkgtest: \1/p' "$folder/check.log" | uniq
echo "check-arm64: $folder/velmora_${version}_arm64.deb built, its tests and autopkgtest passed on arm64 in $(( $(date +%s) - start )) s"
