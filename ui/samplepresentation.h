#ifndef SAMPLEPRESENTATION_H
#define SAMPLEPRESENTATION_H

struct GloveSample;
struct HandPose;
class GlovePointer;
class HandReading;

// Shows one sample on the main window: the eight raw readouts, then the hand's pose as the
// wearer's calibration and the filter make it: the five finger bars (the little finger follows
// the ring finger) and the hand's position. Then lets pending window events run once, which is
// when the changes reach the screen.
void ShowGloveSample(const GloveSample &sample);

// Where each sample goes once it is on the window, with the pose shown of it, before pending
// events run, so that a sample presented inside that pass reaches it after this one. None by
// default.
void setShownSampleConsumer(void (*consumer)(const GloveSample &sample, const HandPose &pose));

// The calibration and filter between the samples and the bars and hand.
HandReading &handReading();

// The session's pointer, which the hand moves when the user turns it on.
GlovePointer &glovePointer();

// How many samples have been presented since the program started.
unsigned long long samplesPresented();

#endif // SAMPLEPRESENTATION_H
