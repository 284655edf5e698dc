#ifndef SINKSLOG_H
#define SINKSLOG_H

#include <QLoggingCategory>

// What becomes of the samples after they are shown: where they are recorded and forwarded,
// and a forwarding target nobody listens on. Off unless asked for (--verbose). Failures of the
// recording are always said, on stderr.
Q_DECLARE_LOGGING_CATEGORY(lcSinks)

#endif // SINKSLOG_H
