// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "period.h"

#include <vector>

namespace report {
namespace {

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString rangeText(const QDate& from, const QDate& to) {
    if (from.isValid() && to.isValid())
        return dayText(from) + u'〜' + dayText(to);
    if (from.isValid())
        return dayText(from) + QStringLiteral("から");
    return dayText(to) + QStringLiteral("まで");
}

Period named(const QString& name, const QDate& from, const QDate& to) {
    return Period{from, to, QStringLiteral("%1（%2）").arg(name, rangeText(from, to))};
}

}  // namespace

bool Period::contains(const QDate& day) const {
    return (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
}

QDate Period::asOf(const QDate& today) const {
    return to.isValid() && to < today ? to : today;
}

Period choosePeriod(PeriodChoice choice, const QDate& today) {
    switch (choice) {
        case PeriodChoice::ThisWeek: {
            const QDate monday = today.addDays(1 - today.dayOfWeek());
            return named(QStringLiteral("今週"), monday, monday.addDays(6));
        }
        case PeriodChoice::ThisMonth: {
            const QDate first(today.year(), today.month(), 1);
            return named(QStringLiteral("今月"), first, first.addMonths(1).addDays(-1));
        }
        case PeriodChoice::ThisTerm: {
            const int year = today.year();
            const int month = today.month();
            if (month <= 3)
                return named(QStringLiteral("%1年度 3学期").arg(year - 1), QDate(year, 1, 1),
                             QDate(year, 3, 31));
            if (month <= 8)
                return named(QStringLiteral("%1年度 1学期").arg(year), QDate(year, 4, 1),
                             QDate(year, 8, 31));
            return named(QStringLiteral("%1年度 2学期").arg(year), QDate(year, 9, 1),
                         QDate(year, 12, 31));
        }
        case PeriodChoice::All:
            break;
    }
    return Period{{}, {}, QStringLiteral("すべて")};
}

Period periodBetween(const QDate& from, const QDate& to) {
    if (!from.isValid() && !to.isValid())
        return choosePeriod(PeriodChoice::All, {});
    return Period{from, to, rangeText(from, to)};
}

records::ClassFolder inPeriod(records::ClassFolder folder, const Period& period) {
    if (period.all())
        return folder;
    for (records::Learner& learner : folder.learners) {
        std::erase_if(learner.drills, [&](const records::KeptDrill& drill) {
            return !period.contains(drill.ended.date());
        });
    }
    return folder;
}

}  // namespace report
