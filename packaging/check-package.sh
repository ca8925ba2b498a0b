#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the Debian package from a build folder, unpacks it into a temporary folder and checks
# what a user's machine gets: the files in their places (the copyright file, the changelog of
# this version and the manual page among them), Debian's Qt packages as dependencies, DOSBox
# recommended, no error from lintian, a program that starts without a display for --version and
# refuses a mistake with exit code 2, and its picture helper in libexec decoding the sample
# schematic.
# Usage: check-package.sh BUILD_FOLDER APP_ID EXPECTED_VERSION_LINE
set -euo pipefail
build=$1 id=$2 expected_version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libwmf-0.2-7 libemf2svg1 \
    fonts-urw-base35; do
    grep -qx "$library" <<<"$names" || fail "Depends lacks $library"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = dosbox ] || fail "Recommends is not dosbox"

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
for file in bin/quorvel libexec/quorvel/quorvel-picture share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
    share/icons/hicolor/{16x16,48x48,256x256}/apps/$id.png \
    share/doc/quorvel/{copyright,changelog.gz} share/man/man1/quorvel.1.gz; do
    [ -s "$usr/$file" ] || fail "missing /usr/$file"
done
package_version=$(dpkg-deb -f "$deb" Version)
zcat "$usr/share/doc/quorvel/changelog.gz" | head -n 1 | grep -qF "quorvel ($package_version)" ||
    fail "the changelog's latest entry is not version $package_version"

# Debian's own checks of a package; its warnings are shown, its errors fail.
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
grep -v '^running with root privileges' "$work/lintian.log" || true

# No display at all: --version and a mistake must not need one.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/quorvel" "$@"; }
version=$(run --version) || fail "--version ended with $?"
[ "$version" = "$expected_version" ] || fail "--version printed '$version'"
status=0
run --no-such-option 2>"$work/error" || status=$?
[ $status -eq 2 ] || fail "a bad option ended with $status, not 2"
grep -q "Unknown option 'no-such-option'" "$work/error" || fail "no message for a bad option"
# The helper the program finds beside it, decoding a WMF into an image without a display.
sample=$(dirname "$0")/../tools/sample/wiring.wmf
{ echo wmf; cat "$sample"; } | env -u DISPLAY -u WAYLAND_DISPLAY \
    "$usr/libexec/quorvel/quorvel-picture" >"$work/image" 2>/dev/null ||
    fail "the picture helper ended with $?"
[ "$(head -c 4 "$work/image")" = QPIC ] || fail "the picture helper gave no image"
echo "ok: $version"
