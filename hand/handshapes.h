#ifndef HANDSHAPES_H
#define HANDSHAPES_H

#include "handpose.h"

#include <QString>
#include <array>
#include <chrono>

// A finger's calibrated bend read as bent or straight, with a band between the two thresholds
// where it keeps what it was, so that a finger held half-way does not flicker.
class FingerState
{
public:
    static constexpr double BentAbove = 0.6;
    static constexpr double StraightBelow = 0.4;

    // Whether the finger is bent after this reading.
    bool take(double bend)
    {
        if (bend > BentAbove)
            m_bent = true;
        else if (bend < StraightBelow)
            m_bent = false;
        return m_bent;
    }
    bool isBent() const { return m_bent; }
    void reset() { m_bent = false; }

private:
    bool m_bent = false;
};

// The hand shapes of the four fingers the glove reads (thumb, index, middle, ring), each bent
// or straight: 16 patterns, each with a name or none. Pattern bit f set: finger f is bent.
struct HandShapes
{
    static constexpr int Fingers = 4;
    static constexpr int Patterns = 1 << Fingers;
    // Longer than a hand passes through a shape on its way to another.
    static constexpr std::chrono::milliseconds Hold{100};
    // Names longer than this are cut: a name goes out whole in one OSC message.
    static constexpr int MaxNameLength = 32;

    std::array<QString, Patterns> names;
    // Whether shapes are recognised at all; off until the wearer turns it on.
    bool recognise = false;

    static HandShapes defaults();
    // The pattern as thumb-to-ring letters, "x" bent and "o" straight ("xoxx": only the index
    // straight), and back; -1 for text that is none.
    static QString code(int pattern);
    static int pattern(const QString &code);

    friend bool operator==(const HandShapes &, const HandShapes &) = default;
};

// Tells which named hand shape is held: the fingers' states from a calibrated pose, the
// pattern they make once it has held for HandShapes::Hold. The pattern is followed while
// recognition is off too, so that the wearer sees which shape is which before turning it on;
// only its name is not reported. Reads nothing when a finger is not
// calibrated, since "bent" means nothing in raw counts whose direction is not known.
class ShapeRecognizer
{
public:
    using Clock = std::chrono::steady_clock;

    const HandShapes &shapes() const { return m_shapes; }
    void setShapes(const HandShapes &shapes);

    // Takes the next pose; true when the name reported changed since the last one.
    bool take(const HandPose &pose, Clock::time_point at);
    // The name of the shape held, or empty when no named shape is held.
    const QString &reported() const { return m_reported; }
    // The pattern the fingers make now, held or not; -1 without a calibration.
    int current() const { return m_current; }

    void reset();

private:
    void follow(const HandPose &pose, Clock::time_point at);
    // The name a pattern is reported by: none while recognition is off.
    QString nameOf(int pattern) const;
    void report(const QString &name);

    HandShapes m_shapes = HandShapes::defaults();
    std::array<FingerState, HandShapes::Fingers> m_fingers;
    int m_current = -1;
    Clock::time_point m_since;
    int m_held = -1;
    QString m_reported;
    bool m_changed = false;
};

#endif // HANDSHAPES_H
