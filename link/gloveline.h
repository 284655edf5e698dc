#ifndef GLOVELINE_H
#define GLOVELINE_H

#include <QDeadlineTimer>
#include <cstdint>

// What the packet reader uses of the serial control. Each read returns 0 or a failure number
// (see commcodes.h). The serial control implements it over a real port; tests script it.
class GloveLine
{
public:
    virtual ~GloveLine() = default;

    virtual int readCommEvent(int &code) = 0;
    virtual int readRThreshold(int &count) = 0;

    // One read of Input with InputLen 1: removes the oldest waiting byte, or fails with
    // commNoByteWaiting when none waits.
    virtual int takeByte(std::uint8_t &byte) = 0;

    // Blocks the calling thread, handling no window events, until a byte waits or the
    // deadline passes. Returns whether a byte waits.
    virtual bool waitForInput(QDeadlineTimer deadline) = 0;
};

#endif // GLOVELINE_H
