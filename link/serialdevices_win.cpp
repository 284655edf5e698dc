#include "serialdevices.h"

#include <QFileInfo>
#include <algorithm>
#include <windows.h>
// After windows.h:
#include <cfgmgr32.h>
#include <devguid.h>
#include <setupapi.h>

// The serial ports of a Windows machine: the Ports class of the device manager (SetupAPI),
// which knows a USB adapter's vendor, product, serial number and socket, then whatever else
// the system's list of serial ports (HARDWARE\DEVICEMAP\SERIALCOMM) names, as built-in ports.

namespace {

QString registryText(HKEY key, const wchar_t *name)
{
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(buffer, int(size / sizeof(wchar_t))).section(QChar(0), 0, 0);
}

QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA &info, DWORD property)
{
    wchar_t buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type,
                                           reinterpret_cast<BYTE *>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr))
        return {};
    return QString::fromWCharArray(buffer);
}

QString instanceId(DEVINST instance)
{
    wchar_t buffer[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDW(instance, buffer, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
        return {};
    return QString::fromWCharArray(buffer);
}

QString locationOf(DEVINST instance)
{
    wchar_t buffer[256] = {};
    ULONG size = sizeof buffer - sizeof(wchar_t);
    if (CM_Get_DevNode_Registry_PropertyW(instance, CM_DRP_LOCATION_INFORMATION, nullptr, buffer,
                                          &size, 0) != CR_SUCCESS)
        return {};
    return QString::fromWCharArray(buffer);
}

// A hexadecimal number after "VID_" or "PID_" in a device's instance id.
std::optional<quint16> idAfter(const QString &id, QLatin1String tag)
{
    const qsizetype at = id.indexOf(tag, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const quint16 value = QStringView(id).mid(at + tag.size(), 4).toUShort(&ok, 16);
    return ok ? std::optional(value) : std::nullopt;
}

// A USB device's serial number is the last part of its instance id
// ("USB\VID_2341&PID_0043\75330303035351E0F1A1"); Windows makes one up, with '&' in it, for
// a device that has none. FTDI's driver puts it in the middle part
// ("FTDIBUS\VID_0403+PID_6001+A600XYZA\0000"), followed by a letter for the interface.
QString serialNumberIn(const QString &id)
{
    const QStringList parts = id.split(QLatin1Char('\\'));
    if (parts.size() < 3)
        return {};
    if (parts.at(1).count(QLatin1Char('+')) >= 2) {
        const QString serial = parts.at(1).section(QLatin1Char('+'), 2, 2);
        return serial.size() > 1 ? serial.chopped(1) : serial;
    }
    const QString &last = parts.at(2);
    return last.contains(QLatin1Char('&')) ? QString() : last;
}

// The instance id that carries the USB facts: the port's own, or its parent's where the port
// hangs below a USB device (a composite adapter, say).
QString usbInstanceId(DEVINST instance, DEVINST *usbInstance)
{
    *usbInstance = instance;
    QString id = instanceId(instance);
    DEVINST parent = 0;
    if (!idAfter(id, QLatin1String("VID_")) && CM_Get_Parent(&parent, instance, 0) == CR_SUCCESS) {
        const QString parentId = instanceId(parent);
        if (idAfter(parentId, QLatin1String("VID_"))) {
            *usbInstance = parent;
            id = parentId;
        }
    }
    return id;
}

QList<SerialDevice> deviceManagerPorts()
{
    QList<SerialDevice> devices;
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const QString portName = registryText(key, L"PortName");
        RegCloseKey(key);
        if (!portName.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue; // a printer port

        SerialDevice device;
        device.path = portName;
        // "USB Serial Port (COM3)" says the port's name twice.
        device.description = deviceProperty(set, info, SPDRP_FRIENDLYNAME);
        device.description.remove(QStringLiteral(" (%1)").arg(portName));
        device.manufacturer = deviceProperty(set, info, SPDRP_MFG);
        DEVINST usbInstance = 0;
        const QString id = usbInstanceId(info.DevInst, &usbInstance);
        device.vendorId = idAfter(id, QLatin1String("VID_"));
        device.productId = idAfter(id, QLatin1String("PID_"));
        device.usbAdapter = device.vendorId.has_value();
        if (device.usbAdapter) {
            device.serialNumber = serialNumberIn(id);
            device.usbLocation = locationOf(usbInstance);
        }
        devices << device;
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

QStringList systemListedPorts()
{
    QStringList ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameSize = 255;
        wchar_t data[256] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE *>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS && type == REG_SZ)
            ports << QString::fromWCharArray(data);
    }
    RegCloseKey(key);
    return ports;
}

} // namespace

QList<SerialDevice> systemSerialDevices()
{
    QList<SerialDevice> devices = deviceManagerPorts();
    for (const QString &port : systemListedPorts()) {
        const bool known = std::any_of(devices.begin(), devices.end(), [&](const SerialDevice &d) {
            return d.path.compare(port, Qt::CaseInsensitive) == 0;
        });
        if (!known) {
            SerialDevice device;
            device.path = port;
            devices << device;
        }
    }
    return devices;
}

bool serialDeviceExists(const QString &path)
{
    const QString port = comPortName(path);
    if (port.isEmpty())
        return QFileInfo::exists(path);
    wchar_t target[512];
    return QueryDosDeviceW(reinterpret_cast<const wchar_t *>(port.utf16()), target, 512) != 0;
}
