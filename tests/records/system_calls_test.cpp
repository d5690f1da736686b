// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the records code asks of the system, in order, where a file system alone does not show
// it: the archive file reaches the disk before it gets its name, and a rewrite in place whose
// reservation grew the file and then failed leaves the file as long as it was.
//
// fsync, link and posix_fallocate are defined in this test program, so the records code linked
// into it calls them before the C library's. They pass every call on unless a test arms them.
// Being part of the program rather than a preloaded library, they work the same under the
// sanitizers.

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "archive_file.h"
#include "in_place_rewrite.h"
#include "records_support.h"

namespace {

struct Call {
    std::string name;
    ino_t file;
};

bool recording = false;
std::vector<Call> calls;
// When not 0, posix_fallocate grows the file to the length asked for and gives this error, as
// a file system may that reserves part of the room before it runs out.
int fallocateFailure = 0;

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

ino_t fileOf(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? status.st_ino : 0;
}

ino_t fileAt(const char* path) {
    struct stat status {};
    return ::stat(path, &status) == 0 ? status.st_ino : 0;
}

}  // namespace

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    if (recording)
        calls.push_back({"fsync", fileOf(fd)});
    return real(fd);
}

extern "C" int link(const char* from, const char* to) noexcept {
    static const auto real = next<int (*)(const char*, const char*)>("link");
    if (recording)
        calls.push_back({"link", fileAt(from)});
    return real(from, to);
}

extern "C" int posix_fallocate(int fd, off_t offset, off_t length) {
    static const auto real = next<int (*)(int, off_t, off_t)>("posix_fallocate");
    if (fallocateFailure == 0)
        return real(fd, offset, length);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && status.st_size < offset + length &&
        ::ftruncate(fd, offset + length) != 0)
        return errno;
    return fallocateFailure;
}

namespace {

using records_test::InDirectory;
using records_test::readFile;

class SystemCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        here_.emplace(dir_.path());
        ASSERT_TRUE(here_->entered());
    }
    void TearDown() override {
        recording = false;
        calls.clear();
        fallocateFailure = 0;
    }
    QTemporaryDir dir_;
    std::optional<InDirectory> here_;
};

TEST_F(SystemCalls, TheArchiveFileIsSyncedBeforeItIsGivenItsName) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    recording = true;
    const auto outcome =
        records::writeArchiveFile("a drill\r\n", u"12", QDateTime::currentDateTime(), "pc");
    recording = false;
    ASSERT_TRUE(outcome.written);

    std::string order;
    bool syncedBeforeLink = false;
    std::vector<ino_t> synced;
    for (const Call& call : calls) {
        order += call.name + ' ' + std::to_string(call.file) + "; ";
        if (call.name == "fsync")
            synced.push_back(call.file);
        else if (call.name == "link")
            syncedBeforeLink = std::find(synced.begin(), synced.end(), call.file) != synced.end();
    }
    EXPECT_TRUE(syncedBeforeLink) << "calls: " << order;
}

TEST_F(SystemCalls, AFailedReservationThatGrewTheFileCutsItBack) {
    const QByteArray old = "\"old\",\"1.\",0,\"7/31\"\r\n";
    records_test::writeFile("Rovedavu12.txt", old);
    fallocateFailure = ENOSPC;
    EXPECT_EQ(records::rewriteInPlace("Rovedavu12.txt", QByteArray(4096, 'x')), ENOSPC);
    fallocateFailure = 0;
    const QByteArray after = readFile("Rovedavu12.txt");
    EXPECT_EQ(after.size(), old.size());
    EXPECT_TRUE(after.startsWith(old)) << records_test::hex(after.left(old.size()));
}

}  // namespace
