// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cues on a real sound server: a PulseAudio server of the program's own that plays
// into a null sink, whose monitor is recorded (the same set-up as the recorded tests).
//
//   1. cue onset: 200 cues at 4 presses a second through the sound control, from the
//      press to the cue's start in the recording; then paplay of the same files started
//      at the same moments, for comparison;
//   2. resident memory, threads and sound-server streams after one drill and after ten,
//      through the real drill window with its own sound control (80 cues a drill);
//   3. from the end button answered Yes to the results window painted, with the end cue
//      still playing, and with a sound server that hangs (stopped with SIGSTOP).
//
// Figures only: nothing here fails on a slow machine.

#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "bench_fakes.h"
#include "form2.h"
#include "multimedia_control.h"
#include "recorded_sound.h"

namespace {

using uitest::Heard;
using uitest::Recording;
using uitest::SoundServer;
using uitest::SteadyClock;

const char* const kFiles[] = {"Chimes.wav", "Chimes2.wav", "pinpon.wav", "endpinpon.wav"};
const std::vector<double> kTones = {600, 900, 1400, 2000};

void writeTones(const QString& folder, int endCueMs = 150) {
    for (int cue = 0; cue < 4; ++cue) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(kFiles[cue])));
        if (file.open(QIODevice::WriteOnly))
            file.write(
                uitest::toneWav(kTones[static_cast<std::size_t>(cue)], cue == 3 ? endCueMs : 150));
    }
}

void playCue(ui::MultimediaControl& control, int cue) {
    control.setCommand(cue < 2 ? u"close" : u"Stop");
    if (cue >= 2)
        control.setCommand(u"Close");
    control.setFileName(QString::fromLatin1(kFiles[cue]).toStdU16String());
    control.setCommand(u"Open");
    control.setCommand(u"Sound");
}

struct Spread {
    double median = 0, p95 = 0, max = 0;
    std::size_t count = 0;
};

Spread spread(std::vector<double> values) {
    Spread s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.count = values.size();
    s.median = values[values.size() / 2];
    s.p95 = values[values.size() * 95 / 100];
    s.max = values.back();
    return s;
}

// Press-to-onset delays in ms: each press matched, in order, with the next onset of its
// tone heard from 20 ms before the press to a second after it. Prints what was missed.
std::vector<double> delays(const char* what, const std::vector<int>& cues,
                           const std::vector<SteadyClock::time_point>& presses,
                           const std::vector<Heard>& heard) {
    std::vector<double> all;
    std::size_t next = 0;
    int missed = 0;
    for (std::size_t k = 0; k < cues.size(); ++k) {
        while (next < heard.size() && heard[next].at < presses[k] - std::chrono::milliseconds(20))
            ++next;
        if (next < heard.size() && heard[next].tone == cues[k] &&
            heard[next].at < presses[k] + std::chrono::seconds(1)) {
            all.push_back(
                std::chrono::duration<double, std::milli>(heard[next].at - presses[k]).count());
            ++next;
        } else {
            ++missed;
        }
    }
    if (missed != 0)
        std::printf("  !! %s: %d of %zu cues not heard\n", what, missed, cues.size());
    return all;
}

std::vector<Heard> stopAndFind(Recording& recording) {
    const auto until = SteadyClock::now() + std::chrono::milliseconds(700);
    QTest::qWait(700);
    recording.waitFor(until, std::chrono::seconds(10));
    recording.stop();
    return uitest::findTones(recording, kTones);
}

void waitPlaced(Recording& recording) {
    for (int k = 0; k < 1000 && !recording.placed(); ++k)
        QTest::qWait(10);
}

void cueOnset(SoundServer& server, const QString& logs, const QString& tones) {
    constexpr int kCues = 200;
    std::vector<int> cues;
    for (int k = 0; k < kCues; ++k)
        cues.push_back((k * 7 + k / 5) % 4);
    const auto period = std::chrono::milliseconds(250);

    ui::MultimediaControl control;
    control.prepare();
    Recording controlRecording(server, logs);
    waitPlaced(controlRecording);
    std::vector<SteadyClock::time_point> presses;
    auto start = SteadyClock::now() + std::chrono::milliseconds(100);
    for (int k = 0; k < kCues; ++k) {
        std::this_thread::sleep_until(start + k * period);
        presses.push_back(SteadyClock::now());
        playCue(control, cues[static_cast<std::size_t>(k)]);
    }
    const Spread ours =
        spread(delays("sound control", cues, presses, stopAndFind(controlRecording)));

    Recording paplayRecording(server, logs);
    waitPlaced(paplayRecording);
    presses.clear();
    std::vector<std::unique_ptr<uitest::ChildProcess>> players;
    start = SteadyClock::now() + std::chrono::milliseconds(100);
    for (int k = 0; k < kCues; ++k) {
        std::this_thread::sleep_until(start + k * period);
        presses.push_back(SteadyClock::now());
        players.push_back(std::make_unique<uitest::ChildProcess>(
            std::vector<std::string>{
                "paplay", QDir(tones).filePath(QString::fromLatin1(kFiles[cues[k]])).toStdString()},
            std::vector<std::string>{}, -1, "/dev/null"));
        for (auto& player : players)
            (void)player->running();  // reaps the ones that ended
    }
    const Spread paplay = spread(delays("paplay", cues, presses, stopAndFind(paplayRecording)));

    std::printf("Cue onset, press to sound, %d cues at 4 a second\n", kCues);
    std::printf("  %-16s %8s %8s %8s\n", "", "median", "p95", "max");
    std::printf("  %-16s %6.1f ms %6.1f ms %6.1f ms  (%zu heard)\n", "sound control", ours.median,
                ours.p95, ours.max, ours.count);
    std::printf("  %-16s %6.1f ms %6.1f ms %6.1f ms  (%zu heard)\n", "paplay", paplay.median,
                paplay.p95, paplay.max, paplay.count);
    if (paplay.median > 0)
        std::printf("  %-16s %7.2fx %7.2fx %7.2fx\n", "control / paplay",
                    ours.median / paplay.median, ours.p95 / paplay.p95, ours.max / paplay.max);
}

std::string status(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return line.substr(line.find_first_not_of(" \t", std::strlen(field)));
    return "?";
}

// A whole drill with real sound: two wrong answers to every problem, 80 cues.
int drill(bench::DrillWindow& w) {
    int cues = 0;
    w.start();
    ui::Form1& f = w.form();
    for (int k = 1; k <= 20; ++k) {
        for (int wrong = 0; wrong < 2; ++wrong) {
            w.fillWrong();
            f.Command1->click();
            QTest::qWait(25);
            ++cues;
        }
        w.fillRight();
        f.Command1->click();
        QTest::qWait(25);
        ++cues;
        if (k < 20) {
            f.Command2->click();
            QTest::qWait(25);
            ++cues;
        }
    }
    w.dialogs.answers = {true};
    f.Command3->click();
    ++cues;
    bench::settle();
    return cues;
}

void memoryAndStreams(SoundServer& server) {
    bench::DrillWindow w;
    writeTones(w.folder());
    std::printf("\nAfter whole drills through the drill window, with real sound\n");
    std::printf("  %-8s %6s %12s %8s %8s\n", "drills", "cues", "VmRSS", "threads", "streams");
    const std::string before = status("VmRSS:");
    std::printf("  %-8s %6s %12s %8s %8d\n", "none", "", before.c_str(), status("Threads:").c_str(),
                server.streamCount());
    int cues = 0;
    for (int d = 1; d <= 10; ++d) {
        cues += drill(w);
        if (d == 1 || d == 10) {
            QTest::qWait(1000);  // the last cue played out and the window's sound thread ended
            std::printf("  %-8d %6d %12s %8s %8d\n", d, cues, status("VmRSS:").c_str(),
                        status("Threads:").c_str(), server.streamCount());
        }
    }
}

// Time from the end button answered Yes to the results window's first paint.
class PaintWatch : public QObject {
public:
    SteadyClock::time_point painted;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && painted == SteadyClock::time_point()) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget != nullptr && qobject_cast<ui::Form2*>(widget->window()) != nullptr)
                painted = SteadyClock::now();
        }
        return false;
    }
};

Spread yesToResults(SoundServer& server, bool hang) {
    std::vector<double> times;
    for (int run = 0; run < 15; ++run) {
        bench::DrillWindow w;
        writeTones(w.folder(), 3000);  // the end cue plays for 3 s
        w.start();
        w.fillRight();
        w.form().Command1->click();
        QTest::qWait(200);
        if (hang)
            server.signal(SIGSTOP);
        PaintWatch watch;
        qApp->installEventFilter(&watch);
        w.dialogs.answers = {true};
        const auto yes = SteadyClock::now();
        w.form().Command3->click();  // the end cue, then Yes at once
        QElapsedTimer waited;
        waited.start();
        while (watch.painted == SteadyClock::time_point() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        qApp->removeEventFilter(&watch);
        if (watch.painted != SteadyClock::time_point())
            times.push_back(std::chrono::duration<double, std::milli>(watch.painted - yes).count());
        if (hang)
            server.signal(SIGCONT);
        QTest::qWait(300);
    }
    (void)server;
    return spread(times);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir serverDir;
    SoundServer server(serverDir.path());  // sets PULSE_SERVER for this program
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    if (!server.start()) {
        std::fprintf(stderr, "pulseaudio could not be started\n");
        return 1;
    }
    QTemporaryDir work;
    writeTones(work.path());
    const QString old = QDir::currentPath();
    QDir::setCurrent(work.path());
    cueOnset(server, serverDir.path(), work.path());
    QDir::setCurrent(old);

    memoryAndStreams(server);

    std::printf("\nEnd button answered Yes to the results window painted, 15 runs\n");
    for (bool hang : {false, true}) {
        const Spread s = yesToResults(server, hang);
        std::printf("  %-36s median %6.1f ms, max %6.1f ms (%zu painted)\n",
                    hang ? "sound server hanging (SIGSTOP)" : "end cue still playing", s.median,
                    s.max, s.count);
    }
    server.stop();
    return 0;
}
