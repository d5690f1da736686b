#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the benchmarks (Release) and runs them all, printing the figures:
#   1. start-up of the program against the bare baseline, under a virtual X server: the
#      program itself, and from the menu entry's command in an installed tree;
#   2. the drill engine: the generator at problem 20 and the number rules on long texts;
#   3. the drill window's handlers, offscreen, with the real sound control;
#   4. the answer's cue with missing, empty, cut-short and non-WAV cue files;
#   5. the teacher's program on a class folder of 40 learners × 250 drills, and its class
#      window from start to the table on screen (under a virtual X server);
#   6. the cues on a recorded sound server of the benchmark's own: onset against paplay,
#      memory and streams over ten drills, Yes to the results window.
# 3 and 4 once without a sound server and once with one that plays into a null sink.
# Installs missing Debian packages first. The figures are also kept in build/bench/results/.
#
#   STARTUP_RUNS=21 bench/run.sh     # start-up runs of each program (default 21)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
# shellcheck source=scripts/virtual-display.sh
source scripts/virtual-display.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
runs=${STARTUP_RUNS:-21}
build=build/bench
bin="$PWD/$build/bench"
out="$PWD/$build/results"

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_TESTS=OFF \
    -DROVEDAVU_BUILD_BENCH=ON >"$build/configure.log" 2>&1 ||
    { tail -n 40 "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
rm -rf "$out"
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=
pulse_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

step() { printf '\n== %s\n' "$*"; }
# Runs a benchmark program and keeps its figures; Qt's counted messages go to stderr. A
# program that fails is noted and the others still run.
failed=()
run() { # name program [arguments...]
    local name=$1 status=0
    shift
    "$@" 2> >(grep -vE '^(Run on|CPU Caches|  L[123] |Load Average|[0-9]{4}-[0-9]{2}-)' >&2) |
        tee "$out/$name.txt" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "!! $name: $(basename "$1") ended with status $status" | tee -a "$out/$name.txt"
        failed+=("$name")
    fi
}

step "Machine"
{
    echo "CPU:    $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
    echo "Memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "System: $(sed -n 's/^PRETTY_NAME="\(.*\)"$/\1/p' /etc/os-release), Linux $(uname -r)"
    echo "Qt:     $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null)"
    echo "C++:    $(c++ --version | head -n 1)"
} | tee "$out/machine.txt"

# Neither program may find a sound server by chance: the runs without one point at a
# socket that does not exist.
export PULSE_SERVER="unix:$work/no-sound-server"

step "Start-up: $runs runs of each program, under Xvfb without a window manager"
start_xvfb "$work/xvfb.log"
DISPLAY=":$display" run startup "$bin/bench_startup" --runs "$runs" \
    baseline="$bin/rovedavu_baseline" rovedavu="$PWD/$build/ui/rovedavu"

# The path a learner takes: the menu entry's command, found on PATH in an installed tree, to
# the date dialog; the baseline is started by the same launcher.
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$build/install.log" 2>&1 ||
    { tail -n 20 "$build/install.log"; exit 1; }
entry=$(find "$stage/usr/share/applications" -name '*.desktop' ! -name '*.Report.desktop')
command=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
launcher=$(PATH="$stage/usr/bin:$PATH" command -v "${command%% *}")
sed "s|^program=.*|program='$bin/rovedavu_baseline'|" "$launcher" >"$work/baseline-launcher"
chmod +x "$work/baseline-launcher"
step "Start-up from the menu's command ($command): $runs runs of each, under Xvfb"
DISPLAY=":$display" run startup-menu "$bin/bench_startup" --runs "$runs" \
    baseline="$work/baseline-launcher" rovedavu="$launcher"
kill "$xvfb_pid"
xvfb_pid=

step "Drill engine: the generator and the number rules"
run drill "$bin/bench_drill"

step "Teacher's program: a class folder of 40 learners × 250 drills, offscreen"
QT_QPA_PLATFORM=offscreen run report "$bin/bench_report"

step "Teacher's class window on the same folder: start to the table on screen, under Xvfb"
start_xvfb "$work/xvfb.log"
DISPLAY=":$display" run report-window "$bin/bench_report_window"
kill "$xvfb_pid"
xvfb_pid=

step "Handlers, offscreen, with no sound server"
run handlers-no-sound-server "$bin/bench_handlers"
step "Sound failures, with no sound server"
run sound-failures-no-sound-server "$bin/bench_sound_failures"

# A sound server of our own that plays into a null sink: what a computer with sound does,
# without a sound card.
mkdir -p "$work/pulse"
HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" pulseaudio -n --daemonize=no \
    --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=bench" \
    --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
    >"$work/pulse.log" 2>&1 &
pulse_pid=$!
export PULSE_SERVER="unix:$work/pulse/native"
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
if pactl info >/dev/null 2>&1; then
    step "Handlers, offscreen, with a sound server (null sink)"
    run handlers-sound-server "$bin/bench_handlers"
    step "Sound failures, with a sound server (null sink)"
    run sound-failures-sound-server "$bin/bench_sound_failures"
else
    tail -n 20 "$work/pulse.log"
    echo "No sound server could be started: the runs with sound were skipped."
fi

step "Cues on a recorded sound server of the benchmark's own (null sink)"
run cues "$bin/bench_cues"

step "Done: the figures are in $build/results/"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Ended with an error: ${failed[*]} (see above)"
    exit 1
fi
