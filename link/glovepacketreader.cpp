#include "glovepacketreader.h"

#include "commcodes.h"
#include "gloveline.h"

#include <utility>

GlovePacketReader::GlovePacketReader(GloveLine &line, SampleConsumer consumer)
    : m_line(line), m_consumer(std::move(consumer))
{}

// Runs one step of an event's handling. A step that found no byte waiting is done again once
// input has come; any other failure, or the wait running out, ends the handling.
template <typename Step> bool GlovePacketReader::perform(const Step &step)
{
    for (;;) {
        const int failure = step();
        if (failure == commSucceeded)
            return true;
        if (failure != commNoByteWaiting || !m_line.waitForInput(m_deadline))
            return false;
    }
}

void GlovePacketReader::MSComm_OnComm()
{
    m_deadline = QDeadlineTimer(ReceiveWaitBound);
    int event = 0;
    if (!perform([&] { return m_line.readCommEvent(event); }))
        return;
    if (event != comEvReceive)
        return;
    if (findSyncByte())
        ReadGlovePacket();
}

void GlovePacketReader::ReadGlovePacket()
{
    int threshold = 0;
    if (!perform([&] { return m_line.readRThreshold(threshold); }))
        return;
    // A sample holds exactly the packet's eight data bytes; any other threshold cannot fill it.
    if (threshold - 1 != GlovePacket::DataBytes)
        return;

    GloveSample sample;
    for (const auto field : GlovePacket::Fields) {
        // A byte that has not come yet is waited for; the bytes taken so far are kept.
        if (!perform([&] { return m_line.takeByte(sample.*field); }))
            return; // the partial packet is dropped
    }
    m_consumer(sample);
}

// Discards bytes until it has taken a sync byte. Every byte taken is examined.
bool GlovePacketReader::findSyncByte()
{
    std::uint8_t byte = 0;
    while (!m_deadline.hasExpired()) {
        if (!perform([&] { return m_line.takeByte(byte); }))
            return false;
        if (byte == GlovePacket::SyncByte)
            return true;
    }
    return false;
}
