#pragma once
// The working folder: where the program starts and rirekidata/ lies. An administrator names
// it for every account of a computer in the system's settings file, a user for themselves in
// their own; without either it is the per-user folder.

#include <QString>

namespace records {

struct WorkingFolder {
    QString path;             // absolute
    bool configured = false;  // named by a settings file
};

// DataFolder= from the user's ${XDG_CONFIG_HOME:-~/.config}/rovedavu/rovedavu.conf, else from
// the system's rovedavu/rovedavu.conf in each folder of ${XDG_CONFIG_DIRS:-/etc/xdg} in
// order, else the per-user ${XDG_DATA_HOME:-~/.local/share}/rovedavu. A relative or empty
// DataFolder counts as unset.
WorkingFolder workingFolder();

// The settings files that workingFolder() reads, the first one that names a folder winning.
QStringList settingsFiles();

}  // namespace records
