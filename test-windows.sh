#!/usr/bin/env bash
# Cross-compiles the logic layers (platform without Qt, shell, convert, cli, filelist) and their test suites for
# 64-bit Windows with mingw-w64 in build-windows/, and runs every suite under Wine in a fresh, temporary prefix.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages cmake make g++-mingw-w64-x86-64-posix wine64 googletest

cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-Werror -O1"
cmake --build build-windows -j "$(nproc)"

wine_folder=/usr/lib/wine
export WINEPREFIX
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/tabulane-wine-XXXXXX")"
export WINEDEBUG=-all
# No display is needed for console programs, and no Mono or Gecko install is offered for a prefix nobody keeps.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    "$wine_folder/wineserver64" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# Making the prefix takes a while; done once before the suites start, so their timeouts measure only themselves.
"$wine_folder/wine64" wineboot --init >/dev/null 2>&1 || true
"$wine_folder/wineserver64" -w
# Wine's own services start with the first program of a session and inherit its output; started by a suite,
# they would hold that suite's output open, and ctest would count the whole session as its time. So one
# session serves every suite, its services started here, and the cleanup ends it.
"$wine_folder/wineserver64" -p
"$wine_folder/wine64" wineboot >/dev/null 2>&1 </dev/null || true
# The folder walk's drive-root test needs an empty drive of its own; Wine finds drives through these links.
mkdir "$WINEPREFIX/test-drive"
ln -s "$WINEPREFIX/test-drive" "$WINEPREFIX/dosdevices/t:"
export TABULANE_TEST_DRIVE=T:
# test_convert's randomized model tests alone took 2 to 7 minutes under Wine on this shared machine.
ctest --test-dir build-windows --output-on-failure -j "$(nproc)" --timeout 1200

# The installer and the portable zip (build-windows/tabulane-<version>-setup.exe and -win64.zip), installed,
# used and removed under Wine in a prefix of their own.
tabulane_ensure_packages nsis
tools/check-install-windows.sh build-windows
