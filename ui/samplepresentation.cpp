#include "samplepresentation.h"

#include "frmflex.h"
#include "glovesample.h"
#include "handframe.h"
#include "instances.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <array>

namespace {

unsigned long long presented = 0;
void (*shownSampleConsumer)(const GloveSample &) = nullptr;

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

void setShownSampleConsumer(void (*consumer)(const GloveSample &))
{
    shownSampleConsumer = consumer;
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

    form->prgThumb->setValue(sample.Thumb);
    form->prgIndex->setValue(sample.Index);
    form->prgMiddle->setValue(sample.Middle);
    form->prgRing->setValue(sample.Ring);
    form->prgPinky->setValue(sample.Ring); // the glove reports no little finger

    form->fraHand->setTopTwips(10 * sample.Pitch);
    form->fraHand->setLeftTwips(12 * sample.Roll);
    form->framePacer().hold(false);

    if (shownSampleConsumer)
        shownSampleConsumer(sample);
    QCoreApplication::processEvents();
}
