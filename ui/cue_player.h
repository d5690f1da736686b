// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the sound control asks of the player that sounds its cues. The player lives in the
// module rovedavu_cues, loaded on the sound control's own thread at the first cue, so that
// the sound system and its libraries stay off the way to the first dialog.

#include <QUrl>

namespace ui {

class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    // Connects to the sound system, so that the first cue starts as quickly as the others.
    virtual void prepare() = 0;
    // Stops the open file; it stays open.
    virtual void stop() = 0;
    // Stops and closes the open file.
    virtual void close() = 0;
    // Closes the open file and opens a located one; an empty address opens nothing.
    virtual void open(const QUrl& source) = 0;
    // Starts the located file once and returns at once. A cue still sounding is cut off.
    virtual void sound(const QUrl& source) = 0;
};

// The module's one exported function: a new player, owned by the caller and living on the
// caller's thread.
using CuePlayerFactory = CuePlayer* (*)();
inline constexpr char kCuePlayerFactory[] = "rovedavuCreateCuePlayer";
inline constexpr char kCueModule[] = "rovedavu_cues";

}  // namespace ui
