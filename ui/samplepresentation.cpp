#include "samplepresentation.h"

#include "fingerbar.h"
#include "frmflex.h"
#include "glovepointer.h"
#include "glovesample.h"
#include "handframe.h"
#include "handreading.h"
#include "instances.h"
#include "readoutlabel.h"

#include <QCoreApplication>
#include <array>
#include <cmath>

namespace {

unsigned long long presented = 0;
void (*shownSampleConsumer)(const GloveSample &, const HandPose &) = nullptr;
HandReading reading;
// Made on first use, after the application, and kept to the end: it holds a timer.
GlovePointer *pointer = nullptr;

// The hand figure's travel inside the "Pitch/Roll" panel, in twips. Raw readings move it 12
// and 10 twips a step; a calibrated tilt spans the panel, the neutral pose at its centre.
constexpr double RawRollStep = 12;
constexpr double RawPitchStep = 10;
constexpr double CalibratedRollSpan = 3615 - 675;
constexpr double CalibratedPitchSpan = 3135 - 600;

int barValue(double share)
{
    // The bars' range is 0 to 256: an uncalibrated share is the raw value / 256.
    return int(std::lround(256 * share));
}

// A byte's value in decimal. The texts are made once, so that a readout is set without
// formatting or allocating, and setting an unchanged one compares a few characters.
const QString &decimal(std::uint8_t value)
{
    static const auto texts = [] {
        std::array<QString, 256> made;
        for (int v = 0; v < 256; ++v)
            made[v] = QString::number(v);
        return made;
    }();
    return texts[value];
}

} // namespace

void setShownSampleConsumer(void (*consumer)(const GloveSample &, const HandPose &))
{
    shownSampleConsumer = consumer;
}

HandReading &handReading()
{
    return reading;
}

GlovePointer &glovePointer()
{
    if (!pointer)
        pointer = new GlovePointer;
    return *pointer;
}

unsigned long long samplesPresented()
{
    return presented;
}

void ShowGloveSample(const GloveSample &sample)
{
    ++presented;
    FrmFlex *form = frmFlex();
    // No frame shows a sample half written; the controls reach the screen together.
    form->framePacer().hold(true);
    form->lblRawDataThumb->setText(decimal(sample.Thumb));
    form->lblRawDataIndex->setText(decimal(sample.Index));
    form->lblRawDataMiddle->setText(decimal(sample.Middle));
    form->lblRawDataRing->setText(decimal(sample.Ring));
    form->lblRawDataRoll->setText(decimal(sample.Roll));
    form->lblRawDataPitch->setText(decimal(sample.Pitch));
    form->lblRawDataInput1->setText(decimal(sample.Input1));
    form->lblRawDataInput2->setText(decimal(sample.Input2));

    const auto now = HandReading::Clock::now();
    const HandPose pose = reading.take(sample, now);
    form->prgThumb->setValue(barValue(pose.bend(HandPose::Thumb)));
    form->prgIndex->setValue(barValue(pose.bend(HandPose::Index)));
    form->prgMiddle->setValue(barValue(pose.bend(HandPose::Middle)));
    const int ring = barValue(pose.bend(HandPose::Ring));
    form->prgRing->setValue(ring);
    form->prgPinky->setValue(ring); // the glove reports no little finger

    form->fraHand->setTopTwips(pose.pitch() * (pose.calibrated[HandPose::Pitch]
                                                   ? CalibratedPitchSpan
                                                   : 256 * RawPitchStep));
    form->fraHand->setLeftTwips(
        pose.roll() * (pose.calibrated[HandPose::Roll] ? CalibratedRollSpan : 256 * RawRollStep));
    if (pose.shapeChanged)
        form->showHandShape(pose.shape);
    form->framePacer().hold(false);

    if (shownSampleConsumer)
        shownSampleConsumer(sample, pose);
    if (pointer && pointer->isOn())
        pointer->take(pose, now);
    QCoreApplication::processEvents();
}
