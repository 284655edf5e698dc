#include "handreading.h"

#include "calibrationcapture.h"

void HandReading::setCalibration(const Calibration &calibration)
{
    m_calibration = calibration;
    // The filter's state is in the old units.
    m_filter.reset();
}

void HandReading::setFiltering(bool on)
{
    if (on && !m_filtering)
        m_filter.reset();
    m_filtering = on;
}

HandPose HandReading::take(const GloveSample &sample, Clock::time_point at)
{
    if (m_capture)
        m_capture->add(sample);
    HandPose pose = m_calibration.apply(sample);
    if (m_filtering)
        pose = m_filter.filter(pose, std::chrono::duration<double>(at.time_since_epoch()).count());
    pose.shapeChanged = m_shapes.take(pose, at);
    pose.shape = m_shapes.reported();
    pose.fingers = m_shapes.current();
    return pose;
}
