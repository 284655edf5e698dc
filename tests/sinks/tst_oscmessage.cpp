// The OSC messages the program sends, read back by liblo, a real OSC implementation: every
// argument as it was given, and the padding right for names of every length.
#include "handshapes.h"
#include "oscmessage.h"
#include "oscsender.h"

#include <QTest>
#include <array>
#include <lo/lo.h>
#include <memory>

namespace {

using LoMessage = std::unique_ptr<std::remove_pointer_t<lo_message>, decltype(&lo_message_free)>;

// liblo's reading of the bytes, or nothing when it finds them malformed.
LoMessage parsed(const char *bytes, std::size_t size)
{
    int result = 0;
    return LoMessage(lo_message_deserialise(const_cast<char *>(bytes), size, &result),
                     &lo_message_free);
}

} // namespace

class TestOscMessage : public QObject
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
            QCOMPARE(lo_message_get_argv(read.get())[i]->i, values[i]);

        OscMessage hand(buffer.data(), buffer.size(), OscSender::PoseAddress, "ffffff");
        const float shares[6] = {0.f, 1.f, 0.5f, 0.125f, 0.999f, 1e-6f};
        for (float share : shares)
            hand.addFloat(share);
        read = parsed(buffer.data(), hand.size());
        QVERIFY(read);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(lo_message_get_argv(read.get())[i]->f, shares[i]);

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
            QCOMPARE(QString::fromUtf8(&lo_message_get_argv(read.get())[0]->s), name);
        }

        // What does not fit is not sent cut short.
        OscMessage tooLong(buffer.data(), 40, OscSender::GestureAddress, "s");
        tooLong.addString(QByteArray(40, 'x'));
        QVERIFY(!tooLong.fits());
    }
};

QTEST_GUILESS_MAIN(TestOscMessage)
#include "tst_oscmessage.moc"
