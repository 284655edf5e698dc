#include "glovepointer.h"

#include <algorithm>
#include <cmath>

GlovePointer::GlovePointer()
{
    // Only while on: a glove gone quiet must not leave the button held.
    m_silence.setInterval(Silence / 5);
    QObject::connect(&m_silence, &QTimer::timeout, [this] { checkSilence(); });
}

GlovePointer::~GlovePointer()
{
    press(false);
}

bool GlovePointer::available(QString *why)
{
    if (!m_opened) {
        m_opened = true;
        m_device = PointerDevice::open(&m_unavailable);
    }
    *why = m_unavailable;
    return m_device != nullptr;
}

void GlovePointer::setOn(bool on)
{
    QString why;
    on = on && available(&why);
    if (on == m_on)
        return;
    m_on = on;
    m_paused = false;
    stop();
    m_pauseKeyProblem.clear();
    if (on) {
        m_device->watchPauseKey([this] { setPaused(!m_paused); }, &m_pauseKeyProblem);
        m_silence.start();
    } else {
        m_device->unwatchPauseKey();
        m_silence.stop();
    }
    if (onStateChanged)
        onStateChanged();
}

void GlovePointer::setPaused(bool paused)
{
    if (!m_on || paused == m_paused)
        return;
    m_paused = paused;
    release();
    if (onStateChanged)
        onStateChanged();
}

void GlovePointer::setSettings(const Settings &settings)
{
    if (settings.clickFinger != m_settings.clickFinger) {
        press(false);
        m_clickArmed = false;
    }
    m_settings = settings;
    m_settings.speed = std::clamp(m_settings.speed, MinSpeed, MaxSpeed);
}

void GlovePointer::stop()
{
    release();
    m_lastSample = {};
    m_pattern = -1;
}

void GlovePointer::release()
{
    press(false);
    m_clickArmed = false;
    m_dx = m_dy = 0;
}

void GlovePointer::press(bool down)
{
    if (down == m_pressed)
        return;
    m_pressed = down;
    m_device->setLeftButton(down);
}

void GlovePointer::checkSilence()
{
    if (m_lastSample != Clock::time_point{} && Clock::now() - m_lastSample > Silence)
        stop();
}

int GlovePointer::pauseShape() const
{
    const int finger =
        m_settings.clickFinger == NoClick ? int(HandPose::Index) : m_settings.clickFinger;
    return (HandShapes::Patterns - 1) & ~(1 << finger);
}

double GlovePointer::velocity(double tilt) const
{
    // From 0 at the dead zone's edge to 1 at full tilt, squared: slow and fine near the
    // neutral pose, fast at the ends.
    const double beyond = std::max(0.0, std::abs(tilt - 0.5) * 2 - DeadZone) / (1 - DeadZone);
    return std::copysign(beyond * beyond * PixelsPerSecondPerStep * m_settings.speed, tilt - 0.5);
}

void GlovePointer::take(const HandPose &pose, Clock::time_point at)
{
    if (!m_on)
        return;
    const double seconds =
        m_lastSample == Clock::time_point{}
            ? 0
            : std::min(std::chrono::duration<double>(at - m_lastSample).count(), 0.05);
    m_lastSample = at;

    if (pose.fingers != m_pattern) {
        m_pattern = pose.fingers;
        m_patternSince = at;
        m_pauseShapeUsed = false;
    }
    const bool inPauseShape = pose.fingers == pauseShape();
    if (inPauseShape && !m_pauseShapeUsed && at - m_patternSince >= PauseHold) {
        m_pauseShapeUsed = true; // once per hold
        setPaused(!m_paused);
    }
    if (m_paused || inPauseShape) {
        release();
        return;
    }

    const int click = m_settings.clickFinger;
    if (click != NoClick && pose.fingers >= 0) {
        // A finger found bent (turned on, or back after the line was lost) has to straighten
        // before it clicks.
        const bool bent = (pose.fingers & (1 << click)) != 0;
        m_clickArmed = m_clickArmed || !bent;
        press(bent && m_clickArmed);
    }

    const double vx = pose.calibrated[HandPose::Roll] ? velocity(pose.roll()) : 0;
    const double vy = pose.calibrated[HandPose::Pitch] ? velocity(pose.pitch()) : 0;
    if (vx == 0 && vy == 0) {
        m_dx = m_dy = 0;
        return;
    }
    m_dx += vx * seconds;
    m_dy += vy * seconds;
    if (at - m_lastMove < m_moveInterval)
        return;
    const int dx = int(m_dx);
    const int dy = int(m_dy);
    if (dx == 0 && dy == 0)
        return;
    m_dx -= dx;
    m_dy -= dy;
    m_lastMove = at;
    m_device->move(dx, dy);
}
