#include "sampleroute.h"

#include "commandline.h"
#include "samplepresentation.h"
#include "samplesinks.h"

namespace {

void takeShownSample(const GloveSample &sample, const HandPose &pose)
{
    sampleSinks().take(sample, pose);
}

} // namespace

bool startSampleSinks(const CommandLine &commandLine, QString *error)
{
    setShownSampleConsumer(takeShownSample);
    SampleSinks &sinks = sampleSinks();
    // The host first: a recording file is made only once everything else is known good.
    if (!commandLine.osc.isEmpty() && !sinks.startForwarding(commandLine.osc, error))
        return false;
    if (!commandLine.record.isEmpty() && !sinks.startRecording(commandLine.record, error)) {
        sinks.stop();
        return false;
    }
    return true;
}

int finishSampleSinks()
{
    return sampleSinks().finish() ? 0 : 1;
}
