#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# make-zip.sh EXE VERSION OUTDIR: the portable zip rovedavu-VERSION-windows-x64.zip in OUTDIR,
# holding the program (without its debugging information), its licence and the Japanese
# first-read note, in one folder. Text files get CR LF line ends and a UTF-8 byte order mark,
# so that Notepad on every Windows 10 and 11 shows them right.
# Prints the zip's path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ $# -ne 3 ]; then
    echo "usage: $0 EXE VERSION OUTDIR" >&2
    exit 2
fi
exe=$1 version=$2 out=$(mkdir -p "$3" && cd "$3" && pwd)
name="rovedavu-$version-windows-x64"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/$name"

# One time for the program's header and every file, so that the same program makes the same
# zip, and the same rovedavu.exe as the MSI.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}
x86_64-w64-mingw32-strip -o "$work/$name/rovedavu.exe" "$exe"
windows_text() { # from to
    { printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$1"; } >"$2"
}
windows_text "$root/LICENSES/GPL-3.0-or-later.txt" "$work/$name/LICENSE.txt"
windows_text "$here/はじめにおよみください.txt" "$work/$name/はじめにおよみください.txt"
find "$work/$name" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +

rm -f "$out/$name.zip"
# Python's zip writer marks the non-ASCII names as UTF-8 (bit 11), which Windows' own zip
# folders read; without the mark they would read them in the system's code page.
python3 - "$work" "$name" "$out/$name.zip" <<'PYTHON'
import os, sys, zipfile
work, name, target = sys.argv[1:4]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for file in sorted(os.listdir(os.path.join(work, name))):
        archive.write(os.path.join(work, name, file), f"{name}/{file}")
PYTHON
echo "$out/$name.zip"
