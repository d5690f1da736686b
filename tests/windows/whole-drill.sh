#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# whole-drill.sh BUILD_DIR HISTORY_BYTES_TOOL: a whole drill in the real rovedavu.exe of the
# Windows build in BUILD_DIR, under a virtual X server and a fresh Wine prefix of its own.
# drill_driver.exe works through it as a learner would, from outside, through the windows'
# controls. Then the history file and its archive copy must hold exactly the bytes that the
# Debian program writes for the same rows, date and ID (HISTORY_BYTES_TOOL, of the plain
# build), and the archive's name must be the end's date and time, the computer's name and
# 8 hex digits.
# PROGRAM=EXE: that rovedavu.exe instead, such as the one unpacked from the zip.
# SHOTS=DIR: the driver stops at each sight, and a screenshot of it goes into DIR.
# PREFIX=DIR: the Wine prefix DIR, already made and the program's working folder already set
# in it, and DATA=FOLDER: that working folder (a Unix path), where the files must go.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR HISTORY_BYTES_TOOL" >&2
    exit 2
fi
program=$(realpath "${PROGRAM:-$1/win32/rovedavu.exe}")
driver=$(realpath "$1/tests/windows/drill_driver.exe")
tool=$(realpath "$2")
for file in "$program" "$driver" "$tool"; do
    [ -x "$file" ] || { echo "whole drill: $file is missing" >&2; exit 1; }
done
# shellcheck source=scripts/virtual-display.sh
source "$here/scripts/virtual-display.sh"

work=$(mktemp -d)
prefix=${PREFIX:-$work/prefix}
xvfb_pid=
cleanup() {
    if [ -d "$prefix" ]; then
        { WINEPREFIX="$prefix" wineserver -k && WINEPREFIX="$prefix" wineserver -w; } \
            2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "whole drill: $*" >&2
    exit 1
}

start=$SECONDS
if [ -z "${PREFIX:-}" ]; then
    "$here/scripts/wine-prefix.sh" "$prefix"
    echo "Wine prefix made in $((SECONDS - start)) s"
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
unset LC_ALL
start_xvfb "$work/xvfb.log"
export DISPLAY=":$display"

# The working folder, named by the user's settings file; the program is started elsewhere.
mkdir -p "$work/elsewhere"
data=${DATA:-$work/data}
if [ -z "${DATA:-}" ]; then
    mkdir -p "$data/rirekidata"
    appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
    mkdir -p "$appdata/Rovedavu"
    printf 'DataFolder=%s\r\n' "$(winepath -w "$data")" >"$appdata/Rovedavu/rovedavu.conf"
fi

(cd "$work/elsewhere" && exec wine "$program") >"$work/program.log" 2>&1 &
program_pid=$!
hold=()
[ -n "${SHOTS:-}" ] && hold=(--hold-ms 2500) && mkdir -p "$SHOTS"
status=0
timeout 600 wine "$driver" "$(winepath -w "$work/report.txt")" "${hold[@]}" 2>"$work/driver.log" |
    while read -r line; do
        shot=${line#sight: }
        # Halfway through the stop, once the window has been drawn.
        [ -n "${SHOTS:-}" ] && sleep 1.5 && import -window root "$SHOTS/${shot// /-}.png"
        echo "$line"
    done || status=$?
if [ "$status" -ne 0 ]; then
    cat "$work/driver.log" >&2
    sed 's/^/rovedavu.exe: /' "$work/program.log" >&2
    fail "the drill did not go as a learner's should"
fi
for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "wine rovedavu.exe still runs 30 s after the end"
program_status=0
wait "$program_pid" || program_status=$?
[ "$program_status" -eq 0 ] || fail "rovedavu.exe ended with status $program_status"
timeout 30 wineserver -w || fail "processes of the prefix are still running 30 s after the end"
echo "The drill went through; $((SECONDS - start)) s with the prefix"

# What the driver did: the date, the ID, the computer's name, the end's time and the rows.
declare -A said
rows=()
while IFS=$'\t' read -r kind first second third; do
    case $kind in
        row) rows+=("$first"$'\t'"$second"$'\t'"$third") ;;
        ended) said[after]=$first said[before]=$second ;;
        *) said[$kind]=$first ;;
    esac
done <"$work/report.txt"
[ "${#rows[@]}" -eq 20 ] || fail "the driver reported ${#rows[@]} rows"

folder="$data/rirekidata"
history="$folder/Rovedavu${said[id]}.txt"
[ -f "$history" ] || fail "no history file $(basename "$history"); rirekidata holds: $(ls -A "$folder")"
[ "$(ls -A "$folder" | LC_ALL=C sort | tr '\n' ' ')" = "Rovedavu${said[id]}.txt kiroku " ] ||
    fail "rirekidata holds more than the history file and kiroku: $(ls -A "$folder")"
learner="$folder/kiroku/Rovedavu${said[id]}"
[ "$(ls -A "$folder/kiroku")" = "Rovedavu${said[id]}" ] && [ "$(ls -A "$learner" | wc -l)" -eq 1 ] ||
    fail "not one archive file in kiroku/Rovedavu${said[id]}: $(ls -AR "$folder/kiroku")"
archive=$(ls -A "$learner")

# The time of each row as the history file writes it, against the results window's caption.
mapfile -t times < <(tail -n +2 "$history" | cut -d, -f2 | tr -d '"\r')
[ "${#times[@]}" -eq 20 ] || fail "the history file has ${#times[@]} rows, not 20"
{
    printf '%s\n%s\n' "${said[date]}" "${said[id]}"
    for k in "${!rows[@]}"; do
        IFS=$'\t' read -r text count caption <<<"${rows[$k]}"
        awk -v a="$caption" -v b="${times[$k]}" 'BEGIN { exit !(a + 0 == b + 0) }' ||
            fail "row $((k + 1)): the file's time \"${times[$k]}\" is not the window's \"$caption\""
        printf '%s\t%s\t%s\n' "$text" "${times[$k]}" "$count"
    done
} >"$work/expected.txt"
"$tool" "$work/expected.txt" "$work/expected"
expected="$work/expected/rirekidata/Rovedavu${said[id]}.txt"
if ! cmp "$expected" "$history"; then
    for file in "$expected" "$history"; do
        echo "${file#"$work"/}:"
        iconv -f CP932 -t UTF-8 "$file" | cat -A | head -n 5 || true
    done
    fail "the history file differs from what the Debian program writes"
fi
# The date's wave dash as Windows writes it, in all twenty rows.
[ "$(LC_ALL=C grep -c $'\x81\x60' "$history")" -eq 20 ] || fail "no 0x81 0x60 for the wave dash"
cmp "$history" "$learner/$archive" || fail "the archive file $archive is not the history file"

host=$(printf '%s' "${said[host]}" | LC_ALL=C.UTF-8 sed 's/[^A-Za-z0-9.-]/-/g' | cut -c1-63)
pattern="^([0-9]{8}-[0-9]{6})_${host:--}_[0-9a-f]{8}\.txt$"
[[ $archive =~ $pattern ]] || fail "the archive's name $archive is not like ${pattern//\\/}"
ended=${BASH_REMATCH[1]}
((10#${ended/-/} >= 10#${said[after]/-/} && 10#${ended/-/} <= 10#${said[before]/-/})) ||
    fail "the archive's time $ended is not the end's, ${said[after]} to ${said[before]}"
echo "The history file and its archive $archive hold the Debian program's bytes"
