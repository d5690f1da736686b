#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the teacher's program under a virtual X server on a made-up class of twelve learners
# and saves screenshots into docs/screenshots/: the class window, and one learner's window
# opened from it with the keyboard. On the way, both windows are read through the
# accessibility bus as a screen reader reads them, and every control without a name is
# reported (the script fails then).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
# shellcheck source=scripts/virtual-display.sh
source scripts/virtual-display.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}" \
    "${SCREENSHOT_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" --target rovedavu-report report_sample_class \
    >build/release/build.log 2>&1 || { tail -n 40 build/release/build.log; exit 1; }
program="$PWD/build/release/report/rovedavu-report"
out="$PWD/docs/screenshots"
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/rirekidata" "$work/config"
build/release/report/report_sample_class "$work/rirekidata" 12 24 1 "$(date +%F)"
# A made-up class list for the twelve IDs "01" to "12", written as a teacher would ("1").
names=("あおき はると" "いとう さくら" "うえだ そうた" "えんどう ひまり" "おの ゆうと" "かとう めい"
    "きむら れん" "くどう あおい" "こばやし りく" "さいとう ゆい" "しみず はやと" "すずき こはる")
{
    echo "出席番号,氏名,ID"
    for k in "${!names[@]}"; do echo "$((k + 1)),${names[$k]},$((k + 1))"; done
} >"$work/meibo.csv"

start_xvfb "$work/xvfb.log"
export DISPLAY=":$display"

# Every control of the program's windows that a screen reader would read as nothing.
cat >"$work/names.py" <<'PY'
import sys
import pyatspi

# Roles that show something or take input; panes, fillers and the like may stay nameless.
NAMED = {pyatspi.ROLE_FRAME, pyatspi.ROLE_TABLE, pyatspi.ROLE_PUSH_BUTTON,
         pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT, pyatspi.ROLE_PROGRESS_BAR,
         pyatspi.ROLE_IMAGE, pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM,
         pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST,
         pyatspi.ROLE_PAGE_TAB}

def walk(node, path, nameless, depth=0):
    if node is None or depth > 12:
        return
    role = node.getRole()
    # Table cells and headers are named by their text; they are rows of the model.
    if role in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_ROW_HEADER):
        return
    here = path + "/" + node.getRoleName()
    if role in NAMED and not node.name.strip():
        nameless.append(here)
    for child in node:
        walk(child, here, nameless, depth + 1)

found = False
nameless = []
for app in pyatspi.Registry.getDesktop(0):
    if app is None or app.name != "rovedavu-report":
        continue
    for window in app:
        found = True
        if window.getRole() != pyatspi.ROLE_FRAME:
            nameless.append("window %r has the role %s" % (window.name, window.getRoleName()))
        walk(window, "", nameless)
if not found:
    sys.exit("the program's windows are not on the accessibility bus")
for item in nameless:
    print("no name:", item)
sys.exit(1 if nameless else 0)
PY

cat >"$work/drive.sh" <<'SH'
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# A settings folder of our own: the teacher's own choice of folder is not touched.
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
"$PROGRAM" --roster "$WORK/meibo.csv" "$WORK/rirekidata" >"$WORK/program.log" 2>&1 &
program_pid=$!

wait_window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
shot() { import -window "$1" "$2"; echo "saved $2"; }

main=$(wait_window '^ポルネア 学習履歴$')
sleep 1.5  # the folder is read and the table filled
shot "$main" "$OUT/report-class.png"

# The table has the focus with the first row current: Enter opens that learner.
xdotool windowfocus --sync "$main"
xdotool key Return
learner=$(wait_window '（ID ')
sleep 1
shot "$learner" "$OUT/report-learner.png"

/usr/bin/python3 "$WORK/names.py"
kill "$program_pid"
SH

WORK="$work" PROGRAM="$program" OUT="$out" \
    dbus-run-session -- bash "$work/drive.sh" 2> >(grep -v 'fd limit' >&2)
