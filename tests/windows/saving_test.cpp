// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Saving the history file and the archive with the Win32 file calls on real file systems: a
// file that may not be written, a folder that takes no new file, a read-only disk and a full
// one. Each failure gives the same reason as on Debian and keeps the old file byte for byte.
// So does a file that another program keeps open, which only Windows refuses to replace.
//
// saving-under-wine.sh prepares what only root can: the folders below
// ROVEDAVU_SAVING_FOLDERS, with files of another account, and a small disk of 64 KiB at
// ROVEDAVU_SMALL_DRIVE; the program itself then runs as an account without root's rights.
// Without them, only the cases that need nothing prepared run.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "drill.h"
#include "history_bytes.h"
#include "recording_fakes.h"
#include "test_files.h"
#include "texts.h"
#include "wide_text.h"
#include "win_records.h"

namespace {

using wintest::entries;
using wintest::readFile;

namespace reasons = records::reasons;

// The old file that every prepared folder holds, written by saving-under-wine.sh too.
const std::string kOldFile = "\"old\",\"1.\",0,\"7/31\"\r\n";
constexpr wchar_t kHistoryName[] = L"Rovedavu12.txt";
constexpr wchar_t kHistoryPath[] = L"rirekidata\\Rovedavu12.txt";

std::wstring environment(const wchar_t* name) {
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, std::size(value));
    return length > 0 && length < std::size(value) ? std::wstring(value, length) : L"";
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && whole;
}

// The current folder for the life of the object.
class InFolder {
public:
    explicit InFolder(const std::wstring& folder) {
        wchar_t previous[MAX_PATH];
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, previous);
        previous_.assign(previous, length < MAX_PATH ? length : 0);
        entered_ = SetCurrentDirectoryW(folder.c_str()) != 0;
    }
    ~InFolder() { SetCurrentDirectoryW(previous_.c_str()); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    bool entered() const { return entered_; }

private:
    std::wstring previous_;
    bool entered_ = false;
};

drill::DrillState fullDrill(int lastnum, std::u16string myid) {
    drill::DrillState state;
    state.lastnum = static_cast<std::int16_t>(lastnum);
    state.myid = std::move(myid);
    state.mydate = u"８／１";
    for (int k = 1; k <= lastnum; ++k) {
        state.qtext[k] = u" " + win::utf16(std::to_wstring(k)) + u"÷ 1";
        state.qtime[k] = static_cast<float>(k) + 0.3f;
        state.qmiss[k] = static_cast<std::int16_t>(k - 1);
    }
    return state;
}

// A drill whose file needs more than one 4 KiB block, so that a full disk refuses its growth.
drill::DrillState largeDrill() {
    drill::DrillState state = fullDrill(20, u"12");
    state.mydate = std::u16string(300, u'８');
    return state;
}

std::string bytesOf(drill::DrillState state) {
    return records::historyBytes(state);
}

// A folder of its own under the system's temporary folder, removed with what it holds.
class TemporaryFolder {
public:
    TemporaryFolder() {
        wchar_t base[MAX_PATH];
        const DWORD length = GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base, length) + L"rovedavu-saving-" +
                std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TemporaryFolder() { removeAll(path_); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::wstring& path() const { return path_; }

private:
    static void removeAll(const std::wstring& folder) {
        for (const std::wstring& name : entries(folder)) {
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(path.c_str()))
                removeAll(path);
        }
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring path_;
};

TEST(Saving, AReadOnlyFileIsNeverReplaced) {
    const TemporaryFolder folder;
    const InFolder inside(folder.path());
    ASSERT_TRUE(inside.entered());
    ASSERT_TRUE(CreateDirectoryW(L"rirekidata", nullptr));
    ASSERT_TRUE(writeFile(kHistoryPath, kOldFile));
    ASSERT_TRUE(SetFileAttributesW(kHistoryPath, FILE_ATTRIBUTE_READONLY));

    drill::DrillState state = fullDrill(20, u"12");
    const drill::HistoryOutcome outcome = win::writeHistoryFile(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, reasons::kNoPermission);
    EXPECT_EQ(readFile(kHistoryPath), kOldFile);
    EXPECT_EQ(entries(L"rirekidata"), std::vector<std::wstring>{kHistoryName});
}

// An ID that Windows cannot hold as a file name, or would store under another name, saves
// nothing: not the history file, and no archive folder ("a:b" would be a hidden stream of
// "Rovedavua", "ab." the folder of "ab").
TEST(Saving, AnIdThatWindowsNamesCannotHoldSavesNothing) {
    const TemporaryFolder folder;
    const InFolder inside(folder.path());
    ASSERT_TRUE(inside.entered());
    ASSERT_TRUE(CreateDirectoryW(L"rirekidata", nullptr));
    for (const std::u16string id :
         {u"a:b", u"a*", u"a?", u"a\"b", u"a<b>", u"a|b", u"ab.", u"ab "}) {
        SCOPED_TRACE(std::string(id.begin(), id.end()));
        drill::DrillState state = fullDrill(3, id);
        const drill::HistoryOutcome outcome = win::writeHistoryFile(state);
        EXPECT_FALSE(outcome.written);
        EXPECT_EQ(outcome.reason, reasons::kUnusableCharacter);
        const drill::SaveOutcome archived =
            win::writeArchiveFile(bytesOf(state), id, {2026, 12, 7, 9, 30, 15}, u"pc-01");
        EXPECT_FALSE(archived.written);
        EXPECT_EQ(archived.reason, reasons::kUnusableCharacter);
        EXPECT_EQ(entries(L"rirekidata"), std::vector<std::wstring>{});
    }
    // The same letters without them are saved.
    drill::DrillState state = fullDrill(3, u"ab");
    EXPECT_TRUE(win::writeHistoryFile(state).written);
}

// A working folder that saving-under-wine.sh prepared, with the account and mode named.
struct PreparedFolder {
    const wchar_t* name;
    bool historyWritten;
    std::u16string_view historyReason;
    std::u16string_view archiveReason;  // empty: the archive is written
    std::vector<std::wstring> left;     // what rirekidata holds afterwards
};

TEST(Saving, EachPreparedFolderGivesTheReasonAndKeepsTheOldFile) {
    const std::wstring folders = environment(L"ROVEDAVU_SAVING_FOLDERS");
    if (folders.empty())
        GTEST_SKIP() << "no folders prepared by root (saving-under-wine.sh)";
    const std::vector<std::wstring> file{kHistoryName};
    const PreparedFolder rows[] = {
        // rirekidata takes new files; the old file is another account's, which may not be
        // written, so it is not replaced either.
        {L"open-others", false, reasons::kNoPermission, u"", {kHistoryName, L"kiroku"}},
        // rirekidata is another account's and takes no new file.
        {L"locked-empty", false, reasons::kNoFolderPermission, reasons::kNoPermission, {}},
        {L"locked-others", false, reasons::kNoFolderOrFilePermission, reasons::kNoPermission, file},
        {L"locked-read-only", false, reasons::kNoFolderOrFilePermission, reasons::kNoPermission,
         file},
        // ... but the learner's own file may be written: it is rewritten in place.
        {L"locked-writable", true, u"", reasons::kNoPermission, file},
        // A file system mounted read-only.
        {L"read-only-disk", false, reasons::kNoFolderOrFilePermission, reasons::kNoPermission,
         file},
    };
    for (const PreparedFolder& row : rows) {
        SCOPED_TRACE(testing::Message() << "folder " << row.name);
        const InFolder inside(folders + L"\\" + row.name);
        ASSERT_TRUE(inside.entered());
        const bool hadFile =
            std::find(row.left.begin(), row.left.end(), kHistoryName) != row.left.end();
        ASSERT_EQ(readFile(kHistoryPath), hadFile ? kOldFile : "<unreadable>");

        drill::DrillState state = fullDrill(20, u"12");
        const drill::HistoryOutcome outcome = win::WinRecords().writeHistory(state);
        EXPECT_EQ(outcome.written, row.historyWritten);
        EXPECT_EQ(outcome.reason, row.historyReason);
        EXPECT_EQ(readFile(kHistoryPath), row.historyWritten ? bytesOf(fullDrill(20, u"12"))
                                          : hadFile          ? kOldFile
                                                             : "<unreadable>");
        ASSERT_TRUE(outcome.archive);
        EXPECT_EQ(outcome.archive->written, row.archiveReason.empty());
        EXPECT_EQ(outcome.archive->reason, row.archiveReason);
        EXPECT_EQ(entries(L"rirekidata"), row.left);
    }
}

// Another program that has the file open for reading and lets others only read it, as a
// spreadsheet does; it lets go after the given milliseconds, or at its own end (INFINITE).
class Holder {
public:
    Holder(const wchar_t* path, DWORD letGoAfter)
        : file_(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (file_ != INVALID_HANDLE_VALUE && letGoAfter != INFINITE) {
            letGo_ = std::thread([file = file_, letGoAfter] {
                Sleep(letGoAfter);
                CloseHandle(file);
            });
        }
    }
    ~Holder() {
        if (letGo_.joinable())
            letGo_.join();
        else if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool holds() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
    std::thread letGo_;
};

// The save waits a little for a program that has the history file open: the file is written
// once it lets go; otherwise the reason says so, and the old file stays byte for byte. Also in
// a folder that takes no new file, where the file is rewritten in place.
TEST(Saving, AFileThatAnotherProgramHasOpenIsWaitedForALittle) {
    const TemporaryFolder own;
    std::vector<std::wstring> folders{own.path()};
    if (const std::wstring prepared = environment(L"ROVEDAVU_SAVING_FOLDERS"); !prepared.empty())
        folders.push_back(prepared + L"\\locked-writable");
    ASSERT_TRUE(CreateDirectoryW((own.path() + L"\\rirekidata").c_str(), nullptr));
    for (const std::wstring& folder : folders) {
        const InFolder inside(folder);
        ASSERT_TRUE(inside.entered());
        for (const DWORD letGoAfter : {DWORD{150}, DWORD{INFINITE}}) {
            SCOPED_TRACE(testing::Message()
                         << "lets go after " << letGoAfter << " ms in "
                         << (folder == own.path() ? "an open folder" : "locked-writable"));
            const bool letsGo = letGoAfter != INFINITE;
            ASSERT_TRUE(writeFile(kHistoryPath, kOldFile));
            drill::HistoryOutcome outcome;
            {
                const Holder holder(kHistoryPath, letGoAfter);
                ASSERT_TRUE(holder.holds());
                drill::DrillState state = fullDrill(20, u"12");
                outcome = win::writeHistoryFile(state);
            }
            EXPECT_EQ(outcome.written, letsGo);
            EXPECT_EQ(outcome.reason, letsGo ? u"" : reasons::kFileInUse);
            EXPECT_EQ(readFile(kHistoryPath), letsGo ? bytesOf(fullDrill(20, u"12")) : kOldFile);
            EXPECT_EQ(entries(L"rirekidata"), std::vector<std::wstring>{kHistoryName});
        }
        // The prepared folder as the other tests expect it.
        ASSERT_TRUE(writeFile(kHistoryPath, kOldFile));
    }
}

// The small disk: filled to its last block by a file of its own, emptied again at the end.
class FullDisk : public testing::Test {
protected:
    void SetUp() override {
        drive_ = environment(L"ROVEDAVU_SMALL_DRIVE");
        if (drive_.empty())
            GTEST_SKIP() << "no small disk prepared by root (saving-under-wine.sh)";
        filler_ = drive_ + L"\\filler";
    }
    void TearDown() override {
        if (!filler_.empty())
            DeleteFileW(filler_.c_str());
    }

    // True once the disk said that it is full.
    bool fillUp() const {
        const HANDLE file = CreateFileW(filler_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const std::string chunk(512, 'z');
        DWORD error = ERROR_SUCCESS;
        for (int k = 0; k < 4096 && error == ERROR_SUCCESS; ++k) {
            DWORD written = 0;
            if (!WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr))
                error = GetLastError();
        }
        CloseHandle(file);
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    }
    bool makeRoom() const { return DeleteFileW(filler_.c_str()) != 0; }

    std::wstring drive_;
    std::wstring filler_;
};

TEST_F(FullDisk, KeepsTheOldFileWholeAndLeavesNoArchiveFile) {
    const std::wstring folder = drive_ + L"\\open";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const InFolder inside(folder);
    ASSERT_TRUE(inside.entered());
    ASSERT_TRUE(CreateDirectoryW(L"rirekidata", nullptr));
    ASSERT_TRUE(writeFile(kHistoryPath, kOldFile));
    ASSERT_TRUE(fillUp()) << "the disk never filled up";

    drill::DrillState state = fullDrill(20, u"12");
    const drill::HistoryOutcome outcome = win::WinRecords().writeHistory(state);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, reasons::kDiskFull);
    EXPECT_EQ(readFile(kHistoryPath), kOldFile);
    ASSERT_TRUE(outcome.archive);
    EXPECT_FALSE(outcome.archive->written);
    EXPECT_EQ(outcome.archive->reason, reasons::kDiskFull);
    EXPECT_EQ(entries(L"rirekidata"), (std::vector<std::wstring>{kHistoryName, L"kiroku"}));
    EXPECT_EQ(entries(L"rirekidata\\kiroku\\Rovedavu12"), std::vector<std::wstring>{});

    // What the learner reads at the end of a drill on this disk.
    fakes::Log log;
    fakes::View view{log};
    fakes::Sound sound{log};
    fakes::Dialogs dialogs{log};
    fakes::Clock clock{log};
    fakes::Random random{log};
    win::WinRecords records;
    fakes::ResultsWindow results{log};
    drill::Drill drill{{view, sound, dialogs, clock, random, records, results}};
    dialogs.inputs = {u"８／１", u"12"};
    drill.startUp();
    drill.endClicked();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              std::u16string(drill::texts::kHistoryFailed) +
                  u"\n\nファイル：rirekidata/Rovedavu12.txt\nりゆう：ディスクがいっぱいです。"
                  u"\n\nひかえ：rirekidata/kiroku/Rovedavu12/\nりゆう：ディスクがいっぱいです。");
    EXPECT_EQ(readFile(kHistoryPath), kOldFile);

    // With room again, the same drill is written whole.
    ASSERT_TRUE(makeRoom());
    const drill::HistoryOutcome again = win::WinRecords().writeHistory(state);
    EXPECT_TRUE(again.written);
    EXPECT_EQ(readFile(kHistoryPath), bytesOf(fullDrill(20, u"12")));
    ASSERT_TRUE(again.archive);
    EXPECT_TRUE(again.archive->written);
}

TEST_F(FullDisk, ALockedFolderRewritesTheFileInPlaceOnlyWhenThereIsRoom) {
    // rirekidata is another account's; the file in it is the learner's own.
    const InFolder inside(drive_ + L"\\locked");
    ASSERT_TRUE(inside.entered());
    ASSERT_EQ(readFile(kHistoryPath), kOldFile);
    ASSERT_TRUE(fillUp()) << "the disk never filled up";

    drill::DrillState large = largeDrill();
    const drill::HistoryOutcome full = win::writeHistoryFile(large);
    EXPECT_FALSE(full.written);
    EXPECT_EQ(full.reason, reasons::kDiskFull);
    EXPECT_EQ(readFile(kHistoryPath), kOldFile);

    ASSERT_TRUE(makeRoom());
    EXPECT_TRUE(win::writeHistoryFile(large).written);
    EXPECT_EQ(readFile(kHistoryPath), bytesOf(largeDrill()));
    drill::DrillState small = fullDrill(2, u"12");
    EXPECT_TRUE(win::writeHistoryFile(small).written);
    EXPECT_EQ(readFile(kHistoryPath), bytesOf(fullDrill(2, u"12")));
    EXPECT_EQ(entries(L"rirekidata"), std::vector<std::wstring>{kHistoryName});
}

}  // namespace
