#include "calibration.h"

#include <algorithm>
#include <cmath>

bool Calibration::isEmpty() const
{
    return std::none_of(fingers.begin(), fingers.end(), [](const auto &f) { return f; }) && !roll &&
           !pitch;
}

bool Calibration::usable(const FingerRange &range, QString *why)
{
    const bool moved = std::abs(range.bent - range.open) >= MinFingerTravel;
    if (!moved && why)
        *why = QStringLiteral("moved only %1 counts between open and fist")
                   .arg(std::abs(range.bent - range.open), 0, 'f', 0);
    return moved;
}

bool Calibration::usable(const TiltRange &range, QString *why)
{
    const bool ordered = range.low <= range.neutral && range.neutral <= range.high;
    const bool moved =
        range.neutral - range.low >= MinTiltTravel && range.high - range.neutral >= MinTiltTravel;
    if (!(ordered && moved) && why)
        *why = QStringLiteral("moved only from %1 to %2, %3 at rest")
                   .arg(range.low, 0, 'f', 0)
                   .arg(range.high, 0, 'f', 0)
                   .arg(range.neutral, 0, 'f', 0);
    return ordered && moved;
}

double calibratedBend(const FingerRange &range, double raw)
{
    return std::clamp((raw - range.open) / (range.bent - range.open), 0.0, 1.0);
}

double calibratedTilt(const TiltRange &range, double raw)
{
    if (raw < range.neutral)
        return std::max(0.0, 0.5 * (raw - range.low) / (range.neutral - range.low));
    return std::min(1.0, 0.5 + 0.5 * (raw - range.neutral) / (range.high - range.neutral));
}

HandPose Calibration::apply(const GloveSample &sample) const
{
    HandPose pose;
    const auto raw = rawChannels(sample);
    for (int c = 0; c < HandPose::Channels; ++c)
        pose.value[c] = raw[c] / 256.0;
    for (int f = 0; f < 4; ++f) {
        if (fingers[f]) {
            pose.value[f] = calibratedBend(*fingers[f], raw[f]);
            pose.calibrated[f] = true;
        }
    }
    if (roll) {
        pose.value[HandPose::Roll] = calibratedTilt(*roll, sample.Roll);
        pose.calibrated[HandPose::Roll] = true;
    }
    if (pitch) {
        pose.value[HandPose::Pitch] = calibratedTilt(*pitch, sample.Pitch);
        pose.calibrated[HandPose::Pitch] = true;
    }
    return pose;
}
