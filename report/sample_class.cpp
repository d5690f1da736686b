// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sample_class.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <random>
#include <set>

#include "archive_names.h"
#include "history_file.h"

namespace report {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified,
               QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        if (error != nullptr)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    file.flush();
    // The history file's time is the end of its drill, as when the drill wrote it.
    file.setFileTime(modified, QFileDevice::FileModificationTime);
    return true;
}

std::u16string problemText(int dividend, int divisor) {
    return u" " + QString::number(dividend).toStdU16String() + u"÷ " +
           QString::number(divisor).toStdU16String();
}

// One drill of twenty problems; the learner's pace improves with each drill.
// What goes wrong for a child in their last drills, so that the class shows every flag.
struct Trouble {
    double slower = 1;     // pace times this
    double moreWrong = 1;  // chance of a wrong answer times this
    int rows = 20;         // problems answered before the drill is ended
};

QByteArray drillBytes(std::mt19937& random, double pace, int drill, const std::u16string& date,
                      const Trouble& trouble) {
    QByteArray bytes = records::historyHeaderLine();
    std::set<std::pair<int, int>> asked;
    std::uniform_int_distribution<int> dividends(1, 99), divisors(1, 9);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double practice = 1.0 / (1.0 + drill / 12.0);
    pace *= trouble.slower;
    for (int row = 0; row < trouble.rows; ++row) {
        int dividend = 0, divisor = 0;
        do {
            dividend = dividends(random);
            divisor = divisors(random);
        } while (dividend < divisor || !asked.insert({dividend, divisor}).second);
        const double hardness = divisor >= 7 ? 2.2 : divisor >= 4 ? 1.4 : 1.0;
        const float seconds = static_cast<float>(1.5 + pace * hardness * (0.3 + 0.7 * practice) *
                                                           (0.6 + 0.8 * unit(random)));
        int wrong = 0;
        while (wrong < 5 && unit(random) < 0.06 * trouble.moreWrong * hardness * (0.5 + practice))
            ++wrong;
        bytes += records::historyRowLine(problemText(dividend, divisor), seconds,
                                         static_cast<std::int16_t>(wrong), date);
    }
    if (trouble.rows < 20)  // ended in the middle of the next problem
        bytes += records::historyRowLine(std::u16string(), 0, 1, date);
    return bytes;
}

}  // namespace

bool writeSampleClass(const QString& rirekidata, int learners, int drills, std::uint32_t seed,
                      QString* error, const QDate& lastDay) {
    std::mt19937 random(seed);
    const QDateTime start(lastDay.isValid() ? lastDay.addDays(1 - drills) : QDate(2026, 9, 1),
                          QTime(9, 0));
    const QDir folder(rirekidata);
    for (int learner = 1; learner <= learners; ++learner) {
        const QString id = QStringLiteral("%1").arg(learner, 2, 10, QLatin1Char('0'));
        const QString archive = folder.filePath(QStringLiteral("kiroku/") +
                                                records::archiveFolderName(id.toStdU16String()));
        if (!QDir().mkpath(archive)) {
            if (error != nullptr)
                *error = archive + QStringLiteral(": cannot be made");
            return false;
        }
        const double pace = 1.5 + 2.5 * std::uniform_real_distribution<double>(0, 1)(random);
        QByteArray latest;
        QDateTime ended;
        for (int drill = 0; drill < drills; ++drill) {
            // Child 3 stops for the last nine days; 5 gets slower and 9 makes more mistakes in
            // their last three drills; 7 ends the latest drill after six problems.
            const int fromEnd = drills - drill;
            if (learner == 3 && fromEnd <= 9 && drill > 0)
                continue;
            Trouble trouble;
            if (learner == 5 && fromEnd <= 3)
                trouble.slower = 1.8;
            if (learner == 9 && fromEnd <= 3)
                trouble.moreWrong = 4;
            if (learner == 7 && fromEnd == 1)
                trouble.rows = 6;
            ended = start.addDays(drill).addSecs(60 * learner + (drill * 37) % 600);
            const std::u16string date = QStringLiteral("%1/%2")
                                            .arg(ended.date().month())
                                            .arg(ended.date().day())
                                            .toStdU16String();
            latest = drillBytes(random, pace, drill, date, trouble);
            const QString name = records::archiveFileName(
                ended, QStringLiteral("pc%1").arg(learner % 8 + 1, 2, 10, QLatin1Char('0')),
                static_cast<std::uint32_t>(random()));
            if (!writeFile(QDir(archive).filePath(name), latest, ended, error))
                return false;
        }
        if (drills > 0 &&
            !writeFile(folder.filePath(QStringLiteral("Rovedavu") + id + QStringLiteral(".txt")),
                       latest, ended, error))
            return false;
    }
    return true;
}

}  // namespace report
