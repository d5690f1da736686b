// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The ears of the Windows program's recorded test and cue benchmark, which run under Wine:
//
//   cue_listener SERVER_DIR CUE_DIR PRESSES
//
// Starts a PulseAudio server of its own with a null sink (socket SERVER_DIR/native, for
// PULSE_SERVER), writes the four cue files as test tones into CUE_DIR, records the sink's
// monitor and prints "recording" once the recording is placed on the clock. When standard
// input ends, it finds the cues in the recording and matches them against PRESSES, which the
// Windows side wrote: one line per press, the cue's letter (R right, W wrong, N next, E end)
// and the press's system time in 100 ns units since 1601 (FILETIME, UTC).
// Prints what it heard and the press to sound delays; exit status 0 when the cues heard are
// the cues pressed, in order, each within 100 ms of its press, and no other sound was heard
// (a cue that breaks off and goes on is counted as a stutter); 1 otherwise.

#include <time.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "recorded_sound.h"

namespace {

using uitest::SteadyClock;

const char* const kFiles[] = {"Chimes.wav", "Chimes2.wav", "pinpon.wav", "endpinpon.wav"};
const std::string kLetters = "RWNE";
// The tones of the Debian program's recorded tests.
const std::vector<double> kTones = {600, 900, 1400, 2000};
constexpr int kToneMs = 150;
constexpr double kInTimeMs = 100;
constexpr double kEarlyMs = -15;  // the tone finder's window and the clocks' error
// A cue heard more than this after its press is counted as missing.
constexpr double kMatchMs = 240;
// A tone that starts again this soon after its cue began is the same cue, broken off. A sound
// system that falls behind can hold a tone back for most of a second, as Wine's does while
// the end of the drill saves its files and opens the results window.
constexpr double kStutterMs = kToneMs + 1000;

std::int64_t realNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The system clock minus the steady clock, read where the two readings lie closest.
std::int64_t realMinusSteady() {
    std::int64_t best = 0;
    auto narrowest = SteadyClock::duration::max();
    for (int k = 0; k < 50; ++k) {
        const auto before = SteadyClock::now();
        const std::int64_t real = realNanoseconds();
        const auto after = SteadyClock::now();
        if (after - before < narrowest) {
            narrowest = after - before;
            const auto middle = before + (after - before) / 2;
            best = real -
                   std::chrono::duration_cast<std::chrono::nanoseconds>(middle.time_since_epoch())
                       .count();
        }
    }
    return best;
}

struct Press {
    int cue = -1;
    std::int64_t at = 0;  // ns since 1970, system clock
};

std::vector<Press> readPresses(const std::string& path, bool& ok) {
    constexpr std::int64_t kFileTimeOf1970 = 116444736000000000;
    std::vector<Press> presses;
    std::ifstream in(path);
    std::string letter;
    std::int64_t fileTime = 0;
    ok = static_cast<bool>(in);
    while (in >> letter >> fileTime) {
        const auto cue = kLetters.find(letter);
        if (letter.size() != 1 || cue == std::string::npos) {
            ok = false;
            break;
        }
        presses.push_back({static_cast<int>(cue), (fileTime - kFileTimeOf1970) * 100});
    }
    return presses;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(
                                                  fraction * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: cue_listener SERVER_DIR CUE_DIR PRESSES\n";
        return 2;
    }
    const QString serverDir = QString::fromLocal8Bit(argv[1]);
    const QDir cueDir(QString::fromLocal8Bit(argv[2]));
    for (int cue = 0; cue < 4; ++cue) {
        QFile file(cueDir.filePath(QString::fromLatin1(kFiles[cue])));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(uitest::toneWav(kTones[static_cast<std::size_t>(cue)], kToneMs)) < 0) {
            std::cerr << "cue_listener: cannot write " << file.fileName().toStdString() << "\n";
            return 2;
        }
    }
    uitest::SoundServer server(serverDir);
    if (!server.start()) {
        std::cerr << "cue_listener: pulseaudio did not start; see its log in " << argv[1] << "\n";
        return 2;
    }
    uitest::Recording recording(server, serverDir);
    const auto deadline = SteadyClock::now() + std::chrono::seconds(10);
    while (!recording.placed() && SteadyClock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!recording.placed()) {
        std::cerr << "cue_listener: parec recorded nothing\n";
        return 2;
    }
    std::cout << "recording" << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
    }
    const auto until = SteadyClock::now() + std::chrono::milliseconds(kToneMs + 500);
    std::this_thread::sleep_until(until);
    const bool whole = recording.waitFor(until, std::chrono::seconds(10));
    recording.stop();
    const std::vector<uitest::Heard> heard = uitest::findTones(recording, kTones);
    const std::int64_t offset = realMinusSteady();

    bool pressesOk = false;
    const std::vector<Press> presses = readPresses(argv[3], pressesOk);
    if (!pressesOk || presses.empty()) {
        std::cerr << "cue_listener: no presses in " << argv[3] << "\n";
        return 1;
    }
    std::string pressed, got;
    for (const Press& p : presses)
        pressed += kLetters[static_cast<std::size_t>(p.cue)];
    std::vector<std::int64_t> heardAt;
    for (const uitest::Heard& h : heard) {
        got += kLetters[static_cast<std::size_t>(h.tone)];
        heardAt.push_back(
            std::chrono::duration_cast<std::chrono::nanoseconds>(h.at.time_since_epoch()).count() +
            offset);
    }

    // Each press against the first cue of its kind heard after it and not taken before; a
    // cue heard too late counts as not heard. A sound left over is a stutter when it is the
    // cue heard last starting again within its own length and a break (the sound system
    // fell behind and went on), else a sound nobody pressed.
    std::vector<double> delays;
    std::vector<int> matchOf(heard.size(), -1);
    std::size_t from = 0;
    bool inTime = true;
    for (std::size_t k = 0; k < presses.size(); ++k) {
        for (std::size_t j = from; j < heard.size(); ++j) {
            const double ms = static_cast<double>(heardAt[j] - presses[k].at) / 1e6;
            if (ms > kMatchMs)
                break;
            if (matchOf[j] >= 0 || heard[j].tone != presses[k].cue || ms < kEarlyMs)
                continue;
            matchOf[j] = static_cast<int>(k);
            from = j + 1;
            delays.push_back(ms);
            if (ms >= kInTimeMs) {
                std::cout << "cue " << k + 1 << " (" << pressed[k] << ") heard " << ms
                          << " ms after its press\n";
                inTime = false;
            }
            break;
        }
    }
    int stutters = 0, unpressed = 0;
    std::string matched;
    std::size_t last = heard.size();
    for (std::size_t j = 0; j < heard.size(); ++j) {
        if (matchOf[j] >= 0) {
            last = j;
            matched += got[j];
        } else if (last < heard.size() && heard[j].tone == heard[last].tone &&
                   heardAt[j] - heardAt[last] < kStutterMs * 1'000'000) {
            ++stutters;
            std::cout << "cue " << got[j] << " broke off and went on "
                      << static_cast<double>(heardAt[j] - heardAt[last]) / 1e6
                      << " ms after it began, "
                      << static_cast<double>(heardAt[j] - presses.front().at) / 1e9
                      << " s after the first press\n";
        } else {
            ++unpressed;
            std::cout << "a sound of cue " << got[j] << " that was not pressed, "
                      << static_cast<double>(heardAt[j] - presses.front().at) / 1e9
                      << " s after the first press\n";
        }
    }
    std::cout << "heard " << delays.size() << " of " << presses.size() << " cues pressed; stutters "
              << stutters << ", sounds not pressed " << unpressed << "\n";
    if (!delays.empty())
        std::cout << "press to sound: median " << percentile(delays, 0.5) << " ms, 95th percentile "
                  << percentile(delays, 0.95) << " ms, maximum " << percentile(delays, 1.0)
                  << " ms\n";
    if (!whole)
        std::cout << "the recording stopped short: " << recording.endedEarly() << "\n";
    if (matched != pressed || unpressed > 0) {
        std::cout << "pressed: " << pressed << "\nheard:   " << got
                  << "\n(R right, W wrong, N next, E end)\n";
        return 1;
    }
    return inTime && whole ? 0 : 1;
}
