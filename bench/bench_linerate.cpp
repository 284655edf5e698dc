// The link and the presentation at the glove's full line rate: 213 packets a second over a
// pseudo-terminal for a while, into the serial control, the packet reader and the main
// window (offscreen). Prints a table and a JSON object.
//   bench_linerate [seconds]
#include "frmflex.h"
#include "glovepacketreader.h"
#include "instances.h"
#include "look.h"
#include "mscomm.h"
#include "opengloveport.h"
#include "packetstream.h"
#include "samplepresentation.h"
#include "shutdown.h"
#include "testlink.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <mutex>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    // The main window as the program makes it; its own port settings window opens nothing.
    Look::applyToApplication();
    setConfiguredPortDevices({QStringLiteral("/dev/vantrel-none"), QStringLiteral("/dev/none")});
    frmFlex()->show();

    // The presentation alone, as fast as it goes: the CPU one sample costs on screen.
    constexpr int Presentations = 3000;
    const double presentBefore = threadCpuSeconds();
    for (int i = 0; i < Presentations; ++i)
        ShowGloveSample({std::uint8_t(i), std::uint8_t(i >> 3), 0, 0, std::uint8_t(i % 200),
                         std::uint8_t(i % 150), std::uint8_t(i >> 8), std::uint8_t(i)});
    const double presentMicros = (threadCpuSeconds() - presentBefore) * 1e6 / Presentations;

    PseudoTerminal line;
    MSComm comm;
    comm.setPortDevices({line.devicePath(), line.devicePath()});

    // When each packet's last byte went out, by packet number (carried in Input1 and Input2).
    const std::size_t total = std::size_t(seconds) * 213;
    std::vector<Clock::time_point> written(total + 1024);
    std::vector<double> latencies;
    latencies.reserve(total);
    std::mutex writtenLock;
    int mostWaiting = 0;

    GlovePacketReader reader(comm, [&](const GloveSample &sample) {
        const auto shown = Clock::now();
        const std::size_t index = std::size_t(sample.Input1) << 8 | sample.Input2;
        {
            std::lock_guard lock(writtenLock);
            latencies.push_back(
                std::chrono::duration<double, std::milli>(shown - written[index]).count());
        }
        ShowGloveSample(sample); // sets the readouts first, then the bars and the hand
    });
    QObject::connect(&comm, &MSComm::OnComm, [&] {
        mostWaiting = std::max(mostWaiting, comm.InBufferCount());
        reader.MSComm_OnComm();
    });
    OpenGlovePort(comm, 1);
    if (!comm.PortOpen()) {
        qCritical("the pseudo-terminal could not be opened");
        return 1;
    }

    const double cpuBefore = threadCpuSeconds();
    const auto started = Clock::now();
    std::unique_ptr<PacketStream> stream;
    stream = std::make_unique<PacketStream>(
        line,
        [&](quint64 i) {
            if (i >= total)
                return QByteArray();
            const auto bytes =
                packetBytes({std::uint8_t(i), std::uint8_t(i >> 3), 0, 0, std::uint8_t(i % 200),
                             std::uint8_t(i % 150), std::uint8_t(i >> 8), std::uint8_t(i)});
            // The time stamp is taken just before the write; the write itself takes a few
            // microseconds.
            std::lock_guard lock(writtenLock);
            written[i] = Clock::now();
            return bytes;
        },
        LinePacketPeriod);

    // exit(), not quit(): quitting asks the windows to close, which is the Exit sequence.
    QTimer::singleShot(std::chrono::seconds(seconds) + std::chrono::milliseconds(500), &app,
                       [] { QCoreApplication::exit(0); });
    app.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - started).count();
    const double cpu = threadCpuSeconds() - cpuBefore;
    stream.reset();

    // The writer is a thread on a busy machine too: after a delay it catches up by writing
    // several packets at once, which then wait together. The most it wrote within 1 ms:
    std::size_t writerBurst = 1;
    for (std::size_t i = 0, j = 0; i < total; ++i) {
        while (written[i] - written[j] > std::chrono::milliseconds(1))
            ++j;
        writerBurst = std::max(writerBurst, i - j + 1);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMiB = double(usage.ru_maxrss) / 1024.0;
    const std::size_t presented = latencies.size();
    const double median = percentile(latencies, 0.5);
    const double p99 = percentile(latencies, 0.99);
    const double cpuPercent = 100.0 * cpu / wall;

    std::printf("line rate, %d s at 213 packets a second        measured      goal\n", seconds);
    std::printf("  packets presented / sent                %7zu / %zu   all\n", presented, total);
    std::printf("  latency, median                         %10.3f ms   < 1 ms\n", median);
    std::printf("  latency, 99th percentile                %10.3f ms   < 5 ms\n", p99);
    std::printf("  most bytes waiting at a receive event   %10d      < 18\n", mostWaiting);
    std::printf("  most packets the writer sent within 1 ms %9zu\n", writerBurst);
    std::printf("  CPU of the UI thread per second         %10.2f %%    < 2 %%\n", cpuPercent);
    std::printf("  peak resident memory                    %10.1f MiB  < 60 MiB\n", peakMiB);
    std::printf("  presentation alone, CPU per sample      %10.1f us\n", presentMicros);
    std::printf(
        "JSON {\"seconds\": %d, \"sent\": %zu, \"presented\": %zu, "
        "\"latency_median_ms\": %.4f, \"latency_p99_ms\": %.4f, "
        "\"most_bytes_waiting\": %d, \"writer_burst_packets\": %zu, \"cpu_percent_of_core\": %.3f, "
        "\"peak_rss_mib\": %.1f, \"presentation_cpu_us\": %.1f}\n",
        seconds, total, presented, median, p99, mostWaiting, writerBurst, cpuPercent, peakMiB,
        presentMicros);
    std::fflush(stdout);
    std::_Exit(0); // the windows live to the end of the process, as in the program
}
