// The arithmetic of the wearer's calibration and the filter, where it can go wrong.
#include "calibrationcapture.h"
#include "calibrationstore.h"
#include "handshapes.h"
#include "onefilter.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

GloveSample pose(std::uint8_t fingers, std::uint8_t roll = 128, std::uint8_t pitch = 128)
{
    return {fingers, fingers, fingers, fingers, roll, pitch, 0, 0};
}

void hold(CalibrationCapture &capture, GloveSample sample, int count)
{
    for (int i = 0; i < count; ++i)
        capture.add(sample);
}

} // namespace

class TestHand : public QObject
{
    Q_OBJECT

private slots:
    void mapsEitherPolarityAndClampsOutsideTheRange()
    {
        // A sensor that reads lower when bent.
        const FingerRange finger{200, 80};
        QCOMPARE(calibratedBend(finger, 200), 0.0);
        QCOMPARE(calibratedBend(finger, 80), 1.0);
        QCOMPARE(calibratedBend(finger, 140), 0.5);
        QCOMPARE(calibratedBend(finger, 250), 0.0);
        QCOMPARE(calibratedBend(finger, 10), 1.0);

        // Each side of the neutral pose scaled on its own.
        const TiltRange tilt{60, 100, 200};
        QCOMPARE(calibratedTilt(tilt, 100), 0.5);
        QCOMPARE(calibratedTilt(tilt, 80), 0.25);
        QCOMPARE(calibratedTilt(tilt, 150), 0.75);
        QCOMPARE(calibratedTilt(tilt, 0), 0.0);
        QCOMPARE(calibratedTilt(tilt, 255), 1.0);
    }

    // Three steps of a glove whose sensors read lower when bent, with glitches: the poses are
    // the held ones, the tilt range is what was held for three samples, and a finger that did
    // not move keeps its raw mapping and is named.
    void capturesHeldPosesPastGlitches()
    {
        CalibrationCapture capture;
        GloveSample open = pose(200, 120, 110);
        open.Ring = 90; // a ring sensor that does not move
        for (int i = 0; i < 20; ++i) {
            hold(capture, open, 10);
            capture.add(pose(0, 255, 0)); // a glitch now and then
        }
        QVERIFY(capture.canAdvance());
        capture.advance();
        GloveSample fist = pose(60, 120, 110);
        fist.Ring = 93;
        hold(capture, fist, 100);
        capture.advance();
        for (int roll = 120; roll >= 40; --roll)
            capture.add(pose(60, std::uint8_t(roll), 110));
        hold(capture, pose(60, 0, 110), 2); // a glitch of two samples does not widen it
        for (int roll = 40; roll <= 230; ++roll)
            capture.add(pose(60, std::uint8_t(roll), std::uint8_t(roll / 2 + 50)));
        hold(capture, pose(60, 230, 165), 2);
        capture.add(pose(60, 255, 255));
        capture.advance();

        const Calibration calibration = capture.result();
        QCOMPARE(calibration.fingers[0], (FingerRange{200, 60}));
        QVERIFY(!calibration.fingers[3]);
        QCOMPARE(calibration.roll, (TiltRange{40, 120, 230}));
        QCOMPARE(calibration.pitch, (TiltRange{71, 110, 165})); // 70 came twice only
        QCOMPARE(capture.problems().size(), 1);
        QVERIFY(capture.problems().constFirst().contains(QLatin1String("ring finger")));

        const HandPose shown = calibration.apply({60, 200, 130, 93, 120, 110, 0, 0});
        QCOMPARE(shown.bend(HandPose::Thumb), 1.0);
        QCOMPARE(shown.bend(HandPose::Index), 0.0);
        QCOMPARE(shown.bend(HandPose::Ring), 93 / 256.0); // raw
        QVERIFY(!shown.calibrated[HandPose::Ring]);
        QCOMPARE(shown.roll(), 0.5);
        QCOMPARE(shown.pitch(), 0.5);
    }

    void filterStartsAtTheFirstSampleAndAfresherAfterAPause()
    {
        OneEuroFilter filter(PoseFilter::Tuned);
        QCOMPARE(filter.filter(0.8, 10.0), 0.8);
        // At rest it stays; a jump is followed, not at once.
        QCOMPARE(filter.filter(0.8, 10.005), 0.8);
        const double followed = filter.filter(0.2, 10.010);
        QVERIFY(followed < 0.8 && followed > 0.2);
        // A backlog worked off at once counts at the line's pace, not as no time at all.
        const double next = filter.filter(0.2, 10.010);
        QVERIFY(next < followed && next > 0.2);
        // After a pause the hand is where it is now, not where it was.
        QCOMPARE(filter.filter(0.4, 11.0), 0.4);
    }

    // An entry that cannot be read whole is not used at all; a saved one comes back as it was.
    void savedSettingsComeBackWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("Vantrel.conf")), QSettings::IniFormat);
        GloveSettings saved;
        saved.calibration.fingers[1] = FingerRange{200, 60.5};
        saved.calibration.pitch = TiltRange{70, 110, 165};
        saved.filter = true;
        HandShapes shapes = HandShapes::defaults();
        shapes.recognise = true;
        shapes.names[HandShapes::pattern(QStringLiteral("xoox"))] = QStringLiteral("Peace");
        shapes.names[HandShapes::pattern(QStringLiteral("oooo"))].clear();
        QString error;
        QVERIFY(CalibrationStore::save(settings, QStringLiteral("usb-0403-6001-a1"),
                                       QStringLiteral("/dev/ttyUSB0"), saved, shapes, &error));
        QString problem;
        const auto loaded =
            CalibrationStore::load(settings, QStringLiteral("usb-0403-6001-a1"), &problem);
        QVERIFY(loaded && problem.isEmpty());
        QCOMPARE(loaded->calibration, saved.calibration);
        QVERIFY(loaded->filter);

        for (const char *broken : {"110 70 165", "70 110", "70 110 999", "seventy 110 165"}) {
            settings.setValue(QStringLiteral("Gloves/usb-0403-6001-a1/Pitch"), broken);
            QVERIFY2(
                !CalibrationStore::load(settings, QStringLiteral("usb-0403-6001-a1"), &problem),
                broken);
            QVERIFY(problem.contains(QLatin1String("Pitch")));
        }
        QVERIFY(!CalibrationStore::load(settings, QStringLiteral("com1"), &problem));

        QCOMPARE(CalibrationStore::loadHandShapes(settings, &problem), shapes);
        settings.setValue(QStringLiteral("HandShapes/xxxx"), QString(40, QLatin1Char('F')));
        QVERIFY(!CalibrationStore::loadHandShapes(settings, &problem));
        QVERIFY(problem.contains(QLatin1String("xxxx")));
    }

    // A finger between the thresholds keeps its state; a shape is reported once it has held,
    // and a shape passed through on the way to another is not reported at all.
    void recognisesHeldShapesWithHysteresis()
    {
        using namespace std::chrono_literals;
        ShapeRecognizer recognizer;
        HandShapes shapes = HandShapes::defaults();
        shapes.recognise = true;
        recognizer.setShapes(shapes);
        HandPose pose;
        pose.calibrated.fill(true);
        const auto hand = [&](double thumb, double index, double middle, double ring) {
            pose.value = {thumb, index, middle, ring, 0.5, 0.5};
        };
        QList<QString> said;
        ShapeRecognizer::Clock::time_point at{};
        const auto run = [&](std::chrono::milliseconds lasting) {
            for (const auto end = at + lasting; at < end; at += 5ms)
                if (recognizer.take(pose, at))
                    said << recognizer.reported();
        };

        hand(0.9, 0.9, 0.9, 0.9);
        run(95ms);
        QVERIFY(said.isEmpty());
        run(10ms);
        QCOMPARE(said, QList<QString>{QStringLiteral("Fist")});
        // Half-way back: still a fist.
        hand(0.45, 0.5, 0.55, 0.45);
        run(300ms);
        QCOMPARE(said.size(), 1);
        // Through the Point shape in 60 ms on the way to an open hand.
        hand(0.7, 0.1, 0.7, 0.7);
        run(60ms);
        hand(0.1, 0.1, 0.1, 0.1);
        run(200ms);
        QCOMPARE(said, (QList<QString>{QStringLiteral("Fist"), QStringLiteral("Open hand")}));
        // Half-way bent: still open.
        hand(0.55, 0.5, 0.45, 0.55);
        run(300ms);
        QCOMPARE(said.size(), 2);
        // An unnamed shape clears the name; a raw finger stops recognition.
        hand(0.1, 0.9, 0.1, 0.9);
        run(200ms);
        QCOMPARE(said.last(), QString());
        hand(0.9, 0.9, 0.9, 0.9);
        run(200ms);
        QCOMPARE(said.last(), QStringLiteral("Fist"));
        pose.calibrated[HandPose::Ring] = false;
        run(5ms);
        QCOMPARE(said.last(), QString());
        QCOMPARE(recognizer.current(), -1);
    }
};

QTEST_GUILESS_MAIN(TestHand)
#include "tst_hand.moc"
