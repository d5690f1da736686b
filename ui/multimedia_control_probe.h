// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// For tests and measurements only: what the sound control's thread holds. Each call waits
// until the commands given so far are carried out.

#include <QUrl>

namespace ui {

class MultimediaControl;

class MultimediaControlProbe {
public:
    static void finishCommands(MultimediaControl& control);
    // Whether the cue player could be loaded (it is loaded at the first command).
    static bool playerLoaded(MultimediaControl& control);
    // The source of the open file, empty when nothing is open.
    static QUrl openSource(MultimediaControl& control);
    // Whether the open file has been loaded, or has failed to load; false when none is open.
    static bool openLoaded(MultimediaControl& control);
    // How many sound effects the player holds (the open file's, if any).
    static int effectCount(MultimediaControl& control);
    // How many sound threads of ended controls still run.
    static int endingThreads();
};

}  // namespace ui
