#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# wine-prefix.sh DIR: makes a fresh 64-bit Wine prefix in DIR (new or empty) for running the
# Windows program and its tests, and leaves none of its processes running.
#
#   prefix=$(mktemp -d)
#   scripts/wine-prefix.sh "$prefix"
#   export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
#   trap 'wineserver -k; wineserver -w; rm -rf "$WINEPREFIX"' EXIT
#   wine build/windows/win32/rovedavu.exe
#
# The prefix:
# - has unmanaged X11 windows ("Managed"="N"): without a window manager, Wine would otherwise
#   wait about 2 s whenever a dialog closes, and it handles the keyboard focus itself;
# - draws the Japanese fonts of Windows (ＭＳ Ｐゴシック, MS UI Gothic, Meiryo UI, ...) with the
#   IPA fonts of fonts-ipafont-gothic.
# Also makes sure the ja_JP.UTF-8 locale exists, so that programs run with LANG=ja_JP.UTF-8
# (root or sudo when it has to be generated), and installs the Debian packages Wine needs.
# Takes about 15 s. Wine's own messages go to DIR/wine-prefix.log, shown when something fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ $# -ne 1 ]; then
    echo "usage: $0 DIR" >&2
    exit 2
fi
mkdir -p "$1"
prefix=$(cd "$1" && pwd)
if [ -n "$(ls -A "$prefix")" ]; then
    echo "$prefix is not empty: a fresh prefix needs a new or empty folder" >&2
    exit 2
fi
log="$prefix/wine-prefix.log"

# shellcheck source=scripts/packages.sh
source "$here/packages.sh"
"$here/ensure-packages.sh" "${WINE_PACKAGES[@]}"
if ! command -v wine >/dev/null; then
    echo "no wine command after installing ${WINE_PACKAGES[*]}" >&2
    exit 1
fi

# ja_JP.UTF-8, generated once for the whole system.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Generating the ja_JP.UTF-8 locale"
    if grep -q '^# *ja_JP\.UTF-8 UTF-8' /etc/locale.gen; then
        "${sudo[@]}" sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen >/dev/null
fi

export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
unset LC_ALL
# No Mono or Gecko: nothing to install, and no dialog asking for them.
export WINEDLLOVERRIDES="mscoree,mshtml="

fail() {
    echo "$1 (Wine's messages: $log)" >&2
    tail -n 20 "$log" >&2
    wineserver -k 2>/dev/null || true
    exit 1
}

wineboot -i >"$log" 2>&1 || fail "wineboot could not make the prefix in $prefix"

# The registry, in the UTF-16 of .reg files, for the Japanese names.
reg="$prefix/drive_c/rovedavu-prefix.reg"
{ printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"Meiryo UI"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"
REG
wine regedit /S 'C:\rovedavu-prefix.reg' >>"$log" 2>&1 ||
    fail "regedit could not import the settings"
rm -f "$reg"

# Each value, looked up by a name that comes through the command line instead of the file.
# A look-up is tried three times: now and then one fails while Wine's server starts anew.
query() { # key name
    for _ in 1 2 3; do
        wine reg query "$1" /v "$2" >>"$log" 2>&1 && return 0
        sleep 1
    done
    return 1
}
query 'HKCU\Software\Wine\X11 Driver' Managed || fail "the unmanaged windows setting is missing"
for name in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "ＭＳ ゴシック" "MS Gothic" "Meiryo UI" \
    "Yu Gothic UI"; do
    query 'HKCU\Software\Wine\Fonts\Replacements' "$name" ||
        fail "the font replacement of $name is missing"
done

# Wine writes the registry to the prefix's files as its server ends.
wineserver -w
