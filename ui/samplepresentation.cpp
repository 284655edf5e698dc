#include "samplepresentation.h"

#include "frmflex.h"
#include "glovesample.h"
#include "handframe.h"
#include "instances.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

namespace {
unsigned long long presented = 0;
} // namespace

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
    form->lblRawDataThumb->setText(QString::number(sample.Thumb));
    form->lblRawDataIndex->setText(QString::number(sample.Index));
    form->lblRawDataMiddle->setText(QString::number(sample.Middle));
    form->lblRawDataRing->setText(QString::number(sample.Ring));
    form->lblRawDataRoll->setText(QString::number(sample.Roll));
    form->lblRawDataPitch->setText(QString::number(sample.Pitch));
    form->lblRawDataInput1->setText(QString::number(sample.Input1));
    form->lblRawDataInput2->setText(QString::number(sample.Input2));

    form->prgThumb->setValue(sample.Thumb);
    form->prgIndex->setValue(sample.Index);
    form->prgMiddle->setValue(sample.Middle);
    form->prgRing->setValue(sample.Ring);
    form->prgPinky->setValue(sample.Ring); // the glove reports no little finger

    form->fraHand->setTopTwips(10 * sample.Pitch);
    form->fraHand->setLeftTwips(12 * sample.Roll);
    form->framePacer().hold(false);

    QCoreApplication::processEvents();
}
