// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The reader of history and archive files. The first byte chooses what the rest is:
//   0: a drill, whose file must read back exactly;
//   1: a drill whose file is cut after some byte: cut short, or the rows before the cut;
//   other: any bytes, which are read or refused with a reason, never both.

#include <cmath>

#include "conversions.h"
#include "cp932.h"
#include "fuzz_input.h"
#include "history_file.h"
#include "history_reader.h"

namespace {

// A drill state as the drill leaves it: lastnum rows, every row but the last one answered,
// and the last one answered or not.
drill::DrillState drillFrom(FuzzInput& in) {
    drill::DrillState state;
    state.lastnum = static_cast<std::int16_t>(in.take<std::uint8_t>() % 20 + 1);
    const bool lastAnswered = in.take<std::uint8_t>() % 2 == 0;
    for (int k = 1; k <= state.lastnum; ++k) {
        const auto row = static_cast<std::size_t>(k);
        state.qmiss[row] = in.take<std::int16_t>();
        if (k == state.lastnum && !lastAnswered)
            continue;
        const int divisor = in.take<std::uint8_t>() % 9 + 1;
        const int dividend = divisor + in.take<std::uint8_t>() % (100 - divisor);
        state.qtext[row] = drill::numberText(static_cast<std::int16_t>(dividend)) + u"÷" +
                           drill::numberText(static_cast<std::int16_t>(divisor));
        float seconds = in.take<float>();
        state.qtime[row] = std::isfinite(seconds) ? seconds : 0;  // a clock difference
    }
    state.mydate = in.text();
    return state;
}

bool refusedWith(const records::HistoryRead& read, std::u16string_view reason) {
    return !read.drill && read.refusal.toStdU16String() == reason;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in{data, size};
    const auto mode = in.take<std::uint8_t>();
    if (mode > 1) {
        const records::HistoryRead read =
            records::readHistory(QByteArrayView(in.data, static_cast<qsizetype>(in.size)));
        FUZZ_CHECK(read.drill.has_value() != !read.refusal.isEmpty());
        if (read.drill) {
            FUZZ_CHECK(!read.drill->rows.empty() && read.drill->rows.size() <= 20);
            for (const records::HistoryRow& row : read.drill->rows)
                FUZZ_CHECK(row.problem.isEmpty()
                               ? row.divisor == 0
                               : row.divisor >= 1 && row.divisor <= 9 &&
                                     row.dividend >= row.divisor && row.dividend <= 99);
        }
        return 0;
    }

    const auto cut = in.take<std::uint16_t>();
    drill::DrillState state = drillFrom(in);
    const QByteArray bytes = records::historyFileBytes(state);

    if (mode == 1) {
        const QByteArray prefix = bytes.first(cut % bytes.size());
        const records::HistoryRead read = records::readHistory(prefix);
        if (prefix.isEmpty()) {
            FUZZ_CHECK(refusedWith(read, records::refusals::kEmpty));
        } else if (!refusedWith(read, records::refusals::kCutShort)) {
            // Cut at the end of a row: the rows before the cut.
            FUZZ_CHECK(read.drill);
            FUZZ_CHECK(read.drill->rows.size() < static_cast<std::size_t>(state.lastnum));
            for (std::size_t k = 0; k < read.drill->rows.size(); ++k)
                FUZZ_CHECK(read.drill->rows[k].problem.toStdU16String() == state.qtext[k + 1]);
        }
        return 0;
    }

    const records::HistoryRead read = records::readHistory(bytes);
    FUZZ_CHECK(read.drill && read.refusal.isEmpty());
    const records::HistoryDrill& drill = *read.drill;
    FUZZ_CHECK(drill.rows.size() == static_cast<std::size_t>(state.lastnum));
    // The date reads back as typed, written again the same bytes; only a typed apostrophe
    // before a formula's first character is read as a spreadsheet reads it, as a text mark.
    FUZZ_CHECK(records::toCp932(drill.date.toStdU16String()) ==
               records::toCp932(std::u16string(records::typedDate(state.mydate))));
    for (std::size_t k = 0; k < drill.rows.size(); ++k) {
        const records::HistoryRow& row = drill.rows[k];
        FUZZ_CHECK(row.problem.toStdU16String() == state.qtext[k + 1]);
        FUZZ_CHECK(row.timeText.toStdU16String() ==
                   drill::patternFormat(state.qtime[k + 1], u"#####.#"));
        FUZZ_CHECK(row.wrongCount == state.qmiss[k + 1]);
        FUZZ_CHECK(std::fabs(row.seconds - std::round(state.qtime[k + 1] * 10.0) / 10.0) <=
                   1e-6 * std::fmax(1.0, std::fabs(row.seconds)));
    }
    return 0;
}
