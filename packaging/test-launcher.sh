#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Tests of the launcher as installed: it makes the working folder with rirekidata/ in it (or
# only rirekidata/ in a folder that the settings files name), starts the program there with the same arguments and hands on its exit status. The
# installed program is replaced by a stand-in that writes down where and how it started.
#
#   packaging/test-launcher.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: test-launcher.sh BUILD_DIR}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
DESTDIR="$root" "${CMAKE:-cmake}" --install "$build" --prefix /usr >/dev/null
launcher="$root/usr/bin/rovedavu"
program="$root/usr/libexec/rovedavu/rovedavu"
if [ ! -x "$launcher" ] || [ ! -x "$program" ]; then
    echo "FAIL: launcher or program not installed"
    exit 1
fi

cat >"$program" <<'STANDIN'
#!/bin/sh
pwd -P >"$LOG"
[ -z "${SAY:-}" ] || echo "$SAY" >&2  # what the program says on standard error
for argument in "$@"; do printf '<%s>\n' "$argument" >>"$LOG"; done
exit "${STATUS:-0}"
STANDIN

failures=0
fail() { echo "FAIL: $case_name: $*"; failures=$((failures + 1)); }
physical() { (cd "$1" 2>/dev/null && pwd -P) || echo "$1"; }

# run [VAR=value...] -- COMMAND...: the command with only the given environment, from
# $start (or $tmp); sets status, and the program's log lines in ran_in and arguments.
run() {
    local env=(LOG="$tmp/log" PATH=/usr/bin:/bin)
    while [ "$1" != -- ]; do env+=("$1"); shift; done
    shift
    rm -f "$tmp/log"
    status=0
    (cd "${start:-$tmp}" && env -i "${env[@]}" "$@") 2>"$tmp/stderr" || status=$?
    ran_in='' arguments=''
    if [ -f "$tmp/log" ]; then
        ran_in=$(head -n 1 "$tmp/log")
        arguments=$(tail -n +2 "$tmp/log")
    fi
}

expect_started_in() {
    [ -f "$tmp/log" ] || { fail "the program was not started"; return; }
    [ "$ran_in" = "$(physical "$1")" ] || fail "started in '$ran_in', not in '$1'"
}

case_name="first start makes the folder"
home="$tmp/home with space"
mkdir -p "$home"
run HOME="$home" -- "$launcher"
[ -d "$home/.local/share/rovedavu/rirekidata" ] || fail "no rirekidata folder"
expect_started_in "$home/.local/share/rovedavu"
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$tmp/stderr" ] || fail "printed: $(cat "$tmp/stderr")"

case_name="arguments are handed on unchanged"
# shellcheck disable=SC2016 # a dollar sign the launcher must not expand
run HOME="$home" -- "$launcher" "two words" "" "-x" '$HOME'
[ "$arguments" = $'<two words>\n<>\n<-x>\n<$HOME>' ] || fail "arguments: $arguments"

case_name="a later start keeps the history files"
printf 'row\r\n' 2>/dev/null >"$home/.local/share/rovedavu/rirekidata/RovedavuA1.txt" ||
    fail "no rirekidata folder to hold a history file"
run HOME="$home" -- "$launcher"
expect_started_in "$home/.local/share/rovedavu"
[ "$(cat "$home/.local/share/rovedavu/rirekidata/RovedavuA1.txt" 2>/dev/null)" = $'row\r' ] ||
    fail "the history file changed"

case_name="XDG_DATA_HOME is used when it is absolute"
run HOME="$home" XDG_DATA_HOME="$tmp/data" -- "$launcher"
[ -d "$tmp/data/rovedavu/rirekidata" ] || fail "no rirekidata folder"
expect_started_in "$tmp/data/rovedavu"

case_name="an empty XDG_DATA_HOME means the default"
home="$tmp/home2"
mkdir -p "$home"
run HOME="$home" XDG_DATA_HOME= -- "$launcher"
[ -d "$home/.local/share/rovedavu/rirekidata" ] || fail "no rirekidata folder"
expect_started_in "$home/.local/share/rovedavu"

case_name="a relative XDG_DATA_HOME is ignored"
home="$tmp/home3"
mkdir -p "$home" "$tmp/elsewhere"
start="$tmp/elsewhere" run HOME="$home" XDG_DATA_HOME=relative/data -- "$launcher"
[ -d "$home/.local/share/rovedavu/rirekidata" ] || fail "no rirekidata folder"
[ ! -e "$tmp/elsewhere/relative" ] || fail "made a folder under the current one"
expect_started_in "$home/.local/share/rovedavu"

case_name="the program's exit status is handed on"
run HOME="$home" STATUS=7 -- "$launcher"
[ "$status" -eq 7 ] || fail "exit status $status"

case_name="started through a link in another folder"
mkdir -p "$tmp/links"
ln -s "$launcher" "$tmp/links/rovedavu"
run HOME="$home" -- "$tmp/links/rovedavu"
expect_started_in "$home/.local/share/rovedavu"

case_name="started by name from PATH"
start="$tmp/elsewhere" run HOME="$home" -- sh -c "PATH='$root/usr/bin':\$PATH; rovedavu"
expect_started_in "$home/.local/share/rovedavu"

case_name="the drill still starts when the folder cannot be made"
: >"$tmp/a-file"
start="$tmp/elsewhere" run HOME="$home" XDG_DATA_HOME="$tmp/a-file/data" -- "$launcher"
expect_started_in "$tmp/elsewhere"
[ "$status" -eq 0 ] || fail "exit status $status"
grep -q "$tmp/a-file/data/rovedavu/rirekidata" "$tmp/stderr" ||
    fail "did not say which folder: $(cat "$tmp/stderr")"

# The settings files: the user's overrides the system's (XDG_CONFIG_DIRS stands in for
# /etc/xdg), and a folder they name is used but never made.
mkdir -p "$tmp/etc/rovedavu" "$tmp/config/rovedavu" "$tmp/class room"
echo "DataFolder=$tmp/class room" >"$tmp/etc/rovedavu/rovedavu.conf"

case_name="the system's settings file names the folder"
run HOME="$home" XDG_CONFIG_DIRS="$tmp/etc" -- "$launcher"
[ -d "$tmp/class room/rirekidata" ] || fail "no rirekidata folder"
expect_started_in "$tmp/class room"
[ ! -s "$tmp/stderr" ] || fail "printed: $(cat "$tmp/stderr")"

case_name="the user's settings file comes first; only the program says its folder is missing"
echo "DataFolder=$tmp/not mounted/rovedavu" >"$tmp/config/rovedavu/rovedavu.conf"
said="rovedavu.startup: working folder $tmp/not mounted/rovedavu cannot be reached"
start="$tmp/elsewhere" run HOME="$home" XDG_CONFIG_DIRS="$tmp/etc" \
    XDG_CONFIG_HOME="$tmp/config" SAY="$said" -- "$launcher"
expect_started_in "$tmp/elsewhere"
[ ! -e "$tmp/not mounted" ] || fail "made the folder that the settings name"
[ "$(cat "$tmp/stderr")" = "$said" ] ||
    fail "standard error holds more than the program's words: $(cat "$tmp/stderr")"

if [ "$failures" -ne 0 ]; then
    echo "$failures launcher check(s) failed"
    exit 1
fi
echo "launcher: all checks passed"
