// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The period a teacher looks at: this week, this month, this school term, any dates, or
// everything; and a class folder cut down to the drills ended in it, so that every table,
// page and export of the period is made the same way as of the whole folder.

#include <QDate>
#include <QString>

#include "class_folder.h"

namespace report {

struct Period {
    QDate from;  // first day, included; invalid: from the first drill
    QDate to;    // last day, included; invalid: up to the latest drill
    QString label = QStringLiteral("すべて");  // "今月（2026-12-01〜2026-12-31）"

    bool all() const { return !from.isValid() && !to.isValid(); }
    bool contains(const QDate& day) const;
    // The day the figures are seen from: today, or the period's last day when it is over.
    QDate asOf(const QDate& today) const;
};

enum class PeriodChoice { All, ThisWeek, ThisMonth, ThisTerm };

// Weeks run Monday to Sunday. Terms: 1学期 April to August, 2学期 September to December,
// 3学期 January to March (of the school year that began the April before).
Period choosePeriod(PeriodChoice choice, const QDate& today);

// Any dates; either may be invalid (open on that side).
Period periodBetween(const QDate& from, const QDate& to);

// The class with only the drills that ended in the period (by their local date). Every
// learner stays, also one with no drill in the period.
records::ClassFolder inPeriod(records::ClassFolder folder, const Period& period);

}  // namespace report
