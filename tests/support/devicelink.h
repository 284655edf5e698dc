#ifndef DEVICELINK_H
#define DEVICELINK_H

#include <QFile>
#include <QTemporaryDir>

// A device path that a udev rule might give: a link to whichever line is there now, or to
// nothing while the device is unplugged.
class DeviceLink
{
public:
    DeviceLink() = default;
    explicit DeviceLink(const QString &target) { pointTo(target); }
    QString path() const { return m_dir.filePath(QStringLiteral("glove")); }
    void pointTo(const QString &target)
    {
        unplug();
        QFile::link(target, path());
    }
    void unplug() { QFile::remove(path()); }

private:
    QTemporaryDir m_dir;
};

#endif // DEVICELINK_H
