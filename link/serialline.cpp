#include "serialline.h"

// What every platform shares; the backends are serialline_unix.cpp and serialline_win.cpp.

void SerialLine::fail(OpenFailure failure, const QString &reason)
{
    m_failure = failure;
    m_errorString = reason;
}
