#include "linklog.h"

Q_LOGGING_CATEGORY(lcLink, "vantrel.link", QtWarningMsg)
