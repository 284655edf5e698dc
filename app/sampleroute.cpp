#include "sampleroute.h"

#include "commandline.h"
#include "samplepresentation.h"
#include "samplesinks.h"
#include "sinkslog.h"

namespace {

SampleSinks sinks;

void takeShownSample(const GloveSample &sample, const HandPose &pose)
{
    sinks.take(sample, pose);
}

} // namespace

bool startSampleSinks(const CommandLine &commandLine, QString *error)
{
    // The host first: a recording file is made only once everything else is known good.
    if (!commandLine.osc.isEmpty()) {
        auto sender = OscSender::connectTo(commandLine.osc, error);
        if (!sender)
            return false;
        qCInfo(lcSinks,
               "forwarding every sample to %s as %s with eight int32 and %s with six floats",
               qPrintable(sender->target()), OscSender::OscAddress, OscSender::PoseAddress);
        sinks.setOscSender(std::move(sender));
    }
    if (!commandLine.record.isEmpty()) {
        auto recording = Recording::create(commandLine.record, error);
        if (!recording) {
            sinks.setOscSender(nullptr);
            return false;
        }
        qCInfo(lcSinks, "recording every sample to %s", qPrintable(recording->path()));
        sinks.setRecording(std::move(recording));
    }
    if (!sinks.isEmpty())
        setShownSampleConsumer(takeShownSample);
    return true;
}

int finishSampleSinks()
{
    return sinks.finish() ? 0 : 1;
}
