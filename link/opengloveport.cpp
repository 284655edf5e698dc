#include "opengloveport.h"

#include "glovesample.h"
#include "mscomm.h"

#include <QCoreApplication>
#include <functional>

void OpenGlovePort(MSComm &comm, qint16 port)
{
    const std::function<int()> steps[] = {
        [&] { return comm.PortOpen() ? comm.setPortOpen(false) : commSucceeded; },
        [&] { return comm.setCommPort(port); },
        [&] { return comm.setSettings(QLatin1String(GloveLineSettings)); },
        [&] { return comm.setInputLen(1); },
        [&] { return comm.setInputMode(comInputModeBinary); },
        [&] { return comm.setRThreshold(GlovePacket::Size); },
        // Another choice of port made meanwhile runs here, to its end, before this one opens.
        [] {
            QCoreApplication::processEvents();
            return int(commSucceeded);
        },
        [&] { return comm.setPortOpen(true); },
    };
    for (const auto &step : steps) {
        const int failure = step();
        // An open port is passed over; any other failure ends the run quietly.
        if (failure != commSucceeded && failure != comPortAlreadyOpen)
            return;
    }
}
