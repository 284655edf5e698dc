// What the line and the user throw at the real program: a device that vanishes and comes
// back, a flood of random bytes, devices that cannot be opened, rapid changes of port.
#include "devicelink.h"
#include "packetstream.h"
#include "testlink.h"
#include "xsession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <memory>

using namespace XSession;

namespace {

QByteArray sweepPacket(quint64 i)
{
    const auto v = std::uint8_t(i % 256);
    return packetBytes({v, v, v, v, v, v, v, v});
}

QByteArray stillPacket(quint64)
{
    return packetBytes({128, 128, 128, 128, 128, 128, 128, 128});
}

QByteArray cornerPacket(quint64)
{
    return packetBytes({11, 11, 11, 11, 0, 0, 11, 11});
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void aVanishedDeviceCostsNothingAndComesBack()
    {
        auto first = std::make_unique<PseudoTerminal>();
        DeviceLink device(first->devicePath());
        SimulatedGlove other("static");
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", device.path(), "--com2", other.path, "--verbose"}));
        QTRY_VERIFY(first->isDeviceOpen());
        {
            PacketStream stream(*first, sweepPacket, LinePacketPeriod);
            QTRY_VERIFY(vantrel.readingsChanging());
        }

        // Pulled out in the middle of a packet.
        first->write(byteList({245, 1, 2, 3}));
        first->closeMaster();
        device.unplug();
        QTest::qWait(300);
        const double cpuBefore = vantrel.cpuSeconds();
        QTest::qWait(2000);
        const double cpuGone = vantrel.cpuSeconds() - cpuBefore;
        qInfo("CPU time while the device was gone: %.2f s in 2 s", cpuGone);
        QVERIFY2(cpuGone <= 0.05, qPrintable(QString::number(cpuGone)));
        QVERIFY(vantrel.isRunning());
        QVERIFY(!vantrel.readingsChanging());

        // Plugged in again: the readings resume by themselves.
        PseudoTerminal second;
        device.pointTo(second.devicePath());
        PacketStream stream(second, sweepPacket, LinePacketPeriod);
        QTRY_VERIFY_WITH_TIMEOUT(second.isDeviceOpen(), 3000);
        QTRY_VERIFY(vantrel.readingsChanging());

        // --verbose told each change on stderr, one line each.
        const QString log = QString::fromLocal8Bit(vantrel.process.readAllStandardError());
        const QString port = QStringLiteral("vantrel.link: ComPort 1: ");
        for (const QString &line :
             {port + QStringLiteral("opened %1 at 19200,N,8,1").arg(device.path()),
              port + QStringLiteral("%1 vanished").arg(device.path()),
              port + QStringLiteral("waiting for %1").arg(device.path()),
              port + QStringLiteral("resumed on %1 at 19200,N,8,1").arg(device.path())})
            QVERIFY2(log.contains(line), qPrintable(log));
        QCOMPARE(log.count(QLatin1String("waiting for")), 1);
    }

    void aFloodOfNoiseLeavesItAnswering()
    {
        PseudoTerminal line;
        SimulatedGlove other("static");
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", line.devicePath(), "--com2", other.path}));
        QTRY_VERIFY(line.isDeviceOpen());
        QTest::qWait(300);
        const qint64 memoryBefore = vantrel.residentKiB();

        QRandomGenerator random(11);
        PacketStream flood(
            line,
            [&random](quint64) {
                QByteArray noise(4096, Qt::Uninitialized);
                random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
                return noise;
            },
            std::chrono::microseconds(0));
        // Memory may rise at first (buffers, caches, a sanitizer's quarantine), then stays.
        qint64 memoryPeak = memoryBefore;
        qint64 memoryHalfway = 0;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            QTest::qWait(500);
            memoryPeak = std::max(memoryPeak, vantrel.residentKiB());
            if (!memoryHalfway && timer.elapsed() >= 5000)
                memoryHalfway = memoryPeak;
            QVERIFY(vantrel.isRunning());
        }
        qInfo("flood: %llu KiB written in 10 s; memory %lld KiB before, %lld KiB after 5 s, "
              "%lld KiB at most",
              flood.sent() * 4, memoryBefore, memoryHalfway, memoryPeak);
        QVERIFY(memoryPeak - memoryHalfway < 4 * 1024);
        QVERIFY(memoryPeak - memoryBefore < 64 * 1024);

        // Still flooded, it answers a key press: Ctrl+X closes the port first, then ends.
        xdotool({"windowfocus", "--sync", QString::number(vantrel.window)});
        QElapsedTimer answer;
        answer.start();
        xdotool({"key", "ctrl+x"});
        while (line.isDeviceOpen() && answer.elapsed() < 5000)
            QThread::usleep(500);
        qInfo("answered Ctrl+X within %lld ms", answer.elapsed());
        QVERIFY(answer.elapsed() < 200);
        QVERIFY(vantrel.process.waitForFinished(5000));
        QCOMPARE(vantrel.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vantrel.process.exitCode(), 0);
    }

    void devicesThatCannotBeOpenedAreQuiet_data()
    {
        QTest::addColumn<QString>("device");
        QTest::newRow("not a terminal") << QStringLiteral("/dev/null");
        QTest::newRow("regular file") << QStringLiteral("regular");
        QTest::newRow("missing") << QStringLiteral("/dev/vantrel-missing");
        QTest::newRow("held by another program") << QStringLiteral("held");
    }
    void devicesThatCannotBeOpenedAreQuiet()
    {
        QFETCH(QString, device);
        QTemporaryFile regular;
        QVERIFY(regular.open());
        regular.write(packetBytes({1, 2, 3, 4, 5, 6, 7, 8}).repeated(10));
        regular.flush();
        PseudoTerminal held;
        QSerialPort holder(held.devicePath());
        if (device == QLatin1String("regular"))
            device = regular.fileName();
        if (device == QLatin1String("held")) {
            QVERIFY(holder.open(QIODevice::ReadOnly));
            device = held.devicePath();
        }

        SimulatedGlove other("wave");
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", device, "--com2", other.path}));
        QTest::qWait(1000);
        QVERIFY(vantrel.isRunning());
        QCOMPARE(vantrel.readoutInk(), 0); // no readings, and no message
        QVERIFY(!windowShown("Com Port Settings"));
        const QByteArray errors = vantrel.process.readAllStandardError();
        QVERIFY2(!errors.contains(QFile::encodeName(device)), errors.constData());

        // It goes on: the other port works.
        QVERIFY(vantrel.choosePort(2));
        QTRY_VERIFY(vantrel.readingsChanging());
    }

    void rapidPortChangesEndWithOnePortOpen()
    {
        PseudoTerminal com1;
        PseudoTerminal com2;
        PacketStream stream1(com1, cornerPacket, LinePacketPeriod);
        PacketStream stream2(com2, stillPacket, LinePacketPeriod);
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", com1.devicePath(), "--com2", com2.devicePath()}));
        QVERIFY(vantrel.choosePort(1));
        vantrel.chooseFromMenu(vantrel.layout.mnuOptions, vantrel.layout.mnuOptionsComPort);
        QVERIFY(waitForWindow("Com Port Settings"));

        QList<int> clicks;
        for (int i = 0; i < 15; ++i)
            clicks << 2 << 1;
        clicks << 2;
        vantrel.clickPortsRapidly(clicks);

        // The last choice is the one left open, and the readings come from it.
        QTRY_VERIFY(com2.isDeviceOpen());
        QTRY_VERIFY(!com1.isDeviceOpen());
        QTest::qWait(500);
        QVERIFY(com2.isDeviceOpen() && !com1.isDeviceOpen());
        QTRY_VERIFY(vantrel.showsStillHand());
        QVERIFY(vantrel.isRunning());
    }
};

int main(int argc, char *argv[])
{
    return XSession::run<TestFaults>(argc, argv);
}

#include "tst_faults.moc"
