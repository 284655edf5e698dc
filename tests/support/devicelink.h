#ifndef DEVICELINK_H
#define DEVICELINK_H

#include <QString>
#include <QTemporaryDir>

// A device path that a udev rule might give: a link to whichever line is there now, or to
// nothing while the device is unplugged. Under Wine, a COM port of its own that the line
// host links the same way.
class DeviceLink
{
public:
    DeviceLink();
    explicit DeviceLink(const QString &target) : DeviceLink() { pointTo(target); }
    ~DeviceLink();
    QString path() const { return m_path; }
    void pointTo(const QString &target);
    void unplug();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

#endif // DEVICELINK_H
