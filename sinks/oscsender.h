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
// later for the last ones when the glove stops): one system
// call for several samples costs a fraction of one each. Sending never waits: a message the
// network cannot take at once is dropped, as UDP may drop it anyway, and nobody listening
// changes nothing but one line with --verbose. liblo makes the messages (oscsender_unix.cpp);
// a build without it has no sender (oscsender_none.cpp).
class OscSender
{
public:
    static constexpr char OscAddress[] = "/vantrel/glove";
    static constexpr char PoseAddress[] = "/vantrel/hand";
    static constexpr char GestureAddress[] = "/vantrel/gesture";
    // About a frame of the window: forwarded samples are no later than what it shows.
    static constexpr std::chrono::milliseconds MaxDelay{20};

    // Whether this build can forward samples over OSC at all.
    static bool available();

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
    OscSender(int socket, const QString &target) : m_socket(socket), m_target(target) {}
    void sayOnce(int error);

    struct Message
    {
        // Room for the longest hand shape's name.
        std::array<char, 128> bytes;
        std::size_t size;
    };
    static constexpr std::size_t MaxWaiting = 128;
    void queue(const Message &message);

    int m_socket = -1;
    std::vector<Message> m_waiting;
    std::chrono::steady_clock::time_point m_oldest;
    std::unique_ptr<QTimer> m_flushTimer; // for the last samples before the glove stops
    QString m_target;
    bool m_refusedSaid = false;
    bool m_failureSaid = false;
};

#endif // OSCSENDER_H
