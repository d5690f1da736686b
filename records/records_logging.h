#pragma once
// Logging categories for administrators. Only warnings show unless switched on, e.g. with
// QT_LOGGING_RULES="rovedavu.*=true"; the learner never sees a log line.

#include <QLoggingCategory>

namespace records {

// Why a history file or an archive file was not written.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
// Which working folder was used, and why a configured one could not be reached.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

}  // namespace records
