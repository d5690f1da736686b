// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The answer handler with its cue when the cue cannot be played: the cue file missing,
// empty, cut short, or not a WAV at all; also the shipped WAV and a large WAV for
// comparison. Whether a sound server is there is up to the environment: bench/run.sh
// runs this program once without one and once with a sound server that plays into a null
// sink, when it can start one.
//
// This program is linked without the cues shipped inside the drill, so that a missing
// file is missing everywhere: the control looks in the current directory first, which is
// the drill window's temporary working folder here.
//
//   first  the first wrong answer of a new drill window in a new folder: the control
//          finds the file and starts loading it;
//   again  the next wrong answers of the same window.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_fakes.h"

namespace bench {
namespace {

QByteArray shippedCue() {
    QFile file(QStringLiteral(ROVEDAVU_SOUNDS_DIR "/Chimes2.wav"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void put16(QByteArray& bytes, std::uint16_t value) {
    bytes.append(static_cast<char>(value & 0xff));
    bytes.append(static_cast<char>(value >> 8));
}

void put32(QByteArray& bytes, std::uint32_t value) {
    put16(bytes, static_cast<std::uint16_t>(value & 0xffff));
    put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

// Thirty seconds of silence, 44.1 kHz, 16-bit stereo: about 5 MB.
QByteArray largeWav() {
    const std::uint32_t dataSize = 30u * 44100u * 4u;
    QByteArray bytes("RIFF");
    put32(bytes, 36 + dataSize);
    bytes.append("WAVEfmt ");
    put32(bytes, 16);
    put16(bytes, 1);  // PCM
    put16(bytes, 2);
    put32(bytes, 44100);
    put32(bytes, 44100 * 4);
    put16(bytes, 4);
    put16(bytes, 16);
    bytes.append("data");
    put32(bytes, dataSize);
    bytes.append(QByteArray(static_cast<qsizetype>(dataSize), '\0'));
    return bytes;
}

QByteArray garbage() {
    std::mt19937 random(20240601);
    QByteArray bytes;
    for (int k = 0; k < 64 * 1024; ++k)
        bytes.append(static_cast<char>(random() & 0xff));
    return bytes;
}

struct Case {
    const char* name;
    std::function<std::optional<QByteArray>()> contents;  // nullopt: no file
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"wav", [] { return std::optional(shippedCue()); }},
        {"large_wav", [] { return std::optional(largeWav()); }},
        {"missing", [] { return std::optional<QByteArray>(); }},
        {"empty", [] { return std::optional(QByteArray()); }},
        {"truncated_data",
         [] { return std::optional(shippedCue().left(shippedCue().size() / 2)); }},
        {"truncated_header", [] { return std::optional(shippedCue().left(22)); }},
        {"not_wav", [] { return std::optional(garbage()); }},
    };
    return all;
}

void putCue(const DrillWindow& w, const Case& c) {
    if (const std::optional<QByteArray> bytes = c.contents()) {
        QFile file(QDir(w.folder()).filePath(QStringLiteral("Chimes2.wav")));
        if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size())
            throw std::runtime_error("cannot write the cue file");
    }
}

double seconds(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void answerFirst(benchmark::State& state, const Case& c) {
    std::unique_ptr<DrillWindow> w;
    for (auto _ : state) {
        w.reset();
        w = std::make_unique<DrillWindow>();  // a new folder: no sound loaded from it yet
        putCue(*w, c);
        w->start();
        w->fillWrong();
        settle();
        state.SetIterationTime(seconds([&] { w->form().Command1->click(); }));
        settle();
    }
}

void answerAgain(benchmark::State& state, const Case& c) {
    DrillWindow w;
    putCue(w, c);
    w.start();
    w.fillWrong();
    w.form().Command1->click();
    settle();
    for (auto _ : state) {
        state.SetIterationTime(seconds([&] { w.form().Command1->click(); }));
        settle();
    }
}

[[maybe_unused]] const bool registered = [] {
    for (const Case& c : cases()) {
        benchmark::RegisterBenchmark((std::string("BM_AnswerCue/") + c.name + "/first").c_str(),
                                     [&c](benchmark::State& state) { answerFirst(state, c); })
            ->UseManualTime()
            ->Iterations(40)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BM_AnswerCue/") + c.name + "/again").c_str(),
                                     [&c](benchmark::State& state) { answerAgain(state, c); })
            ->UseManualTime()
            ->Iterations(1000)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
}  // namespace bench
