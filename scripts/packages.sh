# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Package lists shared by run.sh and test.sh (sourced).
# shellcheck disable=SC2034
BUILD_PACKAGES=(g++ cmake make pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev)
RUNTIME_PACKAGES=(qt6-translations-l10n fonts-ipafont-gothic libqt6multimedia6 qt6-qpa-plugins)
# pulseaudio and its client tools: the recorded sound tests run a server of their own.
TEST_PACKAGES=(libgtest-dev clang libclang-rt-14-dev pulseaudio pulseaudio-utils)
# The licence and format checks of test.sh, over the files git tracks.
TEST_PACKAGES+=(reuse clang-format git)
# poppler-utils: pdfinfo and pdftotext for the PDF export test.
TEST_PACKAGES+=(poppler-utils)
# For the packaging stage of test.sh: the validators and dpkg-shlibdeps.
PACKAGING_PACKAGES=(desktop-file-utils appstream dpkg-dev)
# Only for bench/run.sh: Google Benchmark, the X libraries of the start-up watcher, a
# virtual X server, and a sound server for the runs with sound.
BENCH_PACKAGES=(libbenchmark-dev libx11-dev libxdamage-dev xvfb xauth pulseaudio pulseaudio-utils)
# Only for scripts/screenshots.sh.
SCREENSHOT_PACKAGES=(xvfb xauth xdotool imagemagick dbus at-spi2-core python3-pyatspi)
