// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Helpers shared by the records tests: hex dumps, a small CSV reader, drill states,
// working in a temporary directory and a tiny file system of our own.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drill_state.h"

namespace records_test {

// "22 0D 0A": upper-case hex bytes separated by single spaces.
std::string hex(const QByteArray& bytes);

// The items of one CSV line in code page 932 (the line without its CR LF), unquoted and
// undoubled; empty when the line is not valid CSV.
std::vector<std::u16string> csvFields(const QByteArray& line);

// A drill state with lastnum rows, row k holding " k÷ 1", k + 0.3 s and k - 1 wrong answers.
drill::DrillState fullDrill(std::int16_t lastnum, std::u16string myid);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// The names in a folder, sorted, without "." and "..".
QStringList entries(const QString& folder);

// Makes a directory the current one for its lifetime.
class InDirectory {
public:
    explicit InDirectory(const QString& directory);
    ~InDirectory();
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;
    bool entered() const { return entered_; }

private:
    QString previous_;
    bool entered_ = false;
};

// A tmpfs of a few kilobytes mounted for its lifetime (root only).
class TinyFileSystem {
public:
    TinyFileSystem(const QString& mountPoint, const char* options);
    ~TinyFileSystem();
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;
    bool mounted() const { return mounted_; }
    std::string error() const { return error_; }
    bool remountReadOnly();

private:
    QByteArray mountPoint_;
    bool mounted_ = false;
    std::string error_;
};

bool runningAsRoot();

// The account without rights that tests drop to from root.
constexpr unsigned kNobody = 65534;

// Runs body in a child process of the account nobody and gives what it returned (0 to 99);
// nullopt when the child could not become nobody or did not end normally. Root only.
std::optional<int> runAsNobody(const std::function<int()>& body);

// Whether the tests run in continuous integration (CI set and not empty), where every test
// of a lost drill has to run.
bool inContinuousIntegration();

// Writes a file of that name until the file system has no room left; false when it never
// filled up.
bool fillUp(const QString& path);

}  // namespace records_test

// For a test that cannot run here: skips it with the message streamed after it, and fails it
// in continuous integration, where a skipped test would hide that it never ran.
#define SKIP_OR_FAIL_IN_CI()                                                         \
    return GTEST_MESSAGE_(records_test::inContinuousIntegration()                    \
                              ? "cannot run in continuous integration (CI is set): " \
                              : "",                                                  \
                          records_test::inContinuousIntegration()                    \
                              ? ::testing::TestPartResult::kFatalFailure             \
                              : ::testing::TestPartResult::kSkip)
