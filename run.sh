#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds the program (Release) and starts the drill in its working
# folder, where the history files go into rirekidata/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" --target rovedavu

# The program enters its working folder itself, from the settings files, and makes
# rirekidata/ there; cue sounds placed in that folder are played instead of the shipped ones.
exec "$PWD/build/release/ui/rovedavu"
