// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the history file that this program would write for the given rows, date and ID, so
// that another program's file can be compared with it byte for byte:
//
//   history_bytes_tool DESCRIPTION FOLDER
//
// DESCRIPTION, in UTF-8: the date on the first line, the ID on the second, then one line per
// row: the problem text, the time as a history file writes it ("3.2", ".4", "12.") and the
// wrong-answer count, separated by tabs. The file goes to FOLDER/rirekidata/, which is made.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <string>

#include "drill_state.h"
#include "history_file.h"

namespace {

int failed(const QString& why) {
    std::fprintf(stderr, "history_bytes_tool: %s\n", qPrintable(why));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return failed("usage: history_bytes_tool DESCRIPTION FOLDER");
    QFile description(QString::fromLocal8Bit(argv[1]));
    if (!description.open(QIODevice::ReadOnly))
        return failed(description.errorString());
    QStringList lines = QString::fromUtf8(description.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() < 2 || lines.size() - 2 > drill::kProblemCount)
        return failed("a date, an ID and at most 20 rows are needed");

    drill::DrillState state;
    state.mydate = lines[0].toStdU16String();
    state.myid = lines[1].toStdU16String();
    state.lastnum = static_cast<std::int16_t>(lines.size() - 2);
    state.n = state.lastnum;
    for (int k = 1; k <= state.lastnum; ++k) {
        const QStringList items = lines[k + 1].split(u'\t');
        bool timeRead = false;
        bool countRead = false;
        const float seconds = items.value(1).toFloat(&timeRead);
        const int count = items.value(2).toInt(&countRead);
        if (items.size() != 3 || !timeRead || !countRead)
            return failed(QString("row %1 is not text, time and count").arg(k));
        const auto row = static_cast<std::size_t>(k);
        state.qtext.at(row) = items[0].toStdU16String();
        state.qtime.at(row) = seconds;
        state.qmiss.at(row) = static_cast<std::int16_t>(count);
    }

    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder + "/rirekidata") || !QDir::setCurrent(folder))
        return failed("cannot make " + folder + "/rirekidata");
    const drill::HistoryOutcome outcome = records::writeHistoryFile(state);
    if (!outcome.written)
        return failed(QString::fromStdU16String(outcome.reason));
    return 0;
}
