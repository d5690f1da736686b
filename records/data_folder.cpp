// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "data_folder.h"

#include <sys/stat.h>
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
const QString kLockedKey = QStringLiteral("DataFolderLocked");
const QString kPerUserFolder = QStringLiteral("rovedavu");

// The text after "DataFolder=" on its last line in the general section, up to a comment,
// trimmed: the value as written.
QString writtenValue(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return {};
    QString value;
    bool inGeneral = true;  // lines before any section, or in [General]
    for (const QString& text : QString::fromUtf8(input.readAll()).split(u'\n')) {
        const QString line = text.trimmed();
        if (line.startsWith(u'['))
            inGeneral = line == QStringLiteral("[General]");
        const qsizetype equals = line.indexOf(u'=');
        if (inGeneral && equals > 0 && line.first(equals).trimmed() == kDataFolderKey)
            value = line.sliced(equals + 1).section(u';', 0, 0).trimmed();
    }
    return value;
}

struct Named {
    QString path;         // empty when unset
    bool locked = false;  // DataFolderLocked=true
};

// The folder a settings file names, and whether the file locks it. QSettings reads an
// unquoted value with a comma as a list and drops the spaces around each comma, so such a
// value is taken as written.
Named namedFolder(const QString& file) {
    const QSettings settings(file, QSettings::IniFormat);
    const QVariant value = settings.value(kDataFolderKey);
    const QString path =
        value.typeId() == QMetaType::QStringList ? writtenValue(file) : value.toString();
    if (path.isEmpty() || QDir::isRelativePath(path))
        return {};
    const bool locked =
        settings.value(kLockedKey).toString().trimmed().toLower() == QStringLiteral("true");
    return {QDir::cleanPath(path), locked};
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
    // The first file that names a folder wins, unless a system file locks the folder it
    // names: then the first such one does, whatever the user's file says.
    const QStringList files = settingsFiles();
    QString first;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!QFileInfo::exists(files[i]))
            continue;
        const Named named = namedFolder(files[i]);
        if (named.path.isEmpty())
            continue;
        if (i > 0 && named.locked)
            return {named.path, true};
        if (first.isEmpty())
            first = named.path;
    }
    if (!first.isEmpty())
        return {first, true};
    const QString dataHome = absoluteOr(qEnvironmentVariable("XDG_DATA_HOME"),
                                        QDir::homePath() + QStringLiteral("/.local/share"));
    return {QDir::cleanPath(dataHome + u'/' + kPerUserFolder), false};
}

std::u16string enterWorkingFolder(const WorkingFolder& folder) {
    const QByteArray path = QFile::encodeName(folder.path);
    if (!folder.configured) {
        // The per-user folder is made at first use, rirekidata and all. Without it the drill
        // still runs, and at its end the learner is told that it could not be saved.
        if (!QDir().mkpath(folder.path + QStringLiteral("/rirekidata")))
            qCWarning(lcStartup).noquote() << "could not make" << folder.path + "/rirekidata"
                                           << "- drills will not be saved";
        if (::chdir(path.constData()) != 0) {
            qCWarning(lcStartup).noquote()
                << "could not enter" << folder.path << "- starting in" << QDir::currentPath();
            return {};
        }
        qCInfo(lcStartup).noquote() << "working folder:" << folder.path << "(per user)";
        return {};
    }
    // A folder that a settings file names is never made: on a network share that is not
    // mounted it would end up on the local disk. Only rirekidata is made inside it.
    if (::chdir(path.constData()) != 0) {
        const int error = errno;
        qCWarning(lcStartup).noquote()
            << "working folder" << folder.path << "cannot be reached:" << qt_error_string(error);
        return unreachableReason(error);
    }
    if (::mkdir("rirekidata", 0777) != 0 && errno != EEXIST)
        qCWarning(lcStartup).noquote() << "could not make" << folder.path + "/rirekidata"
                                       << "- drills will not be saved";
    qCInfo(lcStartup).noquote() << "working folder:" << folder.path << "(from a settings file)";
    return {};
}

}  // namespace records
