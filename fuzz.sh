#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*.cpp) with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ (the CMake option TABULANE_FUZZ: the same layer libraries as every other build, compiled for the
# fuzzer), then runs each for SECONDS (default 60) on its corpus in fuzz/corpus/<target>/.
# New inputs that widen coverage land in build-fuzz/corpus/<target>/; a crash stops the run with its input saved
# in build-fuzz/ (crash-*), to be turned into a test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages cmake make clang-14 libclang-rt-14-dev

seconds="${1:-60}"
out=build-fuzz
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The logic layers only: they build without Qt.
cmake -S . -B "$out" -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 -Werror" -DTABULANE_FUZZ=ON -DTABULANE_SANITIZE=ON -DTABULANE_WITH_QT=OFF \
    -DTABULANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j "$(nproc)" --target tabulane_fuzz

# A quarantine of 16 MiB instead of 256: a target frees little per input, and a fresh page for every allocation
# costs the engine target a fifth of its time. A use after free is still caught across many inputs.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
for target in fuzz/*.cpp; do
    name="$(basename "$target" .cpp)"
    mkdir -p "$out/corpus/$name" "fuzz/corpus/$name"
    echo "== $name: ${seconds} s"
    (cd "$out" && nice -n 10 "./$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 \
        -rss_limit_mb=2048 "corpus/$name" "../fuzz/corpus/$name")
done
