#!/bin/sh

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# wine-run.sh PROGRAM.exe [ARGUMENTS...]: runs a Windows program under Wine, in the prefix
# that WINEPREFIX names (scripts/wine-prefix.sh makes one), without Wine's own messages unless
# WINEDEBUG asks for them. The exit status is the program's.
# Never falls back on the user's own ~/.wine.
set -eu
if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run.sh: set WINEPREFIX to a prefix of the tests' own (scripts/wine-prefix.sh)" >&2
    exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
