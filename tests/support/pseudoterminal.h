#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QByteArray>
#include <QString>
#include <memory>

// The glove's end of a serial line in tests: a pseudo-terminal whose device the program
// opens, and whose master side the test writes to. On Linux the test holds the master itself
// (pseudoterminal_unix.cpp); a Windows test under Wine asks the line host, a Linux program
// beside it, to hold it and to link one of Wine's COM ports to it (pseudoterminal_win.cpp).
class PseudoTerminal
{
public:
    // How the program set the line up, as the pseudo-terminal shows it.
    struct LineState
    {
        int baudRate = 0;
        int dataBits = 0;
        bool parity = false;
        bool twoStopBits = false;
    };

    PseudoTerminal();
    ~PseudoTerminal();

    bool isValid() const;
    // What the program opens: /dev/pts/3, or COM3 under Wine.
    QString devicePath() const { return m_path; }

    // Writes all of the bytes to the line, waiting while it is full; false if nobody holds
    // the device open or the line is gone.
    bool write(const QByteArray &bytes);
    // Closes the glove's end, as when a USB adapter is pulled out.
    void closeMaster();
    // Whether a program holds the device open.
    bool isDeviceOpen() const;
    LineState lineState() const;

private:
    struct Backend;
    std::unique_ptr<Backend> d;
    QString m_path;
};

#endif // PSEUDOTERMINAL_H
