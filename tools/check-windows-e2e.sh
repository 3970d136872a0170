#!/usr/bin/env bash
# Drives build-windows/tabulane.exe under Wine as a person would, from outside: a private X server, a fresh Wine
# prefix, real pointer clicks and keys (xdotool, at the rectangles the window reports), and the window read back from
# another process with the standard messages, as a screen reader reads it (build-windows/tools/WindowReader.exe).
# What it expects comes from the window's design table (src/ui/Form1Design.h) and the program's documented texts,
# and the files the window writes are compared with an independent model (tools/conversion-model.py) and with
# tabulane.exe's own command line. Last, a file is dropped onto the list from an X drag source of ours.
#
#   tools/check-windows-e2e.sh [BUILD_FOLDER]       (default build-windows; ./test-windows.sh calls it)
#
# The pointer moves, so the X server must be a private one: TABULANE_E2E_DISPLAY=:N names one the caller started
# (./test-windows.sh passes its own), else the check starts Xvfb on the first free display from :90 up.
# TABULANE_E2E_SCREENSHOTS=FOLDER also saves the window with and without the skin there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
screenshots=${TABULANE_E2E_SCREENSHOTS:-}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
reader=$build/tools/WindowReader.exe

for needed in "$build/tabulane.exe" "$build/HAND-M.CUR" "$build/Samples" "$reader"; do
    if [ ! -e "$needed" ]; then
        echo "check-windows-e2e: $needed is missing; build the Windows program first (./test-windows.sh)" >&2
        exit 2
    fi
done
source tools/ensure-packages.sh
tabulane_ensure_packages xvfb xdotool gcc libx11-dev python3 imagemagick wine64

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulane-e2e-XXXXXX")
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
say() { echo "e2e: $*"; }
fail() {
    echo "e2e: FAILED: $*" >&2
    failures=$((failures + 1))
}
abort() {
    echo "e2e: FAILED: $*" >&2
    echo "e2e: stopped after $((failures + 1)) failure(s)" >&2
    exit 1
}
# expect WHAT ACTUAL EXPECTED
expect() {
    if [ "$2" != "$3" ]; then
        fail "$1: got [$2], expected [$3]"
    fi
}

# --- The display and the prefix -------------------------------------------------------------------------------
start_display() {
    local number=$1
    # A display in use has its lock file; a server that cannot take the number ends at once.
    [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ] || return 1
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            xvfb_pid=
            return 1
        fi
        if DISPLAY=:$number xdotool getdisplaygeometry >/dev/null 2>&1; then
            export DISPLAY=:$number
            return 0
        fi
        sleep 0.2
    done
    abort "Xvfb :$number did not answer (its log: $(cat "$work/xvfb.log"))"
}
if [ -n "${TABULANE_E2E_DISPLAY:-}" ]; then
    export DISPLAY=$TABULANE_E2E_DISPLAY
    xdotool getdisplaygeometry >/dev/null 2>&1 || abort "no X server answers on $DISPLAY"
else
    number=90
    until start_display $number; do
        number=$((number + 1))
        [ $number -lt 200 ] || abort "no free display between :90 and :199"
    done
fi
unset WAYLAND_DISPLAY
say "display $DISPLAY, prefix $WINEPREFIX"
timeout 120 "$wine" wineboot --init >/dev/null 2>&1 || abort "the Wine prefix could not be made"
timeout 60 "$wineserver" -w || true
# Without a window manager on the private server, windows left to one wait two seconds for it at every hide and
# destroy; Wine manages them itself instead.
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    abort "the prefix's X11 settings could not be written"

# The program as it is installed: its folder holds the program, the pointer and the samples, nothing else.
app=$WINEPREFIX/drive_c/Tabulane
mkdir -p "$app" "$WINEPREFIX/drive_c/out" "$WINEPREFIX/drive_c/ref" "$WINEPREFIX/drive_c/model"
cp "$build/tabulane.exe" "$build/HAND-M.CUR" "$app/"
cp -r "$build/Samples" "$app/Samples"
samples=()
while IFS= read -r name; do samples+=("$name"); done < <(cd "$app/Samples" && ls -1 | LC_ALL=C sort -f)

# --- Helpers ------------------------------------------------------------------------------------------------------
robot() { timeout 60 "$wine" "$reader" "$@"; }
# The records of one kind from a reading, e.g. records control FILE.
records() { awk -F'\t' -v kind="$1" '$1 == kind' "$2"; }
# A reading's escaped text field turned back into text, and a text escaped as a reading writes it.
unescape() { printf '%b' "$1"; }
escape() {
    local text=${1//\\/\\\\}
    text=${text//$'\t'/\\t}
    text=${text//$'\r'/\\r}
    printf '%s' "${text//$'\n'/\\n}"
}
# The last field of a record line, unescaped.
text_of() { unescape "${1##*$'\t'}"; }
# center LEFT TOP RIGHT BOTTOM: the middle of a rectangle, as "X Y".
center() { echo $((($1 + $3) / 2)) $((($2 + $4) / 2)); }
click_at() {
    xdotool mousemove --sync "$1" "$2"
    sleep 0.2
    xdotool click 1
}
# click_control FILE HWND: a real click in the middle of a control of a reading.
click_control() {
    [ "$1" != "$reading" ] || wait_ready
    local line
    line=$(awk -F'\t' -v h="$2" '$1 == "control" && $2 == h' "$1")
    [ -n "$line" ] || abort "no control $2 to click"
    IFS=$'\t' read -r _ _ _ _ _ left top right bottom _ <<<"$line"
    # shellcheck disable=SC2046
    click_at $(center "$left" "$top" "$right" "$bottom")
}
# wait_box TEXT [TIMEOUT_MS]: waits for a dialog box showing TEXT (a static text) and saves its reading in $box.
box=$work/box.txt
reading=$work/window.txt  # the main window's latest reading
main_window=
wait_box() {
    local deadline=$((SECONDS + ${2:-15000} / 1000))
    while [ $SECONDS -le $deadline ]; do
        robot read --class '#32770' >"$box" || true
        local hwnd
        # Through the environment: awk would read escapes in a -v value.
        hwnd=$(want=$(escape "$1") awk -F'\t' '$1 == "window" { w = $2 }
            $1 == "control" && $5 == "Static" && $13 == ENVIRON["want"] { print w; exit }' "$box")
        if [ -n "$hwnd" ]; then
            robot read --hwnd "$hwnd" >"$box"
            return 0
        fi
        sleep 0.3
    done
    return 1
}
# The buttons of the box in $box, in the box's order, their mnemonic marks removed, joined by "|".
box_buttons() {
    records control "$box" | awk -F'\t' '$5 == "Button" { gsub(/&/, "", $13); printf "%s%s", (n++ ? "|" : ""), $13 }'
}
# answer_box BUTTON: clicks the box's button with the pointer and waits for the box to go.
answer_box() {
    local hwnd button
    hwnd=$(records window "$box" | head -n 1 | cut -f2)
    button=$(records control "$box" | awk -F'\t' -v b="$1" '$5 == "Button" { t = $13; gsub(/&/, "", t) }
        $5 == "Button" && t == b { print $2; exit }')
    [ -n "$button" ] || abort "the box has no button $1 (it has: $(box_buttons))"
    click_control "$box" "$button"
    robot wait --hwnd "$hwnd" --gone --timeout 10000 >/dev/null || abort "the box did not close when $1 was clicked"
}
# wait_ready: waits until the main window takes input. A box disables it, and a click sent the moment a box is
# hidden, before the box's modal loop has ended, is lost.
wait_ready() {
    robot wait --hwnd "$main_window" --enabled --timeout 20000 >/dev/null ||
        abort "the window does not take input (a box still up?): $(robot read --class '#32770' | cut -f5,13)"
}
# type_into FILE HWND TEXT: clicks into an edit field, empties it and types the text, as a user does.
type_into() {
    click_control "$1" "$2"
    xdotool key --clearmodifiers End shift+Home BackSpace
    xdotool type --delay 30 -- "$3"
    sleep 0.3
}

# --- Start ---------------------------------------------------------------------------------------------------------
start_program() {
    (cd "$app" && exec "$wine" 'C:\Tabulane\tabulane.exe' >"$work/program.log" 2>&1) &
    program_pid=$!
    main_window=
    local deadline=$((SECONDS + 60))
    while [ -z "$main_window" ]; do
        [ $SECONDS -le $deadline ] || abort "no window captioned Tabulane within 60 s"
        robot read --title Tabulane >"$work/start.txt" || true
        main_window=$(awk -F'\t' '$1 == "window" && $4 != "#32770" { print $2; exit }' "$work/start.txt")
        # An error box during the load step holds the window back until it is answered.
        if robot read --class '#32770' --title "Application Error" >"$box"; then
            fail "an error box at start: $(records control "$box" | awk -F'\t' '$5 == "Static" && $13 != "" { print $13 }')"
            answer_box OK
        fi
        [ -n "$main_window" ] || sleep 0.3
    done
}
read_window() { robot read --hwnd "$main_window" >"$reading" || abort "the window went away"; }
stop_program() {
    wait_ready
    # Closing the window is what a user does to end the program; WM_CLOSE is that close.
    xdotool key --clearmodifiers alt+F4
    if ! robot wait --hwnd "$main_window" --gone --timeout 10000 >/dev/null; then
        fail "the window did not close on Alt+F4"
        kill "$program_pid" 2>/dev/null || true
    fi
    wait "$program_pid" 2>/dev/null || true
    program_pid=
}

say "starting tabulane.exe"
start_program
read_window

# --- The window as a screen reader reads it -------------------------------------------------------------------------
expect "window caption" "$(text_of "$(records window "$reading")")" "Tabulane"
# Every control of the design: one of the right class with its caption, where the design puts it (twips at 96 DPI,
# relative to the client area), within a pixel.
python3 - src/ui/Form1Design.h >"$work/design.txt" <<'EOF'
import re, sys
text = open(sys.argv[1]).read()
table = text[text.index("kForm1Controls"):]
row = re.compile(r'\{"(\w+)",\s*ControlKind::(\w+),\s*"(\w+)",\s*\{(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\},\s*(\d+),\s*"((?:[^"\\]|\\.)*)"')
controls = {m[1]: m for m in row.finditer(table)}
for name, m in controls.items():
    left, top = int(m[4]), int(m[5])
    parent = m[3]
    while parent in controls:
        left += int(controls[parent][4])
        top += int(controls[parent][5])
        parent = controls[parent][3]
    px = lambda twips: int(twips * 96 / 1440 + 0.5)
    print("\t".join([name, m[2], str(px(left)), str(px(top)), str(px(int(m[6]))), str(px(int(m[7]))), m[9]]))
EOF
[ "$(wc -l <"$work/design.txt")" -eq 18 ] || abort "the design table did not read as 18 controls"
declare -A class_of_kind=([PushButton]=Button [OptionButton]=Button [Frame]=Button [ComboBox]=ComboBox
    [ListView]=SysListView32 [TextBox]=Edit [ProgressBar]=msctls_progress32)
# Button styles (the low four bits) that each kind may have: push (or default push, or drawn by the program),
# automatic radio (or radio), group box.
declare -A styles_of_kind=([PushButton]="0 1 11" [OptionButton]="9 4" [Frame]="7")
declare -A handle_of
# map_controls [first]: finds every control of the design in $reading (handle_of[NAME]) and checks its class,
# caption and rectangle; "first" also wants every control enabled, as a first start has them.
map_controls() {
    handle_of=()
    local used=" " name kind left top width height caption class line candidate hwnd parent cclass style
    local l t r b visible enabled actual wanted checked difference i
    while IFS=$'\t' read -r name kind left top width height caption; do
        class=${class_of_kind[$kind]}
        line=
        while IFS= read -r candidate; do
            IFS=$'\t' read -r _ hwnd parent _ cclass _ _ _ _ _ _ style _ <<<"$candidate"
            [ "$cclass" = "$class" ] || continue
            [[ $used == *" $hwnd "* ]] && continue
            # The list, the mode box and the folder box show content, not a caption of the design.
            [[ " ListView ComboBox TextBox " == *" $kind "* ]] || [ "$(text_of "$candidate")" = "$caption" ] || continue
            if [ -n "${styles_of_kind[$kind]:-}" ] &&
                [[ " ${styles_of_kind[$kind]} " != *" $((style & 15)) "* ]]; then
                continue
            fi
            # The combo box's own edit field is not the folder box.
            if [ "$kind" = TextBox ] && [ "$(awk -F'\t' -v p="$parent" '$1 == "control" && $2 == p { print $5 }' \
                "$reading")" = ComboBox ]; then
                continue
            fi
            line=$candidate
            break
        done < <(records control "$reading")
        if [ -z "$line" ]; then
            fail "$name: no $class control with the caption [$caption]"
            continue
        fi
        IFS=$'\t' read -r _ hwnd _ _ _ l t r b visible enabled _ _ <<<"$line"
        used+="$hwnd "
        handle_of[$name]=$hwnd
        [ "$visible" = 1 ] || fail "$name is not visible"
        [ "$enabled" = 1 ] || [ "${1:-}" != first ] || fail "$name is not enabled at start"
        IFS=$'\t' read -r _ _ client_left client_top _ _ < <(records client "$reading")
    actual=($((l - client_left)) $((t - client_top)) $((r - l)) $((b - t)))
        wanted=("$left" "$top" "$width" "$height")
        # A closed combo box is as high as its edit field and font make it.
        checked=4
        [ "$kind" = ComboBox ] && checked=3
        for ((i = 0; i < checked; i++)); do
            difference=$((actual[i] - wanted[i]))
            if [ "${difference#-}" -gt 1 ]; then
                fail "$name: rectangle (left top width height) ${actual[*]}, the design gives ${wanted[*]}"
                break
            fi
        done
    done <"$work/design.txt"
    [ "${#handle_of[@]}" -eq 18 ] || abort "the window does not hold every control of the design"
    list=${handle_of[ListView1]}
    combo=${handle_of[Combo1]}
    progress=${handle_of[ProgressBar1]}
}
map_controls first
# shot NAME: the window's client area as the screen shows it (without a window manager nobody draws a frame).
shot() {
    sleep 1
    local left top right bottom
    IFS=$'\t' read -r _ _ left top right bottom < <(records client "$reading")
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$screenshots/$1"
    say "screenshot $screenshots/$1"
}
if [ -n "$screenshots" ]; then
    mkdir -p "$screenshots"
    shot windows-plain.png
fi
say "read $(records control "$reading" | wc -l) controls, the design's 18 among them"

modes=("Tabs To Commas" "Spaces To Commas" "Enters To Commas" "X Character(s) To Commas" "Tabs To Comma-spaces"
    "Spaces To Comma-spaces" "Enters To Comma-spaces" "X Character(s) To Comma-spaces")
# check_state WHAT MODE OPTION1 OPTION2 FOLDER: what the mode box, the options and the folder box show.
check_state() {
    expect "$1: mode box" "$(text_of "$(awk -F'\t' -v h="$combo" '$1 == "control" && $2 == h' "$reading")")" "$2"
    expect "$1: Option1" "$(awk -F'\t' -v h="${handle_of[Option1]}" '$1 == "check" && $2 == h { print $3 }' \
        "$reading")" "$3"
    expect "$1: Option2" "$(awk -F'\t' -v h="${handle_of[Option2]}" '$1 == "check" && $2 == h { print $3 }' \
        "$reading")" "$4"
    expect "$1: folder box" "$(text_of "$(awk -F'\t' -v h="${handle_of[Text1]}" '$1 == "control" && $2 == h' \
        "$reading")")" "$5"
}
# check_idle_progress WHAT: the bar at rest, at 0 with its text "Progress Bar".
check_idle_progress() {
    expect "$1: progress bar" "$(records progress "$reading" | cut -f3-5 | tr '\t' ' ')" "0 0 100"
    expect "$1: progress text" "$(text_of "$(awk -F'\t' -v h="$progress" '$1 == "control" && $2 == h' \
        "$reading")")" "Progress Bar"
}
# The list's rows, one path a line.
list_rows() { awk -F'\t' -v h="$list" '$1 == "row" && $2 == h' "$reading" | while IFS= read -r r; do
    text_of "$r"
    echo
done; }

expect "list column" "$(records column "$reading" | cut -f3,5 | tr '\t' ' ')" "0 File(s)"
column_width=$(records column "$reading" | cut -f4)
[ "${column_width:-0}" -ge 466 ] && [ "$column_width" -le 468 ] ||
    fail "list column: $column_width pixels wide, 7000 twips are 467"
expect "list at start" "$(records rows "$reading" | cut -f3)" "0"
expect "mode box entries" "$(awk -F'\t' -v h="$combo" '$1 == "entry" && $2 == h { print $4 }' "$reading")" \
    "$(printf '%s\n' "${modes[@]}")"
user=$(id -un)
check_state "first start" "Tabs To Commas" 1 0 "C:\\users\\$user\\Desktop\\"
check_idle_progress "first start"

# --- The command-line help box --------------------------------------------------------------------------------------
say "clicking \"How To Use This Software As Command-Line\""
click_control "$reading" "${handle_of[PushButton4]}"
q='"'
nl2=$'\r\n\r\n'
usage="Usage:${nl2}tabulane <Input File> <Output File> ${q}<Character>${q}<option>${nl2}where <Character> can be \
${q}TABS${q} or ${q} ${q} or ${q}ENTERS${q} or any other separating character(s).${nl2}where <Option> can be \
-c(comma only) or -cs(comma and space)${nl2}Example:${nl2}tabulane TestFile.txt OutputFile.csv ${q}ENTERS${q} -cs"
if wait_box "$usage"; then
    expect "usage box caption" "$(text_of "$(records window "$box")")" "Tabulane"
    expect "usage box buttons" "$(box_buttons)" "OK"
    answer_box OK
else
    fail "no box with the command-line usage text: $(records control "$work/box.txt" | cut -f5,13)"
    robot press --title Tabulane --button OK >/dev/null || true
fi

# --- Samples, a run in an X mode, the files --------------------------------------------------------------------------
say "clicking \"Load Sample/Example Files\""
click_control "$reading" "${handle_of[PushButton7]}"
question="Would you like this software to open the folder where these sample files are stored (so that you can view \
them before working with them)?"
wait_box "$question" || abort "no box asking to open the samples folder"
expect "samples question caption" "$(text_of "$(records window "$box")")" "Tabulane"
expect "samples question buttons" "$(box_buttons)" "Yes|No"
answer_box No
read_window
expected_rows=$(for name in "${samples[@]}"; do echo "C:\\Tabulane\\Samples\\$name"; done)
expect "list after the samples" "$(list_rows)" "$expected_rows"

# convert_and_check MODE X OUTPUT_FOLDER (Windows) OUTPUT_FOLDER (here): after a run, every sample's output is the
# model's and the command line's, and the folder holds nothing else.
check_outputs() {
    local mode=$1 x=$2 windows_folder=$3 folder=$4 name stem
    local option=-c
    [[ $mode == *Comma-spaces ]] && option=-cs
    local character
    case $mode in
        Tabs*) character=TABS ;;
        Spaces*) character=' ' ;;
        Enters*) character=ENTERS ;;
        *) character=$x ;;
    esac
    for name in "${samples[@]}"; do
        stem=${name%.*}
        model_args=("$mode")
        [ -n "$x" ] && model_args+=(--x "$x")
        python3 tools/conversion-model.py "${model_args[@]}" "$app/Samples/$name" "$WINEPREFIX/drive_c/model/$stem.csv" ||
            abort "the model could not convert $name"
        # Wine puts an argument holding a space in quotes, so a lone space reaches the program as " ".
        timeout 60 "$wine" 'C:\Tabulane\tabulane.exe' "C:\\Tabulane\\Samples\\$name" "C:\\ref\\$stem.csv" \
            "$character" "$option" >/dev/null 2>&1 || fail "the command line ended with status $? on $name"
        if ! cmp -s "$folder/$stem.csv" "$WINEPREFIX/drive_c/model/$stem.csv"; then
            fail "$mode: ${windows_folder}$stem.csv differs from the model's: $(cmp "$folder/$stem.csv" \
                "$WINEPREFIX/drive_c/model/$stem.csv" 2>&1 | head -1)"
        fi
        cmp -s "$folder/$stem.csv" "$WINEPREFIX/drive_c/ref/$stem.csv" ||
            fail "$mode: ${windows_folder}$stem.csv differs from what the command line writes"
    done
    rm -f "$WINEPREFIX"/drive_c/ref/* "$WINEPREFIX"/drive_c/model/*
}

say "typing a mode into the mode box, the output folder into the folder box"
combo_edit=$(awk -F'\t' -v h="$combo" '$1 == "control" && $3 == h && $5 == "Edit" { print $2; exit }' "$reading")
[ -n "$combo_edit" ] || abort "the mode box has no edit field (it must be a drop-down combo box)"
type_into "$reading" "$combo_edit" "X Character(s) To Comma-spaces"
type_into "$reading" "${handle_of[Text1]}" 'C:\out\'
read_window
check_state "typed" "X Character(s) To Comma-spaces" 1 0 'C:\out\'

say "clicking \"Start Converting\""
click_control "$reading" "${handle_of[PushButton2]}"
wait_box "Enter X:" || abort "no X prompt"
expect "X prompt caption" "$(text_of "$(records window "$box")")" "Enter X"
expect "X prompt buttons" "$(box_buttons)" "OK|Cancel"
prompt_edit=$(records control "$box" | awk -F'\t' '$5 == "Edit" { print $2; exit }')
[ -n "$prompt_edit" ] || abort "the X prompt has no edit field"
type_into "$box" "$prompt_edit" ";"
answer_box OK
wait_box "Done." 30000 || abort "no \"Done.\" box after the run"
expect "done box caption" "$(text_of "$(records window "$box")")" "Tabulane"
expect "done box buttons" "$(box_buttons)" "OK"
read_window
check_idle_progress "with \"Done.\" shown"
answer_box OK
out=$WINEPREFIX/drive_c/out
expect "files in C:\\out" "$(cd "$out" && ls -1 | LC_ALL=C sort -f)" \
    "$(for name in "${samples[@]}"; do echo "${name%.*}.csv"; done)"
check_outputs "X Character(s) To Comma-spaces" ";" 'C:\out\' "$out"

# --- A mode picked from the open list, results beside the inputs ------------------------------------------------------
say "picking \"Spaces To Commas\" from the mode box's list, \"Save results in folder of original file\""
IFS=$'\t' read -r _ _ _ _ _ left top right bottom _ < <(awk -F'\t' -v h="$combo" '$1 == "control" && $2 == h' \
    "$reading")
wait_ready
click_at $((right - 8)) $(((top + bottom) / 2))
dropped=$work/dropped.txt
for _ in 1 2 3 4 5 6 7 8 9 10; do
    robot read --class ComboLBox >"$dropped" || true
    grep -q '^row' "$dropped" && break
    sleep 0.3
done
row=$(awk -F'\t' '$1 == "row" && $9 == "Spaces To Commas"' "$dropped")
[ -n "$row" ] || abort "the mode box's list did not open with \"Spaces To Commas\" in it"
IFS=$'\t' read -r _ _ _ _ left top right bottom _ <<<"$row"
# shellcheck disable=SC2046
click_at $(center "$left" "$top" "$right" "$bottom")
click_control "$reading" "${handle_of[Option2]}"
read_window
check_state "picked" "Spaces To Commas" 0 1 'C:\out\'
folder_enabled=$(awk -F'\t' -v h="${handle_of[Text1]}" '$1 == "control" && $2 == h { print $11 }' "$reading")
expect "folder box enabled with Option2" "$folder_enabled" 0
expect "browse button enabled with Option2" \
    "$(awk -F'\t' -v h="${handle_of[PushButton8]}" '$1 == "control" && $2 == h { print $11 }' "$reading")" 0
click_control "$reading" "${handle_of[PushButton2]}"
wait_box "Done." 30000 || abort "no \"Done.\" box after the second run"
answer_box OK
check_outputs "Spaces To Commas" "" 'C:\Tabulane\Samples\' "$app/Samples"

# --- A drop from an X drag source -----------------------------------------------------------------------------------
say "dropping two files onto the list from an X drag source"
gcc -std=gnu11 -O1 -Wall -Wextra -o "$work/XdndDragSource" tools/x11/XdndDragSource.c -lX11 ||
    abort "the drag source did not build"
mkdir -p "$WINEPREFIX/drive_c/drop"
dropped_file="$WINEPREFIX/drive_c/drop/dropped file é.txt"
printf 'a\tb\r\n' >"$dropped_file"
# Removed once it is listed: its error box holds the next run in the middle, where the progress bar is read.
gone_file=$WINEPREFIX/drive_c/drop/gone.txt
printf 'x\r\n' >"$gone_file"
IFS=$'\t' read -r _ _ _ _ _ left top right bottom _ < <(awk -F'\t' -v h="$list" '$1 == "control" && $2 == h' \
    "$reading")
rows_before=$(records rows "$reading" | cut -f3)
wait_ready
# shellcheck disable=SC2046
if ! timeout 30 "$work/XdndDragSource" --type text/plain $(center "$left" "$top" "$right" "$bottom") "plain text" \
    >"$work/drag.txt"; then
    grep -q '^status refused' "$work/drag.txt" || fail "a plain-text drag: $(cat "$work/drag.txt")"
else
    fail "the list took a plain-text drop"
fi
# shellcheck disable=SC2046
timeout 30 "$work/XdndDragSource" $(center "$left" "$top" "$right" "$bottom") "$dropped_file" "$gone_file" \
    >"$work/drag.txt" || fail "the file drop was not taken: $(cat "$work/drag.txt")"
sleep 0.5
read_window
expect "rows after the drop" "$(records rows "$reading" | cut -f3)" "$((rows_before + 2))"
expect "the dropped rows" "$(list_rows | tail -n 2)" $'C:\\drop\\dropped file é.txt\nC:\\drop\\gone.txt'

# --- The progress bar read during a run ---------------------------------------------------------------------------
say "a run over the list again with gone.txt removed, the progress bar read while its error box is up"
rm "$gone_file"
click_control "$reading" "${handle_of[PushButton2]}"
robot wait --class '#32770' --title "Application Error" --timeout 30000 >"$box" ||
    abort "no error box for the removed gone.txt"
robot read --hwnd "$(records window "$box" | cut -f2)" >"$box"
expect "error box buttons" "$(box_buttons)" "OK"
robot read --hwnd "$progress" >"$work/progress.txt"
# The last of the seven entries: the bar is full and names it while it is converted.
expect "progress text in the run" "$(text_of "$(records window "$work/progress.txt")")" "Processing: gone.txt"
expect "progress in the run" "$(records progress "$work/progress.txt" | cut -f3)" 100
# One box or more for the file (the opening and the reading may each report it); then the run ends.
until wait_box "Done." 1000; do
    robot read --class '#32770' --title "Application Error" >"$box" || abort "no \"Done.\" box after the third run"
    answer_box OK
done
answer_box OK
python3 tools/conversion-model.py "Spaces To Commas" "$dropped_file" "$work/model.csv" ||
    abort "the model could not convert the dropped file"
cmp -s "${dropped_file%.txt}.csv" "$work/model.csv" ||
    fail "Spaces To Commas: C:\\drop\\dropped file é.csv differs from the model's"

# --- Settings kept over a restart ---------------------------------------------------------------------------------
say "closing and starting again"
stop_program
start_program
read_window
map_controls
check_state "after a restart" "Spaces To Commas" 0 1 'C:\out\'
expect "list after a restart" "$(records rows "$reading" | cut -f3)" "0"

# --- The window with the skin, on a clean settings store as the first screenshot ------------------------------------
if [ -n "$screenshots" ]; then
    stop_program
    timeout 60 "$wine" reg delete 'HKCU\Software\Quillfen' /f >/dev/null 2>&1 || fail "the settings could not be removed"
    mkdir -p "$app/x"
    cp skins/o.cjs "$app/x/o.cjs"
    start_program
    read_window
    shot windows-skin.png
fi
stop_program

if [ "$failures" -gt 0 ]; then
    echo "e2e: $failures check(s) failed" >&2
    exit 1
fi
say "every check passed"
