#!/usr/bin/env bash
# Installs Tabulane on Windows the ways users and administrators do, under Wine in a fresh prefix, and checks each
# step from outside, with Windows' own answers (reg query, the version resource, the shortcut's target):
#  1. an older version (0.9.0, made here from the same installer with one more sample), silently; then the built
#     tabulane-<version>-setup.exe /S over it: one uninstall entry with every value, the files exactly (the older
#     version's extra sample gone), the program's version resource, the Start-menu shortcut and no desktop one,
#     a saved setting kept; a conversion with the installed program from its command line; the same installer
#     again over it (a damaged file comes back); while the program runs, installing fails with status 2 and
#     uninstalling removes nothing; then the entry's QuietUninstallString: nothing of ours is left, in the files or
#     the registry, and the setting stays.
#  2. setup.exe /S /D=<a folder with a space>; results written beside the samples by the installed program and a
#     skin in x\o.cjs; the entry's UninstallString /S removes everything else and leaves those two files.
#  3. the portable zip holds the same program folder, without the uninstaller.
# Run by ./test-windows.sh; needs its build folder. Usage: tools/check-install-windows.sh [build folder]
# No display is needed: the prefix uses Wine's null graphics driver, and HOME is a temporary folder, so nothing
# reaches the real desktop, menus or settings.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
source tools/ensure-packages.sh
tabulane_ensure_packages cmake make g++-mingw-w64-x86-64-posix wine64 nsis

step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -f "$build/CMakeCache.txt" ] || fail "no $build/CMakeCache.txt: ./test-windows.sh configures $build/"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
setup="$build/tabulane-$version-setup.exe"
portable="$build/tabulane-$version-win64.zip"
probe="$build/tabulane_probe_install.exe"

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
work=$(mktemp -d "${TMPDIR:-/tmp}/tabulane-install-XXXXXX")
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEDEBUG=-all
# No Mono or Gecko offers, and no menu entries of the real desktop made from our shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_DESKTOP_DIR
mkdir -p "$HOME"
cleanup() {
    "$wineserver" -k 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step "A fresh Wine prefix"
"$wine" wineboot --init > /dev/null 2>&1 || true
"$wineserver" -w
# Windows need a driver; the null one draws nothing and needs no X server.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f > /dev/null
"$wineserver" -w
# One session with Wine's services started once: a program then starts in about a second rather than five.
"$wineserver" -p
"$wine" wineboot > /dev/null 2>&1 < /dev/null || true

# Built in this prefix: the build runs one of its generators under Wine.
step "Building the installer, the portable zip and the probe in $build/"
cmake --build "$build" --target tabulane_windows_package tabulane_probe_install > /dev/null
for file in "$setup" "$portable" "$probe" "$build/tabulane.exe" "$build/HAND-M.CUR"; do
    [ -f "$file" ] || fail "missing $file"
done
ls -l "$setup" "$portable"
# Installing for one user needs no administrator: the installer's manifest asks to run as the user who starts it.
grep -aq 'level="asInvoker"' "$setup" || fail "$setup does not ask to run as the invoking user"
echo "the installer's manifest asks for no elevation (asInvoker)"
# The program is installed without its debugging information, stamped with the time it was linked.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
program="$work/tabulane.exe"
SOURCE_DATE_EPOCH=$(stat -c %Y "$build/tabulane.exe") "$strip" -o "$program" "$build/tabulane.exe"
# Drive C: is drive_c/ in the prefix (asking Wine each time costs a second a call here).
unix_path() {
    local path=${1#[Cc]:\\}
    echo "$WINEPREFIX/drive_c/${path//\\//}"
}
profile=$("$wine" cmd /c echo '%USERPROFILE%' | tr -d '\r')
[[ $profile == 'C:\users\'* ]] || fail "the profile folder is $profile"
default_dir="$profile\\AppData\\Local\\Programs\\Tabulane"
start_menu="$profile\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Tabulane.lnk"
start_menu_link=$(unix_path "$start_menu")
desktop_link="$(unix_path "$profile\\Desktop")/Tabulane.lnk"
[ -d "$(dirname "$start_menu_link")" ] || fail "no Start-menu folder at $(dirname "$start_menu_link")"
echo "default folder: $default_dir"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
settings_key='HKCU\Software\Quillfen\Tabulane'
# Every file in the prefix before anything of ours is there, to find what is left at the end.
(cd "$WINEPREFIX" && find drive_c ! -path 'drive_c/users/*/Temp/*' | sort) > "$work/files-before"

# The Windows path of a file outside the prefix: Wine's drive Z: is the root.
windows_path() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}
# Waits until no program runs in the prefix but Wine's own (those in C:\windows) and the one whose process is
# $left_running, when set.
left_running=""
wait_for_programs() {
    local pid busy
    for _ in $(seq 1 600); do
        busy=false
        for pid in $(pgrep -f '^[A-Z]:\\' || true); do
            [ "$pid" = "$left_running" ] && continue
            if tr '\0' '\n' 2> /dev/null < "/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
                ! tr '\0' ' ' 2> /dev/null < "/proc/$pid/cmdline" | grep -qi '^C:\\windows\\'; then
                busy=true
            fi
        done
        [ "$busy" = false ] && return 0
        sleep 0.2
    done
    fail "programs still running in the prefix after 2 minutes: $(pgrep -af '^[A-Z]:\\')"
}
# Runs a Windows command line exactly as it stands, from a batch file: an argument list would be quoted again on
# the way, and "/D=C:\a b" must reach the installer unquoted. Waits until every program it started has ended (an
# uninstaller hands over to a copy of itself and returns at once). Prints nothing; returns the program's status.
run_and_wait() {
    local status=0
    printf '@%s\r\n' "$1" > "$work/run.bat"
    timeout 120 "$wine" cmd /c "$(windows_path "$work/run.bat")" > "$work/run-output" 2>&1 < /dev/null || status=$?
    wait_for_programs
    return "$status"
}
install() {
    run_and_wait "\"$(windows_path "$1")\" ${*:2}" || fail "$1 ${*:2} ended with status $?: $(head -c 500 "$work/run-output")"
    echo "installed: $(basename "$1") ${*:2}"
}

# The values of the uninstall entry, one "name type data" line each; entry_value picks one from what was read last.
read_entry() { entry=$("$wine" reg query "$uninstall_key\\Tabulane" 2> /dev/null | tr -d '\r' | sed -n 's/^    //p'); }
entry_value() { awk -v name="$1" -F '    ' '$1 == name { print $2 " " $3 }' <<< "$entry"; }
check_entry() {
    local folder=$1 expected_version=$2 entries
    read_entry
    entries=$("$wine" reg query "$uninstall_key" 2> /dev/null | tr -d '\r' | grep -ic 'tabulane' || true)
    [ "$entries" -eq 1 ] || fail "$entries uninstall entries name Tabulane: $("$wine" reg query "$uninstall_key")"
    local expected
    expected=$(
        cat << EOF
DisplayName REG_SZ Tabulane
DisplayVersion REG_SZ $expected_version
Publisher REG_SZ Quillfen
DisplayIcon REG_SZ $folder\\tabulane.exe
InstallLocation REG_SZ $folder
UninstallString REG_SZ "$folder\\uninstall.exe"
QuietUninstallString REG_SZ "$folder\\uninstall.exe" /S
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
EOF
    )
    local name value
    while read -r name value; do
        [ "$(entry_value "$name")" = "$value" ] ||
            fail "uninstall entry: $name is '$(entry_value "$name")', not '$value'"
    done <<< "$expected"
    # The folder's size in KiB, as Windows shows it: about what the files take.
    local size kib
    size=$(entry_value EstimatedSize)
    [[ $size == "REG_DWORD 0x"* ]] || fail "uninstall entry: EstimatedSize is '$size'"
    kib=$((${size#REG_DWORD }))
    local actual
    actual=$(du -sk --apparent-size "$(unix_path "$folder")" | cut -f1)
    ((kib >= actual * 9 / 10 && kib <= actual * 11 / 10 + 8)) ||
        fail "uninstall entry: EstimatedSize $kib KiB for a folder of $actual KiB"
    echo "one uninstall entry, Tabulane $expected_version in $folder, all values as expected (EstimatedSize $kib KiB)"
}

# The program folder holds exactly the program's files, each as built.
expected_files() {
    {
        printf '%s\n' ./tabulane.exe ./HAND-M.CUR ./README.txt ./skins/o.cjs ./skins/README.txt ./uninstall.exe
        (cd samples && find . -type f | sed 's|^\./|./Samples/|')
    } | sort
}
check_program_folder() {
    local dir=$1
    diff <(expected_files) <(cd "$dir" && find . -type f | sort) ||
        fail "the files in $dir differ from the program's (< missing, > not ours)"
    cmp "$program" "$dir/tabulane.exe" || fail "the installed tabulane.exe is not the built one (stripped)"
    cmp "$build/HAND-M.CUR" "$dir/HAND-M.CUR" || fail "the installed HAND-M.CUR is not the built one"
    cmp skins/o.cjs "$dir/skins/o.cjs" || fail "the installed skin is not skins/o.cjs"
    diff -r samples "$dir/Samples" > /dev/null || fail "the installed samples are not samples/"
    [ "$(tr -d '\r' < "$dir/README.txt")" = "$(cat README.md)" ] || fail "README.txt is not README.md"
    grep -q $'\r$' "$dir/README.txt" || fail "README.txt does not end its lines with CR LF"
    grep -qF 'x\o.cjs' "$dir/skins/README.txt" || fail "skins\\README.txt does not say how to use x\\o.cjs"
    echo "the program folder holds exactly its $(expected_files | wc -l) files, as built"
}

check_version_resource() {
    local exe=$1 resource
    resource=$("$wine" "$probe" version "$exe" 2>&1 | tr -d '\r') ||
        fail "tabulane.exe: $resource"
    echo "$resource" | sed 's/^/  /'
    for line in ProductName=Tabulane CompanyName=Quillfen "FixedFileVersion=$version.0"; do
        grep -qxF "$line" <<< "$resource" || fail "the version resource of $exe lacks $line"
    done
    grep -qxE "FileVersion=$version(\\.0)?" <<< "$resource" || fail "the version resource's FileVersion is not $version"
    echo "the installed tabulane.exe carries its version resource ($version)"
}

check_shortcuts() {
    local folder=$1 shortcut
    [ -f "$start_menu_link" ] || fail "no Start-menu shortcut $start_menu_link"
    shortcut=$("$wine" "$probe" shortcut "$start_menu" | tr -d '\r') || fail "the Start-menu shortcut cannot be read: $shortcut"
    grep -qxF "Target=$folder\\tabulane.exe" <<< "$shortcut" || fail "the Start-menu shortcut leads elsewhere: $shortcut"
    grep -qxF "WorkingDirectory=$folder" <<< "$shortcut" || fail "the Start-menu shortcut starts elsewhere: $shortcut"
    [ ! -e "$desktop_link" ] || fail "a silent install made a desktop shortcut"
    echo "Start-menu shortcut \"Tabulane\" leads to $folder\\tabulane.exe; no desktop shortcut"
}

# Converts a file with the installed program from its command line, in a folder of the caller's choosing.
convert_with() {
    local exe=$1 from=$2 input=$3 output=$4 status=0
    (cd "$from" && timeout 120 "$wine" "$exe" "$input" "$output" TABS -c > "$work/run-output" 2>&1 < /dev/null) ||
        status=$?
    [ "$status" -eq 0 ] || fail "$exe $input $output TABS -c ended with status $status: $(head -c 500 "$work/run-output")"
}

uninstall_with() {
    local value=$1 arguments=${2:-} command
    read_entry
    command=$(entry_value "$value" | sed 's/^REG_SZ //')
    [[ $command =~ ^\"[^\"]+\" ]] || fail "$value is not a quoted program: $command"
    run_and_wait "$command${arguments:+ $arguments}" || fail "$command $arguments ended with status $?"
    echo "ran $value: $command${arguments:+ $arguments}"
}

# The keys under $1 whose names hold Tabulane or Quillfen, as reg export writes them.
keys_of_ours() {
    "$wine" reg export "$1" "$(windows_path "$work")\\export.reg" /y > /dev/null
    iconv -f UTF-16LE -t UTF-8 "$work/export.reg" | tr -d '\r' | grep -i '^\[.*\(tabulane\|quillfen\)' || true
}
check_removed() {
    local left
    [ ! -e "$start_menu_link" ] || fail "the Start-menu shortcut is left"
    [ ! -e "$desktop_link" ] || fail "a desktop shortcut is left"
    if "$wine" reg query "$uninstall_key\\Tabulane" > /dev/null 2>&1; then
        fail "the uninstall entry is left"
    fi
    [ -z "$(keys_of_ours HKCU | grep -vx '\[HKEY_CURRENT_USER\\Software\\Quillfen\(\\Tabulane\)\?\]')" ] ||
        fail "keys left in HKCU: $(keys_of_ours HKCU)"
    echo "the shortcut and the uninstall entry are gone; no other key of ours in HKCU"
    [ "$("$wine" reg query "$settings_key" /v Combo 2> /dev/null | tr -d '\r' | awk '$1 == "Combo" {print $3}')" = 2 ] ||
        fail "the setting Combo in $settings_key did not survive"
    echo "the user's settings ($settings_key) are kept"
}

step "1. An older version, then tabulane-$version-setup.exe /S over it"
old="$work/old"
mkdir -p "$old/source"
cp -r samples skins README.md "$old/source/"
printf 'retired\tsample\r\n' > "$old/source/samples/retired-sample.txt"
cmake -DPROGRAM="$build/tabulane.exe" -DCURSOR="$build/HAND-M.CUR" -DSOURCE_DIR="$old/source" -DSTRIP="$strip" \
    -DSTAGE="$old/Tabulane" -DFILE_LIST="$old/files.nsh" -P packaging/windows/StageProgramFolder.cmake
makensis -V1 -DVERSION=0.9.0 -DVERSION4=0.9.0.0 -DFILE_LIST="$old/files.nsh" -DOUTFILE="$old/setup-0.9.0.exe" \
    -DPROGRAM_ICON="$PWD/src/ui/win32/resources/tabulane.ico" packaging/windows/tabulane.nsi
install "$old/setup-0.9.0.exe" /S
check_entry "$default_dir" 0.9.0
dir=$(unix_path "$default_dir")
[ -f "$dir/Samples/retired-sample.txt" ] || fail "the older version did not install its extra sample"
"$wine" reg add "$settings_key" /v Combo /d 2 /f > /dev/null

install "$setup" /S
check_entry "$default_dir" "$version"
check_program_folder "$dir"
echo "the older version's retired-sample.txt is gone"
check_version_resource "$default_dir\\tabulane.exe"
check_shortcuts "$default_dir"

step "Converting with the installed program"
mkdir -p "$work/data"
printf 'name\tsize\r\nalpha\t1\r\n' > "$work/data/in.txt"
convert_with "$dir/tabulane.exe" "$work/data" in.txt out.csv
[ "$(od -An -c "$work/data/out.csv")" = "$(printf 'name,size\r\nalpha,1\r\n' | od -An -c)" ] ||
    fail "the installed program wrote $(od -c "$work/data/out.csv" | head -3)"
echo "tabulane.exe in.txt out.csv TABS -c: status 0, name,size CR LF alpha,1 CR LF"

step "The same installer again, over a damaged install"
printf 'damaged' > "$dir/HAND-M.CUR"
rm "$dir/Samples/orders-tab-separated.txt"
install "$setup" /S
check_entry "$default_dir" "$version"
check_program_folder "$dir"

step "Installing and uninstalling while Tabulane runs: both refused, nothing removed"
"$wine" "$dir/tabulane.exe" > /dev/null 2>&1 < /dev/null &
left_running=$!
for _ in $(seq 1 150); do
    grep -q 'Tabulane/tabulane.exe' "/proc/$left_running/maps" 2> /dev/null && break
    sleep 0.2
done
grep -q 'Tabulane/tabulane.exe' "/proc/$left_running/maps" || fail "the installed program did not start"
status=0
run_and_wait "\"$(windows_path "$setup")\" /S" || status=$?
[ "$status" -eq 2 ] || fail "installing over the running program ended with status $status, not 2"
echo "setup.exe /S over the running program: status 2"
# The uninstaller hands over to a copy of itself and returns at once, so what it did is read from the files.
uninstall_with QuietUninstallString
check_entry "$default_dir" "$version"
check_program_folder "$dir"
kill "$left_running"
wait "$left_running" 2> /dev/null || true
left_running=""
wait_for_programs

step "Uninstalling with the entry's QuietUninstallString"
uninstall_with QuietUninstallString
[ ! -e "$dir" ] || fail "$dir is left: $(cd "$dir" && find . | head)"
echo "$dir is gone"
check_removed
(cd "$WINEPREFIX" && find drive_c ! -path 'drive_c/users/*/Temp/*' | sort) > "$work/files-after"
# Windows keeps %LOCALAPPDATA%\Programs, the place of programs installed per user, once it is made.
left=$(comm -13 "$work/files-before" "$work/files-after" | grep -vx 'drive_c/users/[^/]*/AppData/Local/Programs' || true)
[ -z "$left" ] || fail "files left in the prefix: $left"
echo "no file in the prefix that was not there before the first install"

step "2. setup.exe /S /D=C:\\Tools\\Tabulane 1, with files of the user's own"
custom_dir='C:\Tools\Tabulane 1'
install "$setup" /S "/D=$custom_dir"
check_entry "$custom_dir" "$version"
dir=$(unix_path "$custom_dir")
check_program_folder "$dir"
check_shortcuts "$custom_dir"
# "Save results in folder of original file" for a sample writes into the program folder.
convert_with "$dir/tabulane.exe" "$dir/Samples" orders-tab-separated.txt orders-tab-separated.csv
[ -s "$dir/Samples/orders-tab-separated.csv" ] || fail "no result beside the sample"
mkdir "$dir/x"
cp skins/o.cjs "$dir/x/o.cjs"
cp "$dir/Samples/orders-tab-separated.csv" "$work/result.csv"
echo "the installed program wrote Samples\\orders-tab-separated.csv; the user made x\\o.cjs"
uninstall_with UninstallString /S
left=$(cd "$dir" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./Samples ./Samples/orders-tab-separated.csv ./x ./x/o.cjs " ] ||
    fail "after uninstalling, $dir holds: $left"
cmp "$work/result.csv" "$dir/Samples/orders-tab-separated.csv" || fail "the user's result was changed"
cmp skins/o.cjs "$dir/x/o.cjs" || fail "the user's x\\o.cjs was changed"
echo "the user's result and x\\o.cjs are kept, nothing else is left in $dir"
check_removed

step "3. The portable zip"
mkdir "$work/portable"
(cd "$work/portable" && unzip -q "$OLDPWD/$portable")
diff <(expected_files | grep -vx ./uninstall.exe) <(cd "$work/portable/Tabulane" && find . -type f | sort) ||
    fail "the zip's Tabulane\\ differs from the program folder"
cmp "$program" "$work/portable/Tabulane/tabulane.exe" || fail "the zip's tabulane.exe is not the built one (stripped)"
echo "$(basename "$portable") holds Tabulane\\ with the program's $(expected_files | grep -vxc ./uninstall.exe) files"

step "Nothing of ours in the machine's part of the registry"
[ -z "$(keys_of_ours 'HKLM\Software')" ] || fail "keys in HKLM\Software: $(keys_of_ours 'HKLM\Software')"
echo "no key under HKLM\Software names Tabulane or Quillfen"

printf '\nPASS (tabulane.exe %s from %s, %s bytes installed)\n' "$version" "$build" "$(stat -c %s "$program")"
