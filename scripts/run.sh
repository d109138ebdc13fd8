#!/usr/bin/env bash
# Builds Lumivane (installing what is missing first) and starts it.
#   scripts/run.sh                         opens the bundled sample clip in a floating window
#   scripts/run.sh --open <path or URL>    any arguments are passed on to the program
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-deps.sh"

build="$root/build"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target lumivane lumivane_sample

# Chromium refuses to start its sandbox as root.
if [[ $(id -u) -eq 0 ]]; then
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
fi
if [[ $# -eq 0 ]]; then
    set -- --open "$build/sample/lumivane-sample.mp4"
fi
exec "$build/src/Lumivane/lumivane" "$@"
