#!/usr/bin/env bash
# Soak under Xvfb with a window manager: eight windows, [cycles] close/open cycles (1000 by
# default); prints PSS, descriptor and thread counts every 50 cycles and the growth.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh" openbox
build="$root/build-bench"
cmake -S "$root" -B "$build" -DLUMIVANE_BUILD_BENCH=ON -DLUMIVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target bench_soak
runtime=$(mktemp -d /tmp/lumivane-runtime.XXXXXX)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}
xvfb-run -a -s "-screen 0 1920x1080x24" sh -c 'openbox & wm=$!; "$0" "$@"; status=$?; kill $wm; exit $status' \
    "$build/bench/bench_soak" "$@"
rm -rf "$runtime"
