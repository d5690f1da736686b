#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# recorded-cues.sh BUILD_DIR CUE_LISTENER: every cue of a whole drill heard, in the real
# rovedavu.exe of the Windows build in BUILD_DIR, under a virtual X server and a fresh Wine
# prefix of its own. CUE_LISTENER (of the plain build) starts a PulseAudio server of the
# test's own with a null sink, which Wine's sound reaches through PULSE_SERVER, puts the
# four cue files as test tones into the drill's working folder, and records the sink.
# drill_driver.exe works through the drill and logs each press of a button that plays a
# cue; the cues heard must be the cues pressed, in order, each within 100 ms of its press.
# PROGRAM=EXE: that rovedavu.exe instead. ROVEDAVU_CUE_PLAYER passes to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR CUE_LISTENER" >&2
    exit 2
fi
program=$(realpath "${PROGRAM:-$1/win32/rovedavu.exe}")
driver=$(realpath "$1/tests/windows/drill_driver.exe")
listener=$(realpath "$2")
for file in "$program" "$driver" "$listener"; do
    [ -x "$file" ] || { echo "recorded cues: $file is missing" >&2; exit 1; }
done
# shellcheck source=scripts/virtual-display.sh
source "$here/scripts/virtual-display.sh"

work=$(mktemp -d)
xvfb_pid=
listener_pid=
cleanup() {
    if [ -d "$work/prefix" ]; then
        { WINEPREFIX="$work/prefix" wineserver -k && WINEPREFIX="$work/prefix" wineserver -w; } \
            2>/dev/null || true
    fi
    # The listener's sound server ends with it.
    for pid in "$listener_pid" "$xvfb_pid"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "recorded cues: $*" >&2
    exit 1
}

start=$SECONDS
"$here/scripts/wine-prefix.sh" "$work/prefix" >/dev/null
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
unset LC_ALL
start_xvfb "$work/xvfb.log"
export DISPLAY=":$display"

# The working folder, named by the user's settings file; its cue files replace the
# program's own.
mkdir -p "$work/data/rirekidata" "$work/elsewhere" "$work/sound"
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
mkdir -p "$appdata/Rovedavu"
printf 'DataFolder=%s\r\n' "$(winepath -w "$work/data")" >"$appdata/Rovedavu/rovedavu.conf"

mkfifo "$work/sound/stop"
"$listener" "$work/sound" "$work/data" "$work/presses.txt" <"$work/sound/stop" \
    >"$work/heard.txt" 2>&1 &
listener_pid=$!
exec 4>"$work/sound/stop"
for _ in $(seq 200); do
    grep -qs '^recording' "$work/heard.txt" && break
    kill -0 "$listener_pid" 2>/dev/null || break
    sleep 0.1
done
grep -qs '^recording' "$work/heard.txt" || { cat "$work/heard.txt" >&2; fail "no recording"; }
export PULSE_SERVER="unix:$work/sound/native"

(cd "$work/elsewhere" && exec wine "$program") >"$work/program.log" 2>&1 &
program_pid=$!
if ! timeout 120 wine "$driver" "$(winepath -w "$work/report.txt")" \
    --press-log "$(winepath -w "$work/presses.txt")" 2>"$work/driver.log"; then
    cat "$work/driver.log" >&2
    sed 's/^/rovedavu.exe: /' "$work/program.log" >&2
    fail "the drill did not go as a learner's should"
fi
wait "$program_pid" || fail "rovedavu.exe ended with status $?"

exec 4>&-
status=0
wait "$listener_pid" || status=$?
listener_pid=
grep -v '^recording' "$work/heard.txt"
[ "$status" -eq 0 ] || fail "not every cue pressed was heard, in order and in time (player: ${ROVEDAVU_CUE_PLAYER:-default})"
echo "Every cue of the drill heard in time, in $((SECONDS - start)) s with the prefix"
