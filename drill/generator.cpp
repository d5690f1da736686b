// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "generator.h"

#include "conversions.h"
#include "texts.h"

namespace drill {

void drawProblem(DrillState& s, RandomSource& random) {
    s.a = toInt16(floorValue(random.next() * 99.0) + 1.0);
    s.b = std::u16string(texts::kDivide);
    s.c = toInt16(floorValue(random.next() * 9.0) + 1.0);
    if (s.c > s.a) {
        s.t = s.a;
        s.a = s.c;
        s.c = s.t;
    }
}

void showProblem(const DrillState& s, DrillView& view) {
    view.setLabelCaption(0, plainIntegerText(s.a));
    view.setLabelCaption(1, s.b);
    view.setLabelCaption(2, plainIntegerText(s.c));
}

std::u16string problemText(const DrillState& s) {
    return numberText(s.a) + s.b + numberText(s.c);
}

void drawNewProblem(DrillState& s, RandomSource& random, Clock& clock, DrillView& view) {
    for (;;) {
        random.reseed(clock.secondsSinceMidnight());
        drawProblem(s, random);
        const std::u16string drawn = problemText(s);
        std::int16_t bound = s.n;
        checkedDecrement(bound);
        bool repeated = false;
        for (s.i = 1; s.i <= bound; checkedIncrement(s.i)) {
            if (textEquals(s.qtext.at(s.i), drawn)) {
                repeated = true;
                break;
            }
        }
        if (!repeated)
            break;
    }
    showProblem(s, view);
}

}  // namespace drill
