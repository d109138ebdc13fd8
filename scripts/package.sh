#!/usr/bin/env bash
# Builds Lumivane and its Debian package: build-package/lumivane_<version>_<arch>.deb.
# Install it with: sudo apt install ./build-package/lumivane_*.deb
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-package"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMIVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
cpack -G DEB
