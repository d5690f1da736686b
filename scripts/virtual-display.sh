# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that show windows without a screen.
# start_xvfb LOG: starts a virtual X server of our own on a free display, its output in LOG;
# sets display (its number) and xvfb_pid once the server is ready. The caller stops it.
start_xvfb() {
    exec 3<> <(:)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$1" 2>&1 &
    xvfb_pid=$!
    read -r -t 10 display <&3 || { echo "Xvfb did not start" >&2; exit 1; }
    exec 3<&-
}
