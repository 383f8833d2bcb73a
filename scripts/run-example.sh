#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the example
# project through the headless driver, which says where the reports went.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset release
cmake --build --preset release -j "$(nproc)"
status=0
build/release/tools/tarnrun/tarnrun examples/site/site.prj || status=$?
case $status in
    0) echo "The example project was adjusted." ;;
    1) echo "The run stopped early (exit status 1); the error report (.ERR) beside the project says why." ;;
    2) echo "The run ended but the adjustment did not converge (exit status 2); see the reports." ;;
    *) echo "tarnrun could not run the example project (exit status $status)." ;;
esac
exit $status
