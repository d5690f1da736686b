// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "archive_file.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>

#include "archive_names.h"
#include "history_file.h"
#include "qt_text.h"

namespace records {
namespace {

// How often a name that exists already is drawn again before giving up.
constexpr int kNameAttempts = 16;

// An archive file is never changed once written, so only its owner may write it whatever
// the umask: in a class folder shared by a group, no classmate may change it.
constexpr mode_t kFileMode = 0644;

std::u16string reasonFor(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return std::u16string(reasons::kDiskFull);
        case EACCES:
        case EPERM:
        case EROFS:
            return std::u16string(reasons::kNoPermission);
        default:
            return std::u16string(reasons::kOtherErrorStart) +
                   qt_error_string(error).toStdU16String() +
                   std::u16string(reasons::kOtherErrorEnd);
    }
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Makes a folder with the given permissions, or takes the folder that is there; errno on
// failure.
int makeFolder(const QByteArray& path, mode_t mode) {
    if (::mkdir(path.constData(), mode) == 0) {
        ::chmod(path.constData(), mode);  // the permissions without the umask
        return 0;
    }
    const int error = errno;
    struct stat status {};
    if (error == EEXIST && ::stat(path.constData(), &status) == 0)
        return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
    return error;
}

int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        data += written;
        left -= written;
    }
    return 0;
}

// Writes the bytes into a new temporary file of the folder and syncs it; errno on failure,
// with nothing left behind.
int writeTemporary(const QByteArray& folder, const QByteArray& bytes, QByteArray& path) {
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kNameAttempts; ++attempt) {
        path = folder + "/.kiroku-" +
               QByteArray::number(QRandomGenerator::global()->generate64(), 16) + ".tmp";
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    // A network file system may report a failed write only when the file is closed.
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        ::unlink(path.constData());
    return error;
}

enum class Placed { Done, NameTaken, Failed };

// Gives the temporary file the final name unless that name exists. A hard link is exclusive
// on local and NFS file systems; where the file system has no hard links (SMB), renameat2
// with RENAME_NOREPLACE; where that is missing too, the name is first taken by an empty file
// created exclusively, which the rename then replaces.
Placed placeExclusively(const QByteArray& temporary, const QByteArray& final, int& error) {
    if (::link(temporary.constData(), final.constData()) == 0) {
        ::unlink(temporary.constData());
        return Placed::Done;
    }
    error = errno;
    // Over NFS a link that was made may still be reported as failed (a lost reply).
    struct stat status {};
    if (::stat(temporary.constData(), &status) == 0 && status.st_nlink == 2) {
        ::unlink(temporary.constData());
        return Placed::Done;
    }
    if (error == EEXIST)
        return Placed::NameTaken;
    if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS && error != EMLINK &&
        error != EXDEV)
        return Placed::Failed;

    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, final.constData(),
                    RENAME_NOREPLACE) == 0)
        return Placed::Done;
    error = errno;
    if (error == EEXIST)
        return Placed::NameTaken;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return Placed::Failed;

    const int placeholder =
        ::open(final.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (placeholder < 0) {
        error = errno;
        return error == EEXIST ? Placed::NameTaken : Placed::Failed;
    }
    ::close(placeholder);
    if (::rename(temporary.constData(), final.constData()) == 0)
        return Placed::Done;
    error = errno;
    ::unlink(final.constData());
    return Placed::Failed;
}

}  // namespace

drill::SaveOutcome writeArchiveFile(const QByteArray& bytes, std::u16string_view myid,
                                    const QDateTime& ended, const QString& host,
                                    const std::function<std::uint32_t()>& drawRandom) {
    drill::SaveOutcome outcome;
    outcome.fileName = shownArchiveFolder(myid);
    const auto failed = [&outcome](std::u16string reason) {
        outcome.reason = std::move(reason);
        return outcome;
    };

    switch (checkHistoryId(myid)) {
        case IdCheck::UnusableCharacter:
            return failed(std::u16string(reasons::kUnusableCharacter));
        case IdCheck::TooLong:
            return failed(std::u16string(reasons::kIdTooLong));
        case IdCheck::Usable:
            break;
    }
    const QByteArray history = encoded(toQString(kHistoryFolder));
    struct stat status {};
    if (::stat(history.constData(), &status) != 0)
        return failed(errno == ENOENT ? std::u16string(reasons::kNoFolder) : reasonFor(errno));
    if (!S_ISDIR(status.st_mode))
        return failed(std::u16string(reasons::kNotFolder));
    const mode_t folderMode = status.st_mode & 07777;

    const QByteArray kiroku = encoded(toQString(kArchiveFolder));
    const QByteArray folder = encoded(learnerArchivePath(myid));
    for (const QByteArray& path : {kiroku, folder}) {
        if (const int error = makeFolder(path, folderMode); error != 0)
            return failed(reasonFor(error));
    }

    QByteArray temporary;
    if (const int error = writeTemporary(folder, bytes, temporary); error != 0)
        return failed(reasonFor(error));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name = archiveFileName(
            ended, host, drawRandom ? drawRandom() : QRandomGenerator::global()->generate());
        int error = 0;
        switch (placeExclusively(temporary, folder + '/' + encoded(name), error)) {
            case Placed::Done:
                outcome.written = true;
                outcome.fileName += name.toStdU16String();
                return outcome;
            case Placed::NameTaken:
                continue;
            case Placed::Failed:
                ::unlink(temporary.constData());
                return failed(reasonFor(error));
        }
    }
    ::unlink(temporary.constData());
    return failed(reasonFor(EEXIST));
}

}  // namespace records
