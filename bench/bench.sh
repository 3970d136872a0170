#!/usr/bin/env bash
# Times build/tabulane against cat, tr and sed on generated data, all in one run, and checks its output.
# Usage: bench/bench.sh [--quick] [--runs N] [--tabulane PROGRAM]      (see bench/README.md)
# Exit status: 0 every bar met, 1 a bar missed (speed bars count in the full run only), 2 wrong output or an error.
set -euo pipefail

usage() {
    cat <<'EOF'
Usage: bench/bench.sh [--quick] [--runs N] [--tabulane PROGRAM]
  --quick             files 16 times smaller, 3 runs (everyday use)
  --runs N            timed runs per command (default 5, quick 3); the median is reported
  --tabulane PROGRAM  time PROGRAM instead of build/tabulane (then only the data generator is built)
EOF
}

scale=1
runs=""
program=""
while [ $# -gt 0 ]; do
    case "$1" in
    --quick) scale=16 ;;
    --runs)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        runs=$2
        shift
        ;;
    --tabulane)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        program=$(realpath -- "$2")
        shift
        ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
    esac
    shift
done
if [ -z "$runs" ]; then
    runs=$((scale == 1 ? 5 : 3))
fi
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "bench: --runs wants a positive whole number, not '$runs'" >&2
    exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Byte semantics for the yardsticks and a dot in EPOCHREALTIME; tabulane gets a UTF-8 locale of its own below.
export LC_ALL=C
# Without a display tabulane reports to standard error instead of opening a box that would wait for a click.
unset DISPLAY WAYLAND_DISPLAY

source tools/ensure-packages.sh
tabulane_ensure_packages "${TABULANE_BUILD_PACKAGES[@]}" time

# The full run holds 1.8 GiB of data plus one output of up to 1.1 GiB at a time; leave room to spare.
temp_parent=${TMPDIR:-/tmp}
need_kib=$((4 * 1024 * 1024 / scale))
free_kib=$(df -Pk -- "$temp_parent" | awk 'NR == 2 { print $4 }')
if [ "$free_kib" -lt "$need_kib" ]; then
    echo "bench: refusing to run: $temp_parent has $((free_kib / 1024)) MiB free," \
        "this run needs $((need_kib / 1024)) MiB." >&2
    echo "bench: free some space or point TMPDIR at a larger disk." >&2
    exit 2
fi

work=$(mktemp -d "$temp_parent/tabulane-bench.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
data=$work/data
rss_file=$work/rss
cpu_file=$work/cpu
err_file=$work/stderr

echo "Building (Release) in build/ ..."
targets=(tabulane_bench_generate)
if [ -z "$program" ]; then
    targets+=(tabulane)
    program=$root/build/tabulane
fi
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTABULANE_BUILD_TESTS=OFF &&
    cmake --build build -j 2 --target "${targets[@]}"; } >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    echo "bench: the build failed" >&2
    exit 2
fi

if [ ! -x "$program" ]; then
    echo "bench: $program was not built (is the tabulane target's output folder build/?)" >&2
    exit 2
fi

echo "Generating data (sizes divided by $scale) ..."
build/bench/tabulane_bench_generate --scale "$scale" "$data"
# The long-separator case keeps its full size in quick mode too: it is small, and its bar is set on 10 MB.
head -c 10000000 /dev/zero | tr '\0' a >"$data/as.txt"
many=$work/many
mkdir -- "$many"
loop_files=$((1000 / scale))
for ((i = 1; i <= loop_files; i++)); do
    cp -- "$data/tiny.txt" "$many/file$i.txt"
done
sync

# ---- The commands. Each takes IN OUT, writes OUT anew and leaves its peak RSS (KiB) in $rss_file. ----
timed=(/usr/bin/time -f %M -o "$rss_file")

run_tabulane() { LC_ALL=C.UTF-8 "${timed[@]}" "$program" "$1" "$2" "$3" "$4" </dev/null >/dev/null; }
cmd_tabulane_tabs() { run_tabulane "$1" "$2" TABS -c; }
cmd_tabulane_spaces() { run_tabulane "$1" "$2" " " -c; }
cmd_tabulane_enters() { run_tabulane "$1" "$2" ENTERS -c; }
cmd_cat() { "${timed[@]}" cat -- "$1" >"$2"; }
cmd_tr_tabs() { "${timed[@]}" tr '\t' ',' <"$1" >"$2"; }
cmd_sed_tabs() { "${timed[@]}" sed 's/\t/,/g; s/$/\r/' -- "$1" >"$2"; }
cmd_tr_spaces() { "${timed[@]}" tr -s ' ' ',' <"$1" >"$2"; }
cmd_tr_enters() { "${timed[@]}" sh -c "tr -d '\\r' | tr '\\n' ','" <"$1" >"$2"; }
# A separator of 100,000 a's and a b on a file of a's: a plain search compares almost the whole separator at
# every position. One character that does not occur either is the yardstick: the same output.
long_separator="$(printf 'a%.0s' $(seq 100000))b"
cmd_tabulane_long() { run_tabulane "$1" "$2" "$long_separator" -c; }
cmd_tabulane_short() { run_tabulane "$1" "$2" b -c; }

declare -A label=(
    [cmd_tabulane_tabs]="tabulane TABS -c"
    [cmd_tabulane_spaces]="tabulane \" \" -c"
    [cmd_tabulane_enters]="tabulane ENTERS -c"
    [cmd_cat]="cat"
    [cmd_tr_tabs]="tr '\\t' ','"
    [cmd_sed_tabs]="sed 's/\\t/,/g; s/\$/\\r/'"
    [cmd_tr_spaces]="tr -s ' ' ','"
    [cmd_tr_enters]="tr -d '\\r' | tr '\\n' ','"
    [cmd_tabulane_long]="tabulane a...ab (100,001) -c"
    [cmd_tabulane_short]="tabulane b -c"
)

# ---- What tabulane must write, made by other tools (streamed, so no second big file is kept). ----
expect_tabs() { sed 's/\t/,/g; s/$/\r/' -- "$1"; }
# Runs of spaces become one comma, trailing spaces go, every line ends in CR LF.
expect_spaces() { tr -s ' ' ',' <"$1" | sed 's/,$//; s/$/\r/'; }
expect_enters() { tr -d '\r' <"$1" | tr '\n' ','; }
# The generator keeps byte 09 out of every UTF-16 code unit but the tab, so a byte-wise swap is exact.
expect_utf16() { tr '\t' ',' <"$1"; }
expect_oneline() {
    tr '\t' ',' <"$1"
    printf '\r\n'
}
expect_unchanged_line() {
    cat -- "$1"
    printf '\r\n'
}

# ---- Measuring ----
output_count=0
output=""
seconds=""
rss_kib=""
cpu_seconds=""

# Runs one command on IN into a new output file; sets $seconds, $cpu_seconds (user + system) and $rss_kib.
# The output stays for the caller.
run_once() {
    local command=$1 input=$2
    output_count=$((output_count + 1))
    output=$work/out.$output_count
    sync
    local start=$EPOCHREALTIME
    # The shell's own timer gives the command's CPU time to the millisecond (/usr/bin/time: to 10 ms).
    local TIMEFORMAT='%3U %3S'
    if ! { time "$command" "$input" "$output" 2>"$err_file"; } 2>"$cpu_file"; then
        echo "bench: ${label[$command]} failed on $(basename "$input"):" >&2
        { cat -- "$err_file" && head -n 1 -- "$rss_file"; } >&2 2>/dev/null || true
        exit 2
    fi
    local end=$EPOCHREALTIME
    seconds=$(awk -v start="$start" -v end="$end" 'BEGIN { printf "%.6f", end - start }')
    rss_kib=$(tail -n 1 "$rss_file")
    cpu_seconds=$(awk '{ printf "%.3f", $1 + $2 }' "$cpu_file")
}

# The median of the numbers on standard input, separated by spaces.
median() {
    tr ' ' '\n' | sed '/^$/d' | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.6f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

declare -A median_s=() median_cpu=() peak_kib=() input_mib=() tabulane_of=()
rows=()
wrong_output=0

# bench_case NAME FILE EXPECT COMMAND... : the first command is tabulane; its output is checked against EXPECT.
bench_case() {
    local name=$1 file=$data/$2 expect=$3
    shift 3
    local commands=("$@") command run
    tabulane_of[$name]=${commands[0]}
    local -A times=() cpus=() peaks=()
    input_mib[$name]=$(awk -v bytes="$(stat -c %s -- "$file")" 'BEGIN { printf "%.6f", bytes / 1048576 }')
    printf '  %-8s %s\n' "$name" "$(basename "$file")"

    # The output check gets a run of its own: the reference takes a while, and the timed runs should not
    # start after a pause (see below).
    run_once "${commands[0]}" "$file"
    if ! cmp -- "$output" <("$expect" "$file") >"$work/cmp" 2>&1; then
        echo "bench: WRONG OUTPUT: ${label[${commands[0]}]} on $(basename "$file") differs from the reference:" \
            "$(head -n 1 "$work/cmp" | sed "s|$output|output|g; s|/dev/fd/[0-9]*|reference|g")" >&2
        wrong_output=1
    fi
    rm -f -- "$output"

    # Each command: one untimed run, then its timed runs back to back. Not round-robin: on a virtual machine that
    # hands freed memory back to its host, a command that writes large blocks right after another tool (or after
    # a pause) pays for the host refilling that memory; after its own run, every command meets the memory state
    # it leaves itself, which is what a plain machine would give all of them.
    for command in "${commands[@]}"; do
        for ((run = 0; run <= runs; run++)); do
            run_once "$command" "$file"
            rm -f -- "$output"
            if [ "$run" -gt 0 ]; then
                times[$command]+=" $seconds"
                cpus[$command]+=" $cpu_seconds"
                if [ "${peaks[$command]:-0}" -lt "$rss_kib" ]; then
                    peaks[$command]=$rss_kib
                fi
            fi
        done
    done

    for command in "${commands[@]}"; do
        median_s[$name:$command]=$(median <<<"${times[$command]}")
        median_cpu[$name:$command]=$(median <<<"${cpus[$command]}")
        peak_kib[$name:$command]=${peaks[$command]}
        rows+=("$name:$command")
    done
}

echo
echo "Timing $program against the yardsticks, $runs timed runs each after one warm-up:"
bench_case tabs tabs.tsv expect_tabs cmd_tabulane_tabs cmd_cat cmd_tr_tabs cmd_sed_tabs
bench_case spaces spaces.txt expect_spaces cmd_tabulane_spaces cmd_cat cmd_tr_spaces
bench_case lines lines.txt expect_enters cmd_tabulane_enters cmd_cat cmd_tr_enters
bench_case utf16 utf16.tsv expect_utf16 cmd_tabulane_tabs cmd_cat cmd_tr_tabs
bench_case oneline oneline.txt expect_oneline cmd_tabulane_tabs cmd_cat cmd_tr_tabs
bench_case tiny tiny.txt expect_tabs cmd_tabulane_tabs cmd_cat
bench_case longsep as.txt expect_unchanged_line cmd_tabulane_long cmd_tabulane_short

# ---- Report ----
commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
git diff --quiet HEAD -- 2>/dev/null || commit+=" + uncommitted changes"
mode=$([ "$scale" -eq 1 ] && echo full || echo "quick (sizes / $scale)")
echo
echo "Tabulane bench, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $commit, $mode, median of $runs runs, $(nproc) cores"
echo
printf '%-8s %-30s %8s %10s %10s %8s %10s %14s\n' case command input "median s" "MiB/s" "CPU s" "CPU s/GiB" \
    "peak RSS MiB"
printf '%s\n' "-------------------------------------------------------------------------------------------------------------"
for row in "${rows[@]}"; do
    name=${row%%:*}
    command=${row#*:}
    # awk -v would expand the backslashes in the labels, so only numbers go through awk.
    read -r size speed per_gib rss <<<"$(awk -v mib="${input_mib[$name]}" -v s="${median_s[$row]}" \
        -v cpu="${median_cpu[$row]}" -v kib="${peak_kib[$row]}" \
        'BEGIN { size = mib >= 1 ? sprintf("%.0fMiB", mib) : mib * 1024 >= 1 ? sprintf("%.0fKiB", mib * 1024) \
                                                         : sprintf("%.0fB", mib * 1048576)
                 printf "%s %.1f %s %.1f", size, (s > 0 ? mib / s : 0),
                 (mib >= 1 ? sprintf("%.2f", cpu / (mib / 1024)) : "-"), kib / 1024 }')"
    printf '%-8s %-30s %8s %10.4f %10s %8.3f %10s %14s\n' "$name" "${label[$command]}" "$size" "${median_s[$row]}" \
        "$speed" "${median_cpu[$row]}" "$per_gib" "$rss"
done

missed=0
# ratio CASE COMMAND LIMIT KIND [cpu]: prints tabulane's median time (or CPU time) over COMMAND's; KIND "bar" fails
# the run when over LIMIT.
ratio() {
    local name=$1 command=$2 limit=$3 kind=$4 measure=${5:-} verdict
    local table=median_s
    if [ "$measure" = cpu ]; then
        table=median_cpu
    fi
    local -n medians=$table
    verdict=$(awk -v t="${medians[$name:${tabulane_of[$name]}]}" -v y="${medians[$name:$command]}" -v limit="$limit" \
        -v kind="$kind" 'BEGIN {
            if (y <= 0) { printf "   n/a   (too short to measure)"; exit }
            r = t / y
            if (kind == "info") { printf "%6.2f", r; exit }
            ok = r <= limit
            printf "%6.2f   %s <= %.2f   %s", r, kind, limit, ok ? "met" : (kind == "bar" ? "MISSED" : "over")
        }')
    printf '%-8s %-44s %s\n' "$name" "${measure:+CPU: }tabulane / ${label[$command]}" "$verdict"
    # Start-up weighs too much on the quick files for their speed bars to count.
    if [ "$kind" = bar ] && [ "$scale" -eq 1 ] && [[ "$verdict" == *MISSED ]]; then
        missed=$((missed + 1))
    fi
}

echo
echo "Ratios of median times (lower is faster; same run):"
ratio tabs cmd_tr_tabs 0.5 bar
ratio tabs cmd_sed_tabs 0 info
ratio tabs cmd_cat 1.5 aim
ratio spaces cmd_tr_spaces 0.5 bar
ratio spaces cmd_cat 1.5 aim
ratio lines cmd_tr_enters 0.5 bar
ratio lines cmd_cat 1.5 aim
ratio utf16 cmd_tr_tabs 1.0 bar
ratio utf16 cmd_cat 0 info
ratio oneline cmd_tr_tabs 0 info
ratio oneline cmd_cat 0 info
ratio longsep cmd_tabulane_short 3.0 bar

# CPU time (user + system) is steadier than wall time on a shared machine, and shows work done whatever the disk.
echo
echo "Ratios of median CPU times (user + system; same run):"
ratio tabs cmd_cat 1.5 bar cpu
ratio spaces cmd_cat 1.5 bar cpu
ratio lines cmd_cat 1.5 bar cpu
ratio utf16 cmd_cat 1.5 bar cpu
per_gib=$(awk -v cpu="${median_cpu[tabs:cmd_tabulane_tabs]}" -v mib="${input_mib[tabs]}" \
    'BEGIN { r = cpu / (mib / 1024); printf "%6.2f   bar <= 0.60   %s", r, r <= 0.6 ? "met" : "MISSED" }')
printf '%-8s %-44s %s\n' tabs "CPU seconds per GiB, tabulane TABS -c" "$per_gib"
if [ "$scale" -eq 1 ] && [[ "$per_gib" == *MISSED ]]; then
    missed=$((missed + 1))
fi
if [ "$scale" -ne 1 ]; then
    echo "(quick mode: start-up time, see the tiny row, weighs heavily on these small files, so the speed bars"
    echo " are indicative only and do not set the exit status; judge them on the full run)"
fi

# ---- Start-up: small files converted one process each, as a shell script does ----
loop_tabulane() {
    local file
    for file in "$many"/*.txt; do
        LC_ALL=C.UTF-8 "$program" "$file" "${file%.txt}.csv" TABS -c </dev/null >/dev/null || return 1
    done
}
loop_tr() {
    local file
    for file in "$many"/*.txt; do
        tr '\t' ',' <"$file" >"${file%.txt}.csv" || return 1
    done
}
# Sets $loop_seconds to the median wall time of a few runs of the loop LOOP, after one untimed run.
loop_median() {
    local loop=$1 times="" run start
    for ((run = 0; run <= 3; run++)); do
        start=$EPOCHREALTIME
        if ! "$loop"; then
            echo "bench: $loop failed" >&2
            exit 2
        fi
        if [ "$run" -gt 0 ]; then
            times+=" $(awk -v start="$start" -v end="$EPOCHREALTIME" 'BEGIN { printf "%.6f", end - start }')"
        fi
    done
    loop_seconds=$(median <<<"$times")
}
loop_median loop_tabulane
loop_tabulane_s=$loop_seconds
if ! cmp -s -- "$many/file1.csv" <(expect_tabs "$many/file1.txt"); then
    echo "bench: WRONG OUTPUT: tabulane in the shell loop differs from the reference" >&2
    wrong_output=1
fi
loop_median loop_tr
echo
echo "Start-up: a shell loop converting $loop_files small files, one process each (median of 3 runs):"
loop_report=$(awk -v t="$loop_tabulane_s" -v y="$loop_seconds" -v n="$loop_files" 'BEGIN {
    r = y > 0 ? t / y : 0
    printf "loop     tabulane %.2f s (%.1f ms a file), tr %.2f s (%.1f ms a file)\n", t, 1000 * t / n, y, 1000 * y / n
    printf "loop     %-44s %6.2f   bar <= 2.00   %s\n", "tabulane / tr", r, r <= 2 ? "met" : "MISSED"
}')
echo "$loop_report"
if [[ "$loop_report" == *MISSED && "$scale" -eq 1 ]]; then
    missed=$((missed + 1))
fi

echo
memory=$(awk -v big="${peak_kib[oneline:cmd_tabulane_tabs]}" -v small="${peak_kib[tiny:cmd_tabulane_tabs]}" \
    'BEGIN { d = (big - small) / 1024; if (d > -0.05 && d < 0.05) d = 0
             printf "%.1f MiB (oneline.txt %.1f MiB - tiny.txt %.1f MiB)   bar <= 16 MiB   %s",
             d, big / 1024, small / 1024, (d <= 16 ? "met" : "MISSED") }')
echo "Memory, peak RSS growth converting one long line: $memory"
if [[ "$memory" == *MISSED ]]; then
    missed=$((missed + 1))
fi

echo
if [ "$wrong_output" -ne 0 ]; then
    echo "RESULT: tabulane wrote WRONG OUTPUT (see above); its times mean nothing."
    exit 2
fi
echo "Output check: tabulane's output matched the reference conversion in every case."
if [ "$missed" -ne 0 ]; then
    echo "RESULT: $missed bar(s) missed."
    exit 1
fi
if [ "$scale" -ne 1 ]; then
    echo "RESULT: output right and memory bar met (speed bars are judged on the full run only)."
else
    echo "RESULT: every bar met."
fi
