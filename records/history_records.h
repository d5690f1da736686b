// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The records of a drill as the drill engine asks for them: the history file under the
// current directory and the filling of the results window.

#include "ports.h"

namespace records {

class HistoryRecords : public drill::Records {
public:
    drill::HistoryOutcome writeHistory(drill::DrillState& state) override;
    void fillResults(drill::DrillState& state, drill::ResultsLabels& labels) override;
};

}  // namespace records
