// The glove simulator: its patterns, and the real program playing the glove to a serial
// control over its pseudo-terminal.
#include "glovepattern.h"
#include "opengloveport.h"
#include "recordingformat.h"
#include "testlink.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

// The simulator, started and read up to the path it prints on its first line.
class Simulator
{
public:
    explicit Simulator(const QStringList &arguments)
    {
        process.start(QStringLiteral(GLOVESIM_BINARY), arguments);
        if (process.waitForStarted() && process.waitForReadyRead(5000))
            path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Simulator()
    {
        process.kill();
        process.waitForFinished();
    }
    bool finish()
    {
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
    }

    QProcess process;
    QString path;
};

} // namespace

class TestGloveSim : public QObject
{
    Q_OBJECT

private slots:
    void waveMovesSmoothlyAndKeepsTheHandInThePanel()
    {
        QRandomGenerator random;
        GloveSample previous = patternSample(GlovePattern::Wave, 0, random);
        QSet<int> rolls;
        for (quint64 i = 1; i < 213 * 12; ++i) {
            const GloveSample s = patternSample(GlovePattern::Wave, i, random);
            QVERIFY(s.Roll <= 245 && s.Pitch <= 253); // the whole hand stays visible
            QVERIFY(std::abs(s.Thumb - previous.Thumb) <= 2);
            QVERIFY(std::abs(s.Roll - previous.Roll) <= 2);
            QVERIFY(std::abs(s.Pitch - previous.Pitch) <= 2);
            rolls.insert(s.Roll);
            previous = s;
        }
        QVERIFY(rolls.size() > 150); // it does go round
    }

    void otherPatterns()
    {
        QRandomGenerator random(1);
        QCOMPARE(patternSample(GlovePattern::Static, 77, random),
                 (GloveSample{128, 128, 128, 128, 128, 128, 128, 128}));
        QCOMPARE(patternSample(GlovePattern::Sweep, 300, random).Pitch, 44);
        QVERIFY(patternSample(GlovePattern::Random, 0, random) !=
                patternSample(GlovePattern::Random, 0, random));
        QCOMPARE(parseGlovePattern("sweep"), GlovePattern::Sweep);
        QVERIFY(!parseGlovePattern("Wave"));
    }

    void noiseIsNeverASyncByte()
    {
        QRandomGenerator random(5);
        QSet<int> seen;
        for (int i = 0; i < 100000; ++i)
            seen.insert(std::uint8_t(noiseByte(random)));
        QVERIFY(!seen.contains(GlovePacket::SyncByte));
        QCOMPARE(seen.size(), 255);
    }

    void parsesByteLists()
    {
        QCOMPARE(parseByteList("245 10 20"), QByteArray("\xF5\x0A\x14", 3));
        QCOMPARE(parseByteList(" 0xF5, 0,255 "), QByteArray("\xF5\x00\xFF", 3));
        QVERIFY(!parseByteList(""));
        QVERIFY(!parseByteList("245 256"));
        QVERIFY(!parseByteList("245 -1"));
        QVERIFY(!parseByteList("245 ten"));
    }

    void streamsPacketsInOrderToTheProgram()
    {
        Simulator sim({"--pattern", "sweep", "--packets", "50"});
        QVERIFY(sim.path.startsWith(QLatin1String("/dev/pts/")));
        TestLink link({sim.path, sim.path});
        OpenGlovePort(link.comm, 1);
        QVERIFY(link.comm.PortOpen());
        QTRY_COMPARE(link.samples.size(), 50u);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(link.samples[i].Input2, i);
        QVERIFY(sim.finish());
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(sim.process.readAllStandardError().contains("the line was opened"));
    }

    void everyPacketIsFoundThroughNoise_data()
    {
        QTest::addColumn<QString>("probability");
        QTest::newRow("1%") << "0.01";
        QTest::newRow("10%") << "0.1";
        QTest::newRow("50%") << "0.5";
    }
    void everyPacketIsFoundThroughNoise()
    {
        QFETCH(QString, probability);
        Simulator sim({"--pattern", "sweep", "--packets", "300", "--garbage", probability});
        TestLink link({sim.path, sim.path});
        OpenGlovePort(link.comm, 1);
        QTRY_COMPARE_WITH_TIMEOUT(link.samples.size(), 300u, 10000);
        for (int i = 0; i < 300; ++i)
            QCOMPARE(link.samples[i].Thumb, i % 256);
        QVERIFY(sim.finish());
    }

    void sendsExactBytesOnce()
    {
        Simulator sim({"--bytes", "7 245 1 2 3 4 5 6 7 8 9"});
        TestLink link({sim.path, sim.path});
        OpenGlovePort(link.comm, 1);
        QTRY_COMPARE(link.samples.size(), 1u);
        QCOMPARE(link.samples[0], (GloveSample{1, 2, 3, 4, 5, 6, 7, 8}));
        QVERIFY(sim.finish());
        QCOMPARE(sim.process.exitCode(), 0);
        QCOMPARE(link.samples.size(), 1u);
    }

    void reportsThePeerClosingAndStopsOnCtrlC()
    {
        Simulator sim({});
        TestLink link({sim.path, sim.path});
        OpenGlovePort(link.comm, 1);
        QTRY_VERIFY(link.samples.size() > 5);
        link.comm.setPortOpen(false);
        QByteArray said;
        QTRY_VERIFY2((said += sim.process.readAllStandardError()).contains("the line was closed"),
                     said.constData());
        ::kill(pid_t(sim.process.processId()), SIGINT);
        QVERIFY(sim.finish());
        QCOMPARE(sim.process.exitCode(), 0);
    }

    void refusesBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("rate") << QStringList{"--rate", "500"} << "--rate";
        QTest::newRow("pattern") << QStringList{"--pattern", "circle"} << "unknown pattern";
        QTest::newRow("garbage") << QStringList{"--garbage", "1.5"} << "--garbage";
        QTest::newRow("bytes") << QStringList{"--bytes", "245 300"} << "--bytes";
        QTest::newRow("packets") << QStringList{"--packets", "-3"} << "--packets";
        QTest::newRow("unknown") << QStringList{"--fast"} << "Unknown option 'fast'";
        QTest::newRow("device") << QStringList{"--device", "/dev/vantrel-missing"}
                                << "cannot open /dev/vantrel-missing";
        QTest::newRow("not serial")
            << QStringList{"--device", "/dev/null"} << "not a serial device";
    }
    void refusesBadOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QProcess sim;
        sim.start(QStringLiteral(GLOVESIM_BINARY), arguments);
        QVERIFY(sim.waitForFinished(5000));
        QVERIFY(sim.exitCode() != 0);
        const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
        QVERIFY2(err.contains(complaint), qPrintable(err));
        QVERIFY(sim.readAllStandardOutput().isEmpty());
    }

    void refusesARecordingItCannotRead_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QString>("complaint");
        const QByteArray good = "1,0.01,2026-12-08T10:00:00.000Z,1,2,3,4,5,6,7,8\n";
        QTest::newRow("missing field") << good + "2,0.02,2026-12-08T10:00:00.005Z,1,2,3,4,5,6,7\n"
                                       << ":3: 10 fields where a row has 11";
        QTest::newRow("above 255") << good + good +
                                          "3,0.03,2026-12-08T10:00:00.010Z,1,2,3,"
                                          "4,5,6,256,8\n"
                                   << ":4: Input1 '256' is not a value from 0 to 255";
        QTest::newRow("not a number") << "1,0.01,2026-12-08T10:00:00.000Z,1,2,x,4,5,6,7,8\n" + good
                                      << ":2: Middle 'x' is not a value from 0 to 255";
        QTest::newRow("negative time")
            << QByteArray("1,-1,2026-12-08T10:00:00.000Z,1,2,3,4,5,6,7,8\n")
            << ":2: Seconds '-1' is not a number of seconds";
    }
    void refusesARecordingItCannotRead()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QString, complaint);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("recording.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RecordingFormat::header() + rows);
        file.close();
        QProcess sim;
        sim.start(QStringLiteral(GLOVESIM_BINARY), {"--replay", path});
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
        QVERIFY2(err.contains(path + complaint), qPrintable(err));
        QVERIFY(sim.readAllStandardOutput().isEmpty()); // no line was opened
    }
};

QTEST_GUILESS_MAIN(TestGloveSim)
#include "tst_glovesim.moc"
