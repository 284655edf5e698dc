// A chosen port whose device is missing or vanishes: it waits for that same device, costs
// nothing meanwhile, and resumes with the last settings when the device is back.
#include "devicelink.h"
#include "opengloveport.h"
#include "platformtest.h"
#include "scripteddevices.h"
#include "testlink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

constexpr int ResumeTimeout = 3000; // the device is looked for once a second

bool isOpenAndNotWaiting(const MSComm &comm)
{
    return comm.PortOpen() && !comm.isWaitingForDevice();
}

} // namespace

class TestDeviceWait : public QObject
{
    Q_OBJECT

private slots:
    void aNamedDeviceIsWaitedForAndResumes()
    {
        DeviceLink glove;
        PseudoTerminal other;
        TestLink link({glove.path(), other.devicePath()});

        // Not there at the open: the port stays chosen and waits.
        OpenGlovePort(link.comm, 1);
        QVERIFY(!link.comm.PortOpen());
        QVERIFY(link.comm.isWaitingForDevice());

        auto first = std::make_unique<PseudoTerminal>();
        glove.pointTo(first->devicePath());
        QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
        QVERIFY(first->isDeviceOpen());
        first->write(packetBytes({1, 2, 3, 4, 5, 6, 7, 8}));
        QTRY_COMPARE(link.samples.size(), 1u);

        // Pulled out: it waits again, at no cost, and opens nothing else meanwhile.
        first->closeMaster();
        glove.unplug();
        QTRY_VERIFY(!link.comm.PortOpen());
        QVERIFY(link.comm.isWaitingForDevice());
        const double cpuBefore = processCpuMs();
        QTest::qWait(1500);
        const double cpuUsed = processCpuMs() - cpuBefore;
        qInfo("CPU time while waiting: %.1f ms in 1500 ms", cpuUsed);
        QVERIFY2(cpuUsed < 100, qPrintable(QString::number(cpuUsed)));
        QVERIFY(!other.isDeviceOpen());

        // Plugged in again: the same settings, and the readings resume.
        PseudoTerminal second;
        glove.pointTo(second.devicePath());
        QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
        QCOMPARE(link.comm.Settings(), QStringLiteral("19200,N,8,1"));
        QCOMPARE(link.comm.RThreshold(), 9);
        second.write(packetBytes({9, 9, 9, 9, 9, 9, 9, 9}));
        QTRY_COMPARE(link.samples.size(), 2u);
        QCOMPARE(link.samples[1].Thumb, 9);
    }

    void anAdapterFoundByItselfIsTheOneWaitedFor()
    {
        auto list = std::make_shared<ScriptedDevices>();
        TestLink link{PortDevices(list)};

        // Nothing plugged in: port 1 opens the first adapter that comes.
        OpenGlovePort(link.comm, 1);
        QVERIFY(link.comm.isWaitingForDevice());
        auto first = std::make_unique<PseudoTerminal>();
        list->devices << usbAdapter(first->devicePath(), 0x0403, 0x6001, "A");
        QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
        QVERIFY(first->isDeviceOpen());

        // Unplugged; another adapter comes and is left alone.
        first->closeMaster();
        list->remove(first->devicePath());
        QTRY_VERIFY(link.comm.isWaitingForDevice());
        PseudoTerminal stranger;
        list->devices << usbAdapter(stranger.devicePath(), 0x0403, 0x6001, "B");
        QTest::qWait(2500);
        QVERIFY(!link.comm.PortOpen());
        QVERIFY(!stranger.isDeviceOpen());

        // The same adapter, under a new name, is taken up again.
        PseudoTerminal again;
        list->devices << usbAdapter(again.devicePath(), 0x0403, 0x6001, "A");
        QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
        QVERIFY(again.isDeviceOpen());
        QVERIFY(!stranger.isDeviceOpen());
        again.write(packetBytes({5, 5, 5, 5, 5, 5, 5, 5}));
        QTRY_COMPARE(link.samples.size(), 1u);
    }

    void aNamedDeviceIsThatPathEvenWhereItIsAnAdapter()
    {
        auto list = std::make_shared<ScriptedDevices>();
        DeviceLink glove;
        auto first = std::make_unique<PseudoTerminal>();
        glove.pointTo(first->devicePath());
        list->devices << usbAdapter(glove.path(), 0x0403, 0x6001, "A");
        TestLink link{PortDevices(glove.path(), QString(), list)};
        OpenGlovePort(link.comm, 1);
        QVERIFY(isOpenAndNotWaiting(link.comm));

        // The same adapter comes back under another name: the port waits for its path.
        first->closeMaster();
        glove.unplug();
        list->devices.clear();
        QTRY_VERIFY(link.comm.isWaitingForDevice());
        PseudoTerminal elsewhere;
        list->devices << usbAdapter(elsewhere.devicePath(), 0x0403, 0x6001, "A");
        QTest::qWait(2500);
        QVERIFY(!elsewhere.isDeviceOpen());
        glove.pointTo(elsewhere.devicePath());
        QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
        QVERIFY(elsewhere.isDeviceOpen());
    }

    void onlyAMissingDeviceIsWaitedFor()
    {
        QTemporaryDir dir;
        QTemporaryFile regular;
        QVERIFY(regular.open());
        const QString later = dir.filePath(QStringLiteral("later"));
        TestLink link({regular.fileName(), later});

        // There, but no terminal: closed, and not waited for.
        OpenGlovePort(link.comm, 1);
        QVERIFY(!link.comm.PortOpen());
        QVERIFY(!link.comm.isWaitingForDevice());

        // Missing, then a directory takes its place: the wait ends, the port stays closed.
        OpenGlovePort(link.comm, 2);
        QVERIFY(link.comm.isWaitingForDevice());
        QVERIFY(QDir().mkdir(later));
        QTRY_VERIFY_WITH_TIMEOUT(!link.comm.isWaitingForDevice(), ResumeTimeout);
        QVERIFY(!link.comm.PortOpen());
    }

    void closingOrChoosingAnotherPortEndsTheWait()
    {
        DeviceLink missing;
        PseudoTerminal other;
        TestLink link({missing.path(), other.devicePath()});
        OpenGlovePort(link.comm, 1);
        QVERIFY(link.comm.isWaitingForDevice());
        link.comm.setPortOpen(false); // the Exit sequence
        QVERIFY(!link.comm.isWaitingForDevice());

        OpenGlovePort(link.comm, 1);
        OpenGlovePort(link.comm, 2);
        QVERIFY(isOpenAndNotWaiting(link.comm));
        PseudoTerminal late;
        missing.pointTo(late.devicePath());
        QTest::qWait(1500);
        QVERIFY(!late.isDeviceOpen());
        QVERIFY(other.isDeviceOpen());
    }

    void rapidChoicesWhileOnePortWaitsEndWithOne()
    {
        // Each choice is made while the one before lets pending events run, nesting the
        // openings as quick clicks do.
        DeviceLink missing;
        PseudoTerminal present;
        TestLink link({missing.path(), present.devicePath()});
        for (int last : {1, 2}) {
            int choices = 0;
            std::function<void()> choose = [&] {
                const int port = (++choices % 2) + 1;
                if (choices < 20)
                    QTimer::singleShot(0, choose);
                OpenGlovePort(link.comm, qint16(choices == 20 ? last : port));
            };
            choose();
            QTRY_COMPARE(choices, 20);
            QTest::qWait(50);
            QCOMPARE(link.comm.CommPort(), last);
            // Exactly one of the two: open on the present device, or waiting for the missing.
            QCOMPARE(link.comm.PortOpen(), last == 2);
            QCOMPARE(link.comm.isWaitingForDevice(), last == 1);
            QCOMPARE(present.isDeviceOpen(), last == 2);
        }
    }

    void aFlappingDeviceLeavesNothingBehind()
    {
        DeviceLink glove;
        PseudoTerminal other;
        const int descriptorsBefore = openHandleCount();
        {
            TestLink link({glove.path(), other.devicePath()});
            OpenGlovePort(link.comm, 1);

            // Appears and vanishes every 50 to 200 ms for 10 s, and ends present.
            std::unique_ptr<PseudoTerminal> device;
            QRandomGenerator random(5);
            QElapsedTimer elapsed;
            elapsed.start();
            const double cpuBefore = processCpuMs();
            while (elapsed.elapsed() < 10000 || !device) {
                if (device) {
                    device.reset();
                    glove.unplug();
                } else {
                    device = std::make_unique<PseudoTerminal>();
                    glove.pointTo(device->devicePath());
                }
                QTest::qWait(50 + random.bounded(151));
            }
            const double cpuUsed = processCpuMs() - cpuBefore;
            qInfo("CPU time over 10 s of flapping: %.0f ms", cpuUsed);
            QVERIFY2(cpuUsed < 1500, qPrintable(QString::number(cpuUsed)));

            QTRY_VERIFY_WITH_TIMEOUT(isOpenAndNotWaiting(link.comm), ResumeTimeout);
            QVERIFY(device->isDeviceOpen());
            device->write(packetBytes({7, 7, 7, 7, 7, 7, 7, 7}));
            QTRY_VERIFY(!link.samples.empty());
            QCOMPARE(link.samples.back().Thumb, 7);
            link.comm.setPortOpen(false);
        }
        QCOMPARE(openHandleCount(), descriptorsBefore);
    }
};

QTEST_GUILESS_MAIN(TestDeviceWait)
#include "tst_devicewait.moc"
