#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the drives the benchmarks use, under the folder given:
#   empty/     nothing at all
#   limits/    800 TIA entries, 800 boot entries, 60 phone groups of 50 flash files each
#   staging/   a run's sources with a 64 MiB flash image, and the flasher folder
#   checked/   the library at its limits with its files and their checksums
set -euo pipefail
out=${1:?usage: make-libraries.sh FOLDER}
rm -rf "$out" && mkdir -p "$out/empty"

lib="$out/limits/nk_files/Lunzo"
mkdir -p "$lib/Tias" "$lib/Boots" "$lib/Phones"
awk 'BEGIN { for (i = 0; i < 800; i++) printf "[loader%d.tia]\r\nTYPE=28F%03d\r\nSTATUS=%d\r\nDescription=Loader number %d\r\nSelected=%d\r\n", i, i, i % 3, i, i == 799 }' >"$lib/Tias/Tias.ini"
awk 'BEGIN { for (i = 0; i < 800; i++) printf "[boot%d.bin]\r\nSTATUS=%d\r\nDescription=Boot number %d\r\nSelected=0\r\n", i, i % 3, i }' >"$lib/Boots/Boots.ini"
for g in $(seq 1 60); do
    printf '[group%d]\r\nConfig=9 1 3 %d\r\nScheme=\r\n' "$g" "$g" >>"$lib/Phones/Phones.ini"
    mkdir -p "$lib/Phones/group$g"
    awk -v g="$g" 'BEGIN { for (i = 0; i < 50; i++) printf "[image%d.fls]\r\nAddress=2%05d\r\nSTATUS=%d\r\nDescription=Image %d of group %d\r\n", i, i, i % 3, i, g }' >"$lib/Phones/group$g/Flash.ini"
done

stage="$out/staging"
mkdir -p "$stage/nk_files/Lunzo/Common" "$stage/nk_files/Lunzo/Phones/3210" "$stage/flasher" "$stage/copy"
head -c 65536 /dev/urandom >"$stage/nk_files/Lunzo/Common/28F008.bin"
head -c 16384 /dev/urandom >"$stage/nk_files/Lunzo/Common/boot.bin"
head -c 67108864 /dev/urandom >"$stage/nk_files/Lunzo/Phones/3210/image.fls"
printf '[3210]\r\nConfig=9 1 3 3210\r\n' >"$stage/nk_files/Lunzo/Phones/Phones.ini"

# The same run with the sample library's small files and a checksum manifest of a library at
# its limits (800 TIA and 800 boot files, 3000 flash images).
small="$out/small"
mkdir -p "$small/nk_files/Lunzo/Common" "$small/nk_files/Lunzo/Phones/3210" "$small/flasher"
head -c 65536 /dev/urandom >"$small/nk_files/Lunzo/Common/28F008.bin"
head -c 16384 /dev/urandom >"$small/nk_files/Lunzo/Common/boot.bin"
head -c 524288 /dev/urandom >"$small/nk_files/Lunzo/Phones/3210/image.fls"
cp "$stage/nk_files/Lunzo/Phones/Phones.ini" "$small/nk_files/Lunzo/Phones/"
awk 'BEGIN { d = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
    for (i = 0; i < 800; i++) printf "%s  Tias/loader%d.tia\n%s  Boots/boot%d.bin\n", d, i, d, i;
    for (i = 0; i < 3000; i++) printf "%s  Phones/group%d/image%d.fls\n", d, i / 50, i % 50 }' \
    >"$small/nk_files/Lunzo/checksums.sha256"

# The library at its limits with its files in place and every line of its manifest written by
# sha256sum: 800 TIA and 800 boot files, 3000 flash images, of the sample library's sizes.
checked="$out/checked"
lib="$checked/nk_files/Lunzo"
mkdir -p "$lib/Common"
cp -r "$out/limits/nk_files/Lunzo/." "$lib/"
head -c 16384 /dev/urandom >"$checked/tia"
head -c 16384 /dev/urandom >"$checked/boot"
head -c 32768 /dev/urandom >"$checked/image"
for i in $(seq 0 799); do
    cp "$checked/tia" "$lib/Tias/loader$i.tia"
    cp "$checked/boot" "$lib/Boots/boot$i.bin"
done
for g in $(seq 1 60); do
    for i in $(seq 0 49); do cp "$checked/image" "$lib/Phones/group$g/image$i.fls"; done
done
for f in 28F008 29F800 28F160 boot; do cp "$checked/boot" "$lib/Common/$f.bin"; done
(cd "$lib" && find Common Tias Boots Phones -type f ! -name '*.ini' -print0 | sort -z |
    xargs -0 sha256sum >checksums.sha256)
