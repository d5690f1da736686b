// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "meeting_figures.h"

#include <algorithm>
#include <set>

#include "figures.h"

namespace report {
namespace {

// Adds the drills that ended from `from` to `to` (both days counted) to the stretch.
Stretch stretchOf(const records::Learner& learner, const QDate& from, const QDate& to) {
    Stretch stretch{from, to};
    int problems = 0;
    double seconds = 0;
    int wrong = 0;
    for (const records::KeptDrill& drill : learner.drills) {
        const QDate day = drill.ended.date();
        if (!day.isValid() || day < from || day > to)
            continue;
        ++stretch.drills;
        const DrillFigures figures = drillFigures(drill);
        if (!figures.finished())
            continue;
        ++stretch.finished;
        problems += figures.solved;
        seconds += figures.totalSeconds;
        wrong += figures.wrongAnswers;
    }
    if (stretch.finished > 0) {
        stretch.secondsPerProblem = seconds / problems;
        stretch.wrongPerDrill = double(wrong) / stretch.finished;
    }
    return stretch;
}

QString oneDecimal(double value) {
    return QString::number(value, 'f', 1);
}

// "（2.1秒はやくなりました）": the change between two figures as they are shown.
QString changeWords(double before, double after, const QString& unit, const QString& less,
                    const QString& more) {
    const QString difference = oneDecimal(std::abs(after - before));
    if (oneDecimal(before) == oneDecimal(after) || difference == QStringLiteral("0.0"))
        return QStringLiteral("（かわりません）");
    return QStringLiteral("（%1%2%3）").arg(difference, unit, after < before ? less : more);
}

}  // namespace

QString daysText(const QDate& from, const QDate& to) {
    const QString format = QStringLiteral("M/d");
    return from == to ? from.toString(format)
                      : QStringLiteral("%1〜%2").arg(from.toString(format), to.toString(format));
}

FirstAndLatestWeeks firstAndLatestWeeks(const records::Learner& learner) {
    FirstAndLatestWeeks weeks;
    std::set<QDate> days;
    for (const records::KeptDrill& drill : learner.drills) {
        const QDate day = drill.ended.date();
        if (!day.isValid())
            continue;
        ++weeks.drills;
        if (drillFigures(drill).finished())
            ++weeks.finished;
        days.insert(day);
    }
    if (days.empty())
        return weeks;
    weeks.daysPractised = static_cast<int>(days.size());
    weeks.firstDay = *days.begin();
    weeks.lastDay = *days.rbegin();
    // Two ends that never overlap: at most two weeks each, at most half the days between.
    const auto daysCovered = static_cast<int>(weeks.firstDay.daysTo(weeks.lastDay)) + 1;
    weeks.stretchDays = std::min(kStretchDays, daysCovered / 2);
    if (weeks.stretchDays <= 0)
        return weeks;
    weeks.first = stretchOf(learner, weeks.firstDay, weeks.firstDay.addDays(weeks.stretchDays - 1));
    weeks.latest = stretchOf(learner, weeks.lastDay.addDays(1 - weeks.stretchDays), weeks.lastDay);
    return weeks;
}

QStringList firstAndLatestWeeksText(const FirstAndLatestWeeks& weeks) {
    if (weeks.drills == 0)
        return {QStringLiteral("この期間のドリルの記録はありません。")};
    if (weeks.stretchDays < kShortestStretchDays)
        return {
            QStringLiteral("記録が %1 の %2 日分だけなので、はじめのころと最近はくらべていません"
                           "（2 週間以上の記録でくらべます）。")
                .arg(daysText(weeks.firstDay, weeks.lastDay))
                .arg(weeks.firstDay.daysTo(weeks.lastDay) + 1)};
    if (!weeks.comparable())
        return {
            QStringLiteral("20 問までやったドリルが少ないので（はじめのころ %1 回、最近 %2 回）、"
                           "くらべていません（それぞれ %3 回以上でくらべます）。")
                .arg(weeks.first.finished)
                .arg(weeks.latest.finished)
                .arg(kLeastFinishedDrills)};
    const Stretch& first = weeks.first;
    const Stretch& latest = weeks.latest;
    return {
        QStringLiteral("はじめのころ（%1、%2 回）と最近（%3、%4 回）の、20 問までやったドリル:")
            .arg(daysText(first.from, first.to))
            .arg(first.finished)
            .arg(daysText(latest.from, latest.to))
            .arg(latest.finished),
        QStringLiteral("1問あたり %1秒 → %2秒%3")
            .arg(oneDecimal(first.secondsPerProblem), oneDecimal(latest.secondsPerProblem),
                 changeWords(first.secondsPerProblem, latest.secondsPerProblem,
                             QStringLiteral("秒"), QStringLiteral("はやくなりました"),
                             QStringLiteral("おそくなりました"))),
        QStringLiteral("ドリル1回の誤答 %1回 → %2回%3")
            .arg(oneDecimal(first.wrongPerDrill), oneDecimal(latest.wrongPerDrill),
                 changeWords(first.wrongPerDrill, latest.wrongPerDrill, QStringLiteral("回"),
                             QStringLiteral("へりました"), QStringLiteral("ふえました"))),
    };
}

}  // namespace report
