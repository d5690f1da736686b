// A program that ends drills with the real records, for the test of many computers writing
// into one folder: concurrent_writer FOLDER ID COUNT TAG ends COUNT drills of that ID in
// FOLDER, the k-th with the date text "TAG-k" and k % 20 + 1 rows. Exit status 0 when every
// history file and archive file was written.

#include <QDir>
#include <QString>
#include <cstdio>

#include "history_records.h"
#include "records_support.h"

int main(int argc, char* argv[]) {
    if (argc != 5 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    const std::u16string id = QString::fromLocal8Bit(argv[2]).toStdU16String();
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    const QString tag = QString::fromLocal8Bit(argv[4]);
    records::HistoryRecords records;
    for (int k = 0; k < count; ++k) {
        drill::DrillState state =
            records_test::fullDrill(static_cast<std::int16_t>(k % 20 + 1), id);
        state.mydate = (tag + u'-' + QString::number(k)).toStdU16String();
        const drill::HistoryOutcome outcome = records.writeHistory(state);
        if (!outcome.written || !outcome.archive || !outcome.archive->written) {
            std::fprintf(
                stderr, "drill %d: %s / %s\n", k,
                QString::fromStdU16String(outcome.reason).toUtf8().constData(),
                outcome.archive
                    ? QString::fromStdU16String(outcome.archive->reason).toUtf8().constData()
                    : "no archive");
            return 1;
        }
    }
    return 0;
}
