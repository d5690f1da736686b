#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows program under Wine: start-up to the date dialog against a bare Win32 window
# and dialog under the same Wine, the size of rovedavu.exe, and its resident memory.
# Figures only; never a failure for a slow machine.
#
#   bench/windows-startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
source scripts/virtual-display.sh
runs=${1:-15}
jobs=$(nproc 2>/dev/null || echo 2)

# The X watcher from the Debian benchmarks, and both Windows programs in Release.
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_BENCH=ON \
    -DROVEDAVU_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j "$jobs" --target bench_startup >/dev/null
cmake -S . -B build/bench-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_BENCH=ON -DROVEDAVU_BUILD_TESTS=ON >/dev/null
cmake --build build/bench-windows -j "$jobs" --target rovedavu bare_dialog drill_driver >/dev/null

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
scripts/wine-prefix.sh "$work/prefix" >/dev/null
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
# No sound server by chance: both run without one.
export PULSE_SERVER="unix:$work/no-sound-server"
# The drill's working folder, named by the user's settings file.
mkdir -p "$work/data/rirekidata"
appdata=$(winepath -u 'C:\users' 2>/dev/null)/$(whoami)/AppData/Roaming/Rovedavu
mkdir -p "$appdata"
printf 'DataFolder=%s\r\n' "$(winepath -w "$work/data")" >"$appdata/rovedavu.conf"

for program in bare_dialog:bench/windows/bare_dialog.exe rovedavu:win32/rovedavu.exe; do
    printf '#!/bin/sh\nexec wine "%s"\n' "$PWD/build/bench-windows/${program#*:}" \
        >"$work/${program%%:*}.sh"
    chmod +x "$work/${program%%:*}.sh"
done

echo "== Start-up under Wine $(wine --version 2>/dev/null | sed 's/^wine-//'), Xvfb, no window manager"
start_xvfb "$work/xvfb.log"
# One server for every run, so that each run is the program's own start, not Wine's.
wineserver -w
wineserver -p
DISPLAY=":$display" build/bench/bench/bench_startup --runs "$runs" \
    bare="$work/bare_dialog.sh" rovedavu="$work/rovedavu.sh"

echo
echo "== rovedavu.exe"
exe=build/bench-windows/win32/rovedavu.exe
stripped="$work/rovedavu-stripped.exe"
x86_64-w64-mingw32-strip -o "$stripped" "$exe"
echo "size as shipped (stripped): $(stat -c %s "$stripped") bytes"
echo "imports: $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"

# Resident memory through a whole drill, driven as the whole-drill test drives it: sampled
# every 50 ms from the start to the results window's end.
echo
echo "== Resident memory of rovedavu.exe through a whole drill"
wineserver -k
wineserver -w
rm -rf "$work/data/rirekidata"
mkdir -p "$work/data/rirekidata"
DISPLAY=":$display" wine build/bench-windows/win32/rovedavu.exe >/dev/null 2>&1 &
sleep 2
DISPLAY=":$display" wine build/bench-windows/tests/windows/drill_driver.exe \
    "$(winepath -w "$work/report.txt")" >/dev/null 2>"$work/driver.log" &
driver=$!
peak=0 last=0 hwm=0
while kill -0 "$driver" 2>/dev/null; do
    pid=$(pgrep -f 'rovedavu\.exe' | head -n 1 || true)
    if [ -n "$pid" ] && [ -r "/proc/$pid/status" ]; then
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
        now=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        [ -n "$now" ] && hwm=$now
        [ "${rss:-0}" -gt "$peak" ] && peak=$rss
        last=${rss:-$last}
    fi
    sleep 0.05
done
wait "$driver" || { echo "!! the drill did not go through:"; cat "$work/driver.log"; }
echo "VmRSS peak while sampled: $peak KiB; VmHWM at the last sample: $hwm KiB; VmRSS then: $last KiB"
