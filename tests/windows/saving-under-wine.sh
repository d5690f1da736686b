#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# saving-under-wine.sh SAVING_TESTS_EXE: runs saving_tests.exe under Wine as the account
# nobody, on folders and small disks that only root can prepare:
#   - working folders whose rirekidata or history file belongs to root (see saving_test.cpp),
#   - a 64 KiB tmpfs mounted read-only among them,
#   - a 64 KiB tmpfs of nobody's as drive R:, which the tests fill to the last block.
# nobody's Wine prefix is a copy of the prefix that WINEPREFIX names (the Windows stage's),
# its files hard links where they can be, or a fresh one. Everything it mounts and every Wine
# process it starts ends with it. Without root, the tests run as the current account and
# those that need the prepared folders are skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ne 1 ]; then
    echo "usage: $0 SAVING_TESTS_EXE" >&2
    exit 2
fi
program=$(realpath "$1")

export WINEDEBUG=-all LANG=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL
if [ "$(id -u)" -ne 0 ]; then
    echo "saving tests: not root, so no other account, no mounts: the prepared cases are skipped"
    [ -n "${WINEPREFIX:-}" ] || { echo "saving tests: set WINEPREFIX" >&2; exit 2; }
    exec wine "$program" --gtest_brief=1
fi

work=$(mktemp -d)
chmod 0755 "$work"
mounts=()
prefix="$work/prefix"
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups
    env -i PATH="$PATH" HOME="$work/home" WINEPREFIX="$prefix" WINEDEBUG="$WINEDEBUG"
    LANG="$LANG" WINEDLLOVERRIDES="$WINEDLLOVERRIDES")
cleanup() {
    if [ -f "$prefix/system.reg" ]; then
        { "${as_nobody[@]}" wineserver -k && "${as_nobody[@]}" wineserver -w; } \
            2>/dev/null || true
    fi
    for mount in "${mounts[@]}"; do
        umount "$mount" 2>/dev/null || umount -l "$mount" || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# nobody's prefix: a prefix must belong to the account that runs Wine in it. Only the folders
# and the registry have to be nobody's; the system's files are shared, read-only to nobody.
start=$SECONDS
if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
    mkdir "$prefix"
    cp -al "$WINEPREFIX/drive_c" "$prefix/drive_c" 2>/dev/null ||
        { rm -rf "$prefix/drive_c" && cp -a "$WINEPREFIX/drive_c" "$prefix/drive_c"; }
    cp -a "$WINEPREFIX/dosdevices" "$WINEPREFIX"/*.reg "$WINEPREFIX/.update-timestamp" "$prefix/"
else
    "$here/scripts/wine-prefix.sh" "$prefix"
fi
find "$prefix" -type d -exec chown nobody:nogroup {} +
chown nobody:nogroup "$prefix"/*.reg "$prefix/.update-timestamp"
mkdir "$work/home"
chown nobody:nogroup "$work/home"
cp "$program" "$work/saving_tests.exe"

tiny() {  # tiny MOUNT_POINT [OPTIONS]
    mkdir -p "$1"
    mount -t tmpfs -o "size=64k,mode=0755${2:+,$2}" tmpfs "$1" ||
        { echo "saving tests: cannot mount a tmpfs at $1" >&2; exit 1; }
    mounts+=("$1")
}
# prepare FOLDER FOLDER_OWNER [FILE_OWNER FILE_MODE]: FOLDER/rirekidata, with the old history
# file in it when a file owner is given.
prepare() {
    mkdir -p "$1/rirekidata"
    if [ $# -eq 4 ]; then
        printf '"old","1.",0,"7/31"\r\n' >"$1/rirekidata/Rovedavu12.txt"
        chown "$3:" "$1/rirekidata/Rovedavu12.txt"
        chmod "$4" "$1/rirekidata/Rovedavu12.txt"
    fi
    chown "$2:" "$1/rirekidata"
    chmod 0755 "$1/rirekidata"
}
folders="$work/folders"
prepare "$folders/open-others" nobody root 0644
prepare "$folders/locked-empty" root
prepare "$folders/locked-others" root root 0644
prepare "$folders/locked-read-only" root nobody 0444
prepare "$folders/locked-writable" root nobody 0644
tiny "$folders/read-only-disk"
prepare "$folders/read-only-disk" nobody nobody 0644
mount -o remount,ro "$folders/read-only-disk"

tiny "$work/small" uid=nobody,gid=nogroup
prepare "$work/small/locked" root nobody 0644
ln -s "$work/small" "$prefix/dosdevices/r:"
echo "saving tests: prefix, folders and disks ready in $((SECONDS - start)) s"

# Wine's drive Z: is the root of the file system.
"${as_nobody[@]}" ROVEDAVU_SAVING_FOLDERS="Z:${folders//\//\\}" ROVEDAVU_SMALL_DRIVE="R:" \
    wine "$work/saving_tests.exe" --gtest_brief=1
