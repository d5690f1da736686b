// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The working folder: where the program starts and rirekidata/ lies. An administrator names
// it for every account of a computer in the system's settings file, a user for themselves in
// their own; without either it is the per-user folder.

#include <QString>
#include <QStringList>
#include <string>

namespace records {

struct WorkingFolder {
    QString path;             // absolute
    bool configured = false;  // named by a settings file
};

// DataFolder= from the user's ${XDG_CONFIG_HOME:-~/.config}/rovedavu/rovedavu.conf, else from
// the system's rovedavu/rovedavu.conf in each folder of ${XDG_CONFIG_DIRS:-/etc/xdg} in
// order, else the per-user ${XDG_DATA_HOME:-~/.local/share}/rovedavu. A system file with
// DataFolderLocked=true beside its DataFolder wins over the user's file; in the user's file
// that line means nothing. A relative or empty DataFolder counts as unset, and so does a
// relative XDG variable.
WorkingFolder workingFolder();

// Makes a folder named by a settings file the current one; a per-user folder is left to the
// launcher. Empty when done, else why the folder cannot be reached, in Japanese.
std::u16string enterWorkingFolder(const WorkingFolder& folder);

// The settings files that workingFolder() reads: the user's, then the system's in order.
QStringList settingsFiles();

}  // namespace records
