// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The teacher's windows, opened when the program is started without an export option.

#include <QString>

namespace report {

// Shows the class window for the folder and runs until the last window closes; gives the
// program's exit status. `folderGiven` is false when the folder is the working folder's
// rirekidata by default (a folder chosen earlier may then be used instead). Called with a
// QApplication in place. A class list file, when given, names the children for this run.
int runWindows(const QString& folder, bool folderGiven, const QString& rosterFile = {});

}  // namespace report
