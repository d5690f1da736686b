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
# reader reads them; the keyboard and the mouse are driven with xdotool. On the way it checks
# what a screen reader meets: both windows read as frames, every box, button and picture
# has a name, and each judgement mark and the praise picture are announced on the bus.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
# shellcheck source=scripts/virtual-display.sh
source scripts/virtual-display.sh
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
mkdir -p "$work/rirekidata" "$work/config/rovedavu"
# The program enters the folder that its settings name: this one.
echo "DataFolder=$work" >"$work/config/rovedavu/rovedavu.conf"
export XDG_CONFIG_HOME="$work/config"

# A display of our own: Xvfb reports its number once it is ready.
start_xvfb "$work/xvfb.log"
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

# What a screen reader meets. "check TITLE": the window of that title reads as a frame, and
# every shown box, button and picture in it, and every label that shows a value, is named.
# "listen FILE": writes the name changes and the showing of pictures into FILE as they come.
# "heard FILE": the marks "◎", "×" and "終" and the praise picture were announced.
cat >"$work/reader.py" <<'PY'
import sys, time
import pyatspi

def window(title):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "rovedavu":
                continue
            for w in app:
                if w is not None and w.name == title:
                    return w
        time.sleep(0.05)
    sys.exit("no window %r" % title)

def has_text(control):
    try:
        control.queryText()
        return True
    except NotImplementedError:
        return False

def check(title):
    w = window(title)
    problems = [] if w.getRoleName() == "frame" else ["window role %s" % w.getRoleName()]
    named = 0
    def walk(parent):
        nonlocal named
        for c in parent:
            if c is None or not c.getState().contains(pyatspi.STATE_SHOWING):
                continue
            role = c.getRoleName()
            if role in ("text", "push button", "image") or (role == "label" and has_text(c)):
                if c.name.strip():
                    named += 1
                else:
                    problems.append("unnamed %s at %s" % (role, c.queryComponent().getPosition(pyatspi.WINDOW_COORDS)))
            walk(c)
    walk(w)
    if problems:
        sys.exit("%s: %s" % (title, "; ".join(problems)))
    print("%s: a frame, %d controls named" % (title, named))

def listen(path):
    out = open(path, "w")
    def heard(event):
        try:
            if event.type.startswith("object:property-change:accessible-name"):
                print("name", event.source.getRoleName(), event.source.name, file=out, flush=True)
            elif event.detail1 == 1:
                print("shown", event.source.getRoleName(), event.source.name, file=out, flush=True)
        except Exception:
            pass
    pyatspi.Registry.registerEventListener(
        heard, "object:property-change:accessible-name", "object:state-changed:showing")
    pyatspi.Registry.start()

def heard(path):
    lines = set(open(path).read().splitlines())
    wanted = ["name label ◎", "name label ×", "name label 終", "shown image よくできました"]
    missing = [w for w in wanted if w not in lines]
    if missing:
        sys.exit("not announced: %s" % ", ".join(missing))
    print("announced: %s" % ", ".join(wanted))

{"check": check, "listen": listen, "heard": heard}[sys.argv[1]](sys.argv[2])
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
/usr/bin/python3 "$WORK/reader.py" listen "$WORK/heard.txt" &
listener_pid=$!

for k in $(seq 1 20); do
    read -r a c < <(/usr/bin/python3 "$WORK/problem.py" "$k")
    [ "$k" -eq 1 ] && /usr/bin/python3 "$WORK/reader.py" check '「ポルネア」 for Windows'
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
/usr/bin/python3 "$WORK/reader.py" check '「学習履歴」'
kill "$listener_pid"
/usr/bin/python3 "$WORK/reader.py" heard "$WORK/heard.txt"

xdotool mousemove --window "$results" 796 472 click 1  # おわり
wait_window 'ぽるねあ' >/dev/null
sleep 0.3
xdotool key Return  # Yes, the default
timeout 10 tail --pid="$program_pid" -f /dev/null
echo "history file: $(ls "$WORK/rirekidata")"
SH

WORK="$work" PROGRAM="$program" OUT="$out" \
    dbus-run-session -- bash "$work/drive.sh" 2> >(grep -v 'fd limit' >&2)
