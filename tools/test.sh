#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds and runs every test: once as a debug build, once with the
# address and undefined-behaviour sanitizers; then the fuzzers for 30 seconds each.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh ccache
# Compiled objects are kept between runs (in ~/.cache/ccache), for any folder the clone is in.
# Debug builds would hash the folder as well (for the debug information): not here.
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD" \
    CCACHE_NOHASHDIR=1
export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
done
ctest --preset dev -j"$(nproc)"
ctest --preset asan -j"$(nproc)"
tools/fuzz.sh 30
bash tools/test-windows.sh # the whole program and its installer cross-built for Windows, tested in Wine
