#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# A stand-in for the flasher, for tests and for trying Quorvel out: it flashes nothing, it
# records how it was started and what it found staged in stand-in.log beside itself, tells what
# it does on its standard output (a warning on its standard error) and writes flash.out, as a
# flasher does. STAND_IN_SECONDS makes it run that long, a line a second; STAND_IN_EXIT sets
# its exit code.
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
echo "Stand-in flasher: nothing is flashed."
echo "Stand-in flasher: this is no real flasher" >&2
second=0
while [ "$second" -lt "${STAND_IN_SECONDS:-0}" ]; do
    second=$((second + 1))
    echo "Stand-in flasher: second $second of $STAND_IN_SECONDS"
    sleep 1
done
printf 'stand-in flash.out: %s staged files\r\n' "$(ls "$drive"/nk_files | wc -l)" >"$here/flash.out"
echo "Stand-in flasher: done."
exit "${STAND_IN_EXIT:-0}"
