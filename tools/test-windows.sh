#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows side of the test run, headless and without questions: installs what is missing,
# builds Qt for Windows once per machine (tools/build-qt-windows.sh, cached outside the clone),
# cross-builds the whole program, its tests and its installer with mingw-w64 (preset windows-qt)
# and runs every test in Wine, in a Wine prefix of its own under build/windows-qt (the widget
# tests on the offscreen platform). Then a catalogue written on Linux is read in Wine and the
# reverse; the installer installs silently, the installed program shows its window and stages a
# run on a virtual screen (tools/windows-smoke-test.sh), and the uninstaller removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 googletest ninja-build nsis xvfb \
    xauth xdotool imagemagick
SECONDS=0

QUORVEL_QT_WINDOWS=$(tools/build-qt-windows.sh | tail -n 1)
export QUORVEL_QT_WINDOWS
build=build/windows-qt
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
export LC_ALL=C.UTF-8 # names outside ASCII reach Wine's programs as typed
cmake --preset windows-qt >/dev/null
cmake --build --preset windows-qt -j"$(nproc)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init </dev/null >/dev/null 2>&1
fi

ctest --preset windows-qt -j"$(nproc)" </dev/null | tee "$build/ctest.log"
# What could not run in Wine, each with its one-line reason.
grep -h -A1 ': Skipped$' "$build/Testing/Temporary/LastTest.log" 2>/dev/null |
    grep -v -e ': Skipped$' -e '^--$' | sort | uniq -c || true

cmake --preset dev >/dev/null
cmake --build --preset dev --target cross_check_tests -j"$(nproc)"
shared=$(mktemp -d)
trap 'rm -rf "$shared"' EXIT
linux=build/dev/tests/cross_check_tests
QUORVEL_CROSS_CHECK="$shared" "$linux" --gtest_brief=1 --gtest_filter='CrossCheck.ThisSide*'
QUORVEL_CROSS_CHECK="$(winepath -w "$shared")" wine "$build/cross_check_tests.exe" \
    --gtest_brief=1 </dev/null
QUORVEL_CROSS_CHECK="$shared" "$linux" --gtest_brief=1
wineserver -w

# The installer: installed silently, its program started on a virtual screen, uninstalled.
tools/windows-smoke-test.sh --installer "$build/Quorvel-"*"-setup.exe" \
    --stand-in "$build/stand_in_flasher.exe" --screenshot "$build/windows-screenshot.png"
tests=$(grep -o 'tests passed, [0-9]* tests failed out of [0-9]*' "$build/ctest.log" | tail -n 1)
echo "Windows: ${tests}, in Wine; the installed program's run on Xvfb passed; ${SECONDS} s"
