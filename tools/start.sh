#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds Quorvel and starts it.
#   tools/start.sh          on your own drive C
#   tools/start.sh --demo   on a drive C of its own (build/demo/drive_c), filled afresh with the
#                           sample library and the stand-in flasher
# Further arguments go to Quorvel (see build/release/quorvel --help).
set -euo pipefail
cd "$(dirname "$0")/.."
demo=false
if [ "${1:-}" = --demo ]; then
    demo=true
    shift
fi
tools/install-deps.sh dosbox
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
if $demo; then
    drive="$PWD/build/demo/drive_c"
    rm -rf "$drive"
    tools/sample-library.sh "$drive"
    echo "The stand-in flasher records each run in $drive/flasher/stand-in.log"
    set -- --drive-c "$drive" "$@"
fi
exec build/release/quorvel "$@"
