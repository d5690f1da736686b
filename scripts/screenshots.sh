#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the real program under a virtual X server, works through a whole drill of twenty
# problems (three of them answered wrong first) and saves screenshots into docs/screenshots/:
# the drill window with a right answer marked, with the praise picture after the twentieth
# answer, and with "終" at the end; and the results window.
#
# The problems on screen are read through the accessibility bus, the same way a screen
# reader reads them; the keyboard and the mouse are driven with xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}" \
    "${SCREENSHOT_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" --target rovedavu >build/release/build.log 2>&1 ||
    { tail -n 40 build/release/build.log; exit 1; }
program="$PWD/build/release/ui/rovedavu"
out="$PWD/docs/screenshots"
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/rirekidata"

# A display of our own: Xvfb reports its number once it is ready.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start" >&2; exit 1; }
exec 3<&-
export DISPLAY=":$display"

# Reads the problem on the drill window once the problem number reads "［もんだい N］":
# prints dividend and divisor. The controls are found by their place in the window.
cat >"$work/problem.py" <<'PY'
import sys, time
import pyatspi

def controls():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "rovedavu":
            continue
        for window in app:
            if window is None or window.name != "「ポルネア」 for Windows":
                continue
            wx, wy = window.queryComponent().getPosition(pyatspi.WINDOW_COORDS)
            found = {}
            for child in window:
                x, y = child.queryComponent().getPosition(pyatspi.WINDOW_COORDS)
                found[(x - wx, y - wy)] = child.name
            return found
    return {}

wanted = "［もんだい %s］" % sys.argv[1]
for _ in range(200):
    c = controls()
    if c.get((8, 80)) == wanted:
        print(c[(16, 120)], c[(240, 120)])
        sys.exit(0)
    time.sleep(0.05)
sys.exit("problem %s did not come: %r" % (sys.argv[1], c))
PY

cat >"$work/drive.sh" <<'SH'
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
cd "$WORK"
"$PROGRAM" >"$WORK/program.log" 2>&1 &
program_pid=$!

wait_window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
shot() { import -window "$1" "$2"; echo "saved $2"; }
# The boxes and buttons of the drill window, as offsets from its top-left corner.
click() { xdotool mousemove --window "$drill" "$1" "$2" click 1; sleep 0.1; }
answer() { # quotient remainder
    click 500 148
    xdotool key ctrl+a
    xdotool type "$1"
    click 700 148
    xdotool key ctrl+a
    xdotool type "$2"
    xdotool key Return
    sleep 0.3
}

wait_window 'きょうはなんがつなんにち' >/dev/null
sleep 0.3
xdotool type '8/1'
xdotool key Return
wait_window 'あなたのＩＤ' >/dev/null
sleep 0.3
xdotool type 'demo'
xdotool key Return
drill=$(wait_window '「ポルネア」')

for k in $(seq 1 20); do
    read -r a c < <(/usr/bin/python3 "$WORK/problem.py" "$k")
    q=$((a / c))
    r=$((a % c))
    case $k in 3|8|14) answer $((q + 1)) "$r" ;; esac
    answer "$q" "$r"
    [ "$k" -eq 5 ] && shot "$drill" "$OUT/drill-window.png"
    [ "$k" -eq 20 ] && shot "$drill" "$OUT/drill-praise.png"
    xdotool key Return  # the next button
    sleep 0.2
done
sleep 0.3
shot "$drill" "$OUT/drill-finished.png"

click 676 456  # おわり
results=$(wait_window '「学習履歴」')
sleep 0.5
shot "$results" "$OUT/results-window.png"

xdotool mousemove --window "$results" 796 472 click 1  # おわり
wait_window 'ぽるねあ' >/dev/null
sleep 0.3
xdotool key Return  # Yes, the default
timeout 10 tail --pid="$program_pid" -f /dev/null
echo "history file: $(ls "$WORK/rirekidata")"
SH

WORK="$work" PROGRAM="$program" OUT="$out" \
    dbus-run-session -- bash "$work/drive.sh" 2> >(grep -v 'fd limit' >&2)
