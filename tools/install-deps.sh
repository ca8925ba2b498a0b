#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages that Quorvel needs to build, run and test, where missing.
# Extra package names may be given as arguments.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgtest-dev fonts-dejavu-core locales
    # SHA-256 of library files: Nettle. Metafiles: libemf2svg and libwmf (which needs the URW
    # fonts); the tests write metafiles with libuemf and rasterise printouts with pdftoppm.
    pkgconf nettle-dev libemf2svg-dev libwmf-dev fonts-urw-base35 libuemf-dev poppler-utils
    "$@")
# The package and its checks: CPack's dependency finder, the desktop entry and AppStream
# validators, Debian's package checker.
packages+=(dpkg-dev file desktop-file-utils appstream lintian)
# The phone cable check: DOSBox runs a DOS program that writes to COM1, mapped to one end of a
# pseudo-terminal pair that socat makes.
packages+=(dosbox socat)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
