#!/usr/bin/env bash
# Builds Tabulane (optimised) in build/ and starts it. With arguments it converts one file:
#   ./run.sh in.txt out.csv TABS -c
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages "${TABULANE_BUILD_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTABULANE_BUILD_TESTS=OFF > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j "$(nproc)" >> build.log 2>&1 || { cat build.log; exit 1; }
rm -f build.log
exec build/tabulane "$@"
