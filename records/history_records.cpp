#include "history_records.h"

#include <QDateTime>
#include <QSysInfo>

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
        outcome = writeHistoryFile(state);
        outcome.archive =
            writeArchiveFile(historyFileBytes(state), state.myid, QDateTime::currentDateTime(),
                             QSysInfo::machineHostName());
    }
    logNotWritten("history file", {outcome.written, outcome.fileName, outcome.reason});
    logNotWritten("archive file", *outcome.archive);
    return outcome;
}

void HistoryRecords::fillResults(drill::DrillState& state, drill::ResultsLabels& labels) {
    records::fillResults(state, labels);
}

}  // namespace records
