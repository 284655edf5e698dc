#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QByteArray>
#include <QString>

// The glove's end of a serial line in tests: a pseudo-terminal whose device path the
// program opens, and whose master side the test writes to.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }

    // Writes all of the bytes to the line; false if the line is gone.
    bool write(const QByteArray &bytes);
    // Closes the glove's end, as when a USB adapter is pulled out.
    void closeMaster();
    // Whether a program holds the device open: the master side reports a hang-up while no
    // one does.
    bool isDeviceOpen() const;

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};

#endif // PSEUDOTERMINAL_H
