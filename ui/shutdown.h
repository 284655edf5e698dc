#ifndef SHUTDOWN_H
#define SHUTDOWN_H

#include <functional>

// Runs the last step, if one is set, then ends the process at once: no further event is
// handled and no window is told. The last step's result is the exit status.
void EndProcess();

// What must be completed before the process ends (the recording); its result, 0 or 1, is the
// process's exit status.
void setLastStep(std::function<int()> step);

// Puts something else in the place of ending the process, so that tests can watch the Exit
// sequence without dying. An empty function restores the real end.
void setEndProcessHandler(std::function<void()> handler);

#endif // SHUTDOWN_H
