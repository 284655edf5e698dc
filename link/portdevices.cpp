#include "portdevices.h"

PortDevices PortDevices::platformDefault()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("COM1"), QStringLiteral("COM2")};
#else
    return {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
#endif
}

QString PortDevices::device(int port) const
{
    switch (port) {
    case 1:
        return com1;
    case 2:
        return com2;
    default:
        return {};
    }
}
