#ifndef HANDPOSE_H
#define HANDPOSE_H

#include "glovesample.h"

#include <QString>
#include <array>

// What the bars and the hand figure show of one sample, each channel from 0 to 1: a finger's
// bend (0 open, 1 in a fist), the roll and pitch across their range (0.5 the neutral pose
// where calibrated). A channel with no calibration is its raw value / 256, so that the bar
// it drives stands at the raw value.
struct HandPose
{
    enum Channel { Thumb, Index, Middle, Ring, Roll, Pitch, Channels };

    std::array<double, Channels> value{};
    // Whether a channel is calibrated; the hand figure's scale depends on it.
    std::array<bool, Channels> calibrated{};
    // The pattern the four fingers make now, bit f set while finger f (Thumb to Ring) is bent,
    // with the thresholds of hand shapes; -1 when any of them is not calibrated.
    int fingers = -1;
    // The name of the hand shape held, empty when none is, and whether it changed with this
    // sample.
    QString shape;
    bool shapeChanged = false;

    double bend(int finger) const { return value[finger]; }
    double roll() const { return value[Roll]; }
    double pitch() const { return value[Pitch]; }
};

// The raw readings of the pose's channels, in its order.
inline std::array<double, HandPose::Channels> rawChannels(const GloveSample &sample)
{
    return {double(sample.Thumb), double(sample.Index), double(sample.Middle),
            double(sample.Ring),  double(sample.Roll),  double(sample.Pitch)};
}

#endif // HANDPOSE_H
