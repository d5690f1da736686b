#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Tests of the launcher as installed: it starts the program with the same arguments, from
# wherever it was started (the program enters its working folder itself), however it is
# reached, and hands on its exit status. The installed program is replaced by a stand-in
# that writes down where and how it started.
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

home="$tmp/home"
mkdir -p "$home" "$tmp/elsewhere"

case_name="the program starts where the launcher was started, with nothing printed"
start="$tmp/elsewhere" run HOME="$home" -- "$launcher"
expect_started_in "$tmp/elsewhere"
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$tmp/stderr" ] || fail "printed: $(cat "$tmp/stderr")"
[ ! -e "$home/.local" ] || fail "made a folder in the home folder"

case_name="arguments are handed on unchanged"
# shellcheck disable=SC2016 # a dollar sign the launcher must not expand
run HOME="$home" -- "$launcher" "two words" "" "-x" '$HOME'
[ "$arguments" = $'<two words>\n<>\n<-x>\n<$HOME>' ] || fail "arguments: $arguments"

case_name="the program's exit status is handed on"
run HOME="$home" STATUS=7 -- "$launcher"
[ "$status" -eq 7 ] || fail "exit status $status"

case_name="started through a link in another folder"
mkdir -p "$tmp/links"
ln -s "$launcher" "$tmp/links/rovedavu"
start="$tmp/elsewhere" run HOME="$home" -- "$tmp/links/rovedavu"
expect_started_in "$tmp/elsewhere"

case_name="started by name from PATH"
start="$tmp/elsewhere" run HOME="$home" -- sh -c "PATH='$root/usr/bin':\$PATH; rovedavu"
expect_started_in "$tmp/elsewhere"

case_name="started from its own folder by a relative name"
start="$root/usr/bin" run HOME="$home" -- sh rovedavu
expect_started_in "$root/usr/bin"

if [ "$failures" -ne 0 ]; then
    echo "$failures launcher check(s) failed"
    exit 1
fi
echo "launcher: all checks passed"
