#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows side of the test run: installs what is missing, cross-builds library/, platform/
# and their tests with mingw-w64 (preset "windows") and runs them in Wine, headless and without
# questions, in a Wine prefix of its own under build/windows. Then a catalogue written on Linux
# is read in Wine and the reverse.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 googletest

export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init </dev/null >/dev/null 2>&1
fi
ctest --preset windows -j"$(nproc)" </dev/null

cmake --preset dev >/dev/null
cmake --build --preset dev --target cross_check_tests -j"$(nproc)"
shared=$(mktemp -d)
trap 'rm -rf "$shared"' EXIT
linux=build/dev/tests/cross_check_tests
QUORVEL_CROSS_CHECK="$shared" "$linux" --gtest_brief=1 --gtest_filter='CrossCheck.ThisSide*'
QUORVEL_CROSS_CHECK="$(winepath -w "$shared")" wine build/windows/tests/cross_check_tests.exe \
    --gtest_brief=1 </dev/null
QUORVEL_CROSS_CHECK="$shared" "$linux" --gtest_brief=1
wineserver -w
echo "Windows build and tests in Wine: ${SECONDS} s"
