#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include "gloveend.h"

// The glove's end of a serial line in tests: a pseudo-terminal whose device path the
// program opens, and whose master side the test writes to.
class PseudoTerminal
{
public:
    PseudoTerminal();

    bool isValid() const { return m_end.isOpen(); }
    QString devicePath() const { return m_path; }

    // Writes all of the bytes to the line, waiting while it is full; false if nobody holds
    // the device open or the line is gone.
    bool write(const QByteArray &bytes);
    // Closes the glove's end, as when a USB adapter is pulled out.
    void closeMaster() { m_end = GloveEnd(); }
    // Whether a program holds the device open.
    bool isDeviceOpen() const { return m_end.peerPresent(); }

private:
    GloveEnd m_end;
    QString m_path;
};

#endif // PSEUDOTERMINAL_H
