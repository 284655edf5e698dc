#include "recording.h"

#include "filesync.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;

namespace {

// How often the writer takes what was queued, and how often it syncs the file.
constexpr auto WriteInterval = 250ms;
constexpr auto SyncInterval = 1s;
// Rows that may wait for a stalled disk: over an hour of the glove at its full rate, in
// 32 MiB. Past that, the recording stops rather than take all memory.
constexpr std::size_t MaxQueued = std::size_t(1) << 20;

} // namespace

// What the caller and the writer's thread share. The thread holds it to its end.
struct Recording::Writer
{
    Writer(std::unique_ptr<QIODevice> device, const QString &name)
        : device(std::move(device)), name(name)
    {
        queued.reserve(1024);
    }

    void writeRows();
    // Writes, and on failure cuts the file back to its last whole row.
    bool writeOut(const QByteArray &bytes);
    void stop(const QString &why);

    const std::unique_ptr<QIODevice> device; // the writer's thread only, once it runs
    const QString name;
    qint64 written = 0; // the writer's thread only: bytes in whole rows
    std::atomic<std::uint64_t> rowsWritten{0};
    std::atomic<bool> stopped{false}; // a write failed, or too much waited

    std::mutex mutex;
    std::condition_variable wake;
    std::vector<RecordingFormat::Row> queued; // guarded by mutex
    bool finishing = false;                   // guarded by mutex
    QString failure;                          // guarded by mutex
};

std::unique_ptr<Recording> Recording::create(const QString &path, QString *error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *error = file->exists()
                     ? QStringLiteral("%1 exists already; it is left as it is").arg(path)
                     : QStringLiteral("cannot create %1: %2").arg(path, file->errorString());
        return nullptr;
    }
    return onDevice(std::move(file), path);
}

std::unique_ptr<Recording> Recording::onDevice(std::unique_ptr<QIODevice> device,
                                               const QString &name)
{
    return std::unique_ptr<Recording>(
        new Recording(std::make_shared<Writer>(std::move(device), name)));
}

Recording::Recording(std::shared_ptr<Writer> writer) : m_writer(std::move(writer))
{
    m_thread = QThread::create([writer = m_writer] { writer->writeRows(); });
    // Once it has ended, whether anybody still waits on it or not.
    QObject::connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread->start();
}

Recording::~Recording()
{
    stop();
}

QString Recording::path() const
{
    return m_writer->name;
}

std::uint64_t Recording::rowsWritten() const
{
    return m_writer->rowsWritten.load(std::memory_order_relaxed);
}

bool Recording::failed() const
{
    return m_writer->stopped.load(std::memory_order_relaxed);
}

bool Recording::isWriting() const
{
    return m_thread && !m_thread->isFinished();
}

QString Recording::failure() const
{
    std::lock_guard lock(m_writer->mutex);
    return m_writer->failure;
}

void Recording::add(const GloveSample &sample)
{
    if (m_stopping || m_writer->stopped.load(std::memory_order_relaxed))
        return;
    RecordingFormat::Row row{
        ++m_added, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_began),
        std::chrono::system_clock::now(), sample};
    std::lock_guard lock(m_writer->mutex);
    if (m_writer->queued.size() >= MaxQueued) {
        m_writer->stopped = true; // said by the writer, which is stuck on the disk
        return;
    }
    m_writer->queued.push_back(row);
}

void Recording::stop()
{
    if (m_stopping)
        return;
    m_stopping = true;
    std::lock_guard lock(m_writer->mutex);
    m_writer->finishing = true;
    m_writer->wake.notify_all();
}

bool Recording::finish()
{
    stop();
    // A disk that hangs (a network share gone, say) must not keep the program from ending.
    if (m_thread && !m_thread->wait(QDeadlineTimer(FinishTimeout))) {
        m_writer->stop(QStringLiteral("the disk has not taken the last rows in %1 s; ending "
                                      "without them")
                           .arg(FinishTimeout.count()));
        return false;
    }
    return !failed();
}

void Recording::Writer::writeRows()
{
    std::vector<RecordingFormat::Row> taken;
    taken.reserve(1024);
    QByteArray text = RecordingFormat::header();
    auto synced = Clock::now();
    bool unsynced = true;
    bool failed = false;
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait_for(lock, WriteInterval, [this] { return finishing; });
        const bool ending = finishing;
        const bool overflowed = !failed && stopped && queued.size() >= MaxQueued;
        taken.swap(queued);
        lock.unlock();

        if (!failed) {
            for (const RecordingFormat::Row &row : taken)
                RecordingFormat::appendRow(text, row);
            if (!text.isEmpty()) {
                failed = !writeOut(text);
                unsynced = true;
                if (!failed)
                    rowsWritten.fetch_add(taken.size(), std::memory_order_relaxed);
            }
            if (!failed && overflowed) {
                stop(QStringLiteral("the disk took too long, and the samples waiting for it "
                                    "filled the memory set aside for them"));
                failed = true;
            }
            if (!failed && unsynced && (ending || Clock::now() - synced >= SyncInterval)) {
                auto *file = qobject_cast<QFile *>(device.get());
                if (file && !syncToDisk(*file)) {
                    stop(QStringLiteral("cannot sync to the disk"));
                    failed = true;
                }
                synced = Clock::now();
                unsynced = false;
            }
        }
        text.clear();
        taken.clear();
        if (ending) {
            device->close();
            return;
        }
        lock.lock();
    }
}

bool Recording::Writer::writeOut(const QByteArray &bytes)
{
    // A write cut short is followed by one for the rest, which tells why it failed.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 wrote = device->write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) {
            const QString why = device->errorString();
            // Part of a row may have gone out; the file ends with a whole row.
            if (auto *file = qobject_cast<QFileDevice *>(device.get()))
                file->resize(written);
            stop(why);
            return false;
        }
        done += wrote;
    }
    written += bytes.size();
    return true;
}

void Recording::Writer::stop(const QString &why)
{
    stopped = true;
    {
        std::lock_guard lock(mutex);
        failure = why;
    }
    std::fprintf(stderr,
                 "Vantrel: recording to %s stopped: %s. The rows written before are kept; "
                 "the glove is still shown.\n",
                 qPrintable(name), qPrintable(why));
    std::fflush(stderr);
}
