#ifndef SHUTDOWN_H
#define SHUTDOWN_H

#include <functional>

// Completes the recording, if there is one, then ends the process at once: no further event
// is handled and no window is told. The exit status is 1 when any of the recording was lost.
void EndProcess();

// Puts something else in the place of ending the process, so that tests can watch the Exit
// sequence without dying. An empty function restores the real end.
void setEndProcessHandler(std::function<void()> handler);

#endif // SHUTDOWN_H
