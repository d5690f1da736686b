// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a drill on Windows: saving a finished drill's history file alone, its archive
// copy alone, and both at once as the program does, into a working folder on the local disk.
// Prints the median and the 90th percentile of each; they are taken in turns, so that the
// disk's moods fall on all alike.
//
//   end_bench.exe [ROUNDS]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "drill.h"
#include "history_bytes.h"
#include "win_records.h"

namespace {

using Clock = std::chrono::steady_clock;

drill::DrillState finishedDrill() {
    drill::DrillState state;
    state.lastnum = 20;
    state.myid = u"12";
    state.mydate = u"８／１";
    for (int k = 1; k <= 20; ++k) {
        const char16_t text[] = {u' ',
                                 static_cast<char16_t>(u'0' + (50 + k) / 10),
                                 static_cast<char16_t>(u'0' + (50 + k) % 10),
                                 u'÷',
                                 u' ',
                                 u'7'};
        state.qtext[k].assign(text, std::size(text));
        state.qtime[k] = static_cast<float>(k) + 0.3f;
        state.qmiss[k] = static_cast<std::int16_t>(k % 3);
    }
    return state;
}

double microseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::micro>(elapsed).count();
}

void print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-32s median %8.0f µs   90th percentile %8.0f µs   (%zu ends)\n", what,
                times[times.size() / 2], times[times.size() * 9 / 10], times.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(10, _wtoi(argv[1])) : 200;
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder =
        std::wstring(temporary) + L"rovedavu-end-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    SetCurrentDirectoryW(folder.c_str());
    CreateDirectoryW(L"rirekidata", nullptr);

    std::vector<double> historyOnly;
    std::vector<double> archiveOnly;
    std::vector<double> withArchive;
    win::WinRecords records;
    for (int round = 0; round < rounds; ++round) {
        drill::DrillState state = finishedDrill();
        Clock::time_point start = Clock::now();
        const bool historyWritten = win::writeHistoryFile(state).written;
        historyOnly.push_back(microseconds(Clock::now() - start));

        start = Clock::now();
        const bool archived = win::writeArchiveFile(records::historyBytes(state), state.myid,
                                                    {2026, 8, 1, 9, 30, 0}, u"bench")
                                  .written;
        archiveOnly.push_back(microseconds(Clock::now() - start));

        state = finishedDrill();
        start = Clock::now();
        const drill::HistoryOutcome outcome = records.writeHistory(state);
        withArchive.push_back(microseconds(Clock::now() - start));
        if (!historyWritten || !archived || !outcome.written ||
            !(outcome.archive && outcome.archive->written)) {
            std::fprintf(stderr, "end_bench: a save failed in %ls\n", folder.c_str());
            return 1;
        }
    }
    print("history file alone", historyOnly);
    print("archive file alone", archiveOnly);
    print("both, as at the end of a drill", withArchive);
    return 0;
}
