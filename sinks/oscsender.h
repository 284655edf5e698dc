#ifndef OSCSENDER_H
#define OSCSENDER_H

#include "glovesample.h"
#include "handpose.h"

#include <QString>
#include <QTimer>
#include <array>
#include <chrono>
#include <memory>
#include <vector>

// Sends every sample it is given over UDP as two OSC messages: OscAddress with eight int32
// arguments, the raw values in packet order, then PoseAddress with six floats from 0 to 1,
// what the bars and the hand show (thumb, index, middle, ring, roll, pitch); and when the hand
// shape held changes, GestureAddress with its name, or "" when none is held. Each message is a
// datagram of its own, but they leave together, MaxDelay after the oldest of them was given (10 ms
// later for the last ones when the glove stops): where the system sends several datagrams in
// one call (sendmmsg on Linux), that costs a fraction of a call each. Sending never waits: a
// message the network cannot take at once is dropped, as UDP may drop it anyway, and nobody
// listening changes nothing but one line with --verbose. The messages are OscMessage's; the
// sockets the platform's (oscsender_unix.cpp, oscsender_win.cpp).
class OscMessage;

class OscSender
{
public:
    static constexpr char OscAddress[] = "/vantrel/glove";
    static constexpr char PoseAddress[] = "/vantrel/hand";
    static constexpr char GestureAddress[] = "/vantrel/gesture";
    // About a frame of the window: forwarded samples are no later than what it shows.
    static constexpr std::chrono::milliseconds MaxDelay{20};

    // HOST:PORT, with an IPv6 address in brackets ([::1]:9000). The host is looked up here,
    // once, so that sending never waits on a name server; on failure gives no sender and
    // says why in `error`.
    static std::unique_ptr<OscSender> connectTo(const QString &hostAndPort, QString *error);
    ~OscSender();

    void send(const GloveSample &sample, const HandPose &pose);
    // Sends what is waiting now.
    void flush();

    QString target() const { return m_target; }

private:
    OscSender(qintptr socket, const QString &target) : m_socket(socket), m_target(target) {}
    static bool splitHostAndPort(const QString &text, QString *host, int *port, QString *error);
    void sayOnce(int error);

    struct Message
    {
        // Room for the longest hand shape's name.
        std::array<char, 128> bytes;
        std::size_t size = 0;
    };
    static constexpr std::size_t MaxWaiting = 128;
    // Queues the message written into `made`, if it fit.
    void queue(Message &made, const OscMessage &written);

    qintptr m_socket = -1;
    std::vector<Message> m_waiting;
    std::chrono::steady_clock::time_point m_oldest;
    std::unique_ptr<QTimer> m_flushTimer; // for the last samples before the glove stops
    QString m_target;
    bool m_refusedSaid = false;
    bool m_failureSaid = false;
};

#endif // OSCSENDER_H
