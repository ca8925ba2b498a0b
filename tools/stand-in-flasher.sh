#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# A stand-in for the flasher, for tests and for trying Quorvel out: it flashes nothing, it
# records how it was started and what it found staged in stand-in.log beside itself.
here=$(cd "$(dirname "$0")" && pwd)
drive=$(dirname "$here")
log="$here/stand-in.log"
{
    echo "started"
    echo "arguments: $#"
    for argument in "$@"; do echo "argument: $argument"; done
    echo "directory: $(pwd)"
    for file in "$drive"/nk_files/*; do
        [ -f "$file" ] && echo "staged: $(basename "$file") $(wc -c <"$file") bytes"
    done
    [ -f "$here/flasher.cfg" ] && echo "flasher.cfg: $(wc -c <"$here/flasher.cfg") bytes"
} >"$log.new"
mv "$log.new" "$log"
