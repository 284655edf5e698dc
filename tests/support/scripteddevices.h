#ifndef SCRIPTEDDEVICES_H
#define SCRIPTEDDEVICES_H

#include "serialdevices.h"

// A list of serial devices that the test writes: pseudo-terminals dressed up as USB adapters.
struct ScriptedDevices : SerialDeviceList
{
    QList<SerialDevice> devices;

    QList<SerialDevice> present() const override { return devices; }

    void remove(const QString &path)
    {
        devices.removeIf([&](const SerialDevice &d) { return d.path == path; });
    }
};

inline SerialDevice usbAdapter(const QString &path, quint16 vendor, quint16 product,
                               const QString &serial, const QString &location = {})
{
    SerialDevice device;
    device.path = path;
    device.description = QStringLiteral("USB UART");
    device.vendorId = vendor;
    device.productId = product;
    device.serialNumber = serial;
    device.usbLocation = location;
    device.usbAdapter = true;
    return device;
}

inline SerialDevice builtInPort(const QString &path)
{
    SerialDevice device;
    device.path = path;
    return device;
}

#endif // SCRIPTEDDEVICES_H
