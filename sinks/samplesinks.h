#ifndef SAMPLESINKS_H
#define SAMPLESINKS_H

#include "handpose.h"
#include "oscsender.h"
#include "recording.h"

#include <memory>
#include <vector>

// Where the samples go after they are shown: a recording, an OSC target, both or neither.
// They are started at start-up (--record, --osc) or later (Data Logging), and stopped while
// the program goes on; each recording holds the samples shown while it ran.
class SampleSinks
{
public:
    // Starts recording to a new file, or forwarding to HOST:PORT; false, with why, when it
    // cannot. Either replaces one running.
    bool startRecording(const QString &path, QString *error);
    bool startForwarding(const QString &hostAndPort, QString *error);
    // Ends both at once: the recording is completed in the background, what waits to be
    // forwarded is sent.
    void stop();

    bool isLogging() const { return m_recordingRuns || m_osc; }
    bool isRecording() const { return m_recordingRuns; }
    // The recording running, or else the last one, so that a failure stays to be seen until
    // another starts; none before the first.
    const Recording *recording() const;
    // Where samples are forwarded; empty when they are not.
    QString forwardingTarget() const { return m_osc ? m_osc->target() : QString(); }

    // The recording keeps the raw sample; OSC sends it and the pose shown of it.
    void take(const GloveSample &sample, const HandPose &pose)
    {
        if (m_recordingRuns)
            m_recordings.back()->add(sample);
        if (m_osc)
            m_osc->send(sample, pose);
    }

    // Sends what waits to be forwarded and completes every recording of the run, waiting for
    // the disk (the program's end). False when any of them lost anything.
    bool finish();

private:
    std::vector<std::unique_ptr<Recording>> m_recordings; // of this run; the last may run
    bool m_recordingRuns = false;
    std::unique_ptr<OscSender> m_osc;
};

// The program's one set of sinks.
SampleSinks &sampleSinks();

#endif // SAMPLESINKS_H
