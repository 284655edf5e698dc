#ifndef RECORDING_H
#define RECORDING_H

#include "recordingformat.h"

#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Every sample it is given, in order, as a row of a CSV file (see RecordingFormat). A thread
// of its own writes the rows, so that a slow or stalled disk never holds up the caller: what
// was recorded goes out at least every quarter of a second and is synced to the disk at
// least once a second. A write that fails says so on stderr at once and stops the recording;
// the file keeps the whole rows written before it.
class Recording
{
public:
    // Creates the file, never overwriting one: on failure (it exists, say) gives no recording
    // and says why in `error`.
    static std::unique_ptr<Recording> create(const QString &path, QString *error);
    ~Recording();

    // Stamps the sample with the clocks and queues it for writing. Never waits on the disk.
    void add(const GloveSample &sample);

    // Writes what is queued, syncs and closes the file. False when anything was lost.
    bool finish();

    QString path() const { return m_file.fileName(); }
    // The rows in the file; read once finished.
    std::uint64_t rowsWritten() const { return m_rowsWritten; }

private:
    Recording(const QString &path);
    void writeRows();
    // Writes, and on failure cuts the file back to its last whole row.
    bool writeOut(const QByteArray &bytes);
    void stop(const QString &why);

    using Clock = std::chrono::steady_clock;

    QFile m_file;
    const Clock::time_point m_began = Clock::now();
    std::uint64_t m_added = 0;          // the caller's thread only
    qint64 m_written = 0;               // the writer's thread only: bytes in whole rows
    std::uint64_t m_rowsWritten = 0;    // the writer's thread only
    std::atomic<bool> m_stopped{false}; // a write failed, or too much waited

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<RecordingFormat::Row> m_queued; // guarded by m_mutex
    bool m_finishing = false;                   // guarded by m_mutex
    bool m_writerDone = false;                  // guarded by m_mutex
    std::thread m_writer;
};

#endif // RECORDING_H
