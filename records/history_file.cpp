// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cerrno>

#include "in_place_rewrite.h"
#include "qt_text.h"

namespace records {
namespace {

std::u16string otherError(const QString& systemWords) {
    return std::u16string(reasons::kOtherErrorStart) + systemWords.toStdU16String() +
           std::u16string(reasons::kOtherErrorEnd);
}

// After a failed write, flush or commit.
std::u16string writeFailureReason(const QSaveFile& file) {
    if (file.error() == QFileDevice::ResourceError)
        return std::u16string(reasons::kDiskFull);
    return otherError(file.errorString());
}

// A shared folder with the sticky bit, where only the owner of a file may replace it, and a
// file there that belongs to another account.
bool isAnotherAccountsFileInAStickyFolder(const QString& path) {
    struct stat folder {};
    struct stat existing {};
    return ::stat(QFile::encodeName(toQString(kHistoryFolder)).constData(), &folder) == 0 &&
           (folder.st_mode & S_ISVTX) != 0 &&
           ::stat(QFile::encodeName(path).constData(), &existing) == 0 &&
           existing.st_uid != ::geteuid() && folder.st_uid != ::geteuid();
}

// After a failed open: the folder that takes no new file, an existing file that may not be
// written, or both; else the system's words. Another account's file in a sticky folder could
// not be replaced even if it could be written, and is named as such.
std::u16string openFailureReason(const QSaveFile& file, const QString& path) {
    const bool folderWritable = QFileInfo(toQString(kHistoryFolder)).isWritable();
    const QFileInfo existing(path);
    const bool fileRefused = existing.exists() && !existing.isWritable();
    if (!folderWritable)
        return std::u16string(fileRefused ? reasons::kNoFolderOrFilePermission
                                          : reasons::kNoFolderPermission);
    if (fileRefused)
        return std::u16string(isAnotherAccountsFileInAStickyFolder(path) ? reasons::kOthersFile
                                                                         : reasons::kNoPermission);
    return writeFailureReason(file);
}

// A folder that takes no new file, such as the temporary file of a save, while the
// learner's file in it may be written.
bool onlyTheFileMayBeWritten(const QString& path) {
    const QFileInfo existing(path);
    return !QFileInfo(toQString(kHistoryFolder)).isWritable() && existing.isFile() &&
           existing.isWritable();
}

std::u16string inPlaceFailureReason(int error) {
    if (error == ENOSPC || error == EDQUOT)
        return std::u16string(reasons::kDiskFull);
    return otherError(qt_error_string(error));
}

}  // namespace

QByteArray historyHeaderLine() {
    return QByteArray::fromStdString(historyHeaderBytes());
}

QByteArray historyRowLine(std::u16string_view qtext, float qtime, std::int16_t qmiss,
                          std::u16string_view mydate) {
    return QByteArray::fromStdString(historyRowBytes(qtext, qtime, qmiss, mydate));
}

QByteArray historyFileBytes(drill::DrillState& state) {
    return QByteArray::fromStdString(historyBytes(state));
}

drill::HistoryOutcome writeHistoryFile(drill::DrillState& state) {
    drill::HistoryOutcome outcome;
    outcome.fileName = shownHistoryPath(state.myid);
    const auto failed = [&outcome](std::u16string_view reason) {
        outcome.reason = reason;
        return outcome;
    };

    switch (checkHistoryId(state.myid)) {
        case IdCheck::UnusableCharacter:
            return failed(reasons::kUnusableCharacter);
        case IdCheck::TooLong:
            return failed(reasons::kIdTooLong);
        case IdCheck::Usable:
            break;
    }
    const QFileInfo folder(toQString(kHistoryFolder));
    if (!folder.exists())
        return failed(reasons::kNoFolder);
    if (!folder.isDir())
        return failed(reasons::kNotFolder);

    const QByteArray bytes = historyFileBytes(state);
    const QString path = toQString(historyFilePath(state.myid));
    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never empty the old file before the new one is whole
    if (!file.open(QIODevice::WriteOnly)) {
        if (!onlyTheFileMayBeWritten(path))
            return failed(openFailureReason(file, path));
        if (const int error = rewriteInPlace(path, bytes); error != 0)
            return failed(inPlaceFailureReason(error));
        outcome.written = true;
        return outcome;
    }
    // A write error may show only in flush(), and commit() would still put an empty file
    // in place of the old one; so the save is cancelled before commit() on any failure.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const std::u16string reason = writeFailureReason(file);
        file.cancelWriting();
        return failed(reason);
    }
    // The system may still refuse the last step, such as replacing another account's file
    // in a shared folder; the old file then stays, and nothing is reported as saved.
    if (!file.commit()) {
        if (isAnotherAccountsFileInAStickyFolder(path))
            return failed(reasons::kOthersFile);
        return failed(writeFailureReason(file));
    }
    outcome.written = true;
    return outcome;
}

}  // namespace records
