#include "samplesinks.h"

#include "sinkslog.h"

SampleSinks &sampleSinks()
{
    // Kept to the end: what it holds is completed by finish(), not by destructors.
    static auto *sinks = new SampleSinks;
    return *sinks;
}

bool SampleSinks::startRecording(const QString &path, QString *error)
{
    auto recording = Recording::create(path, error);
    if (!recording)
        return false;
    if (m_recordingRuns)
        m_recordings.back()->stop();
    qCInfo(lcSinks, "recording every sample to %s", qPrintable(recording->path()));
    m_recordings.push_back(std::move(recording));
    m_recordingRuns = true;
    return true;
}

bool SampleSinks::startForwarding(const QString &hostAndPort, QString *error)
{
    auto sender = OscSender::connectTo(hostAndPort, error);
    if (!sender)
        return false;
    if (m_osc)
        m_osc->flush();
    qCInfo(lcSinks, "forwarding every sample to %s as %s with eight int32 and %s with six floats",
           qPrintable(sender->target()), OscSender::OscAddress, OscSender::PoseAddress);
    m_osc = std::move(sender);
    return true;
}

void SampleSinks::stop()
{
    if (m_recordingRuns) {
        m_recordings.back()->stop();
        m_recordingRuns = false;
    }
    if (m_osc) {
        m_osc->flush();
        m_osc.reset();
    }
}

const Recording *SampleSinks::recording() const
{
    return m_recordings.empty() ? nullptr : m_recordings.back().get();
}

bool SampleSinks::finish()
{
    if (m_osc)
        m_osc->flush();
    bool complete = true;
    for (const auto &recording : m_recordings) {
        complete = recording->finish() && complete;
        qCInfo(lcSinks, "recorded %llu samples to %s", qulonglong(recording->rowsWritten()),
               qPrintable(recording->path()));
    }
    return complete;
}
