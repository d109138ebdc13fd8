#!/usr/bin/env bash
# Measures native playback against bare mpv (first frame, CPU over 10 s) under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh" mpv
build="$root/build-bench"
cmake -S "$root" -B "$build" -DLUMIVANE_BUILD_BENCH=ON -DLUMIVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target bench_native
if [[ -z "${XDG_RUNTIME_DIR:-}" || ! -w "${XDG_RUNTIME_DIR}" ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/lumivane-runtime.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/bench_native"
