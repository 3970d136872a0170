#!/usr/bin/env bash
# Cross-compiles the Windows build (the logic layers, the Win32 platform, the window and tabulane.exe) and its test
# suites for 64-bit Windows with mingw-w64 in build-windows/, and runs every suite under Wine in a fresh, temporary
# prefix, with a private X server for the suites that open windows.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
tabulane_ensure_packages cmake make g++-mingw-w64-x86-64-posix wine64 googletest xvfb

wine_folder=/usr/lib/wine
export WINEPREFIX
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/tabulane-wine-XXXXXX")"
export WINEDEBUG=-all
# No Mono or Gecko install is offered for a prefix nobody keeps.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
xvfb_pid=
cleanup() {
    "$wine_folder/wineserver64" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Wine draws every window on an X display; boxes and dialogs under test appear on a private one, never on the
# user's screen. The first display from :90 up that nobody holds; Xvfb refuses a taken one, and the next is tried.
start_private_display() {
    local number
    for number in $(seq 90 189); do
        if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then
            continue
        fi
        Xvfb ":$number" -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
        xvfb_pid=$!
        local waited
        for waited in $(seq 100); do
            if [ -e "/tmp/.X11-unix/X$number" ]; then
                export DISPLAY=":$number"
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    echo "test-windows.sh: no free X display from :90 to :189" >&2
    return 1
}
# The display is there before the Wine session starts: the session's desktop is made once, on the display it
# finds then, and every program of the session draws on it.
start_private_display

# Making the prefix takes a while; done once before the suites start, so their timeouts measure only themselves.
"$wine_folder/wine64" wineboot --init >/dev/null 2>&1 || true
"$wine_folder/wineserver64" -w
# The folder walk's drive-root test needs an empty drive of its own; Wine finds drives through these links, and
# the shell's folder tree lists those that were there when the session began.
mkdir "$WINEPREFIX/test-drive"
ln -s "$WINEPREFIX/test-drive" "$WINEPREFIX/dosdevices/t:"
export TABULANE_TEST_DRIVE=T:
# The file dialogs' drive-root tests put files in a root, so they have a drive of their own.
mkdir "$WINEPREFIX/dialog-drive"
ln -s "$WINEPREFIX/dialog-drive" "$WINEPREFIX/dosdevices/u:"
export TABULANE_TEST_DIALOG_DRIVE=U:
# Wine's own services start with the first program of a session and inherit its output; started by a suite,
# they would hold that suite's output open, and ctest would count the whole session as its time. So one
# session serves every suite, its services started here, and the cleanup ends it.
"$wine_folder/wineserver64" -p
"$wine_folder/wine64" wineboot >/dev/null 2>&1 </dev/null || true
# The private X server has no window manager; a window Wine leaves to one waits two seconds for it at every hide
# and destroy, so the suites' windows are Wine's own to manage.
"$wine_folder/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
# The result is build-windows/tabulane.exe with HAND-M.CUR and Samples\ beside it, as the program looks them up.
# (The build runs the hand pointer's generator under Wine in a prefix of its own, never this one or the user's.)
cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-Werror -O1"
cmake --build build-windows -j "$(nproc)"

# Runs suites under Wine: all of them, or those whose names match the ctest options given (-R, -E). Console
# suites run side by side; suites that open windows hold the display lock (RESOURCE_LOCK tabulane_display in
# tests/CMakeLists.txt), so they run one at a time and no dialog of one suite meets another's.
run_suites() {
    # test_convert's randomized model tests alone took 2 to 7 minutes under Wine on this shared machine.
    ctest --test-dir build-windows --output-on-failure -j "$(nproc)" --timeout 1200 "$@"
}
run_suites

# The program itself, driven from outside as a person would, on the private display, in a Wine prefix of its own.
TABULANE_E2E_DISPLAY=$DISPLAY tools/check-windows-e2e.sh build-windows

# The installer and the portable zip (build-windows/tabulane-<version>-setup.exe and -win64.zip), installed,
# used and removed under Wine in a prefix of their own.
tabulane_ensure_packages nsis
tools/check-install-windows.sh build-windows
