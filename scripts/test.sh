#!/usr/bin/env bash
# Builds Lumivane and runs its tests, installing what is missing first.
#   scripts/test.sh             every test (unit, integration, e2e)
#   scripts/test.sh --unit      only the fast unit tests
#   scripts/test.sh --sanitize  the core's unit tests under AddressSanitizer + UBSan
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-all}

"$root/scripts/install-deps.sh"

# A German locale makes locale-dependent number formatting show up as failures.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 LANGUAGE=
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
if [[ -z "${XDG_RUNTIME_DIR:-}" || ! -w "${XDG_RUNTIME_DIR}" ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/lumivane-runtime.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

jobs=$(nproc)
case "$mode" in
    all|--all)
        build="$root/build"; cmake_args=(); ctest_args=() ;;
    --unit)
        build="$root/build"; cmake_args=(); ctest_args=(-L '^unit$') ;;
    --sanitize)
        build="$root/build-asan"; cmake_args=(-DLUMIVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
        ctest_args=(-L '^unit$')
        export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" ;;
    *)
        echo "usage: $0 [--all|--unit|--sanitize]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
cd "$build"
dbus-run-session -- ctest --output-on-failure -j "$jobs" "${ctest_args[@]}"
