// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Presses the cues of drills on the sound control of rovedavu.exe, at a steady rate, and
// logs each press for the listener of bench/windows-cues.sh:
//
//   cues_bench PRESSES [COUNT [PER_SECOND]]      (200 cues, 4 a second)
//
// One line per press: the cue's letter (R right, W wrong, N next, E end) and the system
// time of the press in 100 ns units since 1601. The player is the program's own choice
// (ROVEDAVU_CUE_PLAYER); the cue files are those of the current folder.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "cues.h"
#include "drill_cue_order.h"
#include "sound_control.h"

namespace {

using namespace cue_order;

unsigned long long systemTime() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 4) {
        std::fputs("usage: cues_bench PRESSES [COUNT [PER_SECOND]]\n", stderr);
        return 2;
    }
    const int count = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 200;
    const double perSecond = argc > 3 ? std::wcstod(argv[3], nullptr) : 4;
    FILE* log = _wfopen(argv[1], L"w");
    if (log == nullptr || count <= 0 || perSecond <= 0) {
        std::fputs("cues_bench: bad arguments\n", stderr);
        return 2;
    }
    const std::vector<Cue> cues = drillCues(count);
    const char* const letters = "RWNE";
    std::vector<unsigned long long> pressed;
    {
        win::SoundControl sound;
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(1 / perSecond));
        // The program's control is made at start-up, long before the first cue.
        const auto start = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (std::size_t k = 0; k < cues.size(); ++k) {
            std::this_thread::sleep_until(start + static_cast<long>(k) * period);
            pressed.push_back(systemTime());
            switch (cues[k]) {
                case Right:
                    drill::playRightCue(sound);
                    break;
                case Wrong:
                    drill::playWrongCue(sound);
                    break;
                case Next:
                    drill::playNextCue(sound);
                    break;
                case End:
                    drill::playEndCue(sound);
                    break;
            }
        }
        // The last cue plays to its end.
        Sleep(600);
    }
    for (std::size_t k = 0; k < cues.size(); ++k)
        std::fprintf(log, "%c %llu\n", letters[cues[k]], pressed[k]);
    return std::fclose(log) == 0 ? 0 : 1;
}
