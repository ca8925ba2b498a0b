#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs the catalogue stress tests (a writer killed at random moments; two writers on one
# catalogue at once) for longer than the test run does: SECONDS each, 60 by default.
# Usage: tools/stress.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
tools/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)" --target library_tests catalogue_writer
QUORVEL_STRESS_SECONDS=$seconds exec build/dev/tests/library_tests --gtest_filter='CatalogueStress.*'
