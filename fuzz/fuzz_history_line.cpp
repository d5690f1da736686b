// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Row lines of the history file with any problem text, time, count and date.

#include <QStringDecoder>
#include <QStringList>
#include <cmath>

#include "conversions.h"
#include "fuzz_input.h"
#include "history_file.h"

namespace {

// Splits one CSV record ending in CR LF; quoted items may hold "" and line breaks.
bool splitRecord(const QString& line, QStringList& items) {
    QString item;
    bool quoted = false, wasQuoted = false;
    for (qsizetype k = 0; k < line.size(); ++k) {
        const QChar ch = line[k];
        if (quoted) {
            if (ch == u'"' && k + 1 < line.size() && line[k + 1] == u'"') {
                item += u'"';
                ++k;
            } else if (ch == u'"') {
                quoted = false;
            } else {
                item += ch;
            }
        } else if (ch == u'"') {
            if (!item.isEmpty() || wasQuoted)
                return false;
            quoted = wasQuoted = true;
        } else if (ch == u',') {
            items << item;
            item.clear();
            wasQuoted = false;
        } else if (ch == u'\r') {
            if (line.mid(k) != u"\r\n")
                return false;
            items << item;
            return true;
        } else {
            item += ch;
        }
    }
    return false;
}

// What the file keeps of a text: code page 932 has no room for some characters.
QString asWritten(const std::u16string& text) {
    auto decode = QStringDecoder("windows-31j");
    return decode(records::toCp932(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in{data, size};
    const auto qtime = in.take<float>();
    const auto qmiss = in.take<std::int16_t>();
    const auto split = in.take<std::uint8_t>();
    const std::u16string qtext = in.text(split);
    const std::u16string mydate = in.text();

    const QByteArray line = records::historyRowLine(qtext, qtime, qmiss, mydate);
    auto decode = QStringDecoder("windows-31j");
    const QString decoded = decode(line);
    FUZZ_CHECK(!decode.hasError());
    FUZZ_CHECK(line.endsWith("\r\n"));

    QStringList items;
    FUZZ_CHECK(splitRecord(decoded, items));
    FUZZ_CHECK(items.size() == 4);
    FUZZ_CHECK(items[0] == asWritten(qtext));
    FUZZ_CHECK(items[1].toStdU16String() == drill::patternFormat(qtime, u"#####.#"));
    FUZZ_CHECK(items[2].toStdU16String() == drill::plainIntegerText(qmiss));
    FUZZ_CHECK(items[3] == asWritten(records::writtenDate(mydate)));
    return 0;
}
