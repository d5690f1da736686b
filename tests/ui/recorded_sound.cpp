// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorded_sound.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numbers>

namespace uitest {

namespace {

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> all;
    for (std::string& s : strings)
        all.push_back(s.data());
    all.push_back(nullptr);
    return all;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& args,
                           const std::vector<std::string>& env, int outputFd,
                           const std::string& logPath) {
    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    std::vector<std::string> argStrings = args;
    std::vector<std::string> envStrings = env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& own : env)
            replaced = replaced || own.rfind(name + "=", 0) == 0;
        if (!replaced)
            envStrings.push_back(entry);
    }
    std::vector<char*> argv = pointers(argStrings);
    std::vector<char*> envp = pointers(envStrings);
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(126);
        ::dup2(devNull, 0);
        ::dup2(outputFd >= 0 ? outputFd : devNull, 1);
        ::dup2(log >= 0 ? log : devNull, 2);
        ::execvpe(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    pid_ = pid;
    ::close(devNull);
    if (log >= 0)
        ::close(log);
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::running() {
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        pid_ = -1;
        return false;
    }
    return true;
}

bool ChildProcess::waitForEnd(std::chrono::milliseconds limit) {
    const auto deadline = SteadyClock::now() + limit;
    while (running()) {
        if (SteadyClock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChildProcess::stop() {
    if (!running())
        return;
    ::kill(pid_, SIGTERM);
    if (!waitForEnd(std::chrono::seconds(3))) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status_, 0);
        pid_ = -1;
    }
}

SoundServer::SoundServer(const QString& folder) : folder_(folder) {
    clientEnv_ = {"PULSE_SERVER=unix:" + QDir(folder).filePath("native").toStdString()};
    // The test program's own sound goes to this server only.
    ::setenv("PULSE_SERVER", clientEnv_.front().substr(13).c_str(), 1);
}

SoundServer::~SoundServer() {
    stop();
}

bool SoundServer::start() {
    const std::string dir = folder_.toStdString();
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{
            "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
            "--disable-shm=yes",
            std::string("--load=module-null-sink rate=48000 sink_name=") + kSink,
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + dir + "/native"},
        std::vector<std::string>{"HOME=" + dir, "XDG_RUNTIME_DIR=" + dir,
                                 "XDG_CONFIG_HOME=" + dir + "/config"},
        -1, dir + "/pulseaudio.log");
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (runTool({"pactl", "info"}))
            return true;
        if (!server_->running())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void SoundServer::stop() {
    server_.reset();
}

bool SoundServer::restart() {
    stop();
    return start();
}

void SoundServer::signal(int number) {
    if (server_ && server_->running())
        ::kill(server_->pid(), number);
}

int SoundServer::streamCount() {
    std::string output;
    if (!runTool({"pactl", "list", "sink-inputs", "short"}, &output))
        return -1;
    int lines = 0;
    for (char c : output)
        lines += c == '\n' ? 1 : 0;
    return lines;
}

bool SoundServer::runTool(const std::vector<std::string>& args, std::string* output) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    ChildProcess tool(args, clientEnv_, pipeFds[1], folder_.toStdString() + "/tools.log");
    ::close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    if (!tool.waitForEnd(std::chrono::seconds(5)))
        return false;
    if (output != nullptr)
        *output = text;
    return WIFEXITED(tool.exitStatus()) && WEXITSTATUS(tool.exitStatus()) == 0;
}

Recording::Recording(SoundServer& server, const QString& folder) {
    (void)server;  // the recorder is a client of the server named by PULSE_SERVER
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    parec_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"parec",
                                 std::string("--device=") + SoundServer::kSink + ".monitor",
                                 "--raw", "--format=s16le", "--channels=1",
                                 "--rate=" + std::to_string(kRate), "--latency-msec=5"},
        std::vector<std::string>{}, pipeFds[1], QDir(folder).filePath("parec.log").toStdString());
    ::close(pipeFds[1]);
    reader_ = std::thread([this, fd = pipeFds[0]] { read(fd); });
}

bool Recording::placed() {
    std::lock_guard lock(mutex_);
    return start_ != SteadyClock::time_point::max();
}

bool Recording::waitFor(SteadyClock::time_point until, std::chrono::milliseconds limit) {
    const auto deadline = SteadyClock::now() + limit;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (start_ != SteadyClock::time_point::max() && timeOf(samples_.size()) >= until)
                return true;
        }
        if (SteadyClock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Recording::~Recording() {
    stop();
}

void Recording::stop() {
    if (parec_ && !parec_->running() && endedEarly_.empty())
        endedEarly_ = "parec ended by itself with status " + std::to_string(parec_->exitStatus());
    if (parec_)
        parec_->stop();
    if (reader_.joinable())
        reader_.join();
}

// How the recording is placed on the test's clock. parec hands over the monitor's samples
// as the sink plays them, in blocks a few milliseconds long. A sample can only arrive after
// it was played, so for every read, (arrival time − samples so far / rate) is a moment at or
// after the recording's first sample; the smallest of these is that first sample's time,
// late by no more than the quickest hand-over (a few ms). The null sink runs on the system
// clock, so there is no drift to correct. One exception: a null sink that was idle renders
// its first block (up to two seconds) ahead of time, before it learns the recorder's
// latency, so the reads of the first kSettle are left out of the estimate, and the test
// starts its presses only after them.
void Recording::read(int fd) {
    std::vector<char> pending;
    SteadyClock::time_point first;
    char buffer[4096];
    std::size_t bytes = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        const auto arrived = SteadyClock::now();
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bytes += static_cast<std::size_t>(got);
        if (first == SteadyClock::time_point())
            first = arrived;
        const auto played = std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(static_cast<double>(bytes / 2) / kRate));
        std::lock_guard lock(mutex_);
        if (arrived - first >= kSettle)
            start_ = std::min(start_, arrived - played);
        pending.insert(pending.end(), buffer, buffer + got);
        std::size_t whole = pending.size() / 2;
        for (std::size_t k = 0; k < whole; ++k) {
            std::int16_t sample;
            std::memcpy(&sample, pending.data() + 2 * k, 2);
            samples_.push_back(sample);
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(2 * whole));
    }
    ::close(fd);
}

SteadyClock::time_point Recording::timeOf(std::size_t sample) const {
    return start_ + std::chrono::duration_cast<SteadyClock::duration>(
                        std::chrono::duration<double>(static_cast<double>(sample) / kRate));
}

QByteArray toneWav(double frequency, int ms) {
    constexpr int rate = Recording::kRate;
    const int count = rate * ms / 1000;
    const int fade = rate * 5 / 1000;
    QByteArray data;
    for (int k = 0; k < count; ++k) {
        const double ramp = std::min(
            {1.0, static_cast<double>(k) / fade, static_cast<double>(count - 1 - k) / fade});
        const auto value = static_cast<std::int16_t>(std::lround(
            0.4 * 32767 * ramp * std::sin(2 * std::numbers::pi * frequency * k / rate)));
        data.append(static_cast<char>(value & 0xff));
        data.append(static_cast<char>((value >> 8) & 0xff));
    }
    auto le = [](QByteArray& bytes, std::uint32_t value, int size) {
        for (int b = 0; b < size; ++b)
            bytes.append(static_cast<char>((value >> (8 * b)) & 0xff));
    };
    QByteArray wav("RIFF");
    le(wav, static_cast<std::uint32_t>(36 + data.size()), 4);
    wav.append("WAVEfmt ");
    le(wav, 16, 4);
    le(wav, 1, 2);  // PCM
    le(wav, 1, 2);  // mono
    le(wav, rate, 4);
    le(wav, rate * 2, 4);
    le(wav, 2, 2);
    le(wav, 16, 2);
    wav.append("data");
    le(wav, static_cast<std::uint32_t>(data.size()), 4);
    return wav + data;
}

// Goertzel's algorithm on 10 ms windows every 5 ms: the amplitude of each tone's frequency.
// A tone is heard when it is the strongest and above a third of the test tones' amplitude;
// it begins when it takes over from silence or from another tone. Between two cues of the
// same tone there is silence, as the tones are shorter than the time between presses.
std::vector<Heard> findTones(const Recording& recording, const std::vector<double>& frequencies) {
    constexpr int window = Recording::kRate / 100;
    constexpr int hop = window / 2;
    constexpr double heardAbove = 0.4 * 32767 / 3;
    constexpr double silentBelow = heardAbove / 2;
    const std::vector<std::int16_t>& samples = recording.samples();
    std::vector<Heard> heard;
    int current = -1;
    for (std::size_t start = 0; start + window <= samples.size(); start += hop) {
        int strongest = -1;
        double strongestAmplitude = 0;
        for (std::size_t f = 0; f < frequencies.size(); ++f) {
            const double coefficient =
                2 * std::cos(2 * std::numbers::pi * frequencies[f] / Recording::kRate);
            double s1 = 0, s2 = 0;
            for (int k = 0; k < window; ++k) {
                const double s0 = samples[start + k] + coefficient * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
            const double amplitude = 2 * std::sqrt(std::max(power, 0.0)) / window;
            if (amplitude > strongestAmplitude) {
                strongestAmplitude = amplitude;
                strongest = static_cast<int>(f);
            }
        }
        if (strongestAmplitude > heardAbove && strongest != current) {
            heard.push_back({strongest, recording.timeOf(start + window / 2)});
            current = strongest;
        } else if (strongestAmplitude < silentBelow) {
            current = -1;
        }
    }
    return heard;
}

}  // namespace uitest
