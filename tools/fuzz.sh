#!/usr/bin/env bash
# Runs the catalogue fuzzer for SECONDS (default 60), starting from the seeds in
# tests/fuzz/seeds; inputs it finds on the way are kept in build/fuzz/corpus, and an input that
# breaks a rule is saved in build/fuzz/findings. Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
tools/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
mkdir -p build/fuzz/corpus build/fuzz/findings
log=build/fuzz/fuzz.log
if ! build/fuzz/tests/fuzz/catalogue_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix=build/fuzz/findings/ build/fuzz/corpus tests/fuzz/seeds >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "The catalogue fuzzer found a fault; the input is in build/fuzz/findings." >&2
    exit 1
fi
grep -E '^Done [0-9]+ runs' "$log"
