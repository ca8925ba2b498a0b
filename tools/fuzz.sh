#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs each fuzzer for SECONDS (default 60): the catalogue fuzzer from the seeds in
# tests/fuzz/seeds, the picture check fuzzer from tests/fuzz/picture-seeds. Inputs they find on
# the way are kept in build/fuzz/corpus/NAME, and an input that breaks a rule is saved in
# build/fuzz/findings. Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
tools/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
for fuzzer in catalogue:seeds picture_check:picture-seeds; do
    name=${fuzzer%%:*} seeds=tests/fuzz/${fuzzer#*:}
    mkdir -p "build/fuzz/corpus/$name" build/fuzz/findings
    log=build/fuzz/$name.log
    if ! "build/fuzz/tests/fuzz/${name}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix=build/fuzz/findings/ "build/fuzz/corpus/$name" "$seeds" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "The $name fuzzer found a fault; the input is in build/fuzz/findings." >&2
        exit 1
    fi
    echo "$name: $(grep -E '^Done [0-9]+ runs' "$log")"
done
