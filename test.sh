#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds everything and runs every test: the plain build, its install tree and Debian
# package, the Windows program cross-built and tested under Wine, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzz target.
# Installs missing Debian packages first.
# Before building, checks that every file names its licence and copyright, and that every
# C++ file is formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
    "${PACKAGING_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${FUZZ_SECONDS:-10}
export QT_QPA_PLATFORM=offscreen

step() { printf '\n== %s\n' "$*"; }

step "Licence and copyright of every file (reuse lint)"
reuse lint --quiet || { reuse lint; exit 1; }
echo "reuse lint: every file names its licence and copyright"

step "Format of every C++ file (clang-format)"
mapfile -d '' -t cxx_files < <(git ls-files -z -- '*.cpp' '*.h')
if ! report=$(clang-format --dry-run --Werror "${cxx_files[@]}" 2>&1); then
    # clang-format reports every place that differs; name each file once.
    differing=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' \
        <<<"$report" | sort -u)
    if [ -n "$differing" ]; then
        sed 's/^/differs from .clang-format: /' <<<"$differing"
        echo "clang-format -i formats them"
    else
        echo "$report"
    fi
    exit 1
fi
echo "clang-format: every C++ file is formatted"

step "Build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

step "Install, package and check"
rm -rf build/test/stage build/test/package
DESTDIR="$PWD/build/test/stage" cmake --install build/test --prefix /usr
cpack --config build/test/CPackConfig.cmake -G DEB -B build/test/package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/test/CMakeCache.txt)
packaging/check-package.sh build/test/stage build/test/package/rovedavu_*.deb "$version"

step "Windows program: cross-build and tests under Wine"
JOBS="$jobs" scripts/windows-tests.sh build/windows

# The recorded sound tests (label "recorded") take real time and run once, above.
# -g1 keeps the functions and lines that the sanitizers' reports need, and builds about a
# minute sooner than full debugging information.
step "Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1" \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build/asan --output-on-failure -j "$jobs" --label-exclude recorded

step "Fuzz each target for ${fuzz_seconds} s"
if command -v clang++ >/dev/null; then
    CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DROVEDAVU_BUILD_UI=OFF -DROVEDAVU_BUILD_TESTS=OFF -DROVEDAVU_BUILD_FUZZ=ON
    cmake --build build/fuzz -j "$jobs"
    for corpus in fuzz/corpus/*/; do
        name=$(basename "$corpus")
        work=$(mktemp -d)
        status=0
        ASAN_OPTIONS="detect_leaks=1" build/fuzz/fuzz/"fuzz_$name" -max_total_time="$fuzz_seconds" \
            -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" "$work" "$corpus" \
            >"build/fuzz/$name.log" 2>&1 || status=$?
        rm -rf "$work"
        grep -E 'stat::number_of_executed_units|stat::new_units_added' "build/fuzz/$name.log" |
            sed "s/^/fuzz_$name /"
        if [ "$status" -ne 0 ]; then
            tail -n 40 "build/fuzz/$name.log"
            echo "fuzz_$name failed (artifacts in build/fuzz/$name-*)"
            exit 1
        fi
    done
else
    echo "clang++ not found: fuzzing skipped"
fi
