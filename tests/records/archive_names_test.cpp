// The archive's names, made and read back: what a teacher's program and scripts rely on.

#include "archive_names.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <optional>
#include <string>

namespace {

using records::archiveFileName;
using records::parseArchiveFileName;

const QDateTime kEnded(QDate(2026, 8, 1), QTime(9, 5, 7));

TEST(ArchiveNames, FileNameRows) {
    const struct {
        QString host;
        std::uint32_t random;
        QString name;
        QString hostBack;
    } rows[] = {
        {"pc-01.school", 0xdeadbeef, "20260801-090507_pc-01.school_deadbeef.txt", "pc-01.school"},
        {"PC_3 教室", 0x1f, "20260801-090507_PC-3---_0000001f.txt", "PC-3---"},
        {"a😀b", 0, "20260801-090507_a-b_00000000.txt", "a-b"},
        {"", 0xffffffff, "20260801-090507_-_ffffffff.txt", "-"},
        {QString(70, u'h'), 1, "20260801-090507_" + QString(63, u'h') + "_00000001.txt",
         QString(63, u'h')},
    };
    for (const auto& row : rows) {
        const QString name = archiveFileName(kEnded, row.host, row.random);
        EXPECT_EQ(name, row.name);
        const auto back = parseArchiveFileName(name);
        ASSERT_TRUE(back) << name.toStdString();
        EXPECT_EQ(back->ended, kEnded);
        EXPECT_EQ(back->host, row.hostBack);
    }
}

TEST(ArchiveNames, NamesThatAreNotDrillsAreRefused) {
    for (const QString& name : QStringList{
             ".kiroku-1234abcd.tmp",
             ".20260801-090507_pc_deadbeef.txt",
             "20260801-090507_pc_deadbeef.txt.tmp",
             "20260801-090507_pc_DEADBEEF.txt",
             "20260801-090507_pc_deadbee.txt",
             "20260801-090507__deadbeef.txt",
             "20260801-090507_p_c_deadbeef.txt",
             "20261301-090507_pc_deadbeef.txt",
             "20260801-250507_pc_deadbeef.txt",
             "20260801 090507_pc_deadbeef.txt",
             "2026080１-090507_pc_deadbeef.txt",
             "20260801-090507_" + QString(64, u'h') + "_deadbeef.txt",
             "Rovedavu12.txt",
         }) {
        EXPECT_FALSE(parseArchiveFileName(name)) << name.toStdString();
    }
}

TEST(ArchiveNames, LearnerFolderAndHistoryFileNamesToTheId) {
    const std::u16string longest(236, u'7');
    EXPECT_EQ(records::learnerArchivePath(u".."), "rirekidata/kiroku/Rovedavu..");
    const struct {
        QString name;
        std::optional<QString> folderId;
        std::optional<QString> historyId;
    } rows[] = {
        {"Rovedavu12", "12", std::nullopt},
        {"Rovedavu12.txt", "12.txt", "12"},
        {"Rovedavu..", "..", std::nullopt},
        {"Rovedavu...txt", "...txt", ".."},
        {"Rovedavu   ", "   ", std::nullopt},
        {"Rovedavu", std::nullopt, std::nullopt},
        {"Rovedavu.txt", ".txt", std::nullopt},
        {"rovedavu12", std::nullopt, std::nullopt},
        {"Rovedavua\tb", std::nullopt, std::nullopt},
        {"Rovedavu" + QString::fromStdU16String(longest), QString::fromStdU16String(longest),
         std::nullopt},
        {"Rovedavu" + QString(237, u'7'), std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(records::idFromArchiveFolderName(row.name), row.folderId)
            << row.name.toStdString();
        EXPECT_EQ(records::idFromHistoryFileName(row.name), row.historyId)
            << row.name.toStdString();
    }
    // Every ID the history file takes has a folder name within 255 bytes.
    EXPECT_LE(records::archiveFolderName(longest).toUtf8().size(), 255);
}

}  // namespace
