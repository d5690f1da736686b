#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# installer.sh BUILD_DIR MSI HISTORY_BYTES_TOOL: the MSI as a school's administrator uses it,
# silently, in a fresh Wine prefix of its own:
#   1. installed with DATAFOLDER naming a class folder on a file server (a UNC path, which
#      Wine serves from a folder here): the program, its licence, the Start menu entry, the
#      entry in Apps & features and the computer's settings file are checked;
#   2. the installed program does a whole drill (whole-drill.sh), and its files go to the
#      class folder;
#   3. an MSI of a higher version, installed without DATAFOLDER, replaces it in place and
#      leaves the settings file alone, and the older MSI then refuses to go over it;
#   4. its removal takes the program away and leaves every learner's file where it was.
# HISTORY_BYTES_TOOL is the plain build's, as for whole-drill.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ne 3 ]; then
    echo "usage: $0 BUILD_DIR MSI HISTORY_BYTES_TOOL" >&2
    exit 2
fi
build=$(realpath "$1") msi=$(realpath "$2") tool=$(realpath "$3")

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
unset LC_ALL
trap '{ wineserver -k && wineserver -w; } 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "installer: $*" >&2
    exit 1
}

"$here/scripts/wine-prefix.sh" "$WINEPREFIX"
# The school's server: \\fileserver\class-3 is this folder.
server="$work/server/class-3"
mkdir -p "$server/rovedavu" "$WINEPREFIX/dosdevices/unc/fileserver"
ln -s "$server" "$WINEPREFIX/dosdevices/unc/fileserver/class-3"
class_folder='\\fileserver\class-3\rovedavu'

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Rovedavu"
settings="$drive_c/ProgramData/Rovedavu/rovedavu.conf"
msi_property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
version=$(msi_property "$msi" ProductVersion)

msiexec() { # MSI_OR_OPTION... : msiexec, silent; fails the test on any status but 0
    local status=0
    wine msiexec "$@" /qn || status=$?
    [ "$status" -eq 0 ] || fail "msiexec $* ended with status $status"
}
windows_path() { winepath -w "$1"; }
# The uninstall entry of the product code, as "Name=value" lines.
uninstall_entry() {
    local key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"
    rm -f "$work/entry.reg"
    wine reg export "$key" "$(windows_path "$work/entry.reg")" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16LE -t UTF-8 "$work/entry.reg" | tr -d '\r' | sed -n 's/^"\([^"]*\)"="\(.*\)"$/\1=\2/p'
}
start_menu_entry() { # the .lnk files named ポルネア, for all users or for this one
    find "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
        "$drive_c/users" -path '*/Start Menu/Programs/*' -name 'ポルネア.lnk' 2>/dev/null || true
}

# 1. Installed silently, with the class folder.
start=$(date +%s%N)
msiexec /i "$(windows_path "$msi")" "DATAFOLDER=$class_folder"
echo "Installed $(basename "$msi") in $((($(date +%s%N) - start) / 1000000)) ms"
for file in rovedavu.exe LICENSE.txt; do
    [ -s "$installed/$file" ] || fail "Program Files\\Rovedavu\\$file is missing"
done
[ "$(cat "$settings" 2>/dev/null)" = $'[General]\r\nDataFolder='"$class_folder"$'\r' ] ||
    fail "the settings file holds: $(cat -A "$settings" 2>&1)"
# Wine puts a per-machine package's shortcut into the installing user's Start menu.
entry=$(start_menu_entry)
[ "$(wc -l <<<"$entry")" -eq 1 ] && [ -n "$entry" ] || fail "no single Start menu entry: $entry"
grep -qF 'Program Files\Rovedavu\rovedavu.exe' <<<"$(strings -a "$entry"; strings -a -el "$entry")" ||
    fail "the Start menu entry does not start Program Files\\Rovedavu\\rovedavu.exe"
product=$(msi_property "$msi" ProductCode)
uninstall_entry "$product" >"$work/entry.txt"
for line in DisplayName=ポルネア "DisplayVersion=$version" "Publisher=The Rovedavu authors"; do
    grep -qxF "$line" "$work/entry.txt" ||
        fail "Apps & features lacks $line; it has: $(tr '\n' ' ' <"$work/entry.txt")"
done
echo "Program, licence, Start menu entry, Apps & features entry and settings file are there"

# 2. The installed program saves into the class folder. The prefix's processes, started by
# msiexec without a display, end first: the drill's Wine processes start with one.
{ wineserver -k && wineserver -w; } 2>/dev/null || true
PROGRAM="$installed/rovedavu.exe" PREFIX="$WINEPREFIX" DATA="$server/rovedavu" \
    "$here/tests/windows/whole-drill.sh" "$build" "$tool"
find "$server" -type f -exec md5sum {} + | sort >"$work/learners-files.txt"

# 3. A newer MSI, without DATAFOLDER, replaces the program in place.
IFS=. read -r major minor patch <<<"$version"
newer=$("$here/packaging/windows/make-msi.sh" "$build/win32/rovedavu.exe" \
    "$major.$minor.$((patch + 1))" "$work/newer")
cp "$settings" "$work/settings-before"
msiexec /i "$(windows_path "$newer")"
[ -z "$(uninstall_entry "$product")" ] || fail "the older version is still in Apps & features"
uninstall_entry "$(msi_property "$newer" ProductCode)" >"$work/entry.txt"
grep -qxF "DisplayVersion=$major.$minor.$((patch + 1))" "$work/entry.txt" ||
    fail "the newer version is not in Apps & features: $(tr '\n' ' ' <"$work/entry.txt")"
cmp -s "$settings" "$work/settings-before" || fail "an install without DATAFOLDER changed the settings"
[ -s "$installed/rovedavu.exe" ] && [ "$(start_menu_entry | wc -l)" -eq 1 ] ||
    fail "after the upgrade, the program or its Start menu entry is missing"
# The older MSI again: refused, the newer version stays.
status=0
wine msiexec /i "$(windows_path "$msi")" /qn || status=$?
[ "$status" -ne 0 ] && [ -z "$(uninstall_entry "$product")" ] ||
    fail "the older MSI installed over the newer one (status $status)"
echo "The newer MSI replaced version $version in place and left the settings file alone;"
echo "the older one does not go over it"

# 4. Removed: the program goes, the learners' files and the settings stay. A rirekidata beside
# the program (a computer set up to keep its drills there) stays too.
mkdir "$installed/rirekidata"
printf '"8/1","1.",0\r\n' >"$installed/rirekidata/Rovedavu7.txt"
msiexec /x "$(windows_path "$newer")"
[ ! -e "$installed/rovedavu.exe" ] && [ ! -e "$installed/LICENSE.txt" ] ||
    fail "the removal left the program's files"
[ -z "$(start_menu_entry)" ] || fail "the removal left the Start menu entry"
[ -z "$(uninstall_entry "$(msi_property "$newer" ProductCode)")" ] ||
    fail "the removal left the entry in Apps & features"
[ -s "$installed/rirekidata/Rovedavu7.txt" ] || fail "the removal took the rirekidata beside the program"
cmp -s "$settings" "$work/settings-before" || fail "the removal changed or took the settings file"
find "$server" -type f -exec md5sum {} + | sort | cmp -s - "$work/learners-files.txt" ||
    fail "the learners' files in the class folder changed"
echo "The removal took the program and left every learner's file and the settings"
