#include "data_folder.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <cerrno>

#include "records_logging.h"

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

// An XDG folder variable: its value when that is an absolute path, else the default.
QString absoluteOr(const QString& value, const QString& fallback) {
    return QDir::isAbsolutePath(value) ? value : fallback;
}

std::u16string unreachableReason(int error) {
    switch (error) {
        case ENOENT:
            return u"フォルダがありません。";
        case ENOTDIR:
            return u"フォルダではありません。";
        case EACCES:
            return u"フォルダに入る権限がありません。";
        default:
            return u"フォルダに入れません（" + qt_error_string(error).toStdU16String() + u"）。";
    }
}

}  // namespace

QStringList settingsFiles() {
    // The XDG base directories: the user's configuration folder, then the system's folders in
    // order; relative entries are ignored.
    QStringList files{absoluteOr(qEnvironmentVariable("XDG_CONFIG_HOME"),
                                 QDir::homePath() + QStringLiteral("/.config")) +
                      u'/' + kSettingsFile};
    QStringList systemFolders;
    for (const QString& folder : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':')) {
        if (QDir::isAbsolutePath(folder))
            systemFolders += folder;
    }
    if (systemFolders.isEmpty())
        systemFolders += QStringLiteral("/etc/xdg");
    for (const QString& folder : systemFolders)
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
    const QString dataHome = absoluteOr(qEnvironmentVariable("XDG_DATA_HOME"),
                                        QDir::homePath() + QStringLiteral("/.local/share"));
    return {QDir::cleanPath(dataHome + u'/' + kPerUserFolder), false};
}

std::u16string enterWorkingFolder(const WorkingFolder& folder) {
    if (!folder.configured) {
        qCInfo(lcStartup).noquote()
            << "working folder:" << QDir::currentPath() << "(no settings file names one)";
        return {};
    }
    if (::chdir(QFile::encodeName(folder.path).constData()) != 0) {
        const int error = errno;
        qCWarning(lcStartup).noquote()
            << "working folder" << folder.path << "cannot be reached:" << qt_error_string(error);
        return unreachableReason(error);
    }
    qCInfo(lcStartup).noquote() << "working folder:" << folder.path << "(from a settings file)";
    return {};
}

}  // namespace records
