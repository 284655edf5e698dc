// The port opening sequence over real pseudo-terminals.
#include "opengloveport.h"
#include "testlink.h"

#include <QTest>
#include <QTimer>
#include <memory>

class TestOpenGlovePort : public QObject
{
    Q_OBJECT

    std::unique_ptr<PseudoTerminal> com1;
    std::unique_ptr<PseudoTerminal> com2;
    std::unique_ptr<TestLink> link;

private slots:
    void init()
    {
        com1 = std::make_unique<PseudoTerminal>();
        com2 = std::make_unique<PseudoTerminal>();
        link = std::make_unique<TestLink>(PortDevices{com1->devicePath(), com2->devicePath()});
    }
    void cleanup()
    {
        link.reset();
        com1.reset();
        com2.reset();
    }

    void opensThePortForTheGlove()
    {
        OpenGlovePort(link->comm, 1);
        const MSComm &comm = link->comm;
        QVERIFY(comm.PortOpen());
        QVERIFY(com1->isDeviceOpen());
        QCOMPARE(comm.CommPort(), 1);
        QCOMPARE(comm.Settings(), QStringLiteral("19200,N,8,1"));
        QCOMPARE(comm.InputLen(), 1);
        QCOMPARE(comm.InputMode(), int(comInputModeBinary));
        QCOMPARE(comm.RThreshold(), 9);
    }

    void choosingTheOtherPortClosesTheFirst()
    {
        OpenGlovePort(link->comm, 1);
        OpenGlovePort(link->comm, 2);
        QVERIFY(link->comm.PortOpen());
        QCOMPARE(link->comm.CommPort(), 2);
        QTRY_VERIFY(!com1->isDeviceOpen());
        QVERIFY(com2->isDeviceOpen());

        com1->write(packetBytes({1, 1, 1, 1, 1, 1, 1, 1}));
        com2->write(packetBytes({2, 2, 2, 2, 2, 2, 2, 2}));
        QTRY_COMPARE(link->samples.size(), 1u);
        QCOMPARE(link->samples[0].Thumb, 2);
    }

    void reopensThePortThatIsOpen()
    {
        OpenGlovePort(link->comm, 1);
        com1->write(QByteArray("\xF5\x01\x02", 3));
        QTRY_COMPARE(link->comm.InBufferCount(), 3);
        OpenGlovePort(link->comm, 1);
        QVERIFY(link->comm.PortOpen());
        QCOMPARE(link->comm.InBufferCount(), 0); // closing dropped what waited

        com1->write(packetBytes({5, 6, 7, 8, 9, 10, 11, 12}));
        QTRY_COMPARE(link->samples.size(), 1u);
        QCOMPARE(link->samples[0], (GloveSample{5, 6, 7, 8, 9, 10, 11, 12}));
    }

    void endsQuietlyWhenAStepFails()
    {
        OpenGlovePort(link->comm, 1);
        // A device that cannot be opened: the port that was open is closed, and stays so.
        link->comm.setPortDevices({com1->devicePath(), QStringLiteral("/dev/vantrel-missing")});
        OpenGlovePort(link->comm, 2);
        QVERIFY(!link->comm.PortOpen());
        QCOMPARE(link->comm.CommPort(), 2);
        QTRY_VERIFY(!com1->isDeviceOpen());

        OpenGlovePort(link->comm, 1);
        QVERIFY(link->comm.PortOpen());

        // A port number the control refuses ends the run at that step.
        OpenGlovePort(link->comm, 3);
        QVERIFY(!link->comm.PortOpen());
        QCOMPARE(link->comm.CommPort(), 1);
    }

    void aRunNestedInThePendingEventsWins()
    {
        // The other port chosen while the first run lets pending events run: the nested run
        // opens its port, and the outer run's open fails as already open.
        QTimer::singleShot(0, [this] { OpenGlovePort(link->comm, 2); });
        OpenGlovePort(link->comm, 1);
        QVERIFY(link->comm.PortOpen());
        QCOMPARE(link->comm.CommPort(), 2);
        QVERIFY(com2->isDeviceOpen());
        QVERIFY(!com1->isDeviceOpen());
    }
};

QTEST_GUILESS_MAIN(TestOpenGlovePort)
#include "tst_opengloveport.moc"
