#ifndef SAMPLEPRESENTATION_H
#define SAMPLEPRESENTATION_H

struct GloveSample;

// Shows one sample on the main window: the eight readouts, the five finger bars (the little
// finger follows the ring finger) and the hand's position, then lets pending window events
// run once, which is when the changes reach the screen.
void ShowGloveSample(const GloveSample &sample);

// Where each sample goes once it is on the window and before pending events run, so that
// a sample presented inside that pass reaches it after this one. None by default.
void setShownSampleConsumer(void (*consumer)(const GloveSample &sample));

// How many samples have been presented since the program started.
unsigned long long samplesPresented();

#endif // SAMPLEPRESENTATION_H
