// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main function of the window benchmarks: one Qt application, set up as the program
// sets it up, offscreen unless another platform is asked for. Qt's warnings (a sound that
// cannot be played warns at every cue) are counted instead of printed, and listed once
// at the end, so that the figures stay readable.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include "application.h"

namespace {

std::mutex messagesMutex;
std::map<QString, int> messages;

// Messages that differ only in a file's URL count as one.
void countMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    static const QRegularExpression url(QStringLiteral("file://\\S*"));
    QString key = message;
    key.replace(url, QStringLiteral("file://..."));
    const std::lock_guard lock(messagesMutex);
    ++messages[key];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(countMessage);
    int qtArgc = 1;
    auto* app = new QApplication(qtArgc, argv);
    ui::setUpApplication(*app);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::lock_guard lock(messagesMutex);
    if (!messages.empty()) {
        std::fprintf(stderr, "Qt's messages during the run:\n");
        for (const auto& [message, count] : messages)
            std::fprintf(stderr, "%8d × %s\n", count, qPrintable(message));
    }
    delete app;
    // After thousands of sound effects made and destroyed with a sound server, Qt
    // Multimedia's PulseAudio backend can fail an assertion in its own teardown of static
    // objects. The figures are out by now: end without that teardown.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}
