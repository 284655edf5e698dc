// The packet reader's throughput from memory: a long stream of packets, read one receive
// event at a time, with no serial port and no window in the way.
#include "commcodes.h"
#include "gloveline.h"
#include "glovepacketreader.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

// All of the stream waits at once; a wait never brings more.
class MemoryLine : public GloveLine
{
public:
    explicit MemoryLine(const std::vector<std::uint8_t> &stream) : m_stream(stream) {}

    void rewind() { m_at = 0; }
    std::size_t waiting() const { return m_stream.size() - m_at; }

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
        if (m_at == m_stream.size())
            return commNoByteWaiting;
        byte = m_stream[m_at++];
        return commSucceeded;
    }
    bool waitForInput(QDeadlineTimer) override { return false; }

private:
    const std::vector<std::uint8_t> &m_stream;
    std::size_t m_at = 0;
};

std::vector<std::uint8_t> packetStream(int packets, double noise)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::bernoulli_distribution noisy(noise);
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < packets; ++i) {
        stream.push_back(GlovePacket::SyncByte);
        for (int d = 0; d < GlovePacket::DataBytes; ++d)
            stream.push_back(std::uint8_t(byte(random)));
        if (noisy(random))
            stream.push_back(std::uint8_t(byte(random) % 245)); // never a sync byte
    }
    return stream;
}

void readPackets(benchmark::State &state, double noise)
{
    const std::vector<std::uint8_t> stream = packetStream(10000, noise);
    MemoryLine line(stream);
    std::uint64_t samples = 0;
    GlovePacketReader reader(line, [&samples](const GloveSample &s) {
        samples += s.Thumb;
        benchmark::DoNotOptimize(samples);
    });
    for (auto _ : state) {
        line.rewind();
        while (line.waiting() >= std::size_t(GlovePacket::Size))
            reader.MSComm_OnComm();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(stream.size()));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 10000);
}

void BM_ReadCleanPackets(benchmark::State &state)
{
    readPackets(state, 0.0);
}
void BM_ReadPacketsWithTenPercentNoise(benchmark::State &state)
{
    readPackets(state, 0.1);
}

} // namespace

BENCHMARK(BM_ReadCleanPackets);
BENCHMARK(BM_ReadPacketsWithTenPercentNoise);
BENCHMARK_MAIN();
