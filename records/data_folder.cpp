#include "data_folder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace records {
namespace {

const QString kSettingsFile = QStringLiteral("rovedavu/rovedavu.conf");
const QString kDataFolderKey = QStringLiteral("DataFolder");
const QString kPerUserFolder = QStringLiteral("rovedavu");

// The folder a settings file names, or an empty text. An unquoted value with commas is read
// by QSettings as a list; its parts are joined back.
QString namedFolder(const QString& file) {
    const QSettings settings(file, QSettings::IniFormat);
    const QString path = settings.value(kDataFolderKey).toStringList().join(u',');
    if (path.isEmpty() || QDir::isRelativePath(path))
        return {};
    return QDir::cleanPath(path);
}

}  // namespace

QStringList settingsFiles() {
    // The user's configuration folder first, then the system's (XDG_CONFIG_DIRS, by default
    // /etc/xdg), each honouring the XDG variables.
    QStringList files;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files += folder + u'/' + kSettingsFile;
    return files;
}

WorkingFolder workingFolder() {
    for (const QString& file : settingsFiles()) {
        if (!QFileInfo::exists(file))
            continue;
        const QString path = namedFolder(file);
        if (!path.isEmpty())
            return {path, true};
    }
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {QDir::cleanPath(dataHome + u'/' + kPerUserFolder), false};
}

}  // namespace records
