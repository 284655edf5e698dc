// The packet reader against a scripted line, where every take and every wait is under the
// test's control. Needs no application object.
#include "commcodes.h"
#include "gloveline.h"
#include "glovepacketreader.h"

#include <QTest>
#include <deque>
#include <variant>
#include <vector>

namespace {

// One scripted answer to a take: a byte, or a failure number.
using Take = std::variant<std::uint8_t, int>;

class ScriptedLine : public GloveLine
{
public:
    int event = comEvReceive;
    int threshold = 9;
    int eventFailure = commSucceeded;
    std::deque<Take> waiting;            // answers to takes while something waits
    std::deque<std::vector<Take>> later; // what each successive wait delivers
    int takes = 0;
    int waits = 0;

    void queue(std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            waiting.push_back(std::uint8_t(b));
    }

    int readCommEvent(int &code) override
    {
        code = event;
        return eventFailure;
    }
    int readRThreshold(int &count) override
    {
        count = threshold;
        return commSucceeded;
    }
    int takeByte(std::uint8_t &byte) override
    {
        ++takes;
        if (waiting.empty())
            return commNoByteWaiting;
        const Take take = waiting.front();
        waiting.pop_front();
        if (const int *failure = std::get_if<int>(&take))
            return *failure;
        byte = std::get<std::uint8_t>(take);
        return commSucceeded;
    }
    bool waitForInput(QDeadlineTimer) override
    {
        ++waits;
        if (later.empty())
            return false; // the bound ran out with nothing come
        for (const Take &take : later.front())
            waiting.push_back(take);
        later.pop_front();
        return true;
    }
    std::size_t bytesLeft() const { return waiting.size(); }
};

std::vector<Take> bytes(std::initializer_list<int> values)
{
    std::vector<Take> takes;
    for (int v : values)
        takes.push_back(std::uint8_t(v));
    return takes;
}

GloveSample sampleOf(std::initializer_list<int> values)
{
    GloveSample sample;
    auto it = values.begin();
    for (const auto field : GlovePacket::Fields)
        sample.*field = std::uint8_t(*it++);
    return sample;
}

} // namespace

class TestGlovePacketReader : public QObject
{
    Q_OBJECT

    ScriptedLine line;
    std::vector<GloveSample> shown;
    GlovePacketReader reader{line, [this](const GloveSample &s) { shown.push_back(s); }};

private slots:
    void init()
    {
        line = ScriptedLine();
        shown.clear();
    }

    void findsPacketsAfterTheSyncByte()
    {
        // A whole packet.
        line.queue({245, 10, 20, 30, 40, 50, 60, 70, 80});
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0], sampleOf({10, 20, 30, 40, 50, 60, 70, 80}));
        QCOMPARE(line.takes, 9);

        // Bytes before the sync byte are discarded.
        line.queue({3, 7, 245, 1, 2, 3, 4, 5, 6, 7, 8});
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 2u);
        QCOMPARE(shown[1], sampleOf({1, 2, 3, 4, 5, 6, 7, 8}));

        // A data byte of 245 reached by the search is taken as the sync byte.
        line.queue({1, 245, 245, 0, 0, 0, 0, 0, 0, 0});
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 3u);
        QCOMPARE(shown[2], sampleOf({245, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(line.bytesLeft(), 0u);
    }

    void presentsOneSamplePerEvent()
    {
        line.queue({245, 1, 2, 3, 4, 5, 6, 7, 8, 245, 11, 12, 13, 14, 15, 16, 17, 18, 245, 9});
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0], sampleOf({1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(line.bytesLeft(), 11u);

        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 2u);
        QCOMPARE(shown[1], sampleOf({11, 12, 13, 14, 15, 16, 17, 18}));
        QCOMPARE(line.bytesLeft(), 2u);
    }

    void takesNothingForOtherEvents()
    {
        for (int code : std::initializer_list<int>{
                 comEvSend, comEvCTS, comEvDSR, comEvCD, comEvRing, comEvEOF, comEventBreak,
                 comEventFrame, comEventOverrun, comEventRxOver, comEventRxParity, comEventTxFull,
                 comEventDCB, 0, 9999}) {
            line.event = code;
            line.queue({245, 1, 2, 3, 4, 5, 6, 7, 8});
            reader.MSComm_OnComm();
            QCOMPARE(line.takes, 0);
            line.waiting.clear();
        }
        QVERIFY(shown.empty());
    }

    void keepsTakenBytesWhileWaitingForTheRest()
    {
        // The packet's last two bytes come later: the six already taken are kept, and the
        // next packet's bytes stay for the next event.
        line.queue({9, 0, 245, 1, 2, 3, 4, 5, 6});
        line.later.push_back(bytes({7, 8, 245, 11, 12, 13, 14, 15}));
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0], sampleOf({1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(line.bytesLeft(), 6u);

        // Each missing byte is waited for on its own, and none is skipped.
        line.waiting.clear();
        line.queue({245});
        for (int b = 1; b <= 8; ++b)
            line.later.push_back(bytes({b * 10}));
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 2u);
        QCOMPARE(shown[1], sampleOf({10, 20, 30, 40, 50, 60, 70, 80}));
    }

    void waitsForTheSyncByteWithoutSkipping()
    {
        line.later.push_back(bytes({}));
        line.later.push_back(bytes({17}));
        line.later.push_back(bytes({245, 1, 2, 3}));
        line.later.push_back(bytes({4, 5, 6, 7, 8}));
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0], sampleOf({1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(line.waits, 4);
    }

    void dropsThePartialPacketWhenTheWaitRunsOut()
    {
        line.queue({245, 1, 2, 3});
        reader.MSComm_OnComm();
        QVERIFY(shown.empty());
        QCOMPARE(line.waits, 1);

        // The next event starts with a sync search: 4 is not taken as Thumb.
        line.queue({4, 5, 245, 31, 32, 33, 34, 35, 36, 37, 38});
        reader.MSComm_OnComm();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0], sampleOf({31, 32, 33, 34, 35, 36, 37, 38}));
    }

    void endsTheHandlingOnAnyOtherFailure()
    {
        // During the packet read: the sample is dropped, the bytes after it stay.
        line.waiting = {std::uint8_t(245), std::uint8_t(1), std::uint8_t(2),
                        comPortNotOpen,    std::uint8_t(4), std::uint8_t(5)};
        reader.MSComm_OnComm();
        QVERIFY(shown.empty());
        QCOMPARE(line.bytesLeft(), 2u);
        QCOMPARE(line.waits, 0);

        // During the sync search.
        line.waiting = {std::uint8_t(1), comInvalidPropertyValue, std::uint8_t(245)};
        reader.MSComm_OnComm();
        QVERIFY(shown.empty());
        QCOMPARE(line.bytesLeft(), 1u);

        // Reading the event code: no byte is taken.
        line.waiting.clear();
        line.takes = 0;
        line.eventFailure = comPortNotOpen;
        line.queue({245, 1, 2, 3, 4, 5, 6, 7, 8});
        reader.MSComm_OnComm();
        QCOMPARE(line.takes, 0);
        QVERIFY(shown.empty());
    }

    void refusesAThresholdThatCannotFillASample()
    {
        for (int threshold : {0, 1, 8, 10}) {
            line.threshold = threshold;
            line.waiting.clear();
            line.queue({245, 1, 2, 3, 4, 5, 6, 7, 8, 9});
            reader.MSComm_OnComm();
            QVERIFY2(shown.empty(), qPrintable(QString::number(threshold)));
            QCOMPARE(line.bytesLeft(), 9u); // only the sync byte was taken
        }
    }
};

QTEST_APPLESS_MAIN(TestGlovePacketReader)
#include "tst_glovepacketreader.moc"
