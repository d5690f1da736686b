// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// MMControl1, the drill window's sound control. The engine sets its two properties; the
// commands run in order on the control's own thread, so that a command never holds up the
// window ("Sound" returns at once), and a failed command passes in silence. A new cue cuts
// off the one still playing. A WAV file of the cue's name in the working folder replaces
// the cue built into the program.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ports.h"

namespace win {

// What plays a cue file: the command names of the control, carried out on its thread.
class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    virtual void stop() = 0;
    virtual void close() = 0;
    virtual void open(const std::wstring& fileName) = 0;
    virtual void sound() = 0;
};

enum class PlayerKind {
    WaveOut,  // the file's samples written to a wave output device kept open
    Memory,   // the file held in memory, played by the system's PlaySound
    Mci,      // the MCI wave audio device, opened and closed with each cue
};

// WaveOut unless ROVEDAVU_CUE_PLAYER is "memory" or "mci", for comparing them.
PlayerKind chosenPlayer();

// The bytes of a cue file: a file of that name in the current folder first, else the cue
// of that name inside the program. Empty when neither.
std::string cueBytes(const std::wstring& fileName);

class SoundControl : public drill::SoundControl {
public:
    explicit SoundControl(PlayerKind kind = chosenPlayer());
    // Waits for the command being carried out, then ends the thread.
    ~SoundControl() override;

    // "Stop", "Close", "Open" and "Sound", in any case; other commands do nothing.
    void setCommand(const std::u16string& command) override;
    void setFileName(const std::u16string& fileName) override;

    // Starts the thread, which makes the player ready for the first cue: the sound system is
    // reached once the start-up dialogs are answered, not on the way to them. The first
    // command starts it too.
    void prepare();

private:
    void post(std::function<void(CuePlayer&)> command);
    void run();

    PlayerKind kind_;
    std::wstring fileName_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void(CuePlayer&)>> commands_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace win
