#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*.cpp) with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/, then runs each for SECONDS (default 60) on its corpus in fuzz/corpus/<target>/.
# New inputs that widen coverage land in build-fuzz/corpus/<target>/; a crash stops the run with its input saved
# in build-fuzz/ (crash-*), to be turned into a test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages clang-14 libclang-rt-14-dev

seconds="${1:-60}"
out=build-fuzz
mkdir -p "$out/obj"
compiler=(clang++-14)
if command -v ccache >/dev/null; then
    compiler=(ccache clang++-14)
fi
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
       -fno-sanitize-recover=undefined -pthread -Wall -Wextra -Werror -Isrc)

# The logic layers only: they build without Qt.
mapfile -t sources < <(ls src/platform/*.cpp src/shell/*.cpp src/convert/*.cpp src/cli/*.cpp src/filelist/*.cpp)
objects=()
for source in "${sources[@]}"; do
    objects+=("$out/obj/$(echo "$source" | tr / _).o")
done
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c \
    'exec "$@" -c {} -o "$0/obj/$(echo {} | tr / _).o"' "$out" "${compiler[@]}" "${flags[@]}"
rm -f "$out/libtabulane_fuzz.a"
ar rcs "$out/libtabulane_fuzz.a" "${objects[@]}"

targets=()
for target in fuzz/*.cpp; do
    name="$(basename "$target" .cpp)"
    "${compiler[@]}" "${flags[@]}" -fsanitize=fuzzer "$target" "$out/libtabulane_fuzz.a" -o "$out/$name"
    targets+=("$name")
done

for name in "${targets[@]}"; do
    mkdir -p "$out/corpus/$name" "fuzz/corpus/$name"
    echo "== $name: ${seconds} s"
    (cd "$out" && nice -n 10 "./$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 \
        -rss_limit_mb=2048 "corpus/$name" "../fuzz/corpus/$name")
done
