// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Real sound for the tests: a PulseAudio server of the test's own that plays into a null
// sink (never a sound card), a recording of that sink's monitor placed on the test's clock,
// test tones written as WAV files, and the cues found again in the recording by their tones.

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace uitest {

using SteadyClock = std::chrono::steady_clock;

// A program started by the test. It is stopped when this ends, and the system ends it when
// the test program itself ends, however that happens.
class ChildProcess {
public:
    // Standard output goes to outputFd (or nowhere), standard error to the file logPath.
    ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
                 int outputFd, const std::string& logPath);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running();
    // Terminates the program and waits for it; kills it if it does not end within 3 s.
    void stop();
    // Waits for the program to end by itself; false if it did not within the time.
    bool waitForEnd(std::chrono::milliseconds limit);
    int exitStatus() const { return status_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// pulseaudio -n with only a null sink and the native protocol on a socket in `folder`.
// The test program becomes its client through PULSE_SERVER.
class SoundServer {
public:
    static constexpr char kSink[] = "rovedavu_test";
    explicit SoundServer(const QString& folder);
    ~SoundServer();

    // Starts the server and waits until it answers; false when it cannot be started.
    bool start();
    void stop();
    // Kills the server and starts a new one on the same socket, as a restart of the sound
    // system during a drill does.
    bool restart();
    // Sends a signal to the server (SIGSTOP: a server that hangs; SIGCONT: it goes on).
    void signal(int number);
    // The playback streams the server holds now, or -1 when it cannot be asked.
    int streamCount();

    // Runs a client tool (pactl) of the server to its end, keeping its standard output;
    // true when it ended with status 0 within 5 s.
    bool runTool(const std::vector<std::string>& args, std::string* output = nullptr);

private:
    QString folder_;
    std::vector<std::string> clientEnv_;
    std::unique_ptr<ChildProcess> server_;
};

// The sink's monitor, recorded by parec at kRate, mono, from the moment of construction;
// parec's messages go to parec.log in `folder`.
class Recording {
public:
    static constexpr int kRate = 48000;
    explicit Recording(SoundServer& server, const QString& folder);
    ~Recording();

    // Waits until the recording reaches the moment `until` (the sound server may hand its
    // samples over late, in a burst); false if it does not within `limit`.
    bool waitFor(SteadyClock::time_point until, std::chrono::milliseconds limit);
    // Ends the recording; the samples and their times stay.
    void stop();
    // After stop().
    const std::vector<std::int16_t>& samples() const { return samples_; }
    // When the sample was played, on the test's steady clock.
    SteadyClock::time_point timeOf(std::size_t sample) const;
    // Whether the recording is placed on the clock; kSettle after its first samples.
    bool placed();
    static constexpr std::chrono::milliseconds kSettle{2500};
    // Why the recording ended before it was stopped, or empty.
    const std::string& endedEarly() const { return endedEarly_; }

private:
    void read(int fd);

    std::unique_ptr<ChildProcess> parec_;
    std::string endedEarly_;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    // The earliest moment any sample can have been played: the lower envelope of arrival
    // time minus position.
    SteadyClock::time_point start_ = SteadyClock::time_point::max();
};

// A test tone: `frequency` Hz for `ms` milliseconds at 48 kHz, 16-bit mono, with short
// fades so that it starts and ends without a click.
QByteArray toneWav(double frequency, int ms);

// A cue found in a recording: the index of its tone and the moment it began.
struct Heard {
    int tone = -1;
    SteadyClock::time_point at;
};

// Finds the onsets of the tones in the recording, in order.
std::vector<Heard> findTones(const Recording& recording, const std::vector<double>& frequencies);

}  // namespace uitest
