// libFuzzer target: arbitrary byte streams, split into arbitrary arrivals, through the packet
// reader. The first input byte chooses how the rest is split into arrivals; the rest is the
// stream on the line.
//
// Checked for every input: each event presents at most one sample; no byte is taken beyond
// what has arrived; an event waits at most once for each arrival still to come; and the
// samples presented are exactly those the sync rule finds reading the stream front to back
// (a 0xF5, then the eight bytes after it), in order.
#include "commcodes.h"
#include "gloveline.h"
#include "glovepacketreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Bytes arrive in chunks; a wait brings the next chunk at once, or fails when none is left.
class ArrivingLine : public GloveLine
{
public:
    ArrivingLine(const std::uint8_t *stream, std::size_t size, std::uint8_t splitSeed)
        : m_stream(stream), m_size(size)
    {
        unsigned state = splitSeed * 2654435761u + 1;
        for (std::size_t end = 0; end < size;) {
            state = state * 1103515245u + 12345u;
            end = std::min(size, end + 1 + (state >> 16) % 40);
            m_arrivalEnds.push_back(end);
        }
    }

    bool deliverNext()
    {
        if (m_next == m_arrivalEnds.size())
            return false;
        m_arrived = m_arrivalEnds[m_next++];
        return true;
    }
    std::size_t waiting() const { return m_arrived - m_taken; }
    std::size_t arrivalsLeft() const { return m_arrivalEnds.size() - m_next; }
    int waits = 0;

    int readCommEvent(int &code) override
    {
        code = comEvReceive;
        return commSucceeded;
    }
    int readRThreshold(int &count) override
    {
        count = GlovePacket::Size;
        return commSucceeded;
    }
    int takeByte(std::uint8_t &byte) override
    {
        if (m_taken == m_arrived)
            return commNoByteWaiting;
        check(m_taken < m_size);
        byte = m_stream[m_taken++];
        return commSucceeded;
    }
    bool waitForInput(QDeadlineTimer) override
    {
        ++waits;
        return deliverNext();
    }

private:
    const std::uint8_t *m_stream;
    std::size_t m_size;
    std::vector<std::size_t> m_arrivalEnds;
    std::size_t m_next = 0;
    std::size_t m_arrived = 0;
    std::size_t m_taken = 0;
};

// The sync rule over the whole stream: skip to a 0xF5, take the eight bytes after it.
std::vector<GloveSample> samplesInStream(const std::uint8_t *stream, std::size_t size)
{
    std::vector<GloveSample> samples;
    std::size_t at = 0;
    for (;;) {
        while (at < size && stream[at] != GlovePacket::SyncByte)
            ++at;
        if (at + GlovePacket::Size > size)
            return samples;
        GloveSample sample;
        for (int i = 0; i < GlovePacket::DataBytes; ++i)
            sample.*GlovePacket::Fields[i] = stream[at + 1 + i];
        samples.push_back(sample);
        at += GlovePacket::Size;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t *stream = data + 1;
    const std::size_t streamSize = size - 1;
    ArrivingLine line(stream, streamSize, data[0]);
    std::vector<GloveSample> presented;
    GlovePacketReader reader(line, [&](const GloveSample &s) { presented.push_back(s); });

    // As the serial control does: an event whenever a packet's worth of bytes waits.
    while (line.deliverNext() || line.waiting() >= std::size_t(GlovePacket::Size)) {
        while (line.waiting() >= std::size_t(GlovePacket::Size)) {
            const std::size_t before = presented.size();
            const std::size_t arrivalsLeft = line.arrivalsLeft();
            line.waits = 0;
            reader.MSComm_OnComm();
            check(presented.size() - before <= 1);
            check(std::size_t(line.waits) <= arrivalsLeft + 1);
        }
    }
    check(presented == samplesInStream(stream, streamSize));
    return 0;
}
