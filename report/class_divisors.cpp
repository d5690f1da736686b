// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "class_divisors.h"

#include "figures.h"

namespace report {

std::array<ClassDivisor, 9> classDivisors(const records::ClassFolder& folder) {
    std::array<ClassDivisor, 9> divisors{};
    std::array<double, 9> seconds{};
    for (const records::Learner& learner : folder.learners) {
        const std::array<DivisorCell, 9> cells = divisorCells(learner);
        const DivisorCell* slowest = nullptr;
        for (const DivisorCell& cell : cells) {
            ClassDivisor& sum = divisors[cell.divisor - 1];
            sum.met += cell.asked;
            seconds[cell.divisor - 1] += cell.meanSeconds * cell.asked;
            sum.wrongTries += cell.wrongTries;
            if (cell.asked > 0 && (slowest == nullptr || cell.meanSeconds > slowest->meanSeconds))
                slowest = &cell;
        }
        if (slowest != nullptr)
            ++divisors[slowest->divisor - 1].slowestFor;
    }
    for (int k = 0; k < 9; ++k) {
        divisors[k].divisor = k + 1;
        if (divisors[k].met > 0)
            divisors[k].meanSeconds = seconds[k] / divisors[k].met;
    }
    return divisors;
}

TableText classDivisorTable(const std::array<ClassDivisor, 9>& divisors) {
    constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
    constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
    TableText table;
    table.headers = {QStringLiteral("わる数"),          QStringLiteral("問題の数"),
                     QStringLiteral("平均時間（秒）"),  QStringLiteral("誤答"),
                     QStringLiteral("1問あたりの誤答"), QStringLiteral("いちばんおそい児童（人）")};
    table.widths = {2, 2, 3, 2, 3, 3.5};
    table.aligns = {kLeft, kRight, kRight, kRight, kRight, kRight};
    table.numeric = {false, true, true, true, true, true};
    for (const ClassDivisor& divisor : divisors) {
        table.rows.push_back(
            {QStringLiteral("÷%1").arg(divisor.divisor), QString::number(divisor.met),
             divisor.met == 0 ? QString() : secondsText(divisor.meanSeconds),
             QString::number(divisor.wrongTries),
             divisor.met == 0 ? QString() : QString::number(divisor.wrongPerProblem(), 'f', 2),
             QString::number(divisor.slowestFor)});
    }
    return table;
}

}  // namespace report
