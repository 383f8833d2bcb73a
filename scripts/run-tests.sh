#!/usr/bin/env bash
# Installs what is missing, builds the test preset (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build test
jobs=$(nproc)
cmake --preset test
cmake --build --preset test -j "$jobs"
ctest --preset test -j "${CTEST_PARALLEL_LEVEL:-$jobs}"
