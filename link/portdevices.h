#ifndef PORTDEVICES_H
#define PORTDEVICES_H

#include <QString>

// Which serial device each port number denotes. The one place that decides it: the
// control asks here when it opens a port.
struct PortDevices
{
    QString com1;
    QString com2;

    // COM1 and COM2 on Windows, the first two on-board serial ports elsewhere.
    static PortDevices platformDefault();

    // The device for port 1 or 2; an empty string for any other number.
    QString device(int port) const;
};

#endif // PORTDEVICES_H
