// The real program in an X server of its own (Xvfb) at the glove's full line rate: what the
// process and the X server spend, how many frames the main window paints, how long a packet
// takes to reach the screen, and whether every packet is presented. Each round runs every
// program given (the current one, and an older build to compare, say) on a stream whose
// values change with every packet, then on one whose values never change. Prints a table
// and a JSON object.
//   bench_screen [seconds] [rounds] [program ...]
// A program named "floor" is cat reading the line: the floor under any reader's cost. A
// program named "sinks:PATH" is PATH recording every sample (--record, to a new file) and
// forwarding it (--osc, to oscdump on loopback); "osc:PATH" only forwarding it; "fitted:PATH"
// forwarding it with a saved calibration of every channel and the filter on; "shapes:PATH" as
// fitted, recognising hand shapes too; "pointer:PATH" as fitted, moving the X pointer with the
// glove (Calibration > Mouse, turned on through the menu; no finger clicks); "pass:PATH" the Qt
// floor letting pending events run once after each packet. Every program runs
// with settings of the benchmark's own, never the user's.
#include "packetstream.h"
#include "testlink.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <map>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, as the program's frame log

// Measured as a program: the cost of being woken for every packet and nothing else.
constexpr char FloorProgram[] = "floor";
constexpr char WithSinks[] = "sinks:";
constexpr char WithOsc[] = "osc:";
constexpr char Fitted[] = "fitted:";
constexpr char Shapes[] = "shapes:";
constexpr char Pointer[] = "pointer:";
// The Qt floor letting pending events run after each packet, as the program does.
constexpr char Pass[] = "pass:";

double residentMiBOf(qint64 pid, const char *field)
{
    QFile proc(QStringLiteral("/proc/%1/status").arg(pid));
    if (!proc.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : proc.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

struct Frame
{
    qint64 ns;
    unsigned long long presented;
    std::size_t newest; // the number of the newest packet shown
};

struct Run
{
    double processCpu = 0; // percent of a core
    double serverCpu = 0;
    double framesPerSecond = -1; // -1: the program keeps no frame log
    double latencyMedianMs = -1;
    double latencyP99Ms = -1;
    long long presented = -1;
    bool inOrder = true;
    double peakMiB = 0;
    double growthMiB = 0; // resident memory at the end of the stream less at its start
};

// Streams `total` packets at the line rate into the program and measures it.
QTemporaryDir recordings;
int recordingCount = 0;
int oscPort = 0;
QTemporaryDir noSettings;
QTemporaryDir fittedSettings;
QTemporaryDir shapesSettings;
QTemporaryDir pointerSettings;
// Takes the places of the menus, to choose Calibration > Mouse.
RunningVantrel *menuGuide = nullptr;

// A calibration of every channel with the filter on, as File > Save keeps it for ComPort 1,
// and what more the program is to do with it.
void writeFittedSettings(const QTemporaryDir &folder, const QByteArray &more = QByteArray())
{
    QDir(folder.path()).mkpath(QStringLiteral("Vantrel"));
    QFile file(folder.filePath(QStringLiteral("Vantrel/Vantrel.conf")));
    file.open(QIODevice::WriteOnly);
    file.write("[Gloves]\ncom1\\Filter=true\ncom1\\Thumb=30 200\ncom1\\Index=40 210\n"
               "com1\\Middle=50 220\ncom1\\Ring=220 40\ncom1\\Roll=20 128 240\n"
               "com1\\Pitch=10 120 230\n" +
               more);
}

QString settingsFor(const QString &program)
{
    if (program.startsWith(QLatin1String(Fitted)))
        return fittedSettings.path();
    if (program.startsWith(QLatin1String(Shapes)))
        return shapesSettings.path();
    if (program.startsWith(QLatin1String(Pointer)))
        return pointerSettings.path();
    return noSettings.path();
}

QString pointerPlace()
{
    return XSession::xdotool({"getmouselocation"}).section(QLatin1Char(' '), 0, 1);
}

// Calibration > Mouse, its check box by its mnemonic, then away.
bool turnPointerOn(WId window)
{
    menuGuide->window = window;
    menuGuide->chooseFromMenu(menuGuide->layout.mnuCalibration,
                              menuGuide->layout.mnuCalibrationMouse);
    const auto dialog = XSession::waitForWindow(QStringLiteral("Mouse"));
    if (!dialog)
        return false;
    XSession::xdotool({"windowfocus", "--sync", QString::number(*dialog)});
    QThread::msleep(200);
    XSession::xdotool({"key", "alt+m"});
    QThread::msleep(200);
    XSession::xdotool({"key", "Escape"});
    return true;
}

Run measure(const QString &program, qint64 serverPid, int seconds, bool changing)
{
    PseudoTerminal line;
    QProcess vantrel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("vantrel.frames.debug=true"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsFor(program));
    vantrel.setProcessEnvironment(environment);
    // The frame log goes to a file: a pipe nobody reads while the stream runs would fill up
    // and stop the program.
    QTemporaryFile frameLog;
    frameLog.open();
    vantrel.setStandardErrorFile(frameLog.fileName());
    Run run;
    if (program == QLatin1String(FloorProgram)) {
        // The least any reader pays: cat, woken for every packet, reads it and throws it away.
        vantrel.setStandardInputFile(line.devicePath());
        vantrel.setStandardOutputFile(QProcess::nullDevice());
        vantrel.start(QStringLiteral("cat"), {});
        vantrel.waitForStarted();
    } else {
        QStringList arguments{"--com1", line.devicePath(), "--com2", "/dev/vantrel-none"};
        QString path = program;
        const QString osc = QStringLiteral("127.0.0.1:%1").arg(oscPort);
        if (program.startsWith(QLatin1String(WithSinks))) {
            path = program.mid(qstrlen(WithSinks));
            arguments << "--record" << recordings.filePath(QString::number(++recordingCount))
                      << "--osc" << osc;
        }
        if (program.startsWith(QLatin1String(Pass))) {
            path = program.mid(qstrlen(Pass));
            arguments << "--pass";
        }
        for (const char *prefix : {WithOsc, Fitted, Shapes, Pointer}) {
            if (program.startsWith(QLatin1String(prefix))) {
                path = program.mid(qstrlen(prefix));
                arguments << "--osc" << osc;
            }
        }
        vantrel.start(path, arguments);
        const auto window = XSession::waitForWindow(QStringLiteral("Vantrel Software"));
        if (!window)
            return run;
        if (program.startsWith(QLatin1String(Pointer)) && !turnPointerOn(*window))
            return run;
    }
    for (int i = 0; i < 200 && !line.isDeviceOpen(); ++i)
        QThread::msleep(10);
    QThread::msleep(500);

    const std::size_t total = std::size_t(seconds) * 213;
    std::vector<Clock::time_point> written(total);
    std::mutex writtenLock;
    const QString pointerBefore = pointerPlace();
    const double residentBefore = residentMiBOf(vantrel.processId(), "VmRSS:");
    const double processBefore = XSession::cpuSecondsOf(vantrel.processId());
    const double serverBefore = XSession::cpuSecondsOf(serverPid);
    const auto started = Clock::now();
    {
        PacketStream stream(
            line,
            [&](quint64 i) {
                if (i >= total)
                    return QByteArray();
                const auto v = std::uint8_t(changing ? i : 128);
                const GloveSample sample{v,
                                         std::uint8_t(v / 2),
                                         std::uint8_t(v / 3),
                                         std::uint8_t(255 - v),
                                         v,
                                         std::uint8_t(v / 2),
                                         std::uint8_t(changing ? i >> 8 : 1),
                                         std::uint8_t(changing ? i : 2)};
                std::lock_guard lock(writtenLock);
                written[i] = Clock::now();
                return packetBytes(sample);
            },
            LinePacketPeriod);
        while (stream.sent() < total)
            QThread::msleep(20);
        QThread::msleep(100);
    }
    const auto ended = Clock::now();
    const double wall = std::chrono::duration<double>(ended - started).count();
    run.processCpu = 100 * (XSession::cpuSecondsOf(vantrel.processId()) - processBefore) / wall;
    run.serverCpu = 100 * (XSession::cpuSecondsOf(serverPid) - serverBefore) / wall;
    run.peakMiB = residentMiBOf(vantrel.processId(), "VmHWM:");
    run.growthMiB = residentMiBOf(vantrel.processId(), "VmRSS:") - residentBefore;
    vantrel.kill();
    vantrel.waitForFinished();
    if (program.startsWith(QLatin1String(Pointer)) && changing && pointerPlace() == pointerBefore)
        std::printf("%s: the glove did not move the pointer\n", qPrintable(program));

    // "vantrel.frames: frame <ns> samples=<n> input1=<hi> input2=<lo>"
    static const QRegularExpression frameLine(
        QStringLiteral("frame (\\d+) samples=(\\d+) input1=(\\d*) input2=(\\d*)"));
    QFile log(frameLog.fileName());
    log.open(QIODevice::ReadOnly);
    std::vector<Frame> frames;
    for (const auto &match : frameLine.globalMatch(QString::fromLocal8Bit(log.readAll())))
        frames.push_back({match.captured(1).toLongLong(), match.captured(2).toULongLong(),
                          std::size_t(match.captured(3).toInt() << 8 | match.captured(4).toInt())});
    if (frames.empty())
        return run;

    const auto nsOf = [](Clock::time_point t) {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    };
    const qint64 from = nsOf(started);
    const qint64 to = nsOf(ended);
    const auto painted = std::count_if(frames.begin(), frames.end(),
                                       [&](const Frame &f) { return f.ns >= from && f.ns <= to; });
    run.framesPerSecond = double(painted) / wall;
    run.presented = (long long)frames.back().presented;
    if (!changing)
        return run;

    // Each packet reaches the screen with the first frame that shows it or a later one.
    std::vector<double> latencies;
    std::size_t next = 0;
    for (std::size_t k = 0; k < total; ++k) {
        const qint64 sent = nsOf(written[k]);
        while (next < frames.size() && (frames[next].ns < sent || frames[next].newest < k))
            ++next;
        if (next == frames.size())
            break;
        latencies.push_back(double(frames[next].ns - sent) / 1e6);
    }
    for (std::size_t i = 1; i < frames.size(); ++i)
        run.inOrder = run.inOrder && frames[i].newest >= frames[i - 1].newest;
    run.latencyMedianMs = median(latencies);
    run.latencyP99Ms = percentile(latencies, 0.99);
    if (latencies.size() < total)
        run.presented = std::min<long long>(run.presented, (long long)latencies.size());
    return run;
}

QString figure(double value, const char *format = "%.2f")
{
    return value < 0 ? QStringLiteral("n/a") : QString::asprintf(format, value);
}

} // namespace

int main(int argc, char *argv[])
{
    QProcess server;
    if (const int failed = XSession::startServer(server))
        return failed;
    QApplication app(argc, argv);
    writeFittedSettings(fittedSettings);
    writeFittedSettings(shapesSettings, "[HandShapes]\nRecognise=true\n");
    writeFittedSettings(pointerSettings, "[Mouse]\nSpeed=5\nClick=none\n");
    RunningVantrel guide;
    menuGuide = &guide;
    // The forwarded samples go to a listener, as they would in use.
    QProcess oscdump;
    oscPort = 20000 + int(QCoreApplication::applicationPid() % 20000);
    oscdump.setStandardOutputFile(QProcess::nullDevice());
    oscdump.start(QStringLiteral("oscdump"), {QString::number(oscPort)});
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    QStringList programs;
    for (int i = 3; i < argc; ++i)
        programs << QString::fromLocal8Bit(argv[i]);
    if (programs.isEmpty())
        programs << QStringLiteral(VANTREL_BINARY);

    std::map<QString, std::vector<Run>> changing;
    std::map<QString, std::vector<Run>> still;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &program : programs) {
            changing[program].push_back(measure(program, server.processId(), seconds, true));
            still[program].push_back(measure(program, server.processId(), seconds, false));
        }
    }
    XSession::stopServer(server);
    oscdump.kill();
    oscdump.waitForFinished();

    const std::size_t sent = std::size_t(seconds) * 213;
    std::printf("the real program under Xvfb, %d s at 213 packets a second, median of %d rounds\n",
                seconds, rounds);
    QStringList json;
    const auto of = [](const std::vector<Run> &runs, double Run::*field) {
        std::vector<double> values;
        for (const Run &run : runs)
            values.push_back(run.*field);
        return median(values);
    };
    // The Qt program that only reads, measured in the same rounds: what any Qt program with a
    // window pays here to be woken for every packet.
    double qtFloor = -1;
    for (const QString &program : programs)
        if (program.endsWith(QLatin1String("bench_floor_qt")) &&
            !program.startsWith(QLatin1String(Pass)))
            qtFloor = of(changing[program], &Run::processCpu);
    for (const QString &program : programs) {
        const auto &runs = changing[program];
        long long fewest = -1;
        bool inOrder = true;
        for (const Run &run : runs) {
            fewest = fewest < 0 ? run.presented : std::min(fewest, run.presented);
            inOrder = inOrder && run.inOrder;
        }
        const double processCpu = of(runs, &Run::processCpu);
        const double serverCpu = of(runs, &Run::serverCpu);
        const double stillCpu = of(still[program], &Run::processCpu);
        const double stillServer = of(still[program], &Run::serverCpu);
        const double fps = of(runs, &Run::framesPerSecond);
        const double latencyMedian = of(runs, &Run::latencyMedianMs);
        const double latencyP99 = of(runs, &Run::latencyP99Ms);
        const double peak = of(runs, &Run::peakMiB);
        const double growth = of(runs, &Run::growthMiB);
        std::printf("%s\n", qPrintable(program));
        std::printf("  process CPU, every value changing       %8s %%    goal <= 2.5 %%\n",
                    qPrintable(figure(processCpu)));
        if (qtFloor > 0)
            std::printf("  the same, times the Qt floor's          %8s x    goal <= 2.5 x\n",
                        qPrintable(figure(processCpu / qtFloor)));
        std::printf("  X server CPU                            %8s %%    goal <= 1 %%\n",
                    qPrintable(figure(serverCpu)));
        std::printf("  process CPU, no value changing          %8s %%    goal <= 1 %%\n",
                    qPrintable(figure(stillCpu)));
        std::printf("  X server CPU, no value changing         %8s %%\n",
                    qPrintable(figure(stillServer)));
        std::printf("  frames painted per second               %8s      goal <= 60\n",
                    qPrintable(figure(fps, "%.1f")));
        std::printf("  packet to screen, median                %8s ms\n",
                    qPrintable(figure(latencyMedian)));
        std::printf("  packet to screen, 99th percentile       %8s ms   goal <= 22 ms\n",
                    qPrintable(figure(latencyP99)));
        std::printf("  packets presented (fewest of a round)   %8s of %zu%s\n",
                    qPrintable(fewest < 0 ? QStringLiteral("n/a") : QString::number(fewest)), sent,
                    inOrder ? "" : ", OUT OF ORDER");
        std::printf("  peak resident memory                    %8s MiB\n",
                    qPrintable(figure(peak, "%.1f")));
        std::printf("  resident memory, end less start          %8s MiB\n",
                    qPrintable(figure(growth, "%+.2f")));
        json << QString::asprintf(
            "{\"program\": \"%s\", \"process_cpu_percent\": %.3f, \"server_cpu_percent\": %.3f, "
            "\"still_process_cpu_percent\": %.3f, \"still_server_cpu_percent\": %.3f, "
            "\"frames_per_second\": %.2f, \"latency_median_ms\": %.3f, \"latency_p99_ms\": %.3f, "
            "\"presented_fewest\": %lld, \"sent\": %zu, \"peak_rss_mib\": %.1f, "
            "\"rss_growth_mib\": %.2f}",
            qPrintable(program), processCpu, serverCpu, stillCpu, stillServer, fps, latencyMedian,
            latencyP99, fewest, sent, peak, growth);
    }
    std::printf("JSON {\"seconds\": %d, \"rounds\": %d, \"programs\": [%s]}\n", seconds, rounds,
                qPrintable(json.join(QStringLiteral(", "))));
    return 0;
}
