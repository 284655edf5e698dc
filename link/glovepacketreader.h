#ifndef GLOVEPACKETREADER_H
#define GLOVEPACKETREADER_H

#include "glovesample.h"

#include <QDeadlineTimer>
#include <chrono>
#include <functional>

class GloveLine;

// Turns the receive events of a serial line into glove samples: each event looks for a sync
// byte, reads the eight data bytes after it and hands one sample to the consumer.
class GlovePacketReader
{
public:
    using SampleConsumer = std::function<void(const GloveSample &)>;

    // How long one receive event may wait, in all, for bytes that have not come yet. The user
    // interface does not respond while it waits.
    static constexpr std::chrono::milliseconds ReceiveWaitBound{100};

    GlovePacketReader(GloveLine &line, SampleConsumer consumer);

    // The receive-event handler: dispatches on the line's CommEvent.
    void MSComm_OnComm();

    // Reads the data bytes that follow a sync byte already taken and presents the sample.
    void ReadGlovePacket();

private:
    bool findSyncByte();
    template <typename Step> bool perform(const Step &step);

    GloveLine &m_line;
    SampleConsumer m_consumer;
    // Set when an event's handling starts. A nested event overwrites it, which is harmless:
    // the outer event has nothing left to do once its consumer runs.
    QDeadlineTimer m_deadline;
};

#endif // GLOVEPACKETREADER_H
