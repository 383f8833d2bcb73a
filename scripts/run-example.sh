#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs both example
# projects through the headless driver, saying where their reports went.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset release
cmake --build --preset release -j "$(nproc)"

# Runs one project; its exit status is the run's.
run_example() {
    local project="$1" status=0
    build/release/tools/tarnrun/tarnrun "$project" || status=$?
    local reports="${project%.prj}"
    case $status in
        0) echo "$project was adjusted: reports in $reports.RPT and $reports.ERR." ;;
        1) echo "$project: the run stopped early (exit status 1); $reports.ERR says why." ;;
        2) echo "$project: the run ended but the adjustment did not converge (exit status 2); see $reports.RPT and $reports.ERR." ;;
        *) echo "tarnrun could not run $project (exit status $status)." ;;
    esac
    return $status
}

status=0
run_example examples/site/site.prj || status=$?
run_example examples/gnss-site/gnss-site.prj || status=$?
exit $status
