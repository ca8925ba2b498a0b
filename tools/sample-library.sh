#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Fills a drive C folder with a small sample library and the stand-in flasher, for trying
# Quorvel out. Usage: tools/sample-library.sh [DRIVE_C]  (default: Quorvel's own drive C)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
drive=${1:-"${XDG_DATA_HOME:-$HOME/.local/share}/Quorvel/drive_c"}
lib="$drive/nk_files/Lunzo"
mkdir -p "$lib/Tias" "$lib/Boots" "$lib/Common" "$lib/Phones/3210" "$lib/Phones/3310" "$drive/flasher"

crlf() { sed 's/$/\r/'; }

for name in 28F008.bin 29F800.bin 28F160.bin boot.bin; do
    [ -e "$lib/Common/$name" ] || printf 'sample %s\n' "$name" >"$lib/Common/$name"
done
printf 'sample loader\n' >"$lib/Tias/28f008.tia"
printf 'sample loader\n' >"$lib/Tias/am29f800.tia"
printf 'sample boot\n' >"$lib/Boots/nse3.bin"
printf 'sample image\n' >"$lib/Phones/3210/nhm5.fls"
printf 'sample image\n' >"$lib/Phones/3310/nhm5nx.fls"
cp "$here/sample/wiring.bmp" "$lib/Phones/wiring.bmp"

crlf >"$lib/Tias/Tias.ini" <<'INI'
[28f008.tia]
TYPE=28F008
STATUS=0
Description=Loader for Intel 28F008 parts
Selected=0
[am29f800.tia]
TYPE=29F800
STATUS=2
Description=Untested AMD loader
Selected=0
INI
crlf >"$lib/Boots/Boots.ini" <<'INI'
[nse3.bin]
STATUS=1
Description=Boot block for NSE-3
Selected=0
INI
crlf >"$lib/Phones/Phones.ini" <<'INI'
[3210]
Config=9 1 3 3210
Scheme=wiring.bmp
[3310]
Config=9 1 3 3310
Scheme=
INI
crlf >"$lib/Phones/3210/Flash.ini" <<'INI'
[nhm5.fls]
Address=200000
STATUS=0
Description=MCU 5.27
INI
crlf >"$lib/Phones/3310/Flash.ini" <<'INI'
[nhm5nx.fls]
Address=260000
STATUS=2
Description=MCU 6.39
INI
if [ -e "$here/stand-in-flasher.sh" ]; then
    install -m 0755 "$here/stand-in-flasher.sh" "$drive/flasher/flasher.com"
fi
echo "Sample library in $drive"
