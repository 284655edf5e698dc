#include "sinkslog.h"

Q_LOGGING_CATEGORY(lcSinks, "vantrel.sinks", QtWarningMsg)
