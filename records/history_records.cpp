#include "history_records.h"

#include <QDateTime>
#include <QSysInfo>
#include <future>

#include "archive_file.h"
#include "archive_names.h"
#include "history_file.h"
#include "records_logging.h"
#include "results_filler.h"

namespace records {
namespace {

void logNotWritten(const char* what, const drill::SaveOutcome& file) {
    if (!file.written) {
        qCWarning(lcHistory).noquote() << what << "not written:" << file.fileName << file.reason;
    }
}

}  // namespace

HistoryRecords::HistoryRecords(std::u16string notSavedReason)
    : notSavedReason_(std::move(notSavedReason)) {}

drill::HistoryOutcome HistoryRecords::writeHistory(drill::DrillState& state) {
    drill::HistoryOutcome outcome;
    if (!notSavedReason_.empty()) {
        outcome = {
            false, historyFilePath(state.myid), notSavedReason_,
            drill::SaveOutcome{false, (learnerArchivePath(state.myid) + u'/').toStdU16String(),
                               notSavedReason_}};
    } else {
        // Both files are written at the same time, so that their waits for the disk overlap.
        // The archive's thread gets its own copies and never touches the drill state.
        std::future<drill::SaveOutcome> archived =
            std::async(std::launch::async,
                       [bytes = historyFileBytes(state), myid = state.myid,
                        ended = QDateTime::currentDateTime(), host = QSysInfo::machineHostName()] {
                           return writeArchiveFile(bytes, myid, ended, host);
                       });
        outcome = writeHistoryFile(state);
        outcome.archive = archived.get();
    }
    logNotWritten("history file", {outcome.written, outcome.fileName, outcome.reason});
    logNotWritten("archive file", *outcome.archive);
    return outcome;
}

void HistoryRecords::fillResults(drill::DrillState& state, drill::ResultsLabels& labels) {
    records::fillResults(state, labels);
}

}  // namespace records
