#include "serialdevices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

// The serial devices of a Linux machine: Qt SerialPort's list, with what sysfs and udev tell
// of where each hangs.

namespace {

// The USB port path ("1-2.4") in a device's sysfs path, or empty for a device off USB.
QString usbLocationOf(const QString &portName)
{
    return usbLocationInSysfsPath(
        QFileInfo(QStringLiteral("/sys/class/tty/%1/device").arg(portName)).canonicalFilePath());
}

// The link under /dev/serial/by-id that points at the device, if udev made one.
QString stableLinkOf(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files))
        if (link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    return {};
}

} // namespace

QList<SerialDevice> systemSerialDevices()
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation();
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            device.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            device.productId = info.productIdentifier();
        device.serialNumber = info.serialNumber();
        device.usbLocation = usbLocationOf(info.portName());
        device.stableLink = stableLinkOf(device.path);
        device.usbAdapter = !device.usbLocation.isEmpty();
        devices << device;
    }
    return devices;
}

bool serialDeviceExists(const QString &path)
{
    return QFileInfo::exists(path);
}
