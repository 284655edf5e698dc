#include "serialdevices.h"

#include <algorithm>
#include <tuple>

namespace {

// Whether the text has characters and each passes the test.
template <typename Test> bool consistsOf(QStringView text, Test test)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), test);
}

class SystemSerialDevices : public SerialDeviceList
{
public:
    QList<SerialDevice> present() const override { return systemSerialDevices(); }
};

// "ttyS10" sorts after "ttyS9".
std::tuple<QString, int, QString> naturalKey(const QString &path)
{
    qsizetype digitsFrom = path.size();
    while (digitsFrom > 0 && path.at(digitsFrom - 1).isDigit())
        --digitsFrom;
    if (digitsFrom == path.size())
        return {path, -1, path};
    return {path.left(digitsFrom), QStringView(path).mid(digitsFrom).toInt(), path};
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

QString usbLocationInSysfsPath(const QString &sysfsPath)
{
    // Parts of the path such as "1-2" or "1-2.4" are USB ports, the last the innermost hub
    // port; an interface appends ":1.0". Plain string work: a regular expression would load
    // and compile a matcher for this alone.
    QString location;
    const QStringList parts = sysfsPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const qsizetype colon = part.indexOf(QLatin1Char(':'));
        if (colon < 0 && i == parts.size() - 1)
            continue; // the device's own name
        const QStringView port = QStringView(part).left(colon < 0 ? part.size() : colon);
        const qsizetype dash = port.indexOf(QLatin1Char('-'));
        if (dash < 0 || !consistsOf(port.left(dash), [](QChar c) { return c.isDigit(); }))
            continue;
        if (consistsOf(port.mid(dash + 1),
                       [](QChar c) { return c.isDigit() || c == QLatin1Char('.'); }))
            location = port.toString();
    }
    return location;
}

QString comPortName(const QString &path)
{
    const QString name = path.startsWith(QLatin1String("\\\\.\\")) ? path.mid(4) : path;
    const bool comPort = name.size() > 3 &&
                         name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) &&
                         consistsOf(QStringView(name).mid(3), [](QChar c) { return c.isDigit(); });
    return comPort ? name : QString();
}
