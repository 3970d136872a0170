#!/usr/bin/env bash
# Installs Tabulane the two ways a user would and checks each one works from another folder and goes away cleanly:
#  1. cmake --install into a temporary prefix: the bin/ launcher converts a file given from another working folder,
#     and the window started through it loads its hand pointer (and, when clicked for them, its samples) from the
#     program's own folder, as traced under Xvfb.
#  2. cpack -G DEB, then apt-get install ./tabulane_*.deb: `tabulane in.txt out.csv TABS -c` converts, `man tabulane`
#     shows the page, desktop-file-validate passes the entry; apt-get remove tabulane leaves none of its files.
# Needs root (apt-get) and is not part of ./test.sh. Usage: tools/check-install.sh [X display number, default 93]
set -euo pipefail
cd "$(dirname "$0")/.."
display=":${1:-93}"
source tools/ensure-packages.sh
tabulane_ensure_packages "${TABULANE_BUILD_PACKAGES[@]}" dpkg-dev desktop-file-utils man-db xvfb xdotool strace

if dpkg-query -W -f='${Status}' tabulane 2>/dev/null | grep -q "install ok installed"; then
    echo "FAIL: a tabulane package is installed already; remove it first" >&2
    exit 1
fi

build=build-package
step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step "Building (Release) in $build/"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTABULANE_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" > /dev/null

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
printf 'name\tsize\r\nalpha\t1\r\n' > "$work/in.txt"
expected=$(printf 'name,size\r\nalpha,1\r\n')
mkdir -p "$work/elsewhere" "$work/elsewhere2"

# Converts ../in.txt from the folder $1 with the command $2 and checks the bytes, with no display in reach.
convert_from() {
    (cd "$1" && env -u DISPLAY -u WAYLAND_DISPLAY "$2" ../in.txt out.csv TABS -c)
    [ "$(cat "$1/out.csv")" = "$expected" ] || fail "$2 wrote $(od -c "$1/out.csv" | head -3)"
    echo "converted: $2 ../in.txt out.csv TABS -c (in $1) gives the expected bytes"
}

step "cmake --install into a temporary prefix"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
(cd "$prefix" && find . \( -type f -o -type l \) | sort)
program_dir=$(dirname "$(readlink -f "$prefix/bin/tabulane")")
[ "$program_dir" = "$prefix/lib/tabulane" ] || fail "the launcher leads to $program_dir"
echo "the launcher bin/tabulane leads to lib/tabulane/tabulane"
[ -f "$program_dir/HAND-M.CUR" ] || fail "no HAND-M.CUR beside the installed program"
for part in tabulane-window tabulane-boxes.so; do
    [ -f "$program_dir/$part" ] || fail "no $part beside the installed program"
done
if ldd "$program_dir/tabulane" | grep -q libQt6; then
    fail "the command-line program links Qt: $(ldd "$program_dir/tabulane" | grep libQt6 | head -1)"
fi
echo "tabulane-window and tabulane-boxes.so beside it; lib/tabulane/tabulane links no Qt library"
if [ -d samples ]; then
    [ -d "$program_dir/Samples" ] || fail "no Samples/ beside the installed program"
    echo "Samples/ beside the program: $(ls "$program_dir/Samples" | wc -l) files"
fi
convert_from "$work/elsewhere" "$prefix/bin/tabulane"

step "The installed window under Xvfb $display, traced: where it looks for its files"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
sleep 1
(cd "$work/elsewhere" && DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/.config" \
    strace -f -e trace=file -o "$work/trace" "$prefix/bin/tabulane" > /dev/null 2>&1 &)
window=""
for _ in $(seq 1 50); do
    window=$(DISPLAY="$display" xdotool search --name '^Tabulane$' 2> /dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || fail "the installed window did not come up"
# "Load Sample/Example Files", in the window's own pixels.
DISPLAY="$display" xdotool mousemove --window "$window" 400 261 click 1 > /dev/null 2>&1 || true
sleep 1
DISPLAY="$display" xdotool key --window "$window" Escape > /dev/null 2>&1 || true
pid=$(pgrep -f "^$prefix/bin/tabulane$" | head -1 || true)
[ -n "$pid" ] && kill "$pid"
sleep 0.5
grep -q "execve(\"$program_dir/tabulane-window\"" "$work/trace" ||
    fail "the launcher did not hand the window over to $program_dir/tabulane-window"
echo "the launcher handed the window over to $program_dir/tabulane-window"
grep -q "open[a-z]*(.*\"$program_dir/HAND-M.CUR\"" "$work/trace" ||
    fail "the window did not open HAND-M.CUR from $program_dir"
echo "the window opened $program_dir/HAND-M.CUR"
if grep -q "/Samples" "$work/trace"; then
    if grep "/Samples" "$work/trace" | grep -qv "\"$program_dir/Samples"; then
        fail "the window looked for Samples outside its folder: $(grep /Samples "$work/trace" | head -3)"
    fi
    echo "the window read its samples from $program_dir/Samples/"
else
    echo "note: nothing in the window read Samples/ when its button was clicked"
fi

step "cpack -G DEB"
(cd "$build" && cpack -G DEB > /dev/null)
deb=$(ls "$build"/tabulane_*.deb)
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
dpkg-deb -c "$deb" | awk '{print $6, $7, $8}'
mapfile -t packaged < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}')

step "apt-get install ./$deb"
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y "./$deb" 2>&1 | tail -3
[ "$(command -v tabulane)" = /usr/bin/tabulane ] || fail "tabulane is not /usr/bin/tabulane"
convert_from "$work/elsewhere2" tabulane

step "man tabulane"
MANPAGER=cat MANWIDTH=100 man tabulane 2> /dev/null | head -12
MANPAGER=cat man tabulane 2> /dev/null | grep -q "EXIT STATUS" || fail "man tabulane shows no page"

step "desktop-file-validate"
desktop-file-validate /usr/share/applications/tabulane.desktop || fail "the desktop entry does not validate"
echo "/usr/share/applications/tabulane.desktop passes"
ls /usr/share/icons/hicolor/*/apps/tabulane.png

step "apt-get remove -y tabulane"
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove -y tabulane 2>&1 | tail -2
left=0
for file in "${packaged[@]}"; do
    if [ -e "$file" ] || [ -L "$file" ]; then
        echo "left behind: $file"
        left=1
    fi
done
for folder in /usr/lib/tabulane /usr/share/tabulane; do
    [ ! -e "$folder" ] || {
        echo "left behind: $folder"
        left=1
    }
done
[ "$left" -eq 0 ] || fail "apt-get remove left files behind"
echo "all ${#packaged[@]} packaged files and links are gone"
printf '\nPASS\n'
