#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the screenshots of the Windows program in docs/screenshots again: a whole drill in
# rovedavu.exe under Wine and a virtual X server, driven as the whole-drill test drives it,
# with a picture of the drill window after a right answer and of the results window.
#
#   scripts/windows-screenshots.sh [WINDOWS_BUILD_DIR [HISTORY_BYTES_TOOL]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
tool=${2:-build/test/tests/records/history_bytes_tool}
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
SHOTS="$shots" tests/windows/whole-drill.sh "$build" "$tool"
# The virtual screen is black around the window: trimming leaves the window with its frame.
convert "$shots/a-right-answer.png" -trim +repage docs/screenshots/windows-drill-window.png
convert "$shots/the-results-window.png" -trim +repage docs/screenshots/windows-results-window.png
echo "docs/screenshots/windows-drill-window.png and windows-results-window.png made"
