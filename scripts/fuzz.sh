#!/usr/bin/env bash
# Runs each libFuzzer target for a while (default 60 s each). Not part of CI.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
"$root/scripts/install-deps.sh" clang-16 libclang-rt-16-dev

build="$root/build-fuzz"
# g++ 12's <expected> checks a concepts level that clang 16 supports but does not announce.
flags="-U__cpp_concepts -D__cpp_concepts=202002L -Wno-builtin-macro-redefined"
CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -DLUMIVANE_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" -j "$(nproc)"

for target in "$build"/fuzz/fuzz_*; do
    [[ -f "$target" && -x "$target" ]] || continue
    name=$(basename "$target")
    corpus="$root/fuzz-corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 |
        grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY|crash-|Test unit written' || true
done
