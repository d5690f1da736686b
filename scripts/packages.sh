# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Package lists shared by run.sh and test.sh (sourced).
# shellcheck disable=SC2034
BUILD_PACKAGES=(g++ cmake make pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev)
# The teacher's program: libxlsxwriter writes its XLSX export, minizip reads a class list
# saved as XLSX.
BUILD_PACKAGES+=(libxlsxwriter-dev libminizip-dev)
RUNTIME_PACKAGES=(qt6-translations-l10n fonts-ipafont-gothic libqt6multimedia6 qt6-qpa-plugins)
# pulseaudio and its client tools: the recorded sound tests run a server of their own.
TEST_PACKAGES=(libgtest-dev clang libclang-rt-14-dev pulseaudio pulseaudio-utils)
# The licence and format checks of test.sh, over the files git tracks.
TEST_PACKAGES+=(reuse clang-format git)
# poppler-utils: pdfinfo and pdftotext for the PDF export test.
TEST_PACKAGES+=(poppler-utils)
# For the packaging stage of test.sh: the validators, dpkg-shlibdeps and lintian.
PACKAGING_PACKAGES=(desktop-file-utils appstream dpkg-dev lintian)
# Only for bench/run.sh: Google Benchmark, the X libraries of the start-up watcher, a
# virtual X server, and a sound server for the runs with sound.
BENCH_PACKAGES=(libbenchmark-dev libx11-dev libxdamage-dev xvfb xauth pulseaudio pulseaudio-utils)
# Only for scripts/screenshots.sh.
SCREENSHOT_PACKAGES=(xvfb xauth xdotool imagemagick dbus at-spi2-core python3-pyatspi)
# The Windows program: the mingw-w64 cross-compiler, GoogleTest's sources, and Wine with
# the Japanese fonts and locale of scripts/wine-prefix.sh; then the tools of the tests that
# run it: a virtual X server, typing, the clipboard, a sound server, zip and unzip; and wixl
# and msitools, which make the MSI and read it back.
WINE_PACKAGES=(wine wine64 fonts-ipafont-gothic locales)
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest "${WINE_PACKAGES[@]}" xvfb xauth xdotool
    xclip zip unzip python3 pulseaudio pulseaudio-utils wixl msitools)
