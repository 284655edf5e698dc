#ifndef HANDREADING_H
#define HANDREADING_H

#include "calibration.h"
#include "handpose.h"
#include "handshapes.h"
#include "onefilter.h"

#include <chrono>

class CalibrationCapture;

// Reads the hand's pose from each sample: the wearer's calibration, then the filter where it
// is on, then the hand shape it makes. A calibration being taken is fed the raw samples as
// well.
class HandReading
{
public:
    using Clock = std::chrono::steady_clock;

    const Calibration &calibration() const { return m_calibration; }
    void setCalibration(const Calibration &calibration);

    bool filtering() const { return m_filtering; }
    void setFiltering(bool on);

    const HandShapes &handShapes() const { return m_shapes.shapes(); }
    void setHandShapes(const HandShapes &shapes) { m_shapes.setShapes(shapes); }
    // The glove is gone: no shape is held until the next sample says otherwise.
    void forgetHandShape() { m_shapes.reset(); }
    // The pattern the fingers make now, held or not; -1 when it is not known.
    int currentPattern() const { return m_shapes.current(); }

    // Where a calibration being taken gets the samples; none once it ends.
    void setCapture(CalibrationCapture *capture) { m_capture = capture; }
    CalibrationCapture *capture() const { return m_capture; }

    HandPose take(const GloveSample &sample, Clock::time_point at);

private:
    Calibration m_calibration;
    bool m_filtering = false;
    PoseFilter m_filter;
    ShapeRecognizer m_shapes;
    CalibrationCapture *m_capture = nullptr;
};

#endif // HANDREADING_H
