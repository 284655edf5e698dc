#include "oscsender.h"

// This build has no OSC library: --osc is not offered.

bool OscSender::available()
{
    return false;
}

std::unique_ptr<OscSender> OscSender::connectTo(const QString &, QString *error)
{
    *error = QStringLiteral("this build of Vantrel does not forward over OSC");
    return nullptr;
}

OscSender::~OscSender() = default;

void OscSender::send(const GloveSample &, const HandPose &) {}

void OscSender::flush() {}
