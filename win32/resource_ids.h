// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The resources inside rovedavu.exe.

#define kFrogIcon 1
#define kCrestPicture 101
#define kLogoPicture 102
#define kMascotPicture 103
#define kPraisePicture 104
#define kChimesCue 201
#define kChimes2Cue 202
#define kPinponCue 203
#define kEndpinponCue 204
