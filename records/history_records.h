#pragma once
// The records of a drill as the drill engine asks for them: the history file and the
// archive under the current directory, and the filling of the results window.

#include <string>

#include "ports.h"

namespace records {

class HistoryRecords : public drill::Records {
public:
    HistoryRecords() = default;
    // Records that save nothing, because the working folder could not be reached: every
    // file is reported as not written, for this reason.
    explicit HistoryRecords(std::u16string notSavedReason);

    drill::HistoryOutcome writeHistory(drill::DrillState& state) override;
    void fillResults(drill::DrillState& state, drill::ResultsLabels& labels) override;

private:
    std::u16string notSavedReason_;
};

}  // namespace records
