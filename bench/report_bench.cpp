// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The teacher's program on a school's folder: 40 learners × 250 drills (10,000 archive files
// and 40 history files), made with the drill's own bytes and names. Prints the time from
// nothing to the class table's figures, what the exports take, and the memory that the read
// folder holds, against the number of files. Warm file cache: the folder was just written.
//
//   bench_report [LEARNERS [DRILLS [RUNS]]]     default 40 250 7

#include <malloc.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "archive_names.h"
#include "class_divisors.h"
#include "class_folder.h"
#include "class_folder_maker.h"
#include "class_list.h"
#include "csv_export.h"
#include "figures.h"
#include "history_reader.h"
#include "meeting_pages.h"
#include "pages.h"
#include "period.h"
#include "roster.h"
#include "xlsx_export.h"

namespace {

double milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// CPU time of the whole process, all threads, in milliseconds.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

long statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')
                .front()
                .toLong();
    }
    return -1;
}

// The heap that a read folder of this many learners holds, in bytes.
std::size_t heldBytes(const QString& root, int learners, int drills) {
    const QString folder = root + QStringLiteral("/grow-%1").arg(learners);
    report_test::makeClassFolder(folder, learners, drills, 11);
    const std::size_t before = heapInUse();
    const records::ClassFolder read = records::readClassFolder(folder);
    const std::size_t after = heapInUse();
    return after > before ? after - before : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int learners = argc > 1 ? std::atoi(argv[1]) : 40;
    const int drills = argc > 2 ? std::atoi(argv[2]) : 250;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;

    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("rirekidata"));
    QElapsedTimer timer;
    timer.start();
    report_test::makeClassFolder(folder, learners, drills, 7);
    std::printf(
        "folder: %d learners x %d drills = %d archive files + %d history files, made in %.0f ms\n",
        learners, drills, learners * drills, learners, milliseconds(timer));

    // A first read warms the code page tables and the file cache; not counted.
    records::readClassFolder(folder);

    std::vector<double> toFigures, toFlags, flagsOnly, readOnly, cpu;
    records::ClassFolder read;
    for (int run = 0; run < runs; ++run) {
        const double cpuStart = cpuMilliseconds();
        timer.restart();
        read = records::readClassFolder(folder);
        readOnly.push_back(milliseconds(timer));
        const std::vector<report::ClassRow> rows = report::classRows(read);
        toFigures.push_back(milliseconds(timer));
        cpu.push_back(cpuMilliseconds() - cpuStart);
        timer.restart();
        const std::vector<report::ClassRow> flagged =
            report::flaggedClassRows(read, QDate::currentDate());
        flagsOnly.push_back(milliseconds(timer));
        toFlags.push_back(readOnly.back() + flagsOnly.back());
        if (rows.size() != static_cast<std::size_t>(learners) || !read.unreadable.empty())
            std::printf("!! unexpected: %zu rows, %zu unreadable\n", rows.size(),
                        read.unreadable.size());
    }
    std::printf("read the folder:                 median %.1f ms, best %.1f ms (%d runs)\n",
                median(readOnly), *std::min_element(readOnly.begin(), readOnly.end()), runs);
    std::printf("read and class table's figures:  median %.1f ms, best %.1f ms; %.1f us per file\n",
                median(toFigures), *std::min_element(toFigures.begin(), toFigures.end()),
                median(toFigures) * 1000 / static_cast<double>(read.filesRead));

    std::printf("CPU time of that (all threads):  median %.1f ms; %.1f us per file\n", median(cpu),
                median(cpu) * 1000 / static_cast<double>(read.filesRead));

    std::printf(
        "read and class table with flags: median %.1f ms, best %.1f ms; the flags alone "
        "%.2f ms\n",
        median(toFlags), *std::min_element(toFlags.begin(), toFlags.end()), median(flagsOnly));
    timer.restart();
    const report::Period month =
        report::choosePeriod(report::PeriodChoice::ThisMonth, QDate::currentDate());
    const records::ClassFolder inMonth = report::inPeriod(read, month);
    const double cutMs = milliseconds(timer);
    report::classDivisors(read);
    std::printf("a period cut: %.2f ms; the class's divisors: %.2f ms\n", cutMs,
                milliseconds(timer) - cutMs);

    // A class list naming every learner, as the teacher types it: "01" for the ID "1".
    report::Roster roster;
    for (int k = 1; k <= learners; ++k) {
        roster.children.push_back({QString::number(k),
                                   QStringLiteral("児童 %1").arg(k),
                                   {QStringLiteral("%1").arg(k, 2, 10, QChar(u'0'))}});
    }
    std::vector<double> named;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        const records::ClassFolder joined =
            report::nameClass(records::readClassFolder(folder), &roster);
        const std::vector<report::ClassRow> rows =
            report::flaggedClassRows(joined, QDate::currentDate());
        named.push_back(milliseconds(timer));
        if (rows.size() != static_cast<std::size_t>(learners) || joined.learners[0].name.isEmpty())
            std::printf("!! unexpected: %zu named rows\n", rows.size());
    }
    std::printf("read, named by a %d-name list, with flags: median %.1f ms, best %.1f ms\n",
                learners, median(named), *std::min_element(named.begin(), named.end()));

    // The parts, one file after another on this thread: the archive names' dates, and the
    // files read and their drills read back.
    std::vector<QString> paths;
    for (const records::Learner& learner : read.learners) {
        for (const records::KeptDrill& drill : learner.drills)
            paths.push_back(drill.path);
    }
    double start = cpuMilliseconds();
    for (const QString& path : paths)
        records::parseArchiveFileName(QFileInfo(path).fileName());
    std::printf("  of which archive names to dates: %.1f us per file (CPU)\n",
                (cpuMilliseconds() - start) * 1000 / static_cast<double>(paths.size()));
    start = cpuMilliseconds();
    for (const QString& path : paths)
        records::readHistoryFile(path);
    std::printf("  of which files read and parsed:  %.1f us per file (CPU)\n",
                (cpuMilliseconds() - start) * 1000 / static_cast<double>(paths.size()));

    timer.restart();
    for (const records::Learner& learner : read.learners) {
        report::drillsOverTime(learner);
        report::divisorCells(learner);
        report::problemsHardestFirst(learner);
    }
    std::printf("every learner's chart, divisor cells and problems: %.2f ms for %zu learners\n",
                milliseconds(timer), read.learners.size());

    QString error;
    timer.restart();
    const QByteArray csv = report::classCsv(report::classRows(read));
    const bool csvWritten =
        report::writeExport(work.filePath(QStringLiteral("class.csv")), csv, &error);
    std::printf("class CSV made and written:      %.2f ms (%lld bytes)%s\n", milliseconds(timer),
                static_cast<long long>(csv.size()), csvWritten ? "" : " !! failed");
    std::vector<double> xlsx;
    bool xlsxWritten = true;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        xlsxWritten =
            report::writeClassXlsx(work.filePath(QStringLiteral("class.xlsx")), read,
                                   report::flaggedClassRows(read, QDate::currentDate()), &error) &&
            xlsxWritten;
        xlsx.push_back(milliseconds(timer));
    }
    std::printf(
        "class XLSX (class table + %zu learners' problems): median %.0f ms (%lld bytes)%s\n",
        read.learners.size(), median(xlsx),
        static_cast<long long>(QFileInfo(work.filePath(QStringLiteral("class.xlsx"))).size()),
        xlsxWritten ? "" : " !! failed");
    timer.restart();
    const bool pdfWritten =
        report::writeFolderPdf(work.filePath(QStringLiteral("class.pdf")), read, &error);
    std::printf(
        "folder PDF (class page + %zu learners' pages): %.0f ms (%lld bytes)%s\n",
        read.learners.size(), milliseconds(timer),
        static_cast<long long>(QFileInfo(work.filePath(QStringLiteral("class.pdf"))).size()),
        pdfWritten ? "" : " !! failed");

    timer.restart();
    const bool meetingWritten =
        report::writeMeetingPdf(work.filePath(QStringLiteral("meeting.pdf")),
                                report::meetingChildren(read), report::Period{}, &error);
    std::printf(
        "meeting sheets PDF (%zu pages):  %.0f ms (%lld bytes)%s\n", read.learners.size(),
        milliseconds(timer),
        static_cast<long long>(QFileInfo(work.filePath(QStringLiteral("meeting.pdf"))).size()),
        meetingWritten ? "" : " !! failed");

    std::printf("process: VmRSS %ld KiB, VmHWM %ld KiB\n", statusKiB("VmRSS:"),
                statusKiB("VmHWM:"));

    std::printf("memory held by the read folder (heap in use), against the number of files:\n");
    for (const int count : {learners / 4, learners / 2, learners}) {
        if (count < 1)
            continue;
        const std::size_t bytes = heldBytes(work.path(), count, drills);
        const double files = static_cast<double>(count) * (drills + 1);
        std::printf("  %5.0f files: %8.0f KiB, %5.0f bytes per file\n", files,
                    static_cast<double>(bytes) / 1024, static_cast<double>(bytes) / files);
    }
    return 0;
}
