#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# windows-tests.sh [BUILD_DIR]: cross-builds the Windows program and its tests with mingw-w64
# in BUILD_DIR (build/windows), checks that every program needs only the DLLs of Windows
# itself, and runs the tests under Wine in a fresh prefix of their own, which ends with the
# script. JOBS sets the build's and the tests' parallel jobs (all cores).
# As root, the saving tests also mount two small tmpfs disks and run as the account nobody
# in a prefix of their own (tests/windows/saving-under-wine.sh).
# The tests are those of tests/windows/CMakeLists.txt, which CTest runs with WINEPREFIX and
# LANG=ja_JP.UTF-8 set; checks of the build that CTest does not run go at the end.
# HISTORY_BYTES_TOOL and CUE_LISTENER name the plain build's tools, when not in build/test.
# Also makes the portable zip and the MSI in BUILD_DIR/package.
# Installs missing Debian packages first. Called by test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${WINDOWS_PACKAGES[@]}"

build=${1:-build/windows}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"

# The C++ runtime, libgcc and winpthread are linked in: a DLL of mingw-w64 (lib*.dll) would
# have to be shipped beside the program.
mapfile -t programs < <(find "$build" -name '*.exe' -not -path '*/CMakeFiles/*' | sort)
for program in "${programs[@]}"; do
    if x86_64-w64-mingw32-objdump -p "$program" | grep -i 'DLL Name: *lib'; then
        echo "$program needs a DLL that Windows does not have"
        exit 1
    fi
done
echo "${#programs[@]} programs need only the DLLs of Windows"

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" LANG=ja_JP.UTF-8
unset LC_ALL
trap '{ wineserver -k && wineserver -w; } 2>/dev/null || true; rm -rf "$work"' EXIT
start=$SECONDS
scripts/wine-prefix.sh "$WINEPREFIX"
echo "Wine prefix made in $((SECONDS - start)) s"

ctest --test-dir "$build" --output-on-failure -j "$jobs"

# The portable zip, unpacked as a user would: the recorded cues below run the program in it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$(packaging/windows/make-zip.sh "$build/win32/rovedavu.exe" "$version" "$build/package")
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
unpacked="$work/unpacked/rovedavu-$version-windows-x64"
for file in rovedavu.exe LICENSE.txt はじめにおよみください.txt; do
    [ -s "$unpacked/$file" ] || { echo "$zip: $file is missing"; exit 1; }
done
echo "$zip unpacks: $(cd "$unpacked" && ls | tr '\n' ' ')"

# The MSI holds the very program of the zip.
msi=$(packaging/windows/make-msi.sh "$build/win32/rovedavu.exe" "$version" "$build/package")
msiextract -C "$work/extracted" "$msi" >/dev/null
cmp "$work/extracted/Rovedavu/rovedavu.exe" "$unpacked/rovedavu.exe" ||
    { echo "$msi: its rovedavu.exe is not the zip's"; exit 1; }
echo "$msi: $(stat -c %s "$msi") bytes"

# The MSI installed, upgraded and removed silently, and between them a whole drill in the
# installed rovedavu.exe driven from outside into a class folder on a file server, its files
# against the bytes of the Debian program's writer (history_bytes_tool of the plain build that
# test.sh makes first).
tests/windows/installer.sh "$build" "$msi" \
    "${HISTORY_BYTES_TOOL:-build/test/tests/records/history_bytes_tool}"

# Every cue of a whole drill heard in time, in the unpacked rovedavu.exe, on a sound server
# of the test's own that cue_listener of the plain build records.
PROGRAM="$unpacked/rovedavu.exe" tests/windows/recorded-cues.sh "$build" \
    "${CUE_LISTENER:-build/test/tests/ui/cue_listener}"
