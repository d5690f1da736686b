// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The working folder on Windows: the settings files in their order, the program's own folder
// and the per-user folder, and a named folder that cannot be reached.

#include "working_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

struct SettingsCase {
    const char* text;
    const wchar_t* folder;  // nullptr: none
};

TEST(WindowsSettings, ReadsTheDataFolderLine) {
    const SettingsCase cases[] = {
        {"DataFolder=\\\\server\\class-3\\rovedavu\r\n", L"\\\\server\\class-3\\rovedavu"},
        {"\xEF\xBB\xBF[General]\r\nDataFolder = C:\\Drills\\ \r\n", L"C:\\Drills"},
        {"DataFolder=\"D:\\漢字 フォルダ\"\n", L"D:\\漢字 フォルダ"},
        {"; a comment\n[Other]\nDataFolder=C:\\Wrong\n[General]\nDataFolder=C:\\Right\n",
         L"C:\\Right"},
        {"DataFolder=relative\\folder\n", nullptr},
        {"DataFolder=\n", nullptr},
        {"Other=C:\\Drills\n", nullptr},
        {"", nullptr},
    };
    for (const SettingsCase& row : cases) {
        SCOPED_TRACE(row.text);
        const auto folder = win::dataFolderOf(row.text);
        if (row.folder == nullptr)
            EXPECT_FALSE(folder.has_value());
        else
            EXPECT_EQ(folder.value_or(L"(none)"), row.folder);
    }
}

// A folder of the test's own under the system's temporary folder, with the variables that
// the lookup reads pointing into it.
class WorkingFolderTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        root_ =
            std::wstring(temporary) + L"rovedavu-folder-" + std::to_wstring(GetCurrentProcessId());
        for (const wchar_t* folder : {L"", L"\\roaming", L"\\roaming\\Rovedavu", L"\\common",
                                      L"\\common\\Rovedavu", L"\\local"})
            CreateDirectoryW((root_ + folder).c_str(), nullptr);
        SetEnvironmentVariableW(L"APPDATA", (root_ + L"\\roaming").c_str());
        SetEnvironmentVariableW(L"ProgramData", (root_ + L"\\common").c_str());
        SetEnvironmentVariableW(L"LOCALAPPDATA", (root_ + L"\\local").c_str());
    }
    void TearDown() override {
        SetCurrentDirectoryW(L"C:\\");
        removeTree(root_);
    }
    static void write(const std::wstring& path, const std::string& text) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    static void removeTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(folder + L"\\" + name);
                else
                    DeleteFileW((folder + L"\\" + name).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
    static std::string utf8(const std::wstring& text) {
        std::string bytes(text.size() * 3, '\0');
        bytes.resize(static_cast<std::size_t>(
            WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
        return bytes;
    }
    std::wstring root_;
};

TEST_F(WorkingFolderTest, TheUsersSettingsComeBeforeTheComputersThenThePerUserFolder) {
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\local\\Rovedavu");
    EXPECT_FALSE(win::workingFolder().configured);

    write(root_ + L"\\common\\Rovedavu\\rovedavu.conf",
          "DataFolder=" + utf8(root_) + "\\クラス\r\n");
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\クラス");
    EXPECT_TRUE(win::workingFolder().configured);

    write(root_ + L"\\roaming\\Rovedavu\\rovedavu.conf",
          "DataFolder=" + utf8(root_) + "\\mine\r\n");
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\mine");

    // The computer's file locks its folder: the user's file is not read for it.
    write(root_ + L"\\common\\Rovedavu\\rovedavu.conf",
          "[General]\r\nDataFolder=" + utf8(root_) + "\\クラス\r\nDataFolderLocked=True\r\n");
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\クラス");
    write(root_ + L"\\common\\Rovedavu\\rovedavu.conf",
          "DataFolder=" + utf8(root_) + "\\クラス\r\nDataFolderLocked=false\r\n");
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\mine");
    // A lock in the user's own file has no power.
    write(root_ + L"\\roaming\\Rovedavu\\rovedavu.conf",
          "DataFolder=" + utf8(root_) + "\\mine\r\nDataFolderLocked=true\r\n");
    write(root_ + L"\\common\\Rovedavu\\rovedavu.conf",
          "DataFolder=" + utf8(root_) + "\\クラス\r\nDataFolderLocked=true\r\n");
    EXPECT_EQ(win::workingFolder().path, root_ + L"\\クラス");
}

TEST_F(WorkingFolderTest, ANamedFolderThatCannotBeReachedIsNeverMade) {
    const win::WorkingFolder missing{root_ + L"\\share\\rovedavu", true};
    EXPECT_EQ(win::enterWorkingFolder(missing), u"フォルダがありません。");
    EXPECT_EQ(GetFileAttributesW(missing.path.c_str()), INVALID_FILE_ATTRIBUTES);

    // A file server that cannot be reached: a reason, and nothing on the local disk instead.
    const win::WorkingFolder server{L"\\\\no-such-server\\class-3\\rovedavu", true};
    EXPECT_NE(win::enterWorkingFolder(server), u"");
    EXPECT_EQ(GetFileAttributesW((root_ + L"\\local\\Rovedavu").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(L"rirekidata"), INVALID_FILE_ATTRIBUTES);

    // The folder is there: it is entered, and rirekidata is made inside it.
    CreateDirectoryW((root_ + L"\\share").c_str(), nullptr);
    CreateDirectoryW(missing.path.c_str(), nullptr);
    EXPECT_EQ(win::enterWorkingFolder(missing), u"");
    EXPECT_NE(GetFileAttributesW((missing.path + L"\\rirekidata").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(WorkingFolderTest, ThePerUserFolderIsMadeWithItsRirekidata) {
    const win::WorkingFolder perUser = win::workingFolder();
    EXPECT_EQ(win::enterWorkingFolder(perUser), u"");
    EXPECT_NE(GetFileAttributesW((perUser.path + L"\\rirekidata").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

}  // namespace
