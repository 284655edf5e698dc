#ifndef CALIBRATIONCAPTURE_H
#define CALIBRATIONCAPTURE_H

#include "calibration.h"
#include "glovesample.h"

#include <QStringList>
#include <array>
#include <deque>
#include <optional>

// Takes a calibration from the glove in three steps: the hand held open and flat, then a fist,
// then tilted as far as it goes each way. A held pose is the median of its last second, so
// that the moments of getting into it and a glitch or two do not count; a tilt extreme counts
// only once it has been seen in three samples in a row, so that a glitch cannot widen it.
class CalibrationCapture
{
public:
    enum Step { Open, Fist, Tilt, Done };
    // The samples a held pose is taken from: the last second at the line's rate.
    static constexpr std::size_t HeldSamples = 213;
    // A step can end once this many samples have come during it.
    static constexpr std::size_t MinSamples = 20;
    // A tilt extreme is a value held for this many samples in a row.
    static constexpr std::size_t SustainedSamples = 3;

    using Values = std::array<double, HandPose::Channels>;

    void add(const GloveSample &sample);

    Step step() const { return m_step; }
    bool canAdvance() const { return m_step != Done && m_seen >= MinSamples; }
    // Takes what the step has captured and goes on to the next.
    void advance();

    // The newest sample, and the median of the last second: the pose as held now.
    std::optional<GloveSample> latest() const { return m_latest; }
    Values heldNow() const;
    // What the steps took: the open hand (with the neutral roll and pitch), the fist.
    std::optional<Values> open() const { return m_open; }
    std::optional<Values> fist() const { return m_fist; }
    // The tilt ranges seen so far in the tilt step (the neutral pose included).
    std::optional<TiltRange> rollRange() const { return tiltRange(0); }
    std::optional<TiltRange> pitchRange() const { return tiltRange(1); }

    // The calibration captured so far, each channel whose range is usable; and for each one
    // that is not, why, for the wearer.
    Calibration result() const;
    QStringList problems() const;

private:
    std::optional<TiltRange> tiltRange(int axis) const;

    Step m_step = Open;
    std::size_t m_seen = 0;
    std::optional<GloveSample> m_latest;
    std::deque<Values> m_recent;
    std::optional<Values> m_open;
    std::optional<Values> m_fist;
    // Per tilt axis: the last few values and the sustained extremes.
    std::array<std::deque<double>, 2> m_lastTilts;
    std::array<std::optional<double>, 2> m_sustainedLow;
    std::array<std::optional<double>, 2> m_sustainedHigh;
};

// The names of the channels, for the wearer: "thumb", "index finger", ..., "roll", "pitch".
QString channelName(int channel);

#endif // CALIBRATIONCAPTURE_H
