#!/usr/bin/env bash
# Measures start-up to the home window and its memory against a minimal Qt Widgets window,
# in a Release build under Xvfb with openbox (5 interleaved runs each, fresh home folders).
#   scripts/bench-start.sh [--before PATH_TO_AN_OLDER_LUMIVANE] [--runs N]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
build="$root/build-bench"
cmake -S "$root" -B "$build" -DLUMIVANE_BUILD_BENCH=ON -DLUMIVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target lumivane bench_start start_baseline

programs=("baseline=$build/bench/start_baseline" "lumivane=$build/src/Lumivane/lumivane")
runs=5
while [[ $# -gt 0 ]]; do
    case $1 in
        --before) programs+=("before=$(realpath "$2")"); shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        *) echo "usage: $0 [--before PATH] [--runs N]" >&2; exit 2 ;;
    esac
done
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
runner=()
command -v dbus-run-session >/dev/null && runner=(dbus-run-session --)
# The window manager frames each window, as on a desktop; it is stopped by its process id.
"${runner[@]}" xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    openbox & wm=$!
    sleep 1
    "$0" --runs "$1" "${@:2}"; status=$?
    kill $wm
    exit $status' "$build/bench/bench_start" "$runs" "${programs[@]}"
