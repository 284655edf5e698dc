#ifndef SAMPLEROUTE_H
#define SAMPLEROUTE_H

#include <QString>

struct CommandLine;

// The samples' road past the window: every sample shown is then recorded and forwarded as the
// command line asks (--record, --osc). Opens the file and finds the host before any window;
// on failure says why in `error`, and nothing is left behind.
bool startSampleSinks(const CommandLine &commandLine, QString *error);

// Completes the recording. The process's exit status: 1 when any of it was lost, else 0.
int finishSampleSinks();

#endif // SAMPLEROUTE_H
