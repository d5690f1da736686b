// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writing the history file on a real file system: where it goes, what is never touched,
// and that a failed write keeps the previous file byte for byte.

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "history_file.h"
#include "history_records.h"
#include "records_support.h"

namespace {

using records::writeHistoryFile;
using records_test::entries;
using records_test::fullDrill;
using records_test::InDirectory;
using records_test::readFile;
using records_test::TinyFileSystem;
using records_test::writeFile;

namespace reasons = records::reasons;

const QByteArray kOldFile = "\"old\",\"1.\",0,\"7/31\"\r\n";

std::u16string otherErrorPrefix() {
    return std::u16string(reasons::kOtherErrorStart);
}

QByteArray expectedBytes(drill::DrillState state) {
    return records::historyFileBytes(state);
}

// Runs in a temporary directory with an empty folder rirekidata.
class HistoryWrite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir("rirekidata"));
        here_.emplace(dir_.path());
        ASSERT_TRUE(here_->entered());
    }

    QTemporaryDir dir_;
    std::optional<InDirectory> here_;
};

TEST_F(HistoryWrite, WritesTheWholeFileUnderTheCurrentDirectory) {
    drill::DrillState state = fullDrill(3, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"rirekidata/Rovedavu12.txt");
    EXPECT_EQ(outcome.reason, u"");
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt"), expectedBytes(fullDrill(3, u"12")));
    EXPECT_EQ(entries("."), QStringList{"rirekidata"});
}

TEST_F(HistoryWrite, DrillsWithTheSameIdLeaveOnlyTheSecond) {
    drill::DrillState first = fullDrill(20, u"12");
    ASSERT_TRUE(writeHistoryFile(first).written);
    drill::DrillState second = fullDrill(2, u"12");
    second.mydate = u"8/2";
    ASSERT_TRUE(writeHistoryFile(second).written);
    drill::DrillState expected = fullDrill(2, u"12");
    expected.mydate = u"8/2";
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt"), expectedBytes(expected));
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});
}

TEST_F(HistoryWrite, IdOfOneSpaceNamesTheFileWithThatSpace) {
    drill::DrillState state = fullDrill(1, u" ");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"rirekidata/Rovedavu .txt");
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu .txt"});
}

TEST_F(HistoryWrite, DotsInTheIdStayInsideTheName) {
    drill::DrillState state = fullDrill(1, u"..");
    ASSERT_TRUE(writeHistoryFile(state).written);
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu...txt"});
    EXPECT_EQ(entries("."), QStringList{"rirekidata"});
}

TEST_F(HistoryWrite, AnIdOutsideTheCodePageIsAUtf8FileName) {
    drill::DrillState state = fullDrill(1, u"😀たろう");
    ASSERT_TRUE(writeHistoryFile(state).written);
    EXPECT_EQ(entries("rirekidata"), QStringList{QString::fromUtf8("Rovedavu😀たろう.txt")});
    EXPECT_TRUE(QFile::exists(QString::fromUtf8("rirekidata/Rovedavu\xF0\x9F\x98\x80たろう.txt")));
}

TEST_F(HistoryWrite, UnusableIdsWriteNothingAnywhere) {
    // A folder that an ID with "/" could reach through, back out of rirekidata.
    ASSERT_TRUE(QDir().mkdir("rirekidata/Rovedavua"));
    struct Case {
        std::u16string id;
        std::u16string_view reason;
    };
    const Case cases[] = {
        {u"a/../../x", reasons::kUnusableCharacter},
        {u"/", reasons::kUnusableCharacter},
        {u"a\\b", reasons::kUnusableCharacter},
        {std::u16string{u'a', u'\0', u'b'}, reasons::kUnusableCharacter},
        {u"a\nb", reasons::kUnusableCharacter},
        {u"\u0085", reasons::kUnusableCharacter},
        {std::u16string{char16_t(0xD83D)}, reasons::kUnusableCharacter},
        {std::u16string(300, u'7'), reasons::kIdTooLong},
        {std::u16string(237, u'7'), reasons::kIdTooLong},
    };
    for (const Case& c : cases) {
        drill::DrillState state = fullDrill(2, c.id);
        const drill::HistoryOutcome outcome = writeHistoryFile(state);
        EXPECT_FALSE(outcome.written);
        EXPECT_EQ(outcome.reason, c.reason);
        EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavua"});
        EXPECT_TRUE(entries("rirekidata/Rovedavua").isEmpty());
        EXPECT_EQ(entries("."), QStringList{"rirekidata"});
    }
}

TEST_F(HistoryWrite, TheNameShownForAnUnusableIdHasNoControlCharacters) {
    drill::DrillState state = fullDrill(1, std::u16string{u'a', u'\n', u'\0', u'b'});
    EXPECT_EQ(writeHistoryFile(state).fileName, u"rirekidata/Rovedavua\uFFFD\uFFFDb.txt");
    drill::DrillState slash = fullDrill(1, u"a/b");
    EXPECT_EQ(writeHistoryFile(slash).fileName, u"rirekidata/Rovedavua/b.txt");
}

TEST_F(HistoryWrite, LongestUsableIdIsWritten) {
    drill::DrillState state = fullDrill(1, std::u16string(236, u'7'));
    EXPECT_TRUE(writeHistoryFile(state).written);
    // Once more, now that the file exists and the save goes through a temporary name.
    EXPECT_TRUE(writeHistoryFile(state).written);
    EXPECT_EQ(entries("rirekidata").size(), 1);
}

TEST_F(HistoryWrite, WithoutTheFolderNothingIsWrittenAndNoFolderIsMade) {
    ASSERT_TRUE(QDir().rmdir("rirekidata"));
    drill::DrillState state = fullDrill(2, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"rirekidata/Rovedavu12.txt");
    EXPECT_EQ(outcome.reason, reasons::kNoFolder);
    EXPECT_TRUE(entries(".").isEmpty());
}

TEST_F(HistoryWrite, AFileNamedRirekidataIsNotTheFolder) {
    ASSERT_TRUE(QDir().rmdir("rirekidata"));
    writeFile("rirekidata", kOldFile);
    drill::DrillState state = fullDrill(2, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, reasons::kNotFolder);
    EXPECT_EQ(readFile("rirekidata"), kOldFile);
}

TEST_F(HistoryWrite, ANameThatCannotBeReplacedKeepsWhatIsThere) {
    // A folder where the file should be: the save cannot put a file in its place.
    ASSERT_TRUE(QDir().mkpath("rirekidata/Rovedavu12.txt"));
    writeFile("rirekidata/Rovedavu12.txt/keep", kOldFile);
    drill::DrillState state = fullDrill(2, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason.substr(0, otherErrorPrefix().size()), otherErrorPrefix());
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt/keep"), kOldFile);
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});
}

// The outcome of a write made by a process without root's rights, or by this one when it
// has none to give up.
struct ChildOutcome {
    bool ran = false;
    bool written = false;
    std::u16string reason;
};

ChildOutcome writeWithoutRootRights(drill::DrillState& state) {
    ChildOutcome result;
    if (!records_test::runningAsRoot()) {
        const drill::HistoryOutcome outcome = writeHistoryFile(state);
        return {true, outcome.written, outcome.reason};
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        constexpr uid_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(3);
        const drill::HistoryOutcome outcome = writeHistoryFile(state);
        const QByteArray reason = QString::fromStdU16String(outcome.reason).toUtf8();
        const bool sent = ::write(pipeEnds[1], reason.constData(), reason.size()) == reason.size();
        ::_exit(!sent ? 4 : outcome.written ? 1 : 0);
    }
    ::close(pipeEnds[1]);
    QByteArray reason;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, got);
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 1)
        return result;
    return {true, WEXITSTATUS(status) == 1, QString::fromUtf8(reason).toStdU16String()};
}

const auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                       QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
const auto kWritable =
    kReadOnly | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

TEST_F(HistoryWrite, APermissionFailureNamesTheFolderOrTheFileAndKeepsTheOldFile) {
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), kReadOnly | QFileDevice::WriteOwner));
    const QString name = "rirekidata/Rovedavu12.txt";
    const struct {
        bool folderWritable;
        bool fileThere;
        std::u16string_view reason;
    } rows[] = {
        {false, true, reasons::kNoFolderOrFilePermission},
        {false, false, reasons::kNoFolderPermission},
        {true, true, reasons::kNoPermission},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(QString::fromStdU16String(std::u16string(row.reason)).toStdString());
        ASSERT_TRUE(QFile::setPermissions("rirekidata", kWritable));
        QFile::remove(name);
        if (row.fileThere) {
            writeFile(name, kOldFile);
            ASSERT_TRUE(QFile::setPermissions(name, kReadOnly));
        }
        ASSERT_TRUE(
            QFile::setPermissions("rirekidata", row.folderWritable ? kWritable : kReadOnly));
        drill::DrillState state = fullDrill(20, u"12");
        const ChildOutcome outcome = writeWithoutRootRights(state);
        QFile::setPermissions("rirekidata", kWritable);
        ASSERT_TRUE(outcome.ran);
        EXPECT_FALSE(outcome.written);
        EXPECT_EQ(outcome.reason, row.reason);
        EXPECT_EQ(readFile(name), row.fileThere ? kOldFile : QByteArray("<unreadable>"));
        EXPECT_EQ(entries("rirekidata"),
                  row.fileThere ? QStringList{"Rovedavu12.txt"} : QStringList{});
    }
}

TEST_F(HistoryWrite, ALockedFolderRewritesAWritableFileInPlaceOnlyWhenThereIsRoom) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a tiny file system needs root";
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), kReadOnly | QFileDevice::WriteOwner));
    ASSERT_TRUE(QDir().mkdir("tiny"));
    const TinyFileSystem tiny(QDir("tiny").absolutePath(), "size=32k,mode=0755");
    if (!tiny.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << tiny.error();
    const InDirectory inTiny("tiny");
    ASSERT_TRUE(inTiny.entered());
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    const QString name = "rirekidata/Rovedavu12.txt";
    writeFile(name, kOldFile);
    ASSERT_TRUE(QFile::setPermissions(name, kWritable));
    ASSERT_TRUE(QFile::setPermissions("rirekidata", kReadOnly));
    ASSERT_TRUE(records_test::fillUp("filler")) << "the file system never filled up";

    // Long dates make the new file need pages that the full disk does not have.
    drill::DrillState large = fullDrill(20, u"12");
    large.mydate = std::u16string(300, u'８');
    const ChildOutcome full = writeWithoutRootRights(large);
    ASSERT_TRUE(full.ran);
    EXPECT_FALSE(full.written);
    EXPECT_EQ(full.reason, reasons::kDiskFull);
    EXPECT_EQ(readFile(name), kOldFile);

    ASSERT_TRUE(QFile::remove("filler"));
    EXPECT_TRUE(writeWithoutRootRights(large).written);
    EXPECT_EQ(readFile(name), expectedBytes(large));
    drill::DrillState small = fullDrill(2, u"12");
    EXPECT_TRUE(writeWithoutRootRights(small).written);
    EXPECT_EQ(readFile(name), expectedBytes(small));
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});
}

TEST_F(HistoryWrite, AStickyFolderThatKeepsAnotherAccountsFileIsNotReportedAsSaved) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "needs a file of another account";
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), kReadOnly | QFileDevice::WriteOwner));
    // Every account may add files, but only a file's owner may replace it: the old file
    // stays root's while the writer is nobody, who may still write into it.
    const QString name = "rirekidata/Rovedavu12.txt";
    writeFile(name, kOldFile);
    ASSERT_TRUE(QFile::setPermissions(name, kWritable));
    ASSERT_EQ(::chmod("rirekidata", 01777), 0);
    drill::DrillState state = fullDrill(20, u"12");
    const ChildOutcome outcome = writeWithoutRootRights(state);
    ASSERT_TRUE(outcome.ran);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, reasons::kOthersFile);
    EXPECT_EQ(readFile(name), kOldFile);
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});
}

TEST_F(HistoryWrite, AFullDiskKeepsTheOldFileByteForByte) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a tiny file system needs root";
    ASSERT_TRUE(QDir().mkdir("tiny"));
    const TinyFileSystem tiny(QDir("tiny").absolutePath(), "size=16k,mode=0755");
    if (!tiny.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << tiny.error();
    const InDirectory inTiny("tiny");
    ASSERT_TRUE(inTiny.entered());
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    writeFile("rirekidata/Rovedavu12.txt", kOldFile);
    ASSERT_EQ(readFile("rirekidata/Rovedavu12.txt"), kOldFile);
    ASSERT_TRUE(records_test::fillUp("filler")) << "the file system never filled up";

    drill::DrillState state = fullDrill(20, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"rirekidata/Rovedavu12.txt");
    EXPECT_EQ(outcome.reason, reasons::kDiskFull);
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt"), kOldFile);
    EXPECT_EQ(entries("rirekidata"), QStringList{"Rovedavu12.txt"});

    // With room again, the same drill is written whole.
    ASSERT_TRUE(QFile::remove("filler"));
    EXPECT_TRUE(writeHistoryFile(state).written);
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt"), expectedBytes(fullDrill(20, u"12")));
}

TEST_F(HistoryWrite, AReadOnlyFileSystemKeepsTheOldFile) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a file system needs root";
    ASSERT_TRUE(QDir().mkdir("tiny"));
    TinyFileSystem tiny(QDir("tiny").absolutePath(), "size=64k,mode=0755");
    if (!tiny.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << tiny.error();
    ASSERT_TRUE(QDir().mkdir("tiny/rirekidata"));
    writeFile("tiny/rirekidata/Rovedavu12.txt", kOldFile);
    ASSERT_TRUE(tiny.remountReadOnly());
    const InDirectory inTiny("tiny");
    ASSERT_TRUE(inTiny.entered());

    drill::DrillState state = fullDrill(20, u"12");
    const drill::HistoryOutcome outcome = writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, reasons::kNoFolderOrFilePermission);
    EXPECT_EQ(readFile("rirekidata/Rovedavu12.txt"), kOldFile);
}

TEST_F(HistoryWrite, HistoryRecordsWritesUnderTheCurrentDirectory) {
    records::HistoryRecords records;
    drill::DrillState state = fullDrill(5, u"7");
    const drill::HistoryOutcome outcome = records.writeHistory(state);
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(readFile("rirekidata/Rovedavu7.txt"), expectedBytes(fullDrill(5, u"7")));
}

}  // namespace
