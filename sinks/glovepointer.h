#ifndef GLOVEPOINTER_H
#define GLOVEPOINTER_H

#include "handpose.h"
#include "handshapes.h"
#include "pointerdevice.h"

#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

// Moves the session's pointer with the hand. Tilting past a dead zone around the calibrated
// neutral pose moves it the way the hand figure moves, faster the farther the tilt; the
// clicking finger bent presses the left button and straightened releases it, so a drag works.
// Off until turned on. It stops, and lets go of the button, when turned off or paused, when
// told the glove's line is gone, and when no sample has come for Silence.
//
// Pausing: PointerDevice::PauseKey, or the pause shape held for PauseHold: the clicking finger
// straight and the other three bent (for the index, pointing), which never clicks. The fingers
// are read as hand shapes read them (HandPose::fingers), so clicking and the pause shape need
// the four fingers calibrated.
class GlovePointer
{
public:
    using Clock = std::chrono::steady_clock;

    // Of the tilt's half range either side of the neutral pose.
    static constexpr double DeadZone = 0.15;
    // Full tilt at speed 1 moves the pointer so many pixels a second; speed 10 ten times as
    // many.
    static constexpr double PixelsPerSecondPerStep = 120;
    static constexpr int MinSpeed = 1;
    static constexpr int MaxSpeed = 10;
    static constexpr std::chrono::milliseconds Silence{500};
    static constexpr std::chrono::milliseconds PauseHold{1000};
    static constexpr int NoClick = -1;

    struct Settings
    {
        int speed = 5;
        int clickFinger = HandPose::Index; // or NoClick

        friend bool operator==(const Settings &, const Settings &) = default;
    };

    GlovePointer();
    ~GlovePointer();

    // Whether this session's pointer can be moved; when not, `why` says so.
    bool available(QString *why);
    // Why the pause key does not work while on, or nothing when it does.
    QString pauseKeyProblem() const { return m_pauseKeyProblem; }

    bool isOn() const { return m_on; }
    void setOn(bool on);
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused);

    const Settings &settings() const { return m_settings; }
    void setSettings(const Settings &settings);
    // The pointer is moved at most once per interval: once per frame of the screen.
    void setMoveInterval(Clock::duration interval) { m_moveInterval = interval; }

    void take(const HandPose &pose, Clock::time_point at);
    // Stops at once and lets go of the button: the glove's line is gone.
    void stop();

    // Called when it turns on or off or is paused or resumed, by whatever way.
    std::function<void()> onStateChanged;

private:
    void press(bool down);
    // Lets go of the button; a finger bent now has to straighten before it clicks again.
    void release();
    void checkSilence();
    int pauseShape() const;
    double velocity(double tilt) const;

    std::unique_ptr<PointerDevice> m_device;
    bool m_opened = false;
    QString m_unavailable;
    QString m_pauseKeyProblem;

    Settings m_settings;
    bool m_on = false;
    bool m_paused = false;
    bool m_pressed = false;
    bool m_clickArmed = false;
    int m_pattern = -1;
    Clock::time_point m_patternSince;
    bool m_pauseShapeUsed = false;

    Clock::time_point m_lastSample;
    Clock::time_point m_lastMove;
    Clock::duration m_moveInterval = std::chrono::microseconds(16667);
    double m_dx = 0;
    double m_dy = 0;
    QTimer m_silence;
};

#endif // GLOVEPOINTER_H
