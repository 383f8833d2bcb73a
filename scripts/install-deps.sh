#!/usr/bin/env bash
# Installs the Debian packages that are missing for a purpose: build, test, bench or fuzz.
set -euo pipefail

build_packages=(g++ cmake ninja-build pkg-config libwxgtk3.2-dev libgtk-3-dev libx11-dev libpugixml-dev libsuitesparse-dev libopenblas-dev liblapacke-dev)
test_packages=(libgtest-dev libgmock-dev libeigen3-dev locales libwxgtk3.2-dev libglib2.0-dev pkg-config xvfb xauth openbox)
fuzz_packages=(clang libclang-rt-14-dev)
bench_packages=(libbenchmark-dev libsqlite3-dev libopenblas-dev liblapacke-dev libproj-dev pkg-config)

wanted=("${build_packages[@]}")
for purpose in "$@"; do
    case "$purpose" in
        build) ;;
        test) wanted+=("${test_packages[@]}") ;;
        bench) wanted+=("${bench_packages[@]}") ;;
        fuzz) wanted+=("${test_packages[@]}" "${fuzz_packages[@]}") ;;
        *) echo "install-deps: unknown purpose '$purpose' (build, test, bench, fuzz)" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
