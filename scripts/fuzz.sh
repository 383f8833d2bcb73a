#!/usr/bin/env bash
# Fuzzes every reader for SECONDS each (default 60) with libFuzzer, starting
# from the seed corpora in tests/fuzz/corpus; new inputs go to a scratch copy.
# Needs clang: scripts/install-deps.sh fuzz.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/install-deps.sh fuzz)" >&2; exit 2; }
targets=()
for corpus in tests/fuzz/corpus/*/; do
    targets+=("fuzz_$(basename "$corpus")")
done
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for corpus in tests/fuzz/corpus/*/; do
    name="$(basename "$corpus")"
    mkdir -p "$work/$name"
    echo "== $name (${seconds} s)"
    build/fuzz/tests/fuzz/"fuzz_$name" -max_total_time="$seconds" -max_len=65536 \
        -artifact_prefix="$work/$name-" "$work/$name" "$corpus" || status=1
done
exit "$status"
