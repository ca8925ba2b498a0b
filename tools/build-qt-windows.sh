#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds Qt 6 for 64-bit Windows (mingw-w64) once per machine, from Debian's own source packages,
# into a cache outside the clone, keyed by the Qt version and this script's options; a second run
# finds the finished cache and does nothing. Prints the prefix on its last line.
#
# Qt SVG comes from `apt-get source qt6-svg` where the registry serves it, else from the copy of
# the same version in ../shared/windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

qt_version=6.4.2
# Why each switch: Debian's source drops the wintab header (tabletevent); with DirectWrite on,
# qwindows.dll and Qt6PrintSupport.dll do not link with mingw; Direct2D is a platform plugin we do
# not use; OpenGL stays on (dynamic) because the Windows platform plugin needs it in 6.4.2.
# Without Qt Test for now: the widget tests that need it are left out of the Windows build.
qt_options=(-DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF
    -DFEATURE_testlib=OFF -DCMAKE_BUILD_TYPE=Release)
key=$(printf '%s\n' "$qt_version" "${qt_options[@]}" | sha256sum | cut -c1-12)
cache=${QUORVEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvel}
prefix=$cache/qt-$qt_version-mingw64-$key
if [ -f "$prefix/.complete" ]; then
    echo "Qt for Windows: cached" >&2
    echo "$prefix"
    exit 0
fi

tools/install-deps.sh g++-mingw-w64-x86-64-posix ninja-build qt6-base-dev-tools qt6-svg-dev \
    dpkg-dev xz-utils >&2
SECONDS=0

# Source packages need a deb-src line for the release; add one beside the system's own list.
deb_src=/etc/apt/sources.list.d/quorvel-deb-src.sources
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        $sudo tee "$deb_src" >/dev/null
    $sudo apt-get update >&2
fi

work=$cache/work-$key
rm -rf "$work"
mkdir -p "$work/source"
cd "$work/source"
# The upstream tarball only: Debian's patches are for its Linux builds.
apt-get source --download-only qt6-base >&2
tar -xf qt6-base_"$qt_version"*.orig.tar.xz
svg_tarball=$root/../shared/windows/qtsvg-$qt_version.tar.xz
if apt-get source --download-only qt6-svg >&2 2>/dev/null && ls qt6-svg_"$qt_version"*.orig.tar.xz >/dev/null 2>&1; then
    svg_tarball=$(ls "$PWD"/qt6-svg_"$qt_version"*.orig.tar.xz)
fi
mkdir svg && tar -xf "$svg_tarball" -C svg --strip-components=1
base_source=$(find "$PWD" -maxdepth 1 -type d -name 'qtbase*' | head -n1)

# The stamp is written last: a build cut short is started again from the beginning. The compilers'
# toolchain file is kept in the prefix: Qt's qt.toolchain.cmake loads it after its own.
rm -rf "$prefix"
mkdir -p "$prefix"
cat >"$prefix/mingw-w64-toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

cmake -S "$base_source" -B "$work/base" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${qt_options[@]}" >&2
cmake --build "$work/base" -j"$(nproc)" >&2
cmake --install "$work/base" >&2

cmake -S "$work/source/svg" -B "$work/svg" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >&2
cmake --build "$work/svg" -j"$(nproc)" >&2
cmake --install "$work/svg" >&2

rm -rf "$work"
touch "$prefix/.complete"
echo "Qt for Windows built in $((SECONDS / 60)) min $((SECONDS % 60)) s" >&2
echo "$prefix"
