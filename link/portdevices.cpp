#include "portdevices.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace {

SerialDevice listedOrBare(const QList<SerialDevice> &devices, const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (SerialDevice device : devices) {
        if (device.path == path || (!canonical.isEmpty() && device.path == canonical)) {
            device.path = path; // keep the name the user gave, a by-id link say
            return device;
        }
    }
    SerialDevice bare;
    bare.path = path;
    return bare;
}

} // namespace

QString PortTarget::label() const
{
    if (kind == NextPlugged)
        return QStringLiteral("the next serial adapter plugged in");
    return device.label();
}

PortDevices::PortDevices(std::shared_ptr<const SerialDeviceList> list) : m_list(std::move(list)) {}

PortDevices::PortDevices(const QString &com1, const QString &com2,
                         std::shared_ptr<const SerialDeviceList> list)
    : m_list(std::move(list)), m_com1(com1), m_com2(com2)
{}

QString PortDevices::named(int port) const
{
    return port == 1 ? m_com1 : port == 2 ? m_com2 : QString();
}

PortTarget PortDevices::target(int port) const
{
    return targetAmong(port, present());
}

PortTarget PortDevices::targetAmong(int port, const QList<SerialDevice> &devices) const
{
    PortTarget target;
    if (const QString name = named(port); !name.isEmpty()) {
        target.device = listedOrBare(devices, name);
        return target;
    }
    if (port >= 1 && port <= devices.size())
        return boundTo(devices.at(port - 1));
    target.kind = PortTarget::NextPlugged;
    target.passedOver = devices;
    return target;
}

std::optional<SerialDevice> PortDevices::locate(const PortTarget &target) const
{
    // A path needs no listing of the devices.
    return locateAmong(target, target.kind == PortTarget::Path ? QList<SerialDevice>() : present());
}

std::optional<SerialDevice> PortDevices::locateAmong(const PortTarget &target,
                                                     const QList<SerialDevice> &devices)
{
    if (target.kind == PortTarget::Path) {
        // A link whose device is gone does not count as there.
        if (!serialDeviceExists(target.device.path))
            return std::nullopt;
        return target.device;
    }

    const auto is = [](const SerialDevice &device) {
        return [&device](const SerialDevice &other) { return device.isSameDevice(other); };
    };
    if (target.kind == PortTarget::NextPlugged) {
        for (const SerialDevice &device : devices)
            if (std::none_of(target.passedOver.begin(), target.passedOver.end(), is(device)))
                return device;
        return std::nullopt;
    }

    const auto same = std::find_if(devices.begin(), devices.end(), is(target.device));
    if (same != devices.end())
        return *same;
    // An adapter with no serial number, plugged into another USB port: it is the one only if
    // it is the only adapter there, and of the same make.
    if (!target.device.serialNumber.isEmpty())
        return std::nullopt;
    const auto adapters = std::count_if(devices.begin(), devices.end(),
                                        [](const SerialDevice &d) { return d.usbAdapter; });
    const auto first = std::find_if(devices.begin(), devices.end(),
                                    [](const SerialDevice &d) { return d.usbAdapter; });
    if (adapters == 1 && first->vendorId == target.device.vendorId &&
        first->productId == target.device.productId && first->serialNumber.isEmpty())
        return *first;
    return std::nullopt;
}

QString PortDevices::describe(int port) const
{
    const QList<SerialDevice> devices = present();
    return describeAmong(targetAmong(port, devices), devices);
}

QString PortDevices::describe(const PortTarget &target) const
{
    // Only an adapter is looked for among the devices listed.
    return describeAmong(target,
                         target.kind == PortTarget::Adapter ? present() : QList<SerialDevice>());
}

QString PortDevices::describeAmong(const PortTarget &target, const QList<SerialDevice> &devices)
{
    if (target.kind == PortTarget::NextPlugged)
        return QStringLiteral("no device yet: waits for the next serial adapter plugged in");
    if (const auto device = locateAmong(target, devices))
        return device->label();
    return QStringLiteral("%1: not there now, waits for it").arg(target.label());
}

PortTarget PortDevices::boundTo(const SerialDevice &device)
{
    PortTarget target;
    target.kind = device.usbAdapter ? PortTarget::Adapter : PortTarget::Path;
    target.device = device;
    return target;
}
