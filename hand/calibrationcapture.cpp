#include "calibrationcapture.h"

#include <algorithm>

QString channelName(int channel)
{
    static const char *const names[HandPose::Channels] = {
        "thumb", "index finger", "middle finger", "ring finger", "roll", "pitch"};
    return QLatin1String(names[channel]);
}

void CalibrationCapture::add(const GloveSample &sample)
{
    if (m_step == Done)
        return;
    m_latest = sample;
    ++m_seen;
    const Values values = rawChannels(sample);
    m_recent.push_back(values);
    if (m_recent.size() > HeldSamples)
        m_recent.pop_front();
    if (m_step != Tilt)
        return;
    for (int axis = 0; axis < 2; ++axis) {
        std::deque<double> &last = m_lastTilts[axis];
        last.push_back(values[HandPose::Roll + axis]);
        if (last.size() > SustainedSamples)
            last.pop_front();
        if (last.size() < SustainedSamples)
            continue;
        // The least of the last few is a high that held; the most of them, a low that did.
        const auto [least, most] = std::minmax_element(last.begin(), last.end());
        m_sustainedHigh[axis] = std::max(m_sustainedHigh[axis].value_or(*least), *least);
        m_sustainedLow[axis] = std::min(m_sustainedLow[axis].value_or(*most), *most);
    }
}

CalibrationCapture::Values CalibrationCapture::heldNow() const
{
    Values median{};
    if (m_recent.empty())
        return median;
    std::vector<double> channel(m_recent.size());
    for (int c = 0; c < HandPose::Channels; ++c) {
        std::transform(m_recent.begin(), m_recent.end(), channel.begin(),
                       [c](const Values &v) { return v[c]; });
        const auto middle = channel.begin() + channel.size() / 2;
        std::nth_element(channel.begin(), middle, channel.end());
        median[c] = *middle;
        if (channel.size() % 2 == 0)
            median[c] = (median[c] + *std::max_element(channel.begin(), middle)) / 2;
    }
    return median;
}

void CalibrationCapture::advance()
{
    if (!canAdvance())
        return;
    switch (m_step) {
    case Open:
        m_open = heldNow();
        m_step = Fist;
        break;
    case Fist:
        m_fist = heldNow();
        m_step = Tilt;
        break;
    case Tilt:
    case Done:
        m_step = Done;
        break;
    }
    m_seen = 0;
    m_recent.clear();
}

std::optional<TiltRange> CalibrationCapture::tiltRange(int axis) const
{
    if (!m_open || !m_sustainedLow[axis] || !m_sustainedHigh[axis])
        return std::nullopt;
    const double neutral = (*m_open)[HandPose::Roll + axis];
    return TiltRange{std::min(*m_sustainedLow[axis], neutral), neutral,
                     std::max(*m_sustainedHigh[axis], neutral)};
}

Calibration CalibrationCapture::result() const
{
    Calibration calibration;
    if (m_open && m_fist) {
        for (int f = 0; f < 4; ++f) {
            const FingerRange range{(*m_open)[f], (*m_fist)[f]};
            if (Calibration::usable(range))
                calibration.fingers[f] = range;
        }
    }
    if (const auto roll = rollRange(); roll && Calibration::usable(*roll))
        calibration.roll = roll;
    if (const auto pitch = pitchRange(); pitch && Calibration::usable(*pitch))
        calibration.pitch = pitch;
    return calibration;
}

QStringList CalibrationCapture::problems() const
{
    QStringList said;
    QString why;
    // During the fist, what it would take now.
    const std::optional<Values> fist = m_fist                           ? m_fist
                                       : m_step == Fist && canAdvance() ? std::optional(heldNow())
                                                                        : std::nullopt;
    if (m_open && fist) {
        for (int f = 0; f < 4; ++f) {
            if (!Calibration::usable(FingerRange{(*m_open)[f], (*fist)[f]}, &why))
                said << QStringLiteral("The %1 %2: it keeps its raw reading.")
                            .arg(channelName(f), why);
        }
    }
    if (m_step == Tilt || m_step == Done) {
        for (int axis = 0; axis < 2; ++axis) {
            const auto range = tiltRange(axis);
            if (!range || !Calibration::usable(*range, &why))
                said << QStringLiteral("The %1 %2: it keeps its raw reading.")
                            .arg(channelName(HandPose::Roll + axis),
                                 range ? why : QStringLiteral("has not moved yet"));
        }
    }
    return said;
}
