#ifndef ONEFILTER_H
#define ONEFILTER_H

#include "handpose.h"

#include <array>

// The 1€ filter (Casiez, Roussel and Vogel, CHI 2012) on one channel: a low-pass filter whose
// cutoff rises with the signal's speed, so that a hand at rest is steady and a moving one is
// followed without visible lag.
class OneEuroFilter
{
public:
    struct Parameters
    {
        double minCutoff;        // Hz, at rest: lower is steadier
        double beta;             // how fast the cutoff rises with speed: higher lags less
        double derivativeCutoff; // Hz, for the speed itself
    };

    // Samples closer together than the line can bring them (a backlog worked off at once)
    // count as this far apart.
    static constexpr double MinPeriod = 1.0 / 213;
    // After a longer pause the next sample starts afresh rather than creep from a stale one.
    static constexpr double MaxPeriod = 0.5;

    explicit OneEuroFilter(Parameters parameters) : m_parameters(parameters) {}

    // The filtered value of a sample taken at `seconds` on a steady clock.
    double filter(double value, double seconds);
    void reset() { m_started = false; }

private:
    Parameters m_parameters;
    bool m_started = false;
    double m_lastSeconds = 0;
    double m_value = 0;
    double m_derivative = 0;
};

// One filter for each channel of the pose.
class PoseFilter
{
public:
    // Tuned at the line's rate on ±3 counts of noise over a finger's typical range of 85
    // counts, in calibrated units (bench_filter --sweep): a bar at rest trembles by at most a
    // pixel, and follows a fist within 60 ms. The low cutoff at rest is made up for by the
    // speed, which is measured against the filtered value and so grows with any lag.
    static constexpr OneEuroFilter::Parameters Tuned{0.02, 0.14, 3.0};

    explicit PoseFilter(OneEuroFilter::Parameters parameters = Tuned);

    HandPose filter(const HandPose &pose, double seconds);
    void reset();

private:
    std::array<OneEuroFilter, HandPose::Channels> m_channels;
};

#endif // ONEFILTER_H
