#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts the drill in its working
# folder, where the history files go into rirekidata/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${RUNTIME_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DROVEDAVU_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" --target rovedavu rovedavu-working-folder
program="$PWD/build/release/ui/rovedavu"

# The history files are written relative to the current directory; cue sounds placed in
# this folder are played instead of the shipped ones. The folder comes from the settings
# files, read by the program's own code (as the installed launcher does).
answer=$(build/release/ui/rovedavu-working-folder)
workdir=${answer%$'\n'*}
if [ "${answer##*$'\n'}" = configured ]; then
    # Never made here: a share that is not mounted would get a local folder.
    [ ! -d "$workdir" ] || [ -d "$workdir/rirekidata" ] || mkdir "$workdir/rirekidata" || true
else
    mkdir -p "$workdir/rirekidata"
fi
cd "$workdir" || echo "run.sh: could not enter $workdir" >&2
exec "$program"
