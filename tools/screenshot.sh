#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes docs/screenshot.png, the README's picture of the main window: starts the demo
# (tools/start.sh --demo) on a virtual screen and captures the main window once it shows.
# Usage: tools/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-docs/screenshot.png}")
mkdir -p "$(dirname "$output")"
tools/install-deps.sh xvfb xauth xdotool imagemagick
export output
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
    bash tools/start.sh --demo &
    app=$!
    trap "kill $app 2>/dev/null" EXIT
    until window=$(xdotool search --onlyvisible --name Quorvel 2>/dev/null | head -n 1) && [ -n "$window" ]; do
        kill -0 $app 2>/dev/null || { echo "Quorvel ended before its window showed" >&2; exit 1; }
        sleep 1
    done
    sleep 1  # let it paint
    import -window "$window" "$output"
'
echo "Screenshot in $output"
