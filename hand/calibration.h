#ifndef CALIBRATION_H
#define CALIBRATION_H

#include "glovesample.h"
#include "handpose.h"

#include <QString>
#include <array>
#include <optional>

// A finger's raw readings open and in a fist. Either may be the larger: some sensors read
// lower when bent.
struct FingerRange
{
    double open = 0;
    double bent = 0;

    friend bool operator==(const FingerRange &, const FingerRange &) = default;
};

// A tilt axis's raw readings at its farthest one way, at rest, and at its farthest the other.
struct TiltRange
{
    double low = 0;
    double neutral = 0;
    double high = 0;

    friend bool operator==(const TiltRange &, const TiltRange &) = default;
};

// The wearer's calibration. A channel left out keeps its raw mapping.
struct Calibration
{
    // Less travel than this, in counts, is no calibration: dividing by it would turn noise
    // into full swings.
    static constexpr double MinFingerTravel = 8;
    static constexpr double MinTiltTravel = 4; // each side of the neutral pose

    std::array<std::optional<FingerRange>, 4> fingers;
    std::optional<TiltRange> roll;
    std::optional<TiltRange> pitch;

    bool isEmpty() const;
    // What the bars and the hand show of the sample, before any filter.
    HandPose apply(const GloveSample &sample) const;

    // Whether a range is wide enough to be used, and why not.
    static bool usable(const FingerRange &range, QString *why = nullptr);
    static bool usable(const TiltRange &range, QString *why = nullptr);

    friend bool operator==(const Calibration &, const Calibration &) = default;
};

// A raw reading as a share of the calibrated bend: 0 open, 1 bent, clamped to them.
double calibratedBend(const FingerRange &range, double raw);
// A raw reading across the tilt range: 0 at the low end, 0.5 at rest, 1 at the high end,
// each side scaled on its own and clamped.
double calibratedTilt(const TiltRange &range, double raw);

#endif // CALIBRATION_H
