#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Installs whatever Velmora needs to build and test that this Debian or Ubuntu
# machine lacks. Asks apt-get only for missing packages; without apt-get it
# lists them for installing by hand.
#
#   scripts/install-deps.sh [build|test|windows|web|webtest|libcxx|fuzz|bench|package|arm64|release|reproducible]...
#   (default: build)
set -eu

# The number rules' header-only libraries, for every build of the program.
numbers="libfast-float-dev libfmt-dev"

packages_for() {
    case "$1" in
        build) echo "g++ make cmake qt6-base-dev qt6-qpa-plugins libgl-dev fonts-liberation $numbers" ;;
        test)  echo "xvfb xauth x11-utils imagemagick xdotool dbus at-spi2-core python3-pyatspi reuse" ;;
        # The Windows Installer package: wixl, msitools' msibuild and msiinfo,
        # and faketime, which holds wixl's clock at the source's date.
        windows) echo "$numbers g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 icoutils xvfb xauth x11-utils imagemagick xdotool wixl msitools faketime" ;;
        fuzz) echo "$numbers clang libclang-rt-dev" ;;
        # The Debian package, built from debian/ with dpkg-buildpackage.
        package) echo "build-essential dpkg-dev debhelper file desktop-file-utils appstream" ;;
        # The package built and tested for arm64 in an emulated Debian 12
        # (scripts/check-arm64.sh).
        arm64) echo "git debootstrap qemu-user-static binfmt-support" ;;
        web) echo "$numbers emscripten nodejs" ;;
        # npm comes with some builds of nodejs, and separately with Debian's.
        # The three browser engines Debian ships: Blink, Gecko and WebKit
        # (WebKitGTK's MiniBrowser needs an X display).
        webtest) echo "nodejs chromium firefox-esr webkit2gtk-driver xvfb xauth fonts-liberation"
                 command -v npm >/dev/null 2>&1 || echo npm ;;
        libcxx) echo "$numbers clang libc++-dev libc++abi-dev" ;;
        bench) echo "libbenchmark-dev" ;;
        # Making the release files, and checking that two builds of them agree.
        release) echo "git zip unzip reuse dpkg-dev debhelper lintian devscripts appstream desktop-file-utils binutils-mingw-w64-x86-64 icoutils wixl msitools faketime" ;;
        reproducible) echo "git diffoscope-minimal" ;;
        *) echo "install-deps: unknown group '$1' (build, test, windows, web, webtest, libcxx, fuzz, bench, package, arm64, release, reproducible)" >&2; exit 2 ;;
    esac
}

[ "$#" -gt 0 ] || set -- build
wanted=""
for group in "$@"; do
    wanted="$wanted $(packages_for "$group")"
done

missing=""
for package in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $package"
    fi
done
[ -n "$missing" ] || exit 0

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "Velmora needs these packages, and this system has no apt-get to install them." >&2
    echo "Please install them (or your distribution's equivalents) by hand:" >&2
    echo " $wanted" >&2
    exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "Installing$missing needs root rights, and sudo is missing." >&2
    exit 1
fi

echo "Installing:$missing"
$sudo apt-get update -q
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
