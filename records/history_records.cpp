// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_records.h"

#include "history_file.h"
#include "results_filler.h"

namespace records {

drill::HistoryOutcome HistoryRecords::writeHistory(drill::DrillState& state) {
    return writeHistoryFile(state);
}

void HistoryRecords::fillResults(drill::DrillState& state, drill::ResultsLabels& labels) {
    records::fillResults(state, labels);
}

}  // namespace records
