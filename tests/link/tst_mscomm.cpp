// The serial control and the packet reader over real pseudo-terminals.
#include "opengloveport.h"
#include "platformtest.h"
#include "testlink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QTest>
#include <chrono>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Writes to the line from another thread after a delay, while the test's thread is blocked
// inside a receive event.
class DelayedWriter
{
public:
    DelayedWriter(PseudoTerminal &pty, QByteArray bytes, std::chrono::milliseconds delay)
        : m_thread([&pty, bytes, delay] {
              std::this_thread::sleep_for(delay);
              pty.write(bytes);
          })
    {}
    ~DelayedWriter() { m_thread.join(); }

private:
    std::thread m_thread;
};

// Keeps a handler connected while the test function runs: a failed check returns early, and no
// later event may then reach the function's locals.
auto whileHere(QMetaObject::Connection connection)
{
    return qScopeGuard([connection] { QObject::disconnect(connection); });
}

GloveSample numberedSample(int i, QRandomGenerator &random)
{
    GloveSample sample;
    for (const auto field : GlovePacket::Fields)
        sample.*field = std::uint8_t(random.bounded(256));
    sample.Thumb = std::uint8_t(i & 0xFF);
    sample.Index = std::uint8_t(i >> 8);
    return sample;
}

} // namespace

class TestMSComm : public QObject
{
    Q_OBJECT

    std::unique_ptr<PseudoTerminal> com1;
    std::unique_ptr<PseudoTerminal> com2;
    std::unique_ptr<TestLink> link;

    PortDevices devices() const { return {com1->devicePath(), com2->devicePath()}; }

private slots:
    void init()
    {
        com1 = std::make_unique<PseudoTerminal>();
        com2 = std::make_unique<PseudoTerminal>();
        QVERIFY(com1->isValid() && com2->isValid());
        link = std::make_unique<TestLink>(devices());
    }
    void cleanup()
    {
        link.reset();
        com1.reset();
        com2.reset();
    }

    void opensWithItsSettingsAndCloses()
    {
        MSComm &comm = link->comm;
        QVERIFY(!comm.PortOpen());
        QCOMPARE(comm.setSettings("19200,N,8,1"), commSucceeded);
        QCOMPARE(comm.setPortOpen(true), commSucceeded);
        QVERIFY(comm.PortOpen());
        QVERIFY(com1->isDeviceOpen());

        PseudoTerminal::LineState line = com1->lineState();
        QCOMPARE(line.baudRate, 19200);
        QCOMPARE(line.dataBits, 8);
        QVERIFY(!line.parity && !line.twoStopBits);

        // Settings given while open reach the line at once.
        QCOMPARE(comm.setSettings("9600,N,8,2"), commSucceeded);
        line = com1->lineState();
        QCOMPARE(line.baudRate, 9600);
        QVERIFY(line.twoStopBits);

        // A pseudo-terminal refuses parity and short characters: the failure is reported and
        // the line and the Settings stay as they were.
        QCOMPARE(comm.setSettings("19200,E,7,1"), comSetCommStateFailed);
        QCOMPARE(comm.Settings(), QStringLiteral("9600,N,8,2"));
        line = com1->lineState();
        QCOMPARE(line.baudRate, 9600);
        QVERIFY(line.twoStopBits);

        QCOMPARE(comm.setPortOpen(true), comPortAlreadyOpen);
        QVERIFY(comm.PortOpen());

        QCOMPARE(comm.setPortOpen(false), commSucceeded);
        QVERIFY(!comm.PortOpen());
        QTRY_VERIFY(!com1->isDeviceOpen());
        QCOMPARE(comm.setPortOpen(false), commSucceeded); // closing a closed port is no failure
    }

    void refusesValuesOutsideTheirRange()
    {
        MSComm &comm = link->comm;
        QCOMPARE(comm.setCommPort(0), comPortInvalid);
        QCOMPARE(comm.setCommPort(3), comPortInvalid);
        QCOMPARE(comm.CommPort(), 1);
        QCOMPARE(comm.setCommPort(2), commSucceeded);

        for (const char *bad : {"", "19200", "19200,N,8", "19200,N,8,1,1", "fast,N,8,1", "0,N,8,1",
                                "-9600,N,8,1", "19200,X,8,1", "19200,NN,8,1", "19200,N,4,1",
                                "19200,N,9,1", "19200,N,8,3", "19200,N,8,0"}) {
            QCOMPARE(comm.setSettings(bad), comInvalidPropertyValue);
            QCOMPARE(comm.Settings(), QStringLiteral("9600,N,8,1"));
        }
        QCOMPARE(comm.setInputLen(-1), comInvalidPropertyValue);
        QCOMPARE(comm.setInputMode(2), comInvalidPropertyValue);
        QCOMPARE(comm.setRThreshold(-1), comInvalidPropertyValue);
    }

    void parsesEveryFieldOfTheSettings()
    {
        const auto s = LineSettings::parse("115200,o,5,1.5");
        QVERIFY(s);
        QCOMPARE(s->baudRate, 115200);
        QCOMPARE(s->parity, LineSettings::OddParity);
        QCOMPARE(s->dataBits, 5);
        QCOMPARE(s->stopBits, LineSettings::OneAndHalfStop);
        QCOMPARE(LineSettings::parse("300,M,6,2")->parity, LineSettings::MarkParity);
        QCOMPARE(LineSettings::parse("300,S,6,2")->stopBits, LineSettings::TwoStop);
        QCOMPARE(LineSettings::parse("300,S,6,2")->dataBits, 6);
    }

    void staysClosedWhereNoPortCanBeOpened()
    {
        QTemporaryFile regular;
        QVERIFY(regular.open());
        const QString missing = QStringLiteral("/dev/vantrel-no-such-device");
        for (const QString &device : {missing, QStringLiteral("/dev/null"), regular.fileName()}) {
            link->comm.setPortDevices({device, device});
            const int failure = link->comm.setPortOpen(true);
            QVERIFY2(failure != commSucceeded && failure != comPortAlreadyOpen, qPrintable(device));
            QVERIFY(!link->comm.PortOpen());
        }

        // A device another program holds. Windows gives a COM port to one program at a time;
        // Wine does not.
        if (underWine())
            return;
        link->comm.setPortDevices(devices());
        QCOMPARE(link->comm.setPortOpen(true), commSucceeded);
        TestLink other(devices());
        const int failure = other.comm.setPortOpen(true);
        QVERIFY(failure != commSucceeded && failure != comPortAlreadyOpen);
        QVERIFY(!other.comm.PortOpen());
        QVERIFY(link->comm.PortOpen());
    }

    void raisesReceiveOnceAPacketWaits()
    {
        OpenGlovePort(link->comm, 1);
        QVERIFY(link->comm.PortOpen());
        com1->write(byteList({245, 1, 2, 3, 4, 5, 6, 7}));
        QTRY_COMPARE(link->comm.InBufferCount(), 8);
        QCOMPARE(link->events, 0);

        com1->write(byteList({8}));
        QTRY_COMPARE(link->samples.size(), 1u);
        QCOMPARE(link->comm.CommEvent(), int(comEvReceive));
        QCOMPARE(link->samples[0], (GloveSample{1, 2, 3, 4, 5, 6, 7, 8}));
    }

    void readsPacketsSplitAtAnyBoundary()
    {
        OpenGlovePort(link->comm, 1);
        QRandomGenerator random(7);
        QByteArray stream;
        std::vector<GloveSample> sent;
        for (int i = 0; i < 40; ++i) {
            sent.push_back(numberedSample(i, random));
            stream += packetBytes(sent.back());
        }
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype chunk = std::min<qsizetype>(1 + random.bounded(13), stream.size() - at);
            com1->write(stream.mid(at, chunk));
            at += chunk;
            QTest::qWait(2);
        }
        QTRY_COMPARE(link->samples.size(), sent.size());
        QVERIFY(link->samples == sent);
    }

    void catchesUpWithABacklog()
    {
        // Several packets in one arrival each get a receive event of their own.
        OpenGlovePort(link->comm, 1);
        QByteArray burst;
        for (int i = 0; i < 5; ++i)
            burst += packetBytes(GloveSample{std::uint8_t(i), 0, 0, 0, 0, 0, 0, 0});
        com1->write(burst + byteList({245, 9}));
        QTRY_COMPARE(link->samples.size(), 5u);
        QCOMPARE(link->samples[4].Thumb, 4);
        QTest::qWait(50);
        QCOMPARE(link->samples.size(), 5u);
        QCOMPARE(link->comm.InBufferCount(), 2);
    }

    void handlesBytesThatCameDuringAHandler()
    {
        OpenGlovePort(link->comm, 1);
        bool wrote = false;
        QObject::disconnect(&link->comm, &MSComm::OnComm, nullptr, nullptr);
        const auto connected = whileHere(QObject::connect(&link->comm, &MSComm::OnComm, [&] {
            link->reader.MSComm_OnComm();
            if (!std::exchange(wrote, true)) {
                com1->write(packetBytes({11, 0, 0, 0, 0, 0, 0, 0}) +
                            packetBytes({12, 0, 0, 0, 0, 0, 0, 0}));
                std::this_thread::sleep_for(20ms);
                QCoreApplication::processEvents(); // as the presentation does
            }
        }));
        com1->write(packetBytes({10, 0, 0, 0, 0, 0, 0, 0}));
        QTRY_COMPARE(link->samples.size(), 3u);
        QCOMPARE(link->samples[2].Thumb, 12);
    }

    void letsAHandlerCloseOrReopenThePort()
    {
        // The receive event comes straight from the port's notice of new bytes. A handler that
        // closes the port, or closes it and opens it again (letting events run as it does),
        // leaves a control that works on.
        OpenGlovePort(link->comm, 1);
        QObject::disconnect(&link->comm, &MSComm::OnComm, nullptr, nullptr);
        QObject::connect(&link->comm, &MSComm::OnComm, [&] {
            link->reader.MSComm_OnComm();
            if (link->samples.size() == 1) {
                link->comm.setPortOpen(false);
            } else if (link->samples.size() == 2) {
                link->comm.setPortOpen(false);
                OpenGlovePort(link->comm, 2);
            }
        });
        com1->write(packetBytes({1, 0, 0, 0, 0, 0, 0, 0}));
        QTRY_VERIFY(!link->comm.PortOpen());
        QCOMPARE(link->samples.size(), 1u);

        OpenGlovePort(link->comm, 1);
        com1->write(packetBytes({2, 0, 0, 0, 0, 0, 0, 0}));
        QTRY_COMPARE(link->comm.CommPort(), 2);
        QVERIFY(link->comm.PortOpen());
        com2->write(packetBytes({3, 0, 0, 0, 0, 0, 0, 0}) + packetBytes({4, 0, 0, 0, 0, 0, 0, 0}));
        QTRY_COMPARE(link->samples.size(), 4u);
        QCOMPARE(link->samples[3].Thumb, 4);
    }

    void nestsReceiveEventsOneLevelDeepAtMost()
    {
        // Each consumer lets pending events run, as the presentation does, while more packets
        // arrive: a receive event may run inside it, but none inside that.
        OpenGlovePort(link->comm, 1);
        int depth = 0;
        int deepest = 0;
        QObject::disconnect(&link->comm, &MSComm::OnComm, nullptr, nullptr);
        GlovePacketReader nesting(link->comm, [&](const GloveSample &s) {
            link->samples.push_back(s);
            if (s.Thumb < 20)
                com1->write(packetBytes({std::uint8_t(s.Thumb + 1), 0, 0, 0, 0, 0, 0, 0}));
            std::this_thread::sleep_for(5ms);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        });
        const auto connected = whileHere(QObject::connect(&link->comm, &MSComm::OnComm, [&] {
            deepest = std::max(deepest, ++depth);
            nesting.MSComm_OnComm();
            --depth;
        }));
        com1->write(packetBytes({0, 0, 0, 0, 0, 0, 0, 0}));
        QTRY_COMPARE(link->samples.size(), 21u);
        for (int i = 0; i <= 20; ++i)
            QCOMPARE(link->samples[i].Thumb, i);
        QCOMPARE(deepest, 2); // the event and one nested in it
    }

    void presentsALongStreamInOrderWithNoneLost()
    {
        OpenGlovePort(link->comm, 1);
        QRandomGenerator random(2024);
        QByteArray stream;
        std::vector<GloveSample> sent;
        for (int i = 0; i < 2000; ++i) {
            sent.push_back(numberedSample(i, random));
            stream += packetBytes(sent.back());
        }
        std::thread writer([&] {
            QRandomGenerator chunks(99);
            for (qsizetype at = 0; at < stream.size();) {
                const qsizetype n = std::min<qsizetype>(1 + chunks.bounded(64), stream.size() - at);
                com1->write(stream.mid(at, n));
                at += n;
                std::this_thread::sleep_for(std::chrono::microseconds(chunks.bounded(400)));
                // Wine's event loop takes about a millisecond a pass, and a pass presents one
                // sample: there the glove sends at twice the line's rate, not a hundred times.
                if (underWine())
                    std::this_thread::sleep_for(std::chrono::microseconds(260 * n));
            }
        });
        QTRY_COMPARE_WITH_TIMEOUT(link->samples.size(), sent.size(), 30000);
        writer.join();
        QVERIFY(link->samples == sent);
        QCOMPARE(link->comm.InBufferCount(), 0);
    }

    void keepsTheTakenBytesWhenTheRestComeLater()
    {
        OpenGlovePort(link->comm, 1);
        {
            DelayedWriter rest(*com1, byteList({7, 8, 245, 11, 12, 13, 14, 15}), 30ms);
            com1->write(byteList({9, 0, 245, 1, 2, 3, 4, 5, 6}));
            QTRY_COMPARE(link->samples.size(), 1u);
        }
        QCOMPARE(link->samples[0], (GloveSample{1, 2, 3, 4, 5, 6, 7, 8}));
        QTRY_COMPARE(link->comm.InBufferCount(), 6);
        QCOMPARE(link->samples.size(), 1u);
    }

    void dropsAPacketWhoseRestNeverComes()
    {
        OpenGlovePort(link->comm, 1);
        com1->write(byteList({1, 2, 3, 4, 5, 6, 245, 31, 32}));
        QTRY_COMPARE(link->events, 1);
        QCOMPARE(link->samples.size(), 0u);
        QCOMPARE(link->comm.InBufferCount(), 0);

        // The next event searches afresh.
        com1->write(byteList({33, 34}) + packetBytes({41, 42, 43, 44, 45, 46, 47, 48}));
        QTRY_COMPARE(link->samples.size(), 1u);
        QCOMPARE(link->samples[0], (GloveSample{41, 42, 43, 44, 45, 46, 47, 48}));
    }

    void keepsTheNewestBytesOnOverflow()
    {
        // No receive events: the bytes pile up in the buffer.
        link->comm.setInputLen(0);
        QCOMPARE(link->comm.setPortOpen(true), commSucceeded);
        int overflows = 0;
        const auto connected = whileHere(QObject::connect(&link->comm, &MSComm::OnComm, [&] {
            overflows += link->comm.CommEvent() == comEventRxOver;
        }));
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i)
            bytes.append(char(i % 251));
        com1->write(bytes);
        QTRY_VERIFY(overflows > 0);
        QTRY_COMPARE(link->comm.InBufferCount(), int(MSComm::ReceiveBufferSize));
        QCOMPARE(link->comm.Input(), bytes.right(MSComm::ReceiveBufferSize));
        QVERIFY(link->samples.empty());
    }

    void closesWhenTheDeviceVanishes()
    {
        OpenGlovePort(link->comm, 1);
        com1->write(packetBytes({1, 2, 3, 4, 5, 6, 7, 8}));
        QTRY_COMPARE(link->samples.size(), 1u);

        // Gone in the middle of a packet, while a receive event waits for its rest.
        com1->write(byteList({0, 0, 0, 0, 0, 245, 1, 2, 3}));
        std::thread unplug([&] {
            std::this_thread::sleep_for(20ms);
            com1->closeMaster();
        });
        QTRY_VERIFY(!link->comm.PortOpen());
        unplug.join();
        QCOMPARE(link->samples.size(), 1u);

        // No spinning while it is gone: no events and next to no CPU time.
        const int events = link->events;
        const double cpuBefore = processCpuMs();
        QTest::qWait(500);
        const double cpuUsed = processCpuMs() - cpuBefore;
        qInfo("CPU time while the device is gone: %.1f ms in 500 ms", cpuUsed);
        QCOMPARE(link->events, events);
        QVERIFY2(cpuUsed < 100, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
        QVERIFY(!link->comm.PortOpen());

        // The device comes back (as a new pseudo-terminal) and the port opens again.
        com1 = std::make_unique<PseudoTerminal>();
        link->comm.setPortDevices(devices());
        OpenGlovePort(link->comm, 1);
        QVERIFY(link->comm.PortOpen());
        com1->write(packetBytes({9, 9, 9, 9, 9, 9, 9, 9}));
        QTRY_COMPARE(link->samples.size(), 2u);
        QCOMPARE(link->samples[1].Thumb, 9);
    }
};

QTEST_GUILESS_MAIN(TestMSComm)
#include "tst_mscomm.moc"
