#ifndef PORTDEVICES_H
#define PORTDEVICES_H

#include "serialdevices.h"

#include <QString>
#include <memory>
#include <optional>

// The device a chosen port stands for, and how to know it again once it has been unplugged.
struct PortTarget
{
    enum Kind {
        Path,        // a path named outright, or a built-in port: the same path
        Adapter,     // a USB adapter found by itself: the same adapter, wherever it appears
        NextPlugged, // nothing was there: the first device that was not there then
    };

    Kind kind = Path;
    SerialDevice device;            // Path, Adapter: the device as last seen
    QList<SerialDevice> passedOver; // NextPlugged: the devices present when the port was chosen

    // What the port waits for, for a person: "/dev/ttyUSB0 (FT232R USB UART)".
    QString label() const;
};

// Which device each port number stands for. The one place that decides it: a device named
// outright (on the command line), or else the first or second serial port present, USB
// adapters first, on Linux and on Windows alike.
class PortDevices
{
public:
    // Both ports found among the devices the list shows.
    explicit PortDevices(std::shared_ptr<const SerialDeviceList> list = SerialDeviceList::system());
    // An empty name leaves that port to be found.
    PortDevices(const QString &com1, const QString &com2,
                std::shared_ptr<const SerialDeviceList> list = SerialDeviceList::system());

    static bool isPort(int port) { return port == 1 || port == 2; }

    // The device named for the port, or empty where it is found.
    QString named(int port) const;

    // The devices present, in the order the port numbers count them.
    QList<SerialDevice> present() const { return inPortOrder(m_list->present()); }

    // What the port stands for now.
    PortTarget target(int port) const;
    // Where the target's device is now, or nothing while it is missing. Never another device.
    std::optional<SerialDevice> locate(const PortTarget &target) const;
    // What the port stands for now, for a person: the device, or what it waits for.
    QString describe(int port) const;
    // The same for a target: present, or missing and waited for.
    QString describe(const PortTarget &target) const;

    // A target that is there, bound to the device it found, so that an unplug waits for it.
    static PortTarget boundTo(const SerialDevice &device);

private:
    // The same, among devices listed once by the caller.
    PortTarget targetAmong(int port, const QList<SerialDevice> &devices) const;
    static std::optional<SerialDevice> locateAmong(const PortTarget &target,
                                                   const QList<SerialDevice> &devices);
    static QString describeAmong(const PortTarget &target, const QList<SerialDevice> &devices);

    std::shared_ptr<const SerialDeviceList> m_list;
    QString m_com1;
    QString m_com2;
};

#endif // PORTDEVICES_H
