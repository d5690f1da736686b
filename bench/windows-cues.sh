#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows program's cues under Wine: press to sound over COUNT cues (200) at 4 presses a
# second, through the sound control of rovedavu.exe, for each player (ROVEDAVU_CUE_PLAYER),
# with the machine as it is, with one core kept busy by a loop of this script's own, and
# with as many busy loops as cores.
# A PulseAudio server of the benchmark's own with a null sink; its monitor recorded and the
# cues found by their test tones (cue_listener of the Debian build). Figures only; never a
# failure for a slow machine.
#
#   bench/windows-cues.sh [COUNT] [PLAYERS...]      (200; memory mci waveout)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
count=${1:-200}
shift || true
players=("$@")
[ ${#players[@]} -gt 0 ] || players=(memory mci waveout)
jobs=$(nproc 2>/dev/null || echo 2)

# The listener of the Debian build, and the presser of the Windows build, in Release.
quietly() { # log command...
    local log=$1
    shift
    "$@" >"$log" 2>&1 || { tail -n 40 "$log"; exit 1; }
}
mkdir -p build/bench-cues build/bench-cues-windows
quietly build/bench-cues/configure.log cmake -S . -B build/bench-cues -DCMAKE_BUILD_TYPE=Release \
    -DROVEDAVU_BUILD_TESTS=ON
quietly build/bench-cues/build.log cmake --build build/bench-cues -j "$jobs" --target cue_listener
quietly build/bench-cues-windows/configure.log cmake -S . -B build/bench-cues-windows \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DROVEDAVU_BUILD_BENCH=ON -DROVEDAVU_BUILD_TESTS=OFF
quietly build/bench-cues-windows/build.log cmake --build build/bench-cues-windows -j "$jobs" \
    --target cues_bench
listener=$PWD/build/bench-cues/tests/ui/cue_listener
bench=$PWD/build/bench-cues-windows/bench/windows/cues_bench.exe

work=$(mktemp -d)
busy_pids=()
listener_pid=
cleanup() {
    for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
scripts/wine-prefix.sh "$work/prefix" >/dev/null
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
unset LC_ALL DISPLAY

# run PLAYER LOOPS: one run of the benchmark beside LOOPS busy loops, its figures on
# standard output.
run() {
    local player=$1 loops=$2 sound="$work/sound-$1-$2" cues="$work/cues-$1-$2"
    mkdir -p "$sound" "$cues"
    mkfifo "$sound/stop"
    "$listener" "$sound" "$cues" "$cues/presses.txt" <"$sound/stop" >"$sound/heard.txt" 2>&1 &
    listener_pid=$!
    exec 4>"$sound/stop"
    local waited=0
    until grep -qs "^recording" "$sound/heard.txt"; do
        sleep 0.1
        waited=$((waited + 1))
        if [ $waited -gt 200 ] || ! kill -0 "$listener_pid" 2>/dev/null; then
            cat "$sound/heard.txt" >&2
            echo "the listener did not start" >&2
            exit 1
        fi
    done
    local before
    before=$(cut -d' ' -f1 /proc/loadavg)
    for _ in $(seq "$loops"); do
        (while :; do :; done) &
        busy_pids+=($!)
    done
    (cd "$cues" && PULSE_SERVER="unix:$sound/native" ROVEDAVU_CUE_PLAYER=$player \
        wine "$bench" presses.txt "$count" 4) || echo "cues_bench ended with status $?"
    local after
    after=$(cut -d' ' -f1 /proc/loadavg)
    for pid in "${busy_pids[@]}"; do
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    done
    busy_pids=()
    exec 4>&-
    wait "$listener_pid" || true
    listener_pid=
    echo "== $player, busy loops: $loops (load average $before at the start, $after at the end)"
    grep -v '^recording' "$sound/heard.txt"
    local heard delays
    heard=$(sed -En 's/^heard ([0-9]+ of [0-9]+) cues pressed; stutters ([0-9]+), sounds not pressed ([0-9]+)$/\1 | \2 | \3/p' \
        "$sound/heard.txt")
    delays=$(sed -En 's/^press to sound: median ([0-9.]+) ms, 95th percentile ([0-9.]+) ms, maximum ([0-9.]+) ms$/\1 \2 \3/p' \
        "$sound/heard.txt")
    local figures="– | – | –"
    # shellcheck disable=SC2086
    [ -n "$delays" ] && figures=$(printf '%.1f ms | %.1f ms | %.1f ms' $delays)
    summary+=("| $player | $loops | $before–$after | $figures | ${heard:-? | ? | ?} |")
}

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
    "$(wine --version)"
# Each load in turn for every player, so that the players share what else the machine does.
summary=()
for loops in 0 1 "$(nproc)"; do
    for player in "${players[@]}"; do
        run "$player" "$loops"
    done
done
echo
echo "| player | busy loops | load average | median | 95th percentile | maximum | heard | stutters | sounds not pressed |"
echo "| --- | --- | --- | --- | --- | --- | --- | --- | --- |"
printf '%s\n' "${summary[@]}"
