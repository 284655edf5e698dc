#ifndef SAMPLESINKS_H
#define SAMPLESINKS_H

#include "handpose.h"
#include "oscsender.h"
#include "recording.h"

#include <memory>

// Where the samples go after they are shown: a recording, an OSC target, both or neither.
class SampleSinks
{
public:
    void setRecording(std::unique_ptr<Recording> recording) { m_recording = std::move(recording); }
    void setOscSender(std::unique_ptr<OscSender> sender) { m_osc = std::move(sender); }
    bool isEmpty() const { return !m_recording && !m_osc; }

    // The recording keeps the raw sample; OSC sends it and the pose shown of it.
    void take(const GloveSample &sample, const HandPose &pose)
    {
        if (m_recording)
            m_recording->add(sample);
        if (m_osc)
            m_osc->send(sample, pose);
    }

    // Sends what waits to be forwarded and completes the recording. False when any of it was lost.
    bool finish();

private:
    std::unique_ptr<Recording> m_recording;
    std::unique_ptr<OscSender> m_osc;
};

#endif // SAMPLESINKS_H
