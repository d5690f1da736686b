// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "in_place_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace records {
namespace {

int reserve(int fd, off_t size) {
    int error;
    do {
        error = ::posix_fallocate(fd, 0, size);
    } while (error == EINTR);
    return error;
}

int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    off_t done = 0;
    const auto size = static_cast<off_t>(bytes.size());
    while (done < size) {
        const ssize_t written = ::pwrite(fd, data + done, static_cast<size_t>(size - done), done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += written;
    }
    return 0;
}

}  // namespace

int rewriteInPlace(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a FIFO without a reader must not hang the drill; a regular file ignores it.
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno;
    const auto fail = [fd](int error) {
        ::close(fd);
        return error;
    };

    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return fail(errno);
    if (!S_ISREG(status.st_mode))
        return fail(EINVAL);
    const auto newSize = static_cast<off_t>(bytes.size());
    if (newSize > 0) {
        if (const int error = reserve(fd, newSize); error != 0) {
            // A failed reservation may have grown the file by zeros past its old end.
            struct stat after {};
            const bool grown = ::fstat(fd, &after) == 0 && after.st_size != status.st_size;
            [[maybe_unused]] const int cut = grown ? ::ftruncate(fd, status.st_size) : 0;
            return fail(error);
        }
    }
    if (const int error = writeAll(fd, bytes); error != 0)
        return fail(error);
    if (::ftruncate(fd, newSize) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0)
        return errno;
    return 0;
}

}  // namespace records
