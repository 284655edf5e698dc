#ifndef LINKLOG_H
#define LINKLOG_H

#include <QLoggingCategory>

// Each change of the glove link, one line each: opened, could not open, waiting for the
// device, vanished, resumed, closed. Off unless asked for (--verbose, or QT_LOGGING_RULES
// with "vantrel.link.info=true").
Q_DECLARE_LOGGING_CATEGORY(lcLink)

#endif // LINKLOG_H
