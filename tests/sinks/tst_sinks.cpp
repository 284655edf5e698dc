// Where samples go: the OSC messages the program sends, read back by liblo, a real OSC
// implementation; and a recording stopped while its disk hangs.
#include "handshapes.h"
#include "oscmessage.h"
#include "oscsender.h"
#include "recording.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <condition_variable>
#include <cstring>
#include <lo/lo.h>
#include <memory>
#include <mutex>

namespace {

using LoMessage = std::unique_ptr<std::remove_pointer_t<lo_message>, decltype(&lo_message_free)>;

// liblo's reading of the bytes, or nothing when it finds them malformed.
LoMessage parsed(const char *bytes, std::size_t size)
{
    int result = 0;
    return LoMessage(lo_message_deserialise(const_cast<char *>(bytes), size, &result),
                     &lo_message_free);
}

// A disk that hangs: each write waits until the test lets it go.
class HangingDisk : public QIODevice
{
public:
    explicit HangingDisk(std::atomic<bool> *closed) : m_closed(closed)
    {
        open(QIODevice::WriteOnly);
    }
    ~HangingDisk() override { *m_closed = true; }

    void waitUntilWriting()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_writing; });
    }
    void letGo()
    {
        std::lock_guard lock(m_mutex);
        m_hanging = false;
        m_changed.notify_all();
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        std::unique_lock lock(m_mutex);
        m_writing = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_hanging; });
        return size;
    }

private:
    std::atomic<bool> *m_closed;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_writing = false;
    bool m_hanging = true;
};

// An argument as liblo stores it: packed, so not always aligned for lo_arg.
template <typename Value> Value argument(const LoMessage &message, int i)
{
    Value value;
    std::memcpy(&value, lo_message_get_argv(message.get())[i], sizeof value);
    return value;
}

} // namespace

class TestSinks : public QObject
{
    Q_OBJECT

private slots:
    void libloReadsWhatIsWritten()
    {
        std::array<char, 128> buffer{};

        OscMessage glove(buffer.data(), buffer.size(), OscSender::OscAddress, "iiiiiiii");
        const int values[8] = {0, 1, 127, 128, 200, 254, 255, 42};
        for (int value : values)
            glove.addInt32(value);
        QVERIFY(glove.fits());
        auto read = parsed(buffer.data(), glove.size());
        QVERIFY(read);
        QCOMPARE(QByteArray(lo_message_get_types(read.get())), QByteArray("iiiiiiii"));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(argument<std::int32_t>(read, i), values[i]);

        OscMessage hand(buffer.data(), buffer.size(), OscSender::PoseAddress, "ffffff");
        const float shares[6] = {0.f, 1.f, 0.5f, 0.125f, 0.999f, 1e-6f};
        for (float share : shares)
            hand.addFloat(share);
        read = parsed(buffer.data(), hand.size());
        QVERIFY(read);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(argument<float>(read, i), shares[i]);

        // Names of every length modulo four, and the longest, in three-byte characters.
        QStringList names{
            QString(), "O",     "OK",        "Fis",
            "Fist",    "Point", "Open hand", QString(HandShapes::MaxNameLength, QChar(0x2603))};
        for (const QString &name : names) {
            OscMessage shape(buffer.data(), buffer.size(), OscSender::GestureAddress, "s");
            shape.addString(name.toUtf8());
            QVERIFY2(shape.fits(), qPrintable(name));
            QCOMPARE(shape.size() % 4, 0u);
            read = parsed(buffer.data(), shape.size());
            QVERIFY2(read, qPrintable(name));
            QCOMPARE(QString::fromUtf8(
                         reinterpret_cast<const char *>(lo_message_get_argv(read.get())[0])),
                     name);
        }

        // What does not fit is not sent cut short.
        OscMessage tooLong(buffer.data(), 40, OscSender::GestureAddress, "s");
        tooLong.addString(QByteArray(40, 'x'));
        QVERIFY(!tooLong.fits());
    }

    // Stopped while its disk hangs, a recording returns at once and is gone; a new one is
    // not held up by it; the old writer ends, with the device, once the disk comes back.
    void aStopDoesNotWaitForAHangingDisk()
    {
        std::atomic<bool> closed = false;
        auto *disk = new HangingDisk(&closed);
        auto hanging = Recording::onDevice(std::unique_ptr<QIODevice>(disk), "hanging");
        hanging->add(GloveSample{1, 2, 3, 4, 5, 6, 7, 8});
        disk->waitUntilWriting();
        hanging->add(GloveSample{9, 9, 9, 9, 9, 9, 9, 9});
        hanging->stop();
        hanging.reset();

        QTemporaryDir dir;
        QString error;
        auto next = Recording::create(dir.filePath(QStringLiteral("next.csv")), &error);
        QVERIFY2(next, qPrintable(error));
        for (std::uint8_t i = 0; i < 100; ++i)
            next->add(GloveSample{i, i, i, i, i, i, i, i});
        QVERIFY(next->finish());
        QCOMPARE(next->rowsWritten(), 100u);
        QVERIFY(!closed);

        disk->letGo();
        QTRY_VERIFY(closed);
    }
};

QTEST_GUILESS_MAIN(TestSinks)
#include "tst_sinks.moc"
