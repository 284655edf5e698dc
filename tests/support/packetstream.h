#ifndef PACKETSTREAM_H
#define PACKETSTREAM_H

#include "pseudoterminal.h"

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// Writes to a pseudo-terminal from a thread of its own, one piece every period (or as fast
// as the line takes them with a zero period), until stopped. Pieces written while no program
// holds the device are lost, as on a real line.
class PacketStream
{
public:
    using Piece = std::function<QByteArray(quint64 index)>;

    PacketStream(PseudoTerminal &line, Piece piece, std::chrono::microseconds period)
        : m_thread([this, &line, piece, period] {
              auto next = std::chrono::steady_clock::now();
              for (quint64 i = 0; !m_stop; ++i) {
                  line.write(piece(i));
                  m_sent = i + 1;
                  next += period;
                  std::this_thread::sleep_until(next);
              }
          })
    {}
    ~PacketStream() { stop(); }
    PacketStream(const PacketStream &) = delete;
    PacketStream &operator=(const PacketStream &) = delete;

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    quint64 sent() const { return m_sent; }

private:
    std::atomic<bool> m_stop = false;
    std::atomic<quint64> m_sent = 0;
    std::thread m_thread;
};

// The glove's packet period at the full line rate: 213 packets a second.
inline constexpr std::chrono::microseconds LinePacketPeriod{4688};

#endif // PACKETSTREAM_H
