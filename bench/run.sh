#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what the benchmarks need, builds them, makes their libraries and prints each ratio
# against its reference, all measured in this run. Usage: bench/run.sh [FOLDER]
# (FOLDER holds the libraries, default /tmp/quorvel-bench; RUNS sets the runs per comparison).
# The machines are shared and noisy: compare ratios of one run, not times across runs.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-/tmp/quorvel-bench}
runs=${RUNS:-21}

# The platform's own private-profile read is timed under Wine, built with MinGW.
tools/install-deps.sh libbenchmark-dev wine wine64 g++-mingw-w64-x86-64
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" >/dev/null
bin=build/bench/bench
x86_64-w64-mingw32-g++ -O2 -static -o "$bin/platform_profile_read.exe" bench/platform_profile_read.cpp
bench/make-libraries.sh "$out"
export QT_QPA_PLATFORM=offscreen

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3g", a / b }'; }

echo "== Catalogues: an 800-section TIA catalogue (Google Benchmark, real time)"
"$bin/catalogue_bench" --benchmark_format=csv --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null >"$out/catalogue.csv"
# The median real time of a benchmark, in microseconds.
micros() {
    awk -F, -v name="\"$1_median\"" '$1 == name {
        f = ($5 == "ms") ? 1000 : ($5 == "ns") ? 0.001 : 1; printf "%.2f", $3 * f }' "$out/catalogue.csv"
}
load=$(micros BM_ListLoad)
byValue=$(micros BM_ListLoadValueByValue)
read=$(micros BM_ReadStringLastSection)
printf '%-34s %9.2f ms against %9.2f ms reading each value alone = %5sx (goal: below 2 ms)\n' \
    "TIA list load at the limit" "$(awk -v v="$load" 'BEGIN { print v / 1000 }')" \
    "$(awk -v v="$byValue" 'BEGIN { print v / 1000 }')" \
    "$(ratio "$load" "$byValue")"

export WINEPREFIX="$out/wine" WINEDEBUG=-all
wineFile="Z:$(realpath "$out/limits/nk_files/Lunzo/Tias/Tias.ini" | tr / '\\')"
wine "$bin/platform_profile_read.exe" "$wineFile" loader799.tia Description 10 >/dev/null 2>&1 || true
platform=$(for i in 1 2 3 4 5; do
    wine "$bin/platform_profile_read.exe" "$wineFile" loader799.tia Description 5000 2>/dev/null
done | median)
if [ -n "$platform" ]; then
    platform=$(awk -v ns="$platform" 'BEGIN { printf "%.2f", ns / 1000 }')
    printf '%-34s %9.2f us against %9.2f us platform cached read = %5sx (goal: at most 0.5x, below 20 us)\n' \
        "one read, last of 800 sections" "$read" "$platform" "$(ratio "$read" "$platform")"
else
    printf '%-34s %9.2f us; the platform read could not be timed under Wine\n' \
        "one read, last of 800 sections" "$read"
fi
wineserver -k 2>/dev/null || true

echo "== Start-up to the main window shown (whole processes, medians of $runs alternating runs)"
compare() { "$bin/compare_processes" "$runs" "$@"; }
bare=("$bin/startup_probe" --bare "$out/empty")
compare "library at its limits" "$bin/startup_probe" "$out/limits" --vs "${bare[@]}"
compare "empty library" "$bin/startup_probe" "$out/empty" --vs "${bare[@]}"
compare "limits against empty" "$bin/startup_probe" "$out/limits" \
    --vs "$bin/startup_probe" "$out/empty"
echo "   (goals: limits within 1.2x of empty, and within 1.3x memory of the bare window)"
echo "-- where the rest goes: references built on the bare window"
compare "ref: bare window with a text line" "$bin/startup_probe" --bare-text "$out/empty" --vs "${bare[@]}"
compare "ref: limits window built in memory" "$bin/startup_probe" --from-memory "$out/empty" --vs "${bare[@]}"
compare "limits against built in memory" "$bin/startup_probe" "$out/limits" \
    --vs "$bin/startup_probe" --from-memory "$out/empty"

echo "== Find as you type: a keystroke over the 800-row TIA list, from the key to the repaint"
read -r key load < <("$bin/filter_probe" "$out/limits" 15 2>/dev/null)
printf '%-34s %9.3f ms against %9.3f ms one list load = %5sx (goal: under 5 ms)\n' \
    "filter keystroke, 800 rows" "$key" "$load" "$(ratio "$key" "$load")"

echo "== Staging a run with a 64 MiB image, checked and read back, against a shell doing the same work"
echo "   (sha256sum of each source, cp, sha256sum of each copy; goal: within 1.0x)"
cat >"$out/stage.sh" <<'SHELL'
#!/bin/sh
# Usage: stage.sh DRIVE_C [--unchecked]
cd "$1" || exit 1
check() { [ "$2" = --unchecked ] || sha256sum "$1" >/dev/null; }
rm -f nk_files/*.fls flasher/flasher.cfg
for pair in Common/28F008.bin:f_loader.bin Common/boot.bin:boot.bin Phones/3210/image.fls:image.fls; do
    from=nk_files/Lunzo/${pair%%:*} to=nk_files/${pair##*:}
    check "$from" "$2" && cp "$from" "$to" && check "$to" "$2" || exit 1
done
printf 'time 300\r\n9 1 3 3210\r\n9 1 3 3210\r\n9 1 3 3210\r\n9 1 3 3210\r\n9 1 3 3210' >flasher/flasher.cfg
SHELL
chmod +x "$out/stage.sh"
"$bin/staging_probe" "$out/staging" # records the checksums once
compare "staging, checked" "$bin/staging_probe" "$out/staging" --vs "$out/stage.sh" "$out/staging"
compare "against unchecked copies" "$bin/staging_probe" "$out/staging" \
    --vs "$out/stage.sh" "$out/staging" --unchecked
echo "== The check before a run: sample-sized files, a manifest of a library at its limits (goal: under 1.2x)"
"$bin/staging_probe" "$out/small"
compare "small staging, checked" "$bin/staging_probe" "$out/small" \
    --vs "$out/stage.sh" "$out/small" --unchecked

echo "== The journal of runs"
# The demo's sample library (without a flasher, so that none is started), staged and recorded.
rm -rf "$out/sample" && tools/sample-library.sh "$out/sample" >/dev/null
rm -f "$out/sample/flasher/flasher.com"
read -r staged appended < <("$bin/journal_probe" --append "$out/sample" "$runs")
printf '%-34s %9.3f ms against %9.3f ms staging the sample run = %5sx (goal: under 0.1x)\n' \
    "appending a run record, flushed" "$appended" "$staged" "$(ratio "$appended" "$staged")"
mkdir -p "$out/journal"
"$bin/journal_probe" --make "$out/journal/runs.jsonl" 10000
# From the double-click on its Tools row to the first paint, alternating with the TIA dialog.
for i in $(seq "$runs"); do
    "$bin/history_probe" --tia "$out/sample" "$out/journal" 2>/dev/null >>"$out/tia.ms"
    "$bin/history_probe" --history "$out/sample" "$out/journal" 2>/dev/null >>"$out/history.ms"
done
tia=$(median <"$out/tia.ms") history=$(median <"$out/history.ms")
rm -f "$out/tia.ms" "$out/history.ms"
printf '%-34s %9.3f ms against %9.3f ms opening the TIA dialog = %5sx (goal: within 2x)\n' \
    "Run history with 10,000 runs" "$history" "$tia" "$(ratio "$history" "$tia")"

echo "== A run's own costs"
read -r staged locked < <("$bin/run_probe" --lock "$out/sample" "$runs")
printf '%-34s %9.3f ms against %9.3f ms staging the sample run = %5sx (goal: under 0.05x)\n' \
    "taking and checking the run lock" "$locked" "$staged" "$(ratio "$locked" "$staged")"
# A flasher writing 50 MiB as fast as it can (cat of a file in the page cache), read into the
# bounded run log, against the same output read by cat into /dev/null.
head -c 52428800 /dev/urandom | base64 -w 100 | head -c 52428800 >"$out/output-50MiB"
cat >"$out/cat-output.sh" <<'SHELL'
#!/bin/sh
cat "$1" | cat >/dev/null
SHELL
chmod +x "$out/cat-output.sh"
compare "50 MiB of flasher output read" "$bin/run_probe" --read "$out/output-50MiB" "$out/run.log" \
    --vs "$out/cat-output.sh" "$out/output-50MiB"
echo "   (goal: under 1.2x; the log file is bounded, or the probe fails: $(stat -c %s "$out/run.log") bytes)"

# The newest runs of a long journal, read back from its end by blocks: the program (its data
# folder through XDG_DATA_HOME) against tail printing their lines (a start and an end each).
mkdir -p "$out/long/Quorvel"
"$bin/journal_probe" --make "$out/long/Quorvel/runs.jsonl" 100000
compare "--history 10, 100,000 runs" env XDG_DATA_HOME="$out/long" build/bench/quorvel --history 10 \
    --vs tail -n 20 "$out/long/Quorvel/runs.jsonl"
echo "   (goal: within 2x; most of it is the program's start, loading Qt's libraries:)"
compare "against the program's own start" env XDG_DATA_HOME="$out/long" build/bench/quorvel \
    --history 10 --vs env XDG_DATA_HOME="$out/long" build/bench/quorvel --version
compare "the reading alone (Qt Core only)" "$bin/journal_probe" --history \
    "$out/long/Quorvel/runs.jsonl" 10 --vs tail -n 20 "$out/long/Quorvel/runs.jsonl"

echo "== Check library over a library at its limits (4604 files, every one walked and counted), against sha256sum -c (goal: within 0.6x)"
cat >"$out/sha256sum-c.sh" <<'SHELL'
#!/bin/sh
cd "$1/nk_files/Lunzo" && sha256sum --quiet -c checksums.sha256
SHELL
chmod +x "$out/sha256sum-c.sh"
compare "check library" build/bench/quorvel --check-library --drive-c "$out/checked" \
    --vs "$out/sha256sum-c.sh" "$out/checked"

echo "== Pictures"
# The sample schematic through the helper process, against the helper's work done in this
# process (the program's fonts already loaded, as they are once a window shows text). The
# helper is started ahead, as the phone group dialog does.
wmf=tools/sample/wiring.wmf
read -r helped inProcess < <("$bin/picture_probe" --time "$runs" build/bench/quorvel-picture "$wmf")
printf '%-34s %9.2f ms against %9.2f ms in-process = %5sx, %.2f ms added (goal: at most 10 ms)\n' \
    "sample WMF through the helper" "$helped" "$inProcess" "$(ratio "$helped" "$inProcess")" \
    "$(awk -v a="$helped" -v b="$inProcess" 'BEGIN { print a - b }')"
# Bitmaps and PNG through the one request (decoded on a worker, told through the event loop),
# against Qt's reader alone.
for kind in bmp png; do
    image="$out/drawing-1600x1200.$kind"
    "$bin/picture_probe" --make-bitmap "$image" 1600 1200
    read -r piped alone < <("$bin/picture_probe" --time-image "$runs" build/bench/quorvel-picture "$image")
    printf '%-34s %9.2f ms against %9.2f ms in-process = %5sx (goal: at most 1.3x)\n' \
        "1600 x 1200 ${kind^^} through the request" "$piped" "$alone" "$(ratio "$piped" "$alone")"
done
# Glyph-index texts: the converter looks up each text's font.
for records in 200 2000; do
    "$bin/make_test_pictures" "$out/pictures" "$out/glyphs-$records.emf" "$records"
done
few=$("$bin/picture_probe" --time-load 5 build/bench/quorvel-picture "$out/glyphs-200.emf")
many=$("$bin/picture_probe" --time-load 5 build/bench/quorvel-picture "$out/glyphs-2000.emf")
printf '%-34s %9.2f ms against %9.2f ms for 200 = %5sx (goal: under 3 s)\n' \
    "2000 glyph-index texts (EMF)" "$many" "$few" "$(ratio "$many" "$few")"
# A page scanned at 600 dpi: the program's peak memory against the file and the decoded image.
bmp="$out/scan-5000x7000.bmp"
"$bin/picture_probe" --make-bitmap "$bmp" 5000 7000
bmpLine=$(compare "5000 x 7000 BMP loaded" "$bin/picture_probe" build/bench/quorvel-picture "$bmp" \
    --vs "$bin/picture_probe" --none "$bmp")
echo "$bmpLine"
awk -v file="$(stat -c %s "$bmp")" '$0 ~ / memory / { sub(/.* memory +/, "");
    budget = (file + 5000 * 7000 * 4) / 1048576
    printf "%-34s %9.1f MiB peak (%.1f MiB above the bare process) against %.1f MiB file and image = %.2fx (goal: at most 1.2x)\n",
        "5000 x 7000 BMP", $1, $1 - $4, budget, $1 / budget }' <<<"$bmpLine"
