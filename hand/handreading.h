#ifndef HANDREADING_H
#define HANDREADING_H

#include "calibration.h"
#include "handpose.h"
#include "onefilter.h"

#include <chrono>

class CalibrationCapture;

// Reads the hand's pose from each sample: the wearer's calibration, then the filter where it
// is on. A calibration being taken is fed the raw samples as well.
class HandReading
{
public:
    using Clock = std::chrono::steady_clock;

    const Calibration &calibration() const { return m_calibration; }
    void setCalibration(const Calibration &calibration);

    bool filtering() const { return m_filtering; }
    void setFiltering(bool on);

    // Where a calibration being taken gets the samples; none once it ends.
    void setCapture(CalibrationCapture *capture) { m_capture = capture; }
    CalibrationCapture *capture() const { return m_capture; }

    HandPose take(const GloveSample &sample, Clock::time_point at);

private:
    Calibration m_calibration;
    bool m_filtering = false;
    PoseFilter m_filter;
    CalibrationCapture *m_capture = nullptr;
};

#endif // HANDREADING_H
