// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "figures.h"

#include <algorithm>
#include <map>
#include <utility>

namespace report {
namespace {

constexpr double kSecondsPerDay = 24 * 60 * 60;

struct Sums {
    int count = 0;
    double seconds = 0;
    int wrong = 0;

    void add(const records::KeptRow& row) {
        ++count;
        seconds += answerSeconds(row);
        wrong += row.wrongCount;
    }
    double mean() const { return count == 0 ? 0 : seconds / count; }
};

}  // namespace

double answerSeconds(const records::KeptRow& row) {
    return row.seconds < 0 ? row.seconds + kSecondsPerDay : row.seconds;
}

DrillFigures drillFigures(const records::KeptDrill& drill) {
    DrillFigures figures;
    figures.ended = drill.ended;
    figures.date = drill.date;
    for (const records::KeptRow& row : drill.rows) {
        figures.wrongAnswers += row.wrongCount;
        if (row.answered()) {
            ++figures.solved;
            figures.totalSeconds += answerSeconds(row);
        }
    }
    return figures;
}

ClassRow classRow(const records::Learner& learner) {
    ClassRow row;
    row.id = learner.id;
    row.number = learner.number;
    row.name = learner.name;
    row.drillsKept = static_cast<int>(learner.drills.size());
    if (learner.drills.empty())
        return row;
    row.latest = drillFigures(learner.drills.back());
    // The last two finished drills, newest first.
    std::optional<DrillFigures> latest;
    for (auto drill = learner.drills.rbegin(); drill != learner.drills.rend(); ++drill) {
        const DrillFigures figures = drillFigures(*drill);
        if (!figures.finished())
            continue;
        if (!latest) {
            latest = figures;
            continue;
        }
        row.change =
            Change{latest->solved - figures.solved, latest->totalSeconds - figures.totalSeconds,
                   latest->wrongAnswers - figures.wrongAnswers,
                   latest->secondsPerProblem() - figures.secondsPerProblem()};
        break;
    }
    return row;
}

std::vector<ClassRow> classRows(const records::ClassFolder& folder) {
    std::vector<ClassRow> rows;
    rows.reserve(folder.learners.size());
    for (const records::Learner& learner : folder.learners)
        rows.push_back(classRow(learner));
    return rows;
}

std::vector<ClassRow> flaggedClassRows(const records::ClassFolder& folder, const QDate& today,
                                       const FlagRule& rule) {
    std::vector<ClassRow> rows = classRows(folder);
    auto learner = folder.learners.begin();  // rows keep the folder's order
    for (ClassRow& row : rows) {
        while (learner->id != row.id)
            ++learner;
        row.flags = learnerFlags(*learner++, today, rule);
    }
    return rows;
}

std::vector<DrillFigures> drillsOverTime(const records::Learner& learner) {
    std::vector<DrillFigures> drills;
    drills.reserve(learner.drills.size());
    for (const records::KeptDrill& drill : learner.drills)
        drills.push_back(drillFigures(drill));
    return drills;
}

std::array<DivisorCell, 9> divisorCells(const records::Learner& learner) {
    std::array<Sums, 9> sums{};
    for (const records::KeptDrill& drill : learner.drills) {
        for (const records::KeptRow& row : drill.rows) {
            if (row.answered())
                sums[row.divisor - 1].add(row);
        }
    }
    std::array<DivisorCell, 9> cells{};
    for (int k = 0; k < 9; ++k)
        cells[k] = DivisorCell{k + 1, sums[k].count, sums[k].mean(), sums[k].wrong};
    return cells;
}

QString ProblemFigures::text() const {
    return QStringLiteral(" %1÷ %2").arg(dividend).arg(divisor);
}

std::vector<ProblemFigures> problemsHardestFirst(const records::Learner& learner) {
    std::map<std::pair<int, int>, Sums> sums;  // by divisor, then dividend
    for (const records::KeptDrill& drill : learner.drills) {
        for (const records::KeptRow& row : drill.rows) {
            if (row.answered())
                sums[{row.divisor, row.dividend}].add(row);
        }
    }
    std::vector<ProblemFigures> problems;
    problems.reserve(sums.size());
    for (const auto& [key, sum] : sums)
        problems.push_back(ProblemFigures{key.second, key.first, sum.count, sum.mean(), sum.wrong});
    // The map gave divisor and dividend order; a stable sort keeps it between equals.
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ProblemFigures& left, const ProblemFigures& right) {
                         if (left.wrongTries != right.wrongTries)
                             return left.wrongTries > right.wrongTries;
                         // The same wrong answers over fewer meetings: more per meeting.
                         if (left.wrongTries > 0 && left.met != right.met)
                             return left.met < right.met;
                         return left.meanSeconds > right.meanSeconds;
                     });
    return problems;
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 1);
}

QString dateTimeText(const QDateTime& when) {
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString signedText(int value) {
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

QString signedSecondsText(double seconds) {
    const QString text = secondsText(seconds);
    if (text == QStringLiteral("-0.0"))
        return QStringLiteral("0.0");
    return seconds > 0 && text != QStringLiteral("0.0") ? QLatin1Char('+') + text : text;
}

QString unfinishedText(const DrillFigures& drill) {
    return drill.finished() ? QString() : QString::fromUtf16(kUnfinishedMark);
}

}  // namespace report
