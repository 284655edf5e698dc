// Recording, forwarding and replaying with the real program: what the glove sent is what the
// recording, the OSC stream and the recording of its replay hold, value for value and in
// order; and what is left of a recording when the disk fills or the program is told to end.
#include "glovepattern.h"
#include "recordingformat.h"
#include "xsession.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace XSession;
using Rows = std::vector<RecordingFormat::Row>;

namespace {

constexpr int Packets = 640;

QList<GloveSample> sentByRandomGlove(int packets = Packets)
{
    QRandomGenerator random;
    QList<GloveSample> samples;
    for (int i = 0; i < packets; ++i)
        samples << patternSample(GlovePattern::Random, quint64(i), random);
    return samples;
}

// Where the samples stand in what the glove sent, one after another; -1 when they are not a
// run of it.
qsizetype runIn(const QList<GloveSample> &sent, const QList<GloveSample> &samples)
{
    const qsizetype at = samples.isEmpty() ? -1 : sent.indexOf(samples.first());
    return at >= 0 && sent.mid(at, samples.size()) == samples ? at : -1;
}

// Keys pressed in a window of the program, a string typed where it says "type:".
void keysIn(WId window, const QStringList &keys)
{
    xdotool({"windowfocus", "--sync", QString::number(window)});
    QTest::qWait(200); // the program learns of its focus a moment later
    for (const QString &key : keys) {
        if (key.startsWith(QLatin1String("type:")))
            xdotool({"type", "--delay", "5", key.mid(5)});
        else
            xdotool({"key", key});
    }
}

// The rows of a recording, which must be numbered 1, 2, ... and end with a whole row.
Rows recordingAt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.readAll().endsWith('\n'))
        return {};
    QString error;
    const auto rows = RecordingFormat::readFile(path, &error);
    if (!rows)
        qWarning("%s", qPrintable(error));
    for (std::size_t i = 0; rows && i < rows->size(); ++i)
        if ((*rows)[i].number != i + 1)
            return {};
    return rows.value_or(Rows());
}

QList<GloveSample> samplesOf(const Rows &rows)
{
    QList<GloveSample> samples;
    for (const auto &row : rows)
        samples << row.sample;
    return samples;
}

// What oscdump printed: "<time> /vantrel/glove iiiiiiii 1 2 3 4 5 6 7 8" a message.
QList<GloveSample> samplesOf(const QByteArray &oscdump)
{
    QList<GloveSample> samples;
    for (const QByteArray &line : oscdump.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() != 11 || words[1] != "/vantrel/glove" || words[2] != "iiiiiiii")
            continue;
        GloveSample sample;
        for (int i = 0; i < GlovePacket::DataBytes; ++i)
            sample.*GlovePacket::Fields[i] = std::uint8_t(words[3 + i].toInt());
        samples << sample;
    }
    return samples;
}

// The same samples as "/vantrel/hand ffffff" shows them: with no calibration, each of the
// first six values / 256.
QList<GloveSample> shownOf(const QByteArray &oscdump)
{
    QList<GloveSample> samples;
    for (const QByteArray &line : oscdump.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() != 9 || words[1] != "/vantrel/hand" || words[2] != "ffffff")
            continue;
        GloveSample sample;
        for (int i = 0; i < 6; ++i)
            sample.*GlovePacket::Fields[i] = std::uint8_t(qRound(words[3 + i].toDouble() * 256));
        samples << sample;
    }
    return samples;
}

QList<GloveSample> withoutInputs(QList<GloveSample> samples)
{
    for (GloveSample &sample : samples)
        sample.Input1 = sample.Input2 = 0;
    return samples;
}

double seconds(const RecordingFormat::Row &row)
{
    return std::chrono::duration<double>(row.sinceStart).count();
}

} // namespace

class TestRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void recordedForwardedAndReplayedAlike()
    {
        OscDump oscdump;
        QVERIFY(oscdump.isListening());
        QTest::qWait(200);

        const QString first = dir.filePath(QStringLiteral("first.csv"));
        {
            // Slower than the line, so that the replay's pace is seen to be the recording's.
            SimulatedGlove glove(
                {"--pattern", "random", "--packets", QString::number(Packets), "--rate", "150"});
            RunningVantrel vantrel;
            QVERIFY(vantrel.start(
                {"--com1", glove.path, "--record", first, "--osc", oscdump.target()}));
            QTRY_VERIFY_WITH_TIMEOUT(glove.process.state() == QProcess::NotRunning, 20000);
            vantrel.process.terminate();
            QVERIFY(vantrel.process.waitForFinished(5000));
            QCOMPARE(vantrel.process.exitCode(), 0);
        }
        const Rows recorded = recordingAt(first);
        QCOMPARE(samplesOf(recorded), sentByRandomGlove());
        QTRY_COMPARE(samplesOf(oscdump.received), sentByRandomGlove());
        QCOMPARE(shownOf(oscdump.received), withoutInputs(sentByRandomGlove()));

        const QString second = dir.filePath(QStringLiteral("second.csv"));
        SimulatedGlove replay({"--replay", first});
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", replay.path, "--record", second}));
        QVERIFY(replay.process.waitForFinished(20000));
        QCOMPARE(replay.process.exitCode(), 0);
        vantrel.clickExit();
        QVERIFY(vantrel.process.waitForFinished(5000));
        QCOMPARE(vantrel.process.exitCode(), 0);
        const Rows replayed = recordingAt(second);
        QCOMPARE(samplesOf(replayed), sentByRandomGlove());
        // At the recorded pace, not the line's.
        const double span = seconds(recorded.back()) - seconds(recorded.front());
        const double replayedSpan = seconds(replayed.back()) - seconds(replayed.front());
        QVERIFY2(qAbs(replayedSpan - span) < 0.25, qPrintable(QString::number(replayedSpan)));
    }

    // Started, stopped and started again from Data Logging, with no option on the command
    // line: each file holds the samples shown while it ran, in order, and OSC sent every one
    // of them and nothing between; an existing file is refused before anything starts.
    void loggingFromTheMenu()
    {
        OscDump oscdump;
        QVERIFY(oscdump.isListening());
        const QString first = dir.filePath(QStringLiteral("menu-first.csv"));
        const QString second = dir.filePath(QStringLiteral("menu-second.csv"));
        constexpr int Sent = 213 * 20;
        SimulatedGlove glove({"--pattern", "random", "--packets", QString::number(Sent)});
        RunningVantrel vantrel;
        QVERIFY(vantrel.start({"--com1", glove.path}));
        FrmFlex &layout = vantrel.layout;
        const auto openDialog = [&] {
            vantrel.chooseFromMenu(layout.mnuRecognition, layout.mnuRecognitionDataLog);
            return waitForWindow(QStringLiteral("Data Logging"));
        };

        auto dialog = openDialog();
        QVERIFY(dialog);
        keysIn(*dialog, {"ctrl+a", "type:" + first, "alt+n", "Tab", "ctrl+a",
                         "type:" + oscdump.target(), "Return"});
        QTRY_VERIFY(!windowShown(QStringLiteral("Data Logging")));
        QTest::qWait(1500);
        dialog = openDialog();
        QVERIFY(dialog);
        keysIn(*dialog, {"alt+s"});
        QTest::qWait(300);
        // The first file's name again: refused, and the dialog stays.
        keysIn(*dialog, {"ctrl+a", "type:" + first, "Return"});
        QTest::qWait(500);
        QVERIFY(windowShown(QStringLiteral("Data Logging")));
        keysIn(*dialog, {"ctrl+a", "type:" + second, "Return"});
        QTRY_VERIFY(!windowShown(QStringLiteral("Data Logging")));
        QTest::qWait(1000);
        keysIn(vantrel.window, {"ctrl+x"});
        QVERIFY(vantrel.process.waitForFinished(5000));
        QCOMPARE(vantrel.process.exitCode(), 0);

        const QList<GloveSample> sent = sentByRandomGlove(Sent);
        const QList<GloveSample> firstSamples = samplesOf(recordingAt(first));
        const QList<GloveSample> secondSamples = samplesOf(recordingAt(second));
        QVERIFY2(firstSamples.size() > 200 && secondSamples.size() > 100,
                 qPrintable(QStringLiteral("%1 and %2 rows")
                                .arg(firstSamples.size())
                                .arg(secondSamples.size())));
        const qsizetype firstAt = runIn(sent, firstSamples);
        const qsizetype secondAt = runIn(sent, secondSamples);
        QVERIFY(firstAt >= 0 && secondAt >= 0);
        QVERIFY(secondAt > firstAt + firstSamples.size());
        // Both times, as the dialog kept the choice: nothing between them.
        QTRY_COMPARE(samplesOf(oscdump.received), firstSamples + secondSamples);
    }

    void refusedBeforeAnyWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("display");
        QTest::newRow("the file exists")
            << QStringList{"--record", "kept.csv"} << "exists" << 2 << QString();
        QTest::newRow("no port") << QStringList{"--osc", "localhost", "--record", "new.csv"}
                                 << "HOST:PORT" << 2 << QString();
        QTest::newRow("no such host")
            << QStringList{"--osc", "nosuchhost.invalid:9000", "--record", "new.csv"}
            << "cannot find the host 'nosuchhost.invalid'" << 2 << QString();
        // A stale DISPLAY: said plainly, not by an abort, and no file that a retry would trip on.
        QTest::newRow("no such display") << QStringList{"--record", "new.csv"}
                                         << "cannot reach the X display ':987'" << 1 << ":987";
    }
    void refusedBeforeAnyWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QFETCH(int, status);
        QFETCH(QString, display);
        QFile kept(dir.filePath(QStringLiteral("kept.csv")));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("precious\n");
        kept.close();
        QProcess vantrel;
        vantrel.setWorkingDirectory(dir.path());
        if (!display.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), display);
            vantrel.setProcessEnvironment(environment);
        }
        vantrel.start(QStringLiteral(VANTREL_BINARY), arguments);
        QVERIFY(vantrel.waitForFinished(5000));
        QCOMPARE(vantrel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vantrel.exitCode(), status);
        const QString errors = QString::fromLocal8Bit(vantrel.readAllStandardError());
        QVERIFY2(errors.contains(said) && errors.count(QLatin1Char('\n')) == 1, qPrintable(errors));
        QVERIFY(!windowShown(QStringLiteral("Vantrel Software")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("precious\n"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("new.csv"))));
        QFile::remove(kept.fileName());
    }

    // A file-size limit stands for a full disk: the write fails the same way.
    void aFullDiskKeepsWhatWasWrittenAndTheGloveShown()
    {
        const QString path = dir.filePath(QStringLiteral("full.csv"));
        constexpr rlim_t Limit = 8192;
        SimulatedGlove glove(QStringLiteral("wave"));
        RunningVantrel vantrel;
        vantrel.process.setChildProcessModifier([] {
            const rlimit limit{Limit, Limit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QVERIFY(vantrel.start({"--com1", glove.path, "--record", path}));
        QString errors;
        QTRY_VERIFY_WITH_TIMEOUT(
            (errors += QString::fromLocal8Bit(vantrel.process.readAllStandardError()))
                .contains(QLatin1String("stopped: File too large")),
            10000);
        QVERIFY(vantrel.readingsChanging());
        vantrel.clickExit();
        QVERIFY(vantrel.process.waitForFinished(5000));
        QCOMPARE(vantrel.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(vantrel.process.exitCode(), 1);
        const Rows rows = recordingAt(path);
        QVERIFY2(rows.size() > 40 && QFileInfo(path).size() <= qint64(Limit),
                 qPrintable(QString::number(rows.size())));
    }

    void toldToEndItKeepsEverySampleUpToThen_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<double>("keptUpTo"); // seconds before the signal
        QTest::newRow("SIGINT") << int(SIGINT) << 0.2;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 0.2;
        QTest::newRow("SIGKILL") << int(SIGKILL) << 1.3;
    }
    void toldToEndItKeepsEverySampleUpToThen()
    {
        QFETCH(int, signal);
        QFETCH(double, keptUpTo);
        const QString path = dir.filePath(QString::number(signal) + QLatin1String(".csv"));
        SimulatedGlove glove(QStringLiteral("wave"));
        RunningVantrel vantrel;
        // Forwarded to where nobody listens, which changes nothing but one line on stderr.
        QVERIFY(vantrel.start({"--com1", glove.path, "--record", path, "--osc",
                               QStringLiteral("127.0.0.1:%1").arg(freeUdpPort()), "--verbose"}));
        QTest::qWait(2500);
        const auto sent = std::chrono::system_clock::now();
        ::kill(pid_t(vantrel.process.processId()), signal);
        QVERIFY(vantrel.process.waitForFinished(5000));
        if (signal != SIGKILL) {
            QCOMPARE(vantrel.process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(vantrel.process.exitCode(), 0);
            const QString errors = QString::fromLocal8Bit(vantrel.process.readAllStandardError());
            QVERIFY2(errors.count(QLatin1String("nobody is listening")) == 1, qPrintable(errors));
        }
        const Rows rows = recordingAt(path);
        QVERIFY(!rows.empty());
        const double missing = std::chrono::duration<double>(sent - rows.back().utc).count();
        QVERIFY2(missing < keptUpTo, qPrintable(QString::number(missing)));
    }
};

int main(int argc, char *argv[])
{
    return XSession::run<TestRecording>(argc, argv);
}

#include "tst_recording.moc"
