// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The teacher's class window on a school's folder (40 learners × 250 drills, 10,000 archive
// files and 40 history files): the time from starting the program to the class table on
// screen with every learner's row. Each run is a fresh process, started by this program, so
// that the time covers loading the libraries, the application and its fonts, the window, the
// reading on the worker thread and the table's first paint with its rows.
//
//   bench_report_window [LEARNERS [DRILLS [RUNS]]]     default 40 250 7
//
// Under X (DISPLAY set) the window is drawn by the X server; otherwise offscreen.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "application.h"
#include "class_folder.h"
#include "class_folder_maker.h"
#include "class_window.h"

namespace {

// CLOCK_MONOTONIC is the same clock in every process of the machine.
double nowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

// Notes the first paint of the table, and the first paint after the rows have arrived.
class PaintWatch : public QObject {
public:
    double firstPaint = 0, rowsPainted = 0;
    bool rowsIn = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (firstPaint == 0)
                firstPaint = nowMilliseconds();
            if (rowsIn && rowsPainted == 0) {
                rowsPainted = nowMilliseconds();
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// One start of the window, as the program starts it. Prints: the table first painted, the
// rows in, the rows painted (in ms after `started`), the rows, the peak memory, and when
// the reading began (ms after `started`).
int child(int argc, char* argv[], const QString& folder, double started) {
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    const double reading = nowMilliseconds();  // the window starts the reading at once
    report::ClassWindow window(folder);
    auto* table = window.findChild<QTableView*>(QStringLiteral("classTable"));
    PaintWatch watch;
    table->viewport()->installEventFilter(&watch);
    double loaded = 0;
    QObject::connect(&window, &report::ClassWindow::loaded, [&] {
        loaded = nowMilliseconds();
        watch.rowsIn = true;
    });
    window.show();
    QApplication::exec();
    std::printf("%.1f %.1f %.1f %d %ld %.1f\n", watch.firstPaint - started, loaded - started,
                watch.rowsPainted - started, table->model()->rowCount(), peakKiB(),
                reading - started);
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        int childArgc = 1;
        return child(childArgc, argv, QString::fromLocal8Bit(argv[2]), std::atof(argv[3]));
    }
    QCoreApplication app(argc, argv);
    const int learners = argc > 1 ? std::atoi(argv[1]) : 40;
    const int drills = argc > 2 ? std::atoi(argv[2]) : 250;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;

    QTemporaryDir work;
    QTemporaryDir config;  // the runs' settings: no folder chosen earlier
    const QString folder = work.filePath(QStringLiteral("rirekidata"));
    report_test::makeClassFolder(folder, learners, drills, 7);
    std::printf("folder: %d learners x %d drills = %d archive files + %d history files; %s\n",
                learners, drills, learners * drills, learners,
                qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "under X");

    std::vector<double> painted, loaded, rows, begun;
    std::vector<long> peak;
    for (int run = 0; run <= runs; ++run) {  // run 0 warms the file cache; not counted
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const double started = nowMilliseconds();
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"), folder, QString::number(started, 'f', 3)});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            std::printf("!! run %d failed\n", run);
            return 1;
        }
        const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 6 || figures[3].toInt() != learners) {
            std::printf("!! run %d: unexpected output\n", run);
            return 1;
        }
        if (run == 0)
            continue;
        painted.push_back(figures[0].toDouble());
        loaded.push_back(figures[1].toDouble());
        rows.push_back(figures[2].toDouble());
        peak.push_back(figures[4].toLong());
        begun.push_back(figures[5].toDouble());
    }
    const auto line = [runs](const char* what, const std::vector<double>& values) {
        std::printf("%-44s median %6.0f ms, worst %6.0f ms (%d runs)\n", what, median(values),
                    *std::max_element(values.begin(), values.end()), runs);
    };
    line("start to the reading begun (window made):", begun);
    line("start to the empty window drawn:", painted);
    line("start to the folder read (rows in the model):", loaded);
    line("start to the class table on screen with rows:", rows);
    std::printf("peak memory of the program (VmHWM):           median %ld KiB\n",
                static_cast<long>(median(std::vector<double>(peak.begin(), peak.end()))));

    // For comparison: the reading alone, in this process, with warm caches.
    std::vector<double> reading;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        records::readClassFolder(folder);
        reading.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    line("the folder read alone, in one process:", reading);
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average at the end: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return 0;
}
