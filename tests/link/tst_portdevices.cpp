// Which device each port number stands for, and how an unplugged device is known again.
#include "portdevices.h"
#include "scripteddevices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QStringList pathsOf(const QList<SerialDevice> &devices)
{
    QStringList paths;
    for (const SerialDevice &device : devices)
        paths << device.path;
    return paths;
}

} // namespace

class TestPortDevices : public QObject
{
    Q_OBJECT

    std::shared_ptr<ScriptedDevices> list;
    PortDevices found() const { return PortDevices(list); }

private slots:
    void init() { list = std::make_shared<ScriptedDevices>(); }

    void countsAdaptersFirstWhateverThePluggingOrder()
    {
        QList<SerialDevice> devices = {
            builtInPort("/dev/ttyS10"),
            usbAdapter("/dev/ttyUSB0", 0x2341, 0x0043, "B"),
            builtInPort("/dev/ttyS9"),
            usbAdapter("/dev/ttyUSB1", 0x0403, 0x6001, "A"),
            usbAdapter("/dev/ttyACM0", 0x0403, 0x6001, "C"),
        };
        const QStringList expected = {"/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyS9",
                                      "/dev/ttyS10"};
        std::sort(devices.begin(), devices.end(),
                  [](const SerialDevice &a, const SerialDevice &b) { return a.path < b.path; });
        do {
            QCOMPARE(pathsOf(inPortOrder(devices)), expected);
        } while (std::next_permutation(
            devices.begin(), devices.end(),
            [](const SerialDevice &a, const SerialDevice &b) { return a.path < b.path; }));

        // The same adapters under each other's ttyUSB numbers keep their port numbers.
        list->devices = {usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "A"),
                         usbAdapter("/dev/ttyUSB1", 0x0403, 0x6001, "B")};
        QCOMPARE(found().target(1).device.serialNumber, QStringLiteral("A"));
        list->devices = {usbAdapter("/dev/ttyUSB1", 0x0403, 0x6001, "A"),
                         usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "B")};
        QCOMPARE(found().target(1).device.serialNumber, QStringLiteral("A"));
    }

    void portsStandForTheFirstAndSecondDevicePresent()
    {
        list->devices = {builtInPort("/dev/ttyS0"),
                         usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "A")};
        QCOMPARE(found().target(1).kind, PortTarget::Adapter);
        QCOMPARE(found().target(1).device.path, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(found().target(2).kind, PortTarget::Path);
        QCOMPARE(found().target(2).device.path, QStringLiteral("/dev/ttyS0"));
        QCOMPARE(found().describe(1), QStringLiteral("/dev/ttyUSB0 (USB UART)"));

        // One device: the second port waits for the next one plugged in, and takes nothing
        // that was already there.
        list->devices = {usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "A")};
        const PortTarget next = found().target(2);
        QCOMPARE(next.kind, PortTarget::NextPlugged);
        QVERIFY(!found().locate(next));
        QVERIFY(found().describe(2).contains(QLatin1String("waits for the next serial adapter")));
        list->devices.prepend(usbAdapter("/dev/ttyUSB1", 0x0403, 0x6001, "0"));
        QCOMPARE(found().locate(next)->path, QStringLiteral("/dev/ttyUSB1"));

        // A device named outright is that path, listed or not, and keeps the name it was given.
        PortDevices named(QStringLiteral("/dev/serial/by-id/usb-glove"), QString(), list);
        QCOMPARE(named.target(1).kind, PortTarget::Path);
        QCOMPARE(named.target(1).device.path, QStringLiteral("/dev/serial/by-id/usb-glove"));
        QCOMPARE(named.target(2).device.serialNumber, QStringLiteral("A"));
        QVERIFY(named.describe(1).endsWith(QLatin1String("not there now, waits for it")));
    }

    void knowsAnUnpluggedAdapterAgain_data()
    {
        QTest::addColumn<SerialDevice>("was");
        QTest::addColumn<QList<SerialDevice>>("now");
        QTest::addColumn<QString>("found");

        const auto a = usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "A", "1-2");
        const auto noSerial = usbAdapter("/dev/ttyUSB0", 0x1a86, 0x7523, "", "1-2");
        QTest::newRow("same serial, other path and port")
            << a << QList{usbAdapter("/dev/ttyUSB3", 0x0403, 0x6001, "A", "1-4")} << "/dev/ttyUSB3";
        QTest::newRow("other serial, same port")
            << a << QList{usbAdapter("/dev/ttyUSB0", 0x0403, 0x6001, "B", "1-2")} << "";
        QTest::newRow("no serial, same USB port")
            << noSerial
            << QList{usbAdapter("/dev/ttyUSB1", 0x0403, 0x6001, "X", "1-3"),
                     usbAdapter("/dev/ttyUSB0", 0x1a86, 0x7523, "", "1-2")}
            << "/dev/ttyUSB0";
        QTest::newRow("no serial, other port, the only adapter")
            << noSerial << QList{usbAdapter("/dev/ttyUSB2", 0x1a86, 0x7523, "", "1-5")}
            << "/dev/ttyUSB2";
        QTest::newRow("no serial, other port, not the only adapter")
            << noSerial
            << QList{usbAdapter("/dev/ttyUSB2", 0x1a86, 0x7523, "", "1-5"),
                     usbAdapter("/dev/ttyUSB3", 0x0403, 0x6001, "A", "1-6")}
            << "";
        QTest::newRow("the only adapter, of another make")
            << noSerial << QList{usbAdapter("/dev/ttyUSB2", 0x0403, 0x6001, "", "1-5")} << "";
        QTest::newRow("a built-in port is no adapter")
            << noSerial << QList{builtInPort("/dev/ttyUSB0")} << "";
    }
    void knowsAnUnpluggedAdapterAgain()
    {
        QFETCH(SerialDevice, was);
        QFETCH(QList<SerialDevice>, now);
        QFETCH(QString, found);
        list->devices = now;
        const auto located = this->found().locate(PortDevices::boundTo(was));
        QCOMPARE(located ? located->path : QString(), found);
    }

    void readsTheUsbPortFromTheSysfsPath_data()
    {
        QTest::addColumn<QString>("sysfs");
        QTest::addColumn<QString>("port");
        const QString pci = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0");
        QTest::newRow("adapter") << pci + "/usb1/1-2/1-2:1.0/ttyUSB0"
                                 << "1-2";
        QTest::newRow("behind a hub") << pci + "/usb3/3-1/3-1.4/3-1.4:1.0/ttyUSB1"
                                      << "3-1.4";
        QTest::newRow("modem interface") << pci + "/usb1/1-10/1-10:1.2"
                                         << "1-10";
        QTest::newRow("built-in") << "/sys/devices/platform/serial8250"
                                  << "";
        QTest::newRow("plug and play") << "/sys/devices/pnp0/00:01"
                                       << "";
        QTest::newRow("i2c, not usb") << "/sys/devices/platform/i2c-1/1-0050"
                                      << "";
        QTest::newRow("none") << ""
                              << "";
    }

    void readsTheUsbPortFromTheSysfsPath()
    {
        QFETCH(QString, sysfs);
        QFETCH(QString, port);
        QCOMPARE(usbLocationInSysfsPath(sysfs), port);
    }

    void aPathIsThereWhileItLeadsToSomething()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("device");
        const QString link = dir.filePath("link");
        PortDevices named(link, device, list);
        QVERIFY(!named.locate(named.target(2)));
        QFile(device).open(QIODevice::WriteOnly);
        QVERIFY(named.locate(named.target(2)));

        if (QSysInfo::kernelType() == QLatin1String("winnt"))
            QSKIP("Windows names a serial device by its COM port, not by a link to it");
        QVERIFY(QFile::link(device, link));
        QCOMPARE(named.locate(named.target(1))->path, link);
        QFile::remove(device); // the link dangles: nothing there
        QVERIFY(!named.locate(named.target(1)));
    }
};

QTEST_GUILESS_MAIN(TestPortDevices)
#include "tst_portdevices.moc"
