#ifndef SAMPLEROUTE_H
#define SAMPLEROUTE_H

#include <QString>

struct CommandLine;

// The samples' road past the window: every sample shown then goes to the sinks, which record
// and forward it as the command line asks (--record, --osc) or Data Logging later does. Finds
// the host, then opens the file, before the main window is made; on failure says why in
// `error`, and nothing is left behind.
bool startSampleSinks(const CommandLine &commandLine, QString *error);

// Completes the recordings. The process's exit status: 1 when any of them lost anything.
int finishSampleSinks();

#endif // SAMPLEROUTE_H
