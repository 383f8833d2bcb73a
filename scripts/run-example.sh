#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the example
# project through the headless driver, printing where the reports went.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset release
cmake --build --preset release -j "$(nproc)"
if [ ! -x build/release/tools/tarnrun/tarnrun ]; then
    echo "The processing driver (tarnrun) is not built yet: the libraries above were built, and there is no program to run the example project with."
    exit 0
fi
build/release/tools/tarnrun/tarnrun examples/site/site.prj
