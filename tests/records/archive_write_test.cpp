// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping drills in the archive on a real file system: each drill is a new file with the
// history file's bytes, and a failure leaves no file, whole or partial, behind.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <optional>
#include <utility>

#include "archive_file.h"
#include "archive_names.h"
#include "history_file.h"
#include "history_records.h"
#include "records_support.h"

namespace {

using records_test::entries;
using records_test::fullDrill;
using records_test::InDirectory;
using records_test::readFile;

QStringList allEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class ArchiveWrite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        here_.emplace(dir_.path());
        ASSERT_TRUE(here_->entered());
    }
    QTemporaryDir dir_;
    std::optional<InDirectory> here_;
};

TEST_F(ArchiveWrite, EachDrillAddsAFileWithTheHistoryFilesBytes) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    records::HistoryRecords records;
    drill::DrillState first = fullDrill(20, u"12");
    const drill::HistoryOutcome one = records.writeHistory(first);
    const QByteArray firstBytes = readFile("rirekidata/Rovedavu12.txt");
    drill::DrillState second = fullDrill(3, u"12");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const drill::HistoryOutcome two = records.writeHistory(second);
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_TRUE(one.written && one.archive && one.archive->written);
    ASSERT_TRUE(two.written && two.archive && two.archive->written);

    const QString folder = "rirekidata/kiroku/Rovedavu12";
    const QStringList files = allEntries(folder);
    ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
    const QString firstName = QString::fromStdU16String(one.archive->fileName);
    const QString secondName = QString::fromStdU16String(two.archive->fileName);
    EXPECT_EQ(readFile(firstName), firstBytes);
    EXPECT_EQ(readFile(secondName), readFile("rirekidata/Rovedavu12.txt"));
    EXPECT_NE(firstBytes, readFile(secondName));
    const auto parsed = records::parseArchiveFileName(QFileInfo(secondName).fileName());
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->ended >= before.addMSecs(-before.time().msec()) && parsed->ended <= after);
    EXPECT_EQ(QFileInfo(secondName).path(), folder);
}

TEST_F(ArchiveWrite, FoldersAreMadeInsideRirekidataWithItsPermissions) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    ASSERT_TRUE(QFile::setPermissions("rirekidata", QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadGroup |
                                                        QFile::WriteGroup | QFile::ExeGroup));
    const QByteArray bytes = "a drill\r\n";
    const auto outcome = records::writeArchiveFile(bytes, u"7", QDateTime::currentDateTime(), "pc");
    ASSERT_TRUE(outcome.written) << QString::fromStdU16String(outcome.reason).toStdString();
    for (const QString folder : {"rirekidata/kiroku", "rirekidata/kiroku/Rovedavu7"})
        EXPECT_EQ(QFile::permissions(folder), QFile::permissions("rirekidata"))
            << folder.toStdString();

    // Without rirekidata nothing is made.
    ASSERT_TRUE(QDir("rirekidata").removeRecursively());
    const auto none = records::writeArchiveFile(bytes, u"7", QDateTime::currentDateTime(), "pc");
    EXPECT_FALSE(none.written);
    EXPECT_EQ(none.reason, records::reasons::kNoFolder);
    EXPECT_TRUE(entries(".").isEmpty());
}

TEST_F(ArchiveWrite, ANameThatIsTakenIsDrawnAgainAndTheFileThereIsKept) {
    ASSERT_TRUE(QDir().mkpath("rirekidata/kiroku/Rovedavu12"));
    const QDateTime ended = QDateTime::currentDateTime();
    const QString folder = "rirekidata/kiroku/Rovedavu12/";
    const QString taken = folder + records::archiveFileName(ended, "pc", 0x1111);
    const QByteArray other = "another computer's drill\r\n";
    records_test::writeFile(taken, other);
    std::uint32_t next = 0x1111;
    const auto draw = [&next] { return std::exchange(next, next + 0x1111); };

    const QByteArray bytes = "a drill\r\n";
    const auto outcome = records::writeArchiveFile(bytes, u"12", ended, "pc", draw);
    ASSERT_TRUE(outcome.written) << QString::fromStdU16String(outcome.reason).toStdString();
    const QString second = folder + records::archiveFileName(ended, "pc", 0x2222);
    EXPECT_EQ(QString::fromStdU16String(outcome.fileName).toStdString(), second.toStdString());
    EXPECT_EQ(readFile(second).toStdString(), bytes.toStdString());
    EXPECT_EQ(readFile(taken).toStdString(), other.toStdString());
    EXPECT_EQ(allEntries(folder).size(), 2) << allEntries(folder).join(' ').toStdString();
}

TEST_F(ArchiveWrite, AFullDiskLeavesNoFileAndNoTemporaryFile) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a tiny file system needs root";
    ASSERT_TRUE(QDir().mkdir("tiny"));
    const records_test::TinyFileSystem tiny(QDir("tiny").absolutePath(), "size=16k,mode=0755");
    if (!tiny.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << tiny.error();
    const InDirectory inTiny("tiny");
    ASSERT_TRUE(QDir().mkpath("rirekidata/kiroku/Rovedavu12"));
    ASSERT_TRUE(records_test::fillUp("filler")) << "the file system never filled up";

    drill::DrillState state = fullDrill(20, u"12");
    const auto outcome = records::writeArchiveFile(records::historyFileBytes(state), u"12",
                                                   QDateTime::currentDateTime(), "pc");
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.fileName, u"rirekidata/kiroku/Rovedavu12/");
    EXPECT_EQ(outcome.reason, records::reasons::kDiskFull);
    EXPECT_TRUE(allEntries("rirekidata/kiroku/Rovedavu12").isEmpty());
}

}  // namespace
