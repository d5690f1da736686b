// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flags.h"

#include <algorithm>
#include <vector>

#include "figures.h"

namespace report {
namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Worse by more than the share and by at least the amount.
bool clearlyWorse(double earlier, double recent, double share, double amount) {
    return recent - earlier > earlier * share && recent - earlier >= amount;
}

QString figureText(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

}  // namespace

QString LearnerFlags::text() const {
    if (reasons.isEmpty())
        return {};
    return QString(kFlagMark) + u' ' + reasons.join(u'、');
}

LearnerFlags learnerFlags(const records::Learner& learner, const QDate& today,
                          const FlagRule& rule) {
    LearnerFlags flags;
    if (learner.drills.empty()) {
        flags.reasons << QStringLiteral("練習の記録なし");
        return flags;
    }
    const QDate last = learner.drills.back().ended.date();
    if (last.isValid()) {
        flags.daysSinceDrill = static_cast<int>(std::max<qint64>(0, last.daysTo(today)));
        if (*flags.daysSinceDrill >= rule.idleDays)
            flags.reasons << QStringLiteral("%1日練習なし").arg(*flags.daysSinceDrill);
    }

    // The last finished drills, newest first: at most two groups' worth.
    std::vector<DrillFigures> recentFinished;
    for (auto drill = learner.drills.rbegin();
         drill != learner.drills.rend() &&
         recentFinished.size() < 2 * static_cast<std::size_t>(rule.group);
         ++drill) {
        DrillFigures figures = drillFigures(*drill);
        if (figures.finished())
            recentFinished.push_back(std::move(figures));
    }
    const std::size_t group = std::min<std::size_t>(rule.group, recentFinished.size() / 2);
    if (group >= 2) {
        std::vector<double> recentSeconds, earlierSeconds, recentWrong, earlierWrong;
        for (std::size_t k = 0; k < 2 * group; ++k) {
            const DrillFigures& drill = recentFinished[k];
            (k < group ? recentSeconds : earlierSeconds).push_back(drill.secondsPerProblem());
            (k < group ? recentWrong : earlierWrong).push_back(drill.wrongAnswers);
        }
        const double secondsBefore = median(earlierSeconds);
        const double secondsNow = median(recentSeconds);
        if (clearlyWorse(secondsBefore, secondsNow, rule.slowerShare, rule.slowerSeconds))
            flags.reasons << QStringLiteral("1問の時間増（%1→%2秒）")
                                 .arg(figureText(secondsBefore, 1), figureText(secondsNow, 1));
        const double wrongBefore = median(earlierWrong);
        const double wrongNow = median(recentWrong);
        if (clearlyWorse(wrongBefore, wrongNow, rule.moreWrongShare, rule.moreWrongCount))
            flags.reasons << QStringLiteral("誤答増（%1→%2回）")
                                 .arg(QString::number(wrongBefore), QString::number(wrongNow));
    }

    const DrillFigures latest = drillFigures(learner.drills.back());
    if (!latest.finished())
        flags.reasons << QStringLiteral("最新が途中で終了（%1/%2）")
                             .arg(latest.solved)
                             .arg(kProblemsPerDrill);
    return flags;
}

}  // namespace report
