#ifndef TESTLINK_H
#define TESTLINK_H

#include "glovepacketreader.h"
#include "mscomm.h"
#include "pseudoterminal.h"

#include <QByteArray>
#include <ctime>
#include <vector>

// A serial control and a packet reader wired as the port settings window wires them, with
// the samples collected instead of shown.
struct TestLink
{
    MSComm comm;
    std::vector<GloveSample> samples;
    int events = 0;
    GlovePacketReader reader{comm, [this](const GloveSample &s) { samples.push_back(s); }};

    explicit TestLink(const PortDevices &devices)
    {
        comm.setPortDevices(devices);
        QObject::connect(&comm, &MSComm::OnComm, [this] {
            ++events;
            reader.MSComm_OnComm();
        });
    }
};

inline QByteArray packetBytes(const GloveSample &sample)
{
    const auto bytes = GlovePacket::encode(sample);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

inline QByteArray byteList(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

// CPU time this process has used, in milliseconds.
inline double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

#endif // TESTLINK_H
