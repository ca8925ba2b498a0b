#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh dosbox
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
exec build/release/quorvel
