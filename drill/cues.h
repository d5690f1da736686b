// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The four sound cues, each a fixed sequence of settings of the multimedia control.

#include "ports.h"

namespace drill {

inline constexpr std::u16string_view kRightCueFile = u"Chimes.wav";
inline constexpr std::u16string_view kWrongCueFile = u"Chimes2.wav";
inline constexpr std::u16string_view kNextCueFile = u"pinpon.wav";
inline constexpr std::u16string_view kEndCueFile = u"endpinpon.wav";

void playRightCue(SoundControl& sound);
void playWrongCue(SoundControl& sound);
void playNextCue(SoundControl& sound);
void playEndCue(SoundControl& sound);

}  // namespace drill
