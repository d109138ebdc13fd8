#!/usr/bin/env bash
# Runs each libFuzzer target for a while (default 60 s each), or for a number of
# executions each. Not part of CI.
#   scripts/fuzz.sh [seconds | --runs N] [target name ...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit="-max_total_time=60"
if [[ "${1:-}" == --runs ]]; then
    limit="-runs=$2"
    shift 2
elif [[ -n "${1:-}" ]]; then
    limit="-max_total_time=$1"
    shift
fi
"$root/scripts/install-deps.sh" clang-16 libclang-rt-16-dev

build="$root/build-fuzz"
# g++ 12's <expected> checks a concepts level that clang 16 supports but does not announce.
flags="-U__cpp_concepts -D__cpp_concepts=202002L -Wno-builtin-macro-redefined"
CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -DLUMIVANE_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" -j "$(nproc)"

names=("$@")
[[ ${#names[@]} -eq 0 ]] && names=($(cd "$build/fuzz" && ls fuzz_* | grep -v '\.'))
for name in "${names[@]}"; do
    target="$build/fuzz/$name"
    [[ -f "$target" && -x "$target" ]] || { echo "no fuzz target $name" >&2; exit 1; }
    corpus="$root/fuzz-corpus/$name"
    mkdir -p "$corpus"
    echo "== $name ($limit)"
    # Qt's parsers are not instrumented: start from real records, not from nothing.
    seeds=()
    [[ -d "$root/fuzz/seeds/$name" ]] && seeds=("$root/fuzz/seeds/$name")
    "$target" "$limit" -max_len=4096 -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 |
        grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|Done|ERROR|SUMMARY|crash-|Test unit written' || true
done
