#include "serialdevices.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

namespace {

// The USB port path ("1-2.4") in a device's sysfs path, or empty for a device off USB.
QString usbLocationOf(const QString &portName)
{
    const QString sysfs =
        QFileInfo(QStringLiteral("/sys/class/tty/%1/device").arg(portName)).canonicalFilePath();
    static const QRegularExpression usbPort(QStringLiteral("/(\\d+-[\\d.]+)(?=[/:])"));
    QString location;
    for (const auto &match : usbPort.globalMatch(sysfs))
        location = match.captured(1); // the innermost hub port
    return location;
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

class SystemSerialDevices : public SerialDeviceList
{
public:
    QList<SerialDevice> present() const override
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
#ifdef Q_OS_LINUX
            device.usbLocation = usbLocationOf(info.portName());
            device.stableLink = stableLinkOf(device.path);
            device.usbAdapter = !device.usbLocation.isEmpty();
#else
            device.usbAdapter = info.hasVendorIdentifier();
#endif
            devices << device;
        }
        return devices;
    }
};

// "ttyS10" sorts after "ttyS9".
std::tuple<QString, int, QString> naturalKey(const QString &path)
{
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d+)$"));
    const auto match = trailingNumber.match(path);
    if (!match.hasMatch())
        return {path, -1, path};
    return {match.captured(1), match.captured(2).toInt(), path};
}

} // namespace

QString SerialDevice::label() const
{
    return description.isEmpty() ? path : QStringLiteral("%1 (%2)").arg(path, description);
}

QString SerialDevice::usbIds() const
{
    if (!vendorId || !productId)
        return {};
    return QStringLiteral("%1:%2")
        .arg(*vendorId, 4, 16, QLatin1Char('0'))
        .arg(*productId, 4, 16, QLatin1Char('0'));
}

bool SerialDevice::isSameDevice(const SerialDevice &other) const
{
    if (!usbAdapter || !other.usbAdapter)
        return !usbAdapter && !other.usbAdapter && path == other.path;
    if (vendorId != other.vendorId || productId != other.productId)
        return false;
    if (!serialNumber.isEmpty() || !other.serialNumber.isEmpty())
        return serialNumber == other.serialNumber;
    return !usbLocation.isEmpty() && usbLocation == other.usbLocation;
}

std::shared_ptr<const SerialDeviceList> SerialDeviceList::system()
{
    static const auto list = std::make_shared<const SystemSerialDevices>();
    return list;
}

QList<SerialDevice> inPortOrder(QList<SerialDevice> devices)
{
    // Adapters by what they are, so that ttyUSB numbers handed out in plugging order do not
    // matter; built-in ports by name.
    std::sort(devices.begin(), devices.end(), [](const SerialDevice &a, const SerialDevice &b) {
        if (a.usbAdapter != b.usbAdapter)
            return a.usbAdapter;
        if (a.usbAdapter)
            return std::tie(a.vendorId, a.productId, a.serialNumber, a.usbLocation, a.path) <
                   std::tie(b.vendorId, b.productId, b.serialNumber, b.usbLocation, b.path);
        return naturalKey(a.path) < naturalKey(b.path);
    });
    return devices;
}
