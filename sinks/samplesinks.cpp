#include "samplesinks.h"

#include "sinkslog.h"

bool SampleSinks::finish()
{
    if (m_osc)
        m_osc->flush();
    if (!m_recording)
        return true;
    const bool complete = m_recording->finish();
    qCInfo(lcSinks, "recorded %llu samples to %s", qulonglong(m_recording->rowsWritten()),
           qPrintable(m_recording->path()));
    return complete;
}
