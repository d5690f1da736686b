// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "roster_store.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "csv_export.h"

namespace report {
namespace {

QString canonicalOrAbsolute(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// One file per class folder, named by a digest of the folder's path, so that the name
// tells nothing of the class.
QString rosterPath(const QString& classFolder) {
    const QByteArray digest = QCryptographicHash::hash(canonicalOrAbsolute(classFolder).toUtf8(),
                                                       QCryptographicHash::Sha256);
    return QDir(rosterStoreFolder())
        .filePath(QString::fromLatin1(digest.toHex().left(32)) + QStringLiteral(".csv"));
}

bool isInside(const QString& path, const QString& folder) {
    const QString inner = canonicalOrAbsolute(path);
    const QString outer = canonicalOrAbsolute(folder);
    return inner == outer || inner.startsWith(outer + u'/');
}

// Makes the folder and its missing parents; the ones made here are the teacher's alone.
bool makeOwnFolder(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return true;
    if (!makeOwnFolder(QFileInfo(folder).absolutePath()))
        return false;
    return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || QFileInfo(folder).isDir();
}

}  // namespace

QString rosterStoreFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("rovedavu-report/rosters"));
}

std::optional<Roster> storedRoster(const QString& classFolder) {
    QFile file(rosterPath(classFolder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString error;
    return rosterFromCsv(file.readAll(), &error);
}

bool storeRoster(const QString& classFolder, const Roster& roster, QString* error) {
    const QString folder = rosterStoreFolder();
    if (isInside(folder, classFolder)) {
        *error = QStringLiteral(
                     "名簿の置き場所 %1 が記録のフォルダの中です。"
                     "名簿は記録のフォルダには置きません。")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QString reason;
    if (makeOwnFolder(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0) {
        QSaveFile file(rosterPath(classFolder));
        if (file.open(QIODevice::WriteOnly) && ::fchmod(file.handle(), 0600) == 0) {
            file.write(rosterCsv(roster));
            if (commitExport(file, &reason))
                return true;
        } else {
            reason = file.errorString();
        }
    } else {
        reason = QStringLiteral("フォルダを作れませんでした");
    }
    *error = QStringLiteral("名簿を %1 に残せませんでした（%2）。")
                 .arg(QDir::toNativeSeparators(folder), reason);
    return false;
}

bool forgetRoster(const QString& classFolder) {
    const QString path = rosterPath(classFolder);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

}  // namespace report
