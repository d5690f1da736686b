// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cues.h"

#include <string>

namespace drill {
namespace {

// The answer button's cues close without stopping first.
void playAnswerCue(SoundControl& sound, std::u16string_view file) {
    sound.setCommand(u"close");
    sound.setFileName(std::u16string(file));
    sound.setCommand(u"Open");
    sound.setCommand(u"Sound");
}

// The next and end cues stop what plays, then close.
void playButtonCue(SoundControl& sound, std::u16string_view file) {
    sound.setCommand(u"Stop");
    sound.setCommand(u"Close");
    sound.setFileName(std::u16string(file));
    sound.setCommand(u"Open");
    sound.setCommand(u"Sound");
}

}  // namespace

void playRightCue(SoundControl& sound) {
    playAnswerCue(sound, kRightCueFile);
}
void playWrongCue(SoundControl& sound) {
    playAnswerCue(sound, kWrongCueFile);
}
void playNextCue(SoundControl& sound) {
    playButtonCue(sound, kNextCueFile);
}
void playEndCue(SoundControl& sound) {
    playButtonCue(sound, kEndCueFile);
}

}  // namespace drill
