#include "recording.h"

#include "filesync.h"

#include <cstdio>

using namespace std::chrono_literals;

namespace {

// How often the writer takes what was queued, and how often it syncs the file.
constexpr auto WriteInterval = 250ms;
constexpr auto SyncInterval = 1s;
// Rows that may wait for a stalled disk: over an hour of the glove at its full rate, in
// 32 MiB. Past that, the recording stops rather than take all memory.
constexpr std::size_t MaxQueued = std::size_t(1) << 20;
// How long ending the program waits for the disk to take the last rows.
constexpr auto FinishTimeout = 10s;

} // namespace

std::unique_ptr<Recording> Recording::create(const QString &path, QString *error)
{
    std::unique_ptr<Recording> recording(new Recording(path));
    if (!recording->m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly |
                                QIODevice::Unbuffered)) {
        *error =
            recording->m_file.exists()
                ? QStringLiteral("%1 exists already; it is left as it is").arg(path)
                : QStringLiteral("cannot create %1: %2").arg(path, recording->m_file.errorString());
        return nullptr;
    }
    recording->m_queued.reserve(1024);
    recording->m_writer = std::thread(&Recording::writeRows, recording.get());
    return recording;
}

Recording::Recording(const QString &path) : m_file(path) {}

Recording::~Recording()
{
    finish();
}

void Recording::add(const GloveSample &sample)
{
    if (m_stopped.load(std::memory_order_relaxed))
        return;
    RecordingFormat::Row row{
        ++m_added, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_began),
        std::chrono::system_clock::now(), sample};
    std::lock_guard lock(m_mutex);
    if (m_queued.size() >= MaxQueued) {
        m_stopped = true; // said by the writer, which is stuck on the disk
        return;
    }
    m_queued.push_back(row);
}

bool Recording::finish()
{
    if (!m_writer.joinable()) // finished already, or never begun
        return !m_stopped;
    std::unique_lock lock(m_mutex);
    m_finishing = true;
    m_wake.notify_all();
    // A disk that hangs (a network share gone, say) must not keep the program from ending.
    if (!m_wake.wait_for(lock, FinishTimeout, [this] { return m_writerDone; })) {
        m_stopped = true;
        std::fprintf(stderr,
                     "Vantrel: recording to %s: the disk has not taken the last rows "
                     "in %lld s; ending without them.\n",
                     qPrintable(m_file.fileName()), qlonglong(FinishTimeout.count()));
        m_writer.detach();
        return false;
    }
    lock.unlock();
    m_writer.join();
    m_file.close();
    return !m_stopped;
}

void Recording::writeRows()
{
    std::vector<RecordingFormat::Row> taken;
    taken.reserve(1024);
    QByteArray text = RecordingFormat::header();
    auto synced = Clock::now();
    bool unsynced = true;
    bool stopped = false;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait_for(lock, WriteInterval, [this] { return m_finishing; });
        const bool finishing = m_finishing;
        const bool overflowed = !stopped && m_stopped && m_queued.size() >= MaxQueued;
        taken.swap(m_queued);
        lock.unlock();

        if (!stopped) {
            for (const RecordingFormat::Row &row : taken)
                RecordingFormat::appendRow(text, row);
            if (!text.isEmpty()) {
                stopped = !writeOut(text);
                unsynced = true;
                m_rowsWritten += stopped ? 0 : taken.size();
            }
            if (!stopped && overflowed) {
                stop(QStringLiteral("the disk took too long, and the samples waiting for it "
                                    "filled the memory set aside for them"));
                stopped = true;
            }
            if (!stopped && unsynced && (finishing || Clock::now() - synced >= SyncInterval)) {
                if (!syncToDisk(m_file)) {
                    stop(QStringLiteral("cannot sync to the disk"));
                    stopped = true;
                }
                synced = Clock::now();
                unsynced = false;
            }
        }
        text.clear();
        taken.clear();

        lock.lock();
        if (finishing) {
            m_writerDone = true;
            m_wake.notify_all();
            return;
        }
    }
}

bool Recording::writeOut(const QByteArray &bytes)
{
    // A write cut short is followed by one for the rest, which tells why it failed.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 wrote = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) {
            const QString why = m_file.errorString();
            // Part of a row may have gone out; the file ends with a whole row.
            m_file.resize(m_written);
            stop(why);
            return false;
        }
        done += wrote;
    }
    m_written += bytes.size();
    return true;
}

void Recording::stop(const QString &why)
{
    m_stopped = true;
    std::fprintf(stderr,
                 "Vantrel: recording to %s stopped: %s. The rows written before are kept; "
                 "the glove is still shown.\n",
                 qPrintable(m_file.fileName()), qPrintable(why));
    std::fflush(stderr);
}
