#!/usr/bin/env bash
# Builds every target with AddressSanitizer and UndefinedBehaviorSanitizer in build-test/ and runs all tests.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages "${TABULANE_BUILD_PACKAGES[@]}" clang-format

# Formatting is part of the build: unformatted code fails here, before anything is compiled.
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.inl')
if [ ${#sources[@]} -gt 0 ]; then
    clang-format --dry-run --Werror "${sources[@]}"
fi

# Includes run down the layers only, and Qt stays in the window and the Qt platform parts.
tools/check-layers.sh

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTABULANE_SANITIZE=ON -DCMAKE_CXX_FLAGS="-Werror -O1"
cmake --build build-test -j "$(nproc)"
ctest --test-dir build-test --output-on-failure -j "$(nproc)"
