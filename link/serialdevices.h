#ifndef SERIALDEVICES_H
#define SERIALDEVICES_H

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// One serial device present on the machine, as the system describes it.
struct SerialDevice
{
    QString path;        // what is opened: /dev/ttyUSB0, COM3
    QString description; // "FT232R USB UART"
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;
    QString usbLocation; // the USB port it hangs on, such as "1-2.4"; empty off USB
    QString stableLink;  // a link that names it across plugging, under /dev/serial/by-id
    bool usbAdapter = false;

    // "/dev/ttyUSB0 (FT232R USB UART)", or the path alone.
    QString label() const;
    // "0403:6001", or empty.
    QString usbIds() const;
    // Whether this is the very adapter the other one was: the same USB vendor and product and
    // serial number, or, where it has no serial number, the same USB port. Other devices are
    // known by their path.
    bool isSameDevice(const SerialDevice &other) const;
};

// Lists the serial devices present. The system's list in the program; a script in tests.
class SerialDeviceList
{
public:
    virtual ~SerialDeviceList() = default;
    virtual QList<SerialDevice> present() const = 0;

    // The machine's own serial ports, as the system lists them.
    static std::shared_ptr<const SerialDeviceList> system();
};

// The serial devices the system lists now, in its own order (serialdevices_unix.cpp,
// serialdevices_win.cpp).
QList<SerialDevice> systemSerialDevices();

// Whether a device path names something there now: a file that exists (a dangling link does
// not), or on Windows a COM port the system knows.
bool serialDeviceExists(const QString &path);

// The devices in the order the port numbers count them: USB adapters first, then built-in
// ports. The order depends only on the devices, not on the order they were plugged in.
QList<SerialDevice> inPortOrder(QList<SerialDevice> devices);

// The USB port a device hangs on ("1-2.4"), read from its canonical sysfs path; empty for a
// device off USB.
QString usbLocationInSysfsPath(const QString &sysfsPath);

// A Windows COM port's name ("COM3") in a path: "COM3", "com3" or "\\.\COM3"; empty for
// any other path.
QString comPortName(const QString &path);

#endif // SERIALDEVICES_H
