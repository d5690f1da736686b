// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the program sets up before its first window: the Japanese interface, the face with
// its fallbacks and the window icon.

class QApplication;

namespace ui {

// Loads Qt's Japanese translation (so that standard buttons read "はい", "いいえ",
// "キャンセル"), makes the Gothic face and its fallbacks the application's font family,
// sets the frog icon, makes the windows read as windows on the accessibility bus, and
// leaves the ending of the program to the windows' end buttons.
// Returns false when the translation could not be loaded; the program runs all the same.
bool setUpApplication(QApplication& app);

}  // namespace ui
