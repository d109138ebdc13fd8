#!/usr/bin/env bash
# Measures a web player window against a bare QWebEngineView (CPU of the whole process
# tree over N seconds of a looping video, default 10) and the media poll's own cost, under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
build="$root/build-bench"
cmake -S "$root" -B "$build" -DLUMIVANE_BUILD_BENCH=ON -DLUMIVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target bench_web
if [[ -z "${XDG_RUNTIME_DIR:-}" || ! -w "${XDG_RUNTIME_DIR}" ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/lumivane-runtime.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
runner=()
command -v dbus-run-session >/dev/null && runner=(dbus-run-session --)
"${runner[@]}" xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/bench_web" "$@"
