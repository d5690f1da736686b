// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The class's divisors 1 to 9 together: which times table the whole class is slow or wrong
// on, for the next lesson with everyone.

#include <array>

#include "class_folder.h"
#include "tables.h"

namespace report {

struct ClassDivisor {
    int divisor = 0;         // 1..9
    int met = 0;             // problems with this divisor answered right, by the whole class
    double meanSeconds = 0;  // their mean time; 0 when never met
    int wrongTries = 0;      // wrong answers before those right answers
    int slowestFor = 0;      // children for whom this divisor has the slowest mean time

    double wrongPerProblem() const { return met == 0 ? 0 : double(wrongTries) / met; }
};

// Every drill of every child; a child with no problem answered right is nobody's slowest.
std::array<ClassDivisor, 9> classDivisors(const records::ClassFolder& folder);

// わる数, problems met, mean time, wrong answers, wrong answers per problem, children slowest.
TableText classDivisorTable(const std::array<ClassDivisor, 9>& divisors);

}  // namespace report
