#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The end of a drill in the Windows program under Wine: the history file alone and with its
# archive copy, into a working folder on the local disk of a Wine prefix of its own.
# Figures only; never a failure for a slow machine.
#
#   bench/windows-end.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${WINDOWS_PACKAGES[@]}"
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/bench-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_BENCH=ON -DROVEDAVU_BUILD_TESTS=ON >/dev/null
cmake --build build/bench-windows -j "$jobs" --target end_bench >/dev/null

work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
scripts/wine-prefix.sh "$work/prefix" >/dev/null
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8
wine build/bench-windows/bench/windows/end_bench.exe "${1:-200}"
