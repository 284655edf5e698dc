// vantrel-glove-sim: plays the glove's end of the serial line, for trying Vantrel without a
// glove. By default it makes a pseudo-terminal, prints its path and streams packets into it at
// the real line's pace once a program opens it.
#include "gloveend.h"
#include "glovepattern.h"
#include "recordingformat.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr char Program[] = "vantrel-glove-sim";
// 19200 baud with 10 bits to a byte carries 1920 bytes, 213 packets, a second.
constexpr double LineRate = 19200.0 / 10.0 / GlovePacket::Size;
constexpr int UsageError = 2;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

void say(const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", Program, qPrintable(text));
}

// Sleeps until the moment or until asked to stop, in short steps so that Ctrl+C is prompt.
void sleepUntil(Clock::time_point moment)
{
    while (!stopRequested) {
        const auto left = moment - Clock::now();
        if (left <= Clock::duration::zero())
            return;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, 50ms));
    }
}

// Waits for a program to open the other end; reports it opening and closing the line.
bool waitForPeer(const GloveEnd &end, bool &present)
{
    while (!stopRequested) {
        const bool now = end.peerPresent();
        if (now != present)
            say(now ? QStringLiteral("the line was opened")
                    : QStringLiteral("the line was closed"));
        present = now;
        if (present)
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// The poses a person or a test types (--poses): a line of eight values is held until the next;
// a line "once" and eight values is sent a single time, between two of the held pose.
class PoseInput
{
public:
    void startReading()
    {
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line))
                take(QString::fromStdString(line).trimmed());
        }).detach();
    }

    GloveSample next()
    {
        const std::lock_guard lock(m_mutex);
        if (m_once.empty())
            return m_held;
        const GloveSample sample = m_once.front();
        m_once.pop_front();
        return sample;
    }

private:
    void take(QString line)
    {
        if (line.isEmpty())
            return;
        const bool once = line.startsWith(QLatin1String("once"));
        const auto bytes = parseByteList(once ? line.mid(4) : line);
        if (!bytes || bytes->size() != GlovePacket::DataBytes) {
            say(QStringLiteral("a pose is eight values from 0 to 255, not '%1'").arg(line));
            return;
        }
        GloveSample sample;
        for (int i = 0; i < GlovePacket::DataBytes; ++i)
            sample.*GlovePacket::Fields[i] = std::uint8_t(bytes->at(i));
        const std::lock_guard lock(m_mutex);
        if (once)
            m_once.push_back(sample);
        else
            m_held = sample;
    }

    std::mutex m_mutex;
    GloveSample m_held{128, 128, 128, 128, 128, 128, 128, 128};
    std::deque<GloveSample> m_once;
};

struct Options
{
    QString device;
    GlovePattern pattern = GlovePattern::Wave;
    double rate = LineRate;
    qint64 packets = -1; // no end
    double garbage = 0;
    std::optional<QByteArray> bytes;
    std::vector<RecordingFormat::Row> replay;
    bool replaying = false;
    bool poses = false;
};

// When to send each packet: the pattern's at a steady rate; a recording's at the times it was
// recorded (never faster than the line), or at a steady rate when one is asked for.
class Pacing
{
public:
    Pacing(const Options &options, bool rateSet)
        : m_period(std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(1.0 / options.rate))),
          m_rows(options.replaying && !rateSet ? &options.replay : nullptr)
    {}

    // Packet `index` goes out now; the ones after it keep their distance from it.
    void restartAt(qint64 index)
    {
        m_next = Clock::now();
        m_base = m_next - (m_rows ? offset(index) : Clock::duration::zero());
    }
    // The moment for packet `index`, the one after the last sent.
    Clock::time_point next(qint64 index)
    {
        m_next += m_period;
        if (m_rows && index < qint64(m_rows->size()))
            m_next = std::max(m_next, m_base + offset(index));
        return m_next;
    }

private:
    Clock::duration offset(qint64 index) const
    {
        return (*m_rows)[index].sinceStart - m_rows->front().sinceStart;
    }

    const Clock::duration m_period;
    const std::vector<RecordingFormat::Row> *m_rows;
    Clock::time_point m_next;
    Clock::time_point m_base;
};

int fail(const QString &message, const QString &usage)
{
    std::fprintf(stderr, "%s: %s\n\n%s", Program, qPrintable(message), qPrintable(usage));
    return UsageError;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a data glove on a serial line: 9-byte packets, 0xF5 and then thumb, "
                       "index, middle, ring, roll, pitch, input 1, input 2."));
    const QCommandLineOption help({"h", "help"}, "Displays this help.");
    const QCommandLineOption device("device",
                                    "Writes to this serial device (set to 19200 8N1) "
                                    "instead of a new pseudo-terminal.",
                                    "path");
    const QCommandLineOption pattern("pattern", "wave (default), static, random or sweep.", "name",
                                     "wave");
    const QCommandLineOption rate(
        "rate", QStringLiteral("Packets a second, at most %1 (the line's limit).").arg(213),
        "count");
    const QCommandLineOption packets("packets", "Stops after sending this many packets.", "count");
    const QCommandLineOption garbage(
        "garbage", "Inserts a noise byte between packets with this probability (0 to 1).", "p");
    const QCommandLineOption bytes("bytes", "Sends exactly these bytes once, then ends.",
                                   "\"245 10 20 ...\"");
    const QCommandLineOption replay("replay",
                                    "Plays a recording made with Vantrel --record, with the "
                                    "timing it was recorded with (or at --rate), then ends.",
                                    "file");
    const QCommandLineOption poses(
        "poses",
        "Sends the pose last read from standard input, a line of eight values (thumb to input "
        "2), over and over, a hand held still at 128 until the first; a line \"once\" and eight "
        "values is sent a single time between two of the held pose.");
    parser.addOptions({help, device, pattern, rate, packets, garbage, bytes, replay, poses});
    const QString usage =
        parser.helpText().replace(QLatin1String("<executable_name>"), QLatin1String(Program));

    if (!parser.parse(arguments))
        return fail(parser.errorText(), usage);
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'")
                        .arg(parser.positionalArguments().constFirst()),
                    usage);

    Options options;
    options.device = parser.value(device);
    if (const auto p = parseGlovePattern(parser.value(pattern)))
        options.pattern = *p;
    else
        return fail(QStringLiteral("unknown pattern '%1'").arg(parser.value(pattern)), usage);
    bool ok = true;
    if (parser.isSet(rate)) {
        options.rate = parser.value(rate).toDouble(&ok);
        if (!ok || options.rate <= 0 || options.rate > LineRate)
            return fail(QStringLiteral("--rate takes a number above 0 and at most 213"), usage);
    }
    if (parser.isSet(packets)) {
        options.packets = parser.value(packets).toLongLong(&ok);
        if (!ok || options.packets < 0)
            return fail(QStringLiteral("--packets takes a whole number, 0 or more"), usage);
    }
    if (parser.isSet(garbage)) {
        options.garbage = parser.value(garbage).toDouble(&ok);
        if (!ok || options.garbage < 0 || options.garbage > 1)
            return fail(QStringLiteral("--garbage takes a probability from 0 to 1"), usage);
    }
    if (parser.isSet(bytes)) {
        options.bytes = parseByteList(parser.value(bytes));
        if (!options.bytes)
            return fail(QStringLiteral("--bytes takes byte values from 0 to 255"), usage);
    }

    options.poses = parser.isSet(poses);
    if (options.poses && (parser.isSet(pattern) || parser.isSet(bytes) || parser.isSet(replay)))
        return fail(QStringLiteral("--poses takes no --pattern, --bytes or --replay"), usage);
    if (parser.isSet(replay)) {
        if (parser.isSet(pattern) || parser.isSet(bytes))
            return fail(QStringLiteral("--replay plays a recording: it takes no --pattern or "
                                       "--bytes"),
                        usage);
        QString why;
        auto rows = RecordingFormat::readFile(parser.value(replay), &why);
        if (!rows) {
            say(why);
            return UsageError;
        }
        options.replay = std::move(*rows);
        options.replaying = true;
        const auto count = qint64(options.replay.size());
        options.packets = options.packets < 0 ? count : std::min(options.packets, count);
    }

    QString error;
    GloveEnd end = options.device.isEmpty() ? GloveEnd::openPseudoTerminal(&error)
                                            : GloveEnd::openDevice(options.device, &error);
    if (!end.isOpen()) {
        say(error);
        return 1;
    }
    std::printf("%s\n", qPrintable(end.path()));
    std::fflush(stdout);

    struct sigaction stop = {};
    stop.sa_handler = requestStop;
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    bool present = false;
    if (options.bytes) {
        if (waitForPeer(end, present) && end.write(*options.bytes) < 0)
            say(QStringLiteral("the line failed"));
    } else {
        QRandomGenerator random;
        PoseInput typed;
        if (options.poses)
            typed.startReading();
        Pacing pacing(options, parser.isSet(rate));
        for (qint64 sent = 0; options.packets < 0 || sent < options.packets; ++sent) {
            if (!end.peerPresent() || !present) {
                if (!waitForPeer(end, present))
                    break;
                pacing.restartAt(sent); // nothing is sent while nobody listens
            }
            const GloveSample sample = options.poses ? typed.next()
                                       : options.replaying
                                           ? options.replay[sent].sample
                                           : patternSample(options.pattern, quint64(sent), random);
            const auto packet = GlovePacket::encode(sample);
            QByteArray out(reinterpret_cast<const char *>(packet.data()), GlovePacket::Size);
            if (options.garbage > 0 && random.generateDouble() < options.garbage)
                out.append(noiseByte(random));
            if (end.write(out) < 0) {
                say(QStringLiteral("the line failed"));
                return 1;
            }
            sleepUntil(pacing.next(sent + 1));
            if (stopRequested)
                break;
        }
    }
    // Give the program at the other end a moment to read the last bytes before the line goes.
    if (!options.device.isEmpty() || !present || stopRequested)
        return 0;
    sleepUntil(Clock::now() + 500ms);
    return 0;
}
