// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Two computers ending drills at the same moment, with the same ID, into one folder: two
// processes of this program end 200 drills each with the Windows writer, while this one reads
// the history file now and then, as a teacher's program would. The writers draw their
// temporary names from four numbers, so that they often draw the same. Nothing is lost: every
// drill is saved, every archive file is whole and has a name of its own, and the history file
// is always one whole drill.
//
// concurrent_saving_tests.exe --writer TAG PARENT_ID: one of the writers, in the current
// folder. It sets the event "<prefix>-ready-TAG" of its parent's process id, waits for
// "<prefix>-go", and exits with the number of drills that were not saved.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <future>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "history_bytes.h"
#include "test_files.h"
#include "wide_text.h"
#include "win_records.h"

namespace {

using wintest::entries;
using wintest::readFile;

constexpr int kDrillsPerWriter = 200;
const std::string kTags[] = {"a", "b"};
constexpr wchar_t kHistoryPath[] = L"rirekidata\\Rovedavu7.txt";
constexpr wchar_t kArchiveFolder[] = L"rirekidata\\kiroku\\Rovedavu7";

// The k-th drill of a writer: rows of its own and the date text "TAG-k".
drill::DrillState drillOf(const std::string& tag, int k) {
    drill::DrillState state;
    state.lastnum = static_cast<std::int16_t>(k % drill::kProblemCount + 1);
    state.myid = u"7";
    state.mydate = std::u16string(tag.begin(), tag.end()) + u"-" + win::utf16(std::to_wstring(k));
    for (int row = 1; row <= state.lastnum; ++row) {
        state.qtext[row] = win::utf16(std::to_wstring(row + k)) + u" ÷ 1";
        state.qtime[row] = static_cast<float>(row) + 0.5f;
        state.qmiss[row] = static_cast<std::int16_t>(row % 3);
    }
    return state;
}

std::wstring eventName(DWORD parent, const std::string& what) {
    return L"rovedavu-concurrent-saving-" + std::to_wstring(parent) + L"-" +
           std::wstring(what.begin(), what.end());
}

std::string utf8(std::u16string_view text) {
    const std::wstring wideText = win::wide(text);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wideText.data(), static_cast<int>(wideText.size()), nullptr,
                            0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wideText.data(), static_cast<int>(wideText.size()),
                        bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Four numbers only, so that the two writers often draw the same temporary name.
std::uint32_t fewNumbers() {
    static std::minstd_rand numbers(GetCurrentProcessId());
    return numbers() % 4;
}

// Ends the drills as the program does: the archive on a thread of its own meanwhile.
int runWriter(const std::string& tag, DWORD parent) {
    const HANDLE ready =
        OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName(parent, "ready-" + tag).c_str());
    const HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, eventName(parent, "go").c_str());
    if (ready == nullptr || go == nullptr || !SetEvent(ready) ||
        WaitForSingleObject(go, 60'000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "writer %s: never started\n", tag.c_str());
        return kDrillsPerWriter;
    }
    int unsaved = 0;
    for (int k = 0; k < kDrillsPerWriter; ++k) {
        drill::DrillState state = drillOf(tag, k);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const records::LocalTime ended{now.wYear, now.wMonth,  now.wDay,
                                       now.wHour, now.wMinute, now.wSecond};
        std::future<drill::SaveOutcome> archived =
            std::async(std::launch::async, [bytes = records::historyBytes(state), ended] {
                return win::writeArchiveFile(bytes, u"7", ended, u"pc-01");
            });
        const drill::HistoryOutcome outcome = win::writeHistoryFile(state, fewNumbers);
        const drill::SaveOutcome archive = archived.get();
        if (!outcome.written || !archive.written) {
            ++unsaved;
            std::fprintf(stderr, "writer %s, drill %d: history: %s / archive: %s\n", tag.c_str(), k,
                         utf8(outcome.reason).c_str(), utf8(archive.reason).c_str());
        }
    }
    return unsaved;
}

void removeAll(const std::wstring& folder) {
    for (const std::wstring& name : entries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (!DeleteFileW(path.c_str()))
            removeAll(path);
    }
    RemoveDirectoryW(folder.c_str());
}

TEST(ConcurrentSaving, TwoProcessesEndingDrillsTogetherLoseNothing) {
    std::set<std::string> drills;
    for (const std::string& tag : kTags) {
        for (int k = 0; k < kDrillsPerWriter; ++k) {
            drill::DrillState state = drillOf(tag, k);
            drills.insert(records::historyBytes(state));
        }
    }
    ASSERT_EQ(drills.size(), std::size(kTags) * kDrillsPerWriter);

    wchar_t base[MAX_PATH];
    const DWORD baseLength = GetTempPathW(MAX_PATH, base);
    const std::wstring folder = std::wstring(base, baseLength) + L"rovedavu-concurrent-" +
                                std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\rirekidata").c_str(), nullptr));
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);

    const DWORD self = GetCurrentProcessId();
    const HANDLE go = CreateEventW(nullptr, TRUE, FALSE, eventName(self, "go").c_str());
    ASSERT_NE(go, nullptr);
    std::vector<HANDLE> ready;
    std::vector<HANDLE> writers;
    for (const std::string& tag : kTags) {
        ready.push_back(
            CreateEventW(nullptr, TRUE, FALSE, eventName(self, "ready-" + tag).c_str()));
        ASSERT_NE(ready.back(), nullptr);
        std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --writer " +
                                   std::wstring(tag.begin(), tag.end()) + L" " +
                                   std::to_wstring(self);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.c_str(), &startup, &process))
            << GetLastError();
        CloseHandle(process.hThread);
        writers.push_back(process.hProcess);
    }
    ASSERT_EQ(WaitForMultipleObjects(static_cast<DWORD>(ready.size()), ready.data(), TRUE, 60'000),
              WAIT_OBJECT_0);
    const DWORD started = GetTickCount();
    ASSERT_TRUE(SetEvent(go));

    // While they write, the history file is never a part of a drill nor a mix of two.
    const std::wstring history = folder + L"\\" + kHistoryPath;
    int reads = 0;
    while (WaitForMultipleObjects(static_cast<DWORD>(writers.size()), writers.data(), TRUE, 2) ==
           WAIT_TIMEOUT) {
        const std::string bytes = readFile(history);
        if (bytes != "<unreadable>") {
            ASSERT_EQ(drills.count(bytes), 1u) << "read " << bytes.size() << " bytes";
            ++reads;
        }
        ASSERT_LT(GetTickCount() - started, 100'000u) << "the writers never finished";
    }
    const DWORD took = GetTickCount() - started;
    for (const HANDLE writer : writers) {
        DWORD unsaved = 0;
        EXPECT_TRUE(GetExitCodeProcess(writer, &unsaved));
        EXPECT_EQ(unsaved, 0u) << "drills not saved";
        CloseHandle(writer);
    }
    for (const HANDLE event : ready)
        CloseHandle(event);
    CloseHandle(go);

    EXPECT_EQ(drills.count(readFile(history)), 1u);
    EXPECT_EQ(entries(folder + L"\\rirekidata"),
              (std::vector<std::wstring>{L"Rovedavu7.txt", L"kiroku"}));
    const std::wstring archive = folder + L"\\" + kArchiveFolder;
    const std::vector<std::wstring> names = entries(archive);
    EXPECT_EQ(names.size(), drills.size());
    std::set<std::string> kept;
    for (const std::wstring& name : names) {
        SCOPED_TRACE(utf8(win::utf16(name)));
        EXPECT_NE(name[0], L'.');  // no temporary file
        const std::string bytes = readFile(archive + L"\\" + name);
        EXPECT_EQ(drills.count(bytes), 1u);
        kept.insert(bytes);
    }
    EXPECT_EQ(kept, drills);  // every drill once
    std::printf("400 drills ended in %lu ms; the history file was read %d times meanwhile\n", took,
                reads);
    removeAll(folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--writer") == 0)
        return runWriter(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
