// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the sound control asks of the player that sounds its cues. The player lives in the
// module rovedavu_cues, loaded on the sound control's own thread at the first cue, so that
// the sound system and its libraries stay off the way to the first dialog.

#include <QUrl>
#include <vector>

namespace ui {

// How far a loaded cue file got (the values of QSoundEffect::Status).
enum class CueStatus { Null, Loading, Ready, Error };

class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    virtual void stop() = 0;
    // Forgets the open file; the file stays loaded for the next time.
    virtual void close() = 0;
    // Opens a located file; an empty address opens nothing.
    virtual void open(const QUrl& source) = 0;
    // Starts the located file once and returns at once.
    virtual void sound(const QUrl& source) = 0;

    // The source of the open file, empty when nothing is open.
    virtual QUrl openSource() const = 0;
    // How many different files have been loaded; each is loaded once and kept.
    virtual int loadedCount() const = 0;
    virtual std::vector<CueStatus> statuses() const = 0;
};

// The module's one exported function: a new player, owned by the caller and living on the
// caller's thread.
using CuePlayerFactory = CuePlayer* (*)();
inline constexpr char kCuePlayerFactory[] = "rovedavuCreateCuePlayer";
inline constexpr char kCueModule[] = "rovedavu_cues";

}  // namespace ui
