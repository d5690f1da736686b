#include "records_logging.h"

namespace records {

Q_LOGGING_CATEGORY(lcHistory, "rovedavu.history", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStartup, "rovedavu.startup", QtWarningMsg)

}  // namespace records
