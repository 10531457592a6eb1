#!/usr/bin/env bash
# Builds the Debian package prochnar_<version>_<arch>.deb into OUT_DIR
# (default: build-deb/). Installed with `apt install ./prochnar_*.deb`, it
# pulls in every run-time dependency.
#   bash tools/package.sh [OUT_DIR]
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/build-deb}

cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DPROCHNAR_BUILD_TESTS=OFF -DPROCHNAR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$out" --parallel
(cd "$out" && cpack -G DEB >/dev/null)
ls "$out"/prochnar_*.deb
