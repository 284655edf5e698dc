#include "onefilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The smoothing factor of an exponential filter with this cutoff, at this sample period.
double smoothing(double cutoff, double period)
{
    const double timeConstant = 1.0 / (2 * std::numbers::pi * cutoff);
    return 1.0 / (1.0 + timeConstant / period);
}

} // namespace

double OneEuroFilter::filter(double value, double seconds)
{
    const double period = seconds - m_lastSeconds;
    if (!m_started || period > MaxPeriod) {
        m_started = true;
        m_lastSeconds = seconds;
        m_value = value;
        m_derivative = 0;
        return value;
    }
    const double step = std::max(period, MinPeriod);
    m_lastSeconds = seconds;
    // The speed against the last filtered value rather than the last reading: noise at rest
    // counts once, not twice as a difference of two noisy readings would, and a jump keeps
    // counting until it has been followed.
    const double speed = (value - m_value) / step;
    m_derivative += smoothing(m_parameters.derivativeCutoff, step) * (speed - m_derivative);
    const double cutoff = m_parameters.minCutoff + m_parameters.beta * std::abs(m_derivative);
    m_value += smoothing(cutoff, step) * (value - m_value);
    return m_value;
}

PoseFilter::PoseFilter(OneEuroFilter::Parameters parameters)
    : m_channels{OneEuroFilter(parameters), OneEuroFilter(parameters), OneEuroFilter(parameters),
                 OneEuroFilter(parameters), OneEuroFilter(parameters), OneEuroFilter(parameters)}
{}

HandPose PoseFilter::filter(const HandPose &pose, double seconds)
{
    HandPose filtered = pose;
    for (int c = 0; c < HandPose::Channels; ++c)
        filtered.value[c] = m_channels[c].filter(pose.value[c], seconds);
    return filtered;
}

void PoseFilter::reset()
{
    for (OneEuroFilter &channel : m_channels)
        channel.reset();
}
