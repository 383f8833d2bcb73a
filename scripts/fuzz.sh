#!/usr/bin/env bash
# Fuzzes every reader for SECONDS each (default 60) with libFuzzer, starting
# from the seed corpora in tests/fuzz/corpus; new inputs go to a scratch copy.
# Every target runs, whatever the ones before it found; the inputs behind a
# finding are kept in build/fuzz/findings. Needs clang: scripts/install-deps.sh fuzz.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/install-deps.sh fuzz)" >&2; exit 2; }
# The targets are the sources, so that one whose seed corpus is missing still runs.
names=()
for source in tests/fuzz/*_fuzz.cpp; do
    name="$(basename "$source" _fuzz.cpp)"
    names+=("$name")
done
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${names[@]/#/fuzz_}"
findings="build/fuzz/findings"
mkdir -p "$findings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=()
for name in "${names[@]}"; do
    corpus="tests/fuzz/corpus/$name"
    seeds=()
    if [[ -d "$corpus" ]]; then
        seeds=("$corpus")
    else
        echo "fuzz: $name has no seed corpus ($corpus)" >&2
        failed+=("$name: no seed corpus")
    fi
    mkdir -p "$work/$name"
    echo "== $name (${seconds} s)"
    # An input is read in milliseconds; one that takes a minute hangs, and
    # libFuzzer's own limit (20 minutes) would let it outlast the run unreported.
    build/fuzz/tests/fuzz/"fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=60 \
        -artifact_prefix="$findings/$name-" "$work/$name" "${seeds[@]}" || failed+=("$name: finding")
done
if ((${#failed[@]})); then
    printf 'fuzz: %s\n' "${failed[@]}" >&2
    echo "fuzz: the inputs of the findings are in $findings" >&2
    exit 1
fi
echo "fuzz: no finding in ${#names[@]} targets"
