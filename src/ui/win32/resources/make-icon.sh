#!/usr/bin/env bash
# Remakes tabulane.ico, the Windows program's icon, from the PNGs that the Linux build draws with
# tools/MakeProgramIcon.cpp (the same drawing the Qt window uses), so both platforms show one icon.
# Usage: src/ui/win32/resources/make-icon.sh [linux-build-folder]   (default: build-test, built by ./test.sh)
# Needs ImageMagick. The 256-pixel image is kept as PNG inside the .ico, the smaller ones as bitmaps, as
# Explorer expects.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../../.." && pwd)"
build="${1:-$root/build-test}"
cmake --build "$build" --target tabulane_icons >/dev/null
icons="$build/icons/hicolor"
sizes=(16 24 32 48 64 128 256)
inputs=()
for size in "${sizes[@]}"; do
    inputs+=("$icons/${size}x${size}/apps/tabulane.png")
done
convert "${inputs[@]}" "$here/tabulane.ico"
echo "Wrote $here/tabulane.ico"
