#ifndef RECORDING_H
#define RECORDING_H

#include "recordingformat.h"

#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>

class QIODevice;
class QThread;

// Every sample it is given, in order, as a row of a CSV file (see RecordingFormat). A thread
// of its own writes the rows, so that a slow or stalled disk never holds up the caller: what
// was recorded goes out at least every quarter of a second and is synced to the disk at
// least once a second. A write that fails says so on stderr at once and stops the recording;
// the file keeps the whole rows written before it.
//
// The writer's state is shared with its thread, which keeps it until it ends: a recording
// stopped while the program goes on returns at once, and its thread completes the file, or
// gives up on a disk that failed, in the background, then ends and is cleaned up.
class Recording
{
public:
    // Creates the file, never overwriting one: on failure (it exists, say) gives no recording
    // and says why in `error`.
    static std::unique_ptr<Recording> create(const QString &path, QString *error);
    // Records to a device of the caller's, open for writing, known to people as `name`: a
    // stand-in for a disk, say.
    static std::unique_ptr<Recording> onDevice(std::unique_ptr<QIODevice> device,
                                               const QString &name);
    // Stops it, without waiting (see stop()).
    ~Recording();

    // Stamps the sample with the clocks and queues it for writing. Never waits on the disk.
    void add(const GloveSample &sample);

    // Writes what is queued, syncs and closes the file, waiting for the disk up to
    // FinishTimeout: the program's end. False when anything was lost.
    bool finish();
    // The same without waiting: nothing more is recorded, and the writer completes the file
    // in the background.
    void stop();

    QString path() const;
    // Whether its writer still runs: not yet stopped, or completing the file.
    bool isWriting() const;
    // The rows in the file so far.
    std::uint64_t rowsWritten() const;
    // Whether anything was lost: a write failed, or the disk could not keep up; and why.
    bool failed() const;
    QString failure() const;

    // How long ending the program waits for the disk to take the last rows.
    static constexpr std::chrono::seconds FinishTimeout{10};

private:
    struct Writer;
    explicit Recording(std::shared_ptr<Writer> writer);

    using Clock = std::chrono::steady_clock;

    std::shared_ptr<Writer> m_writer;
    QPointer<QThread> m_thread; // gone once it ended after a stop
    const Clock::time_point m_began = Clock::now();
    std::uint64_t m_added = 0;
    bool m_stopping = false;
};

#endif // RECORDING_H
