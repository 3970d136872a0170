#!/usr/bin/env bash
# Fails when a source file includes a layer above its own, a Win32 header outside the Win32 parts (see below), or Qt
# outside the window, the Qt platform parts and the Qt entry points (the window program and the box module). The
# tests are held to the same table: tests/<layer> is the layer's suite; the shared fakes and helpers in
# tests/support are held by the build instead (each includes the layer it serves, which a suite of a lower layer
# cannot see).
# The layers, lowest first; each may include itself and the layers listed for it.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [platform]="platform"
    [shell]="platform shell"
    [filelist]="platform shell filelist"
    [convert]="platform shell filelist convert"
    [cli]="platform shell filelist convert cli"
    [ui]="platform shell filelist convert cli ui"
)
# The window program and the box module are the programs' Qt entry points; the front program is not.
qt_allowed=(src/ui/qt/ src/platform/qt/ src/WindowMain.cpp src/ScreenBoxes.cpp tests/ui/qt/ tests/platform/qt/)
# The Win32 headers: in the Win32 platform and window, in the platform's own sources that hold their Windows half
# behind #ifdef _WIN32 (never in its headers, which the logic includes), and in tests, which set up the real
# system on Windows (attributes, drives) as the POSIX ones do with their own calls.
win32_allowed=(src/platform/win32/ src/ui/win32/ tests/)
win32_header='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windowsx|winuser|winbase|winreg|winnls|shlobj|shellapi|shobjidl|shlwapi|commdlg|cderr|commctrl|ole2|oleidl|objbase|objidl|knownfolders|uxtheme|dwmapi)\.h>'

failures=0
while IFS= read -r file; do
    relative=${file#*/}
    layer=${relative%%/*}
    # Files directly in src/ (main.cpp) may include everything, and so may the test support.
    if [ "$layer" = "$relative" ] || [[ $file == tests/support/* ]]; then
        layer=main
    fi
    while IFS=: read -r line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z]+)/ ]]; then
            target=${BASH_REMATCH[1]}
            if [ "$layer" != main ] && [[ " ${allowed[$layer]:-} " != *" $target "* ]] &&
                ! [[ $target == support && $file == tests/* ]]; then
                echo "$file:$line: $layer must not include $target (${text#"${text%%[![:space:]]*}"})"
                failures=$((failures + 1))
            fi
        elif [[ ${text,,} =~ $win32_header ]]; then
            permitted=false
            for prefix in "${win32_allowed[@]}"; do
                [[ $file == "$prefix"* ]] && permitted=true
            done
            # A source file directly in src/platform/ (not a header, not the Qt part) keeps its Windows half there.
            [[ $file == src/platform/*.cpp && $file != src/platform/*/* ]] && permitted=true
            # The Windows entry point sits directly in src/, beside the others.
            [[ $file == src/* && ${file#src/} != */* ]] && permitted=true
            if [ "$permitted" = false ]; then
                echo "$file:$line: a Win32 header is included outside platform/win32/ and ui/win32/ (${text#"${text%%[![:space:]]*}"})"
                failures=$((failures + 1))
            fi
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q ]]; then
            permitted=false
            for prefix in "${qt_allowed[@]}"; do
                [[ $file == "$prefix"* ]] && permitted=true
            done
            if [ "$permitted" = false ]; then
                echo "$file:$line: Qt is included outside ui/qt/ and platform/qt/ (${text#"${text%%[![:space:]]*}"})"
                failures=$((failures + 1))
            fi
        fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
done < <(git ls-files --cached --others --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')

if [ "$failures" -gt 0 ]; then
    echo "Layer check: $failures include(s) run against the layers." >&2
    exit 1
fi
echo "Layer check: every include runs down the layers; no Qt in src/ui outside src/ui/qt, no windows.h outside src/platform and src/ui/win32."
