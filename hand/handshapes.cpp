#include "handshapes.h"

#include <utility>

HandShapes HandShapes::defaults()
{
    HandShapes shapes;
    const struct
    {
        const char *code;
        const char *name;
    } named[] = {
        {"oooo", "Open hand"}, {"xxxx", "Fist"}, {"xoxx", "Point"}, {"xoox", "Victory"},
        {"oxxx", "Thumb up"},  {"ooxx", "L"},    {"xooo", "Four"},  {"xxoo", "OK"},
    };
    for (const auto &[patternCode, name] : named)
        shapes.names[pattern(QLatin1String(patternCode))] = QLatin1String(name);
    return shapes;
}

QString HandShapes::code(int pattern)
{
    QString text(Fingers, QLatin1Char('o'));
    for (int f = 0; f < Fingers; ++f)
        if (pattern & (1 << f))
            text[f] = QLatin1Char('x');
    return text;
}

int HandShapes::pattern(const QString &code)
{
    if (code.size() != Fingers)
        return -1;
    int pattern = 0;
    for (int f = 0; f < Fingers; ++f) {
        if (code[f] == QLatin1Char('x'))
            pattern |= 1 << f;
        else if (code[f] != QLatin1Char('o'))
            return -1;
    }
    return pattern;
}

void ShapeRecognizer::setShapes(const HandShapes &shapes)
{
    m_shapes = shapes;
    // A shape held now is reported under its new name, or no more.
    report(m_held >= 0 ? nameOf(m_held) : QString());
}

void ShapeRecognizer::reset()
{
    for (FingerState &finger : m_fingers)
        finger.reset();
    m_current = -1;
    m_held = -1;
    report(QString());
}

void ShapeRecognizer::report(const QString &name)
{
    if (name == m_reported)
        return;
    m_reported = name;
    m_changed = true;
}

bool ShapeRecognizer::take(const HandPose &pose, Clock::time_point at)
{
    follow(pose, at);
    return std::exchange(m_changed, false);
}

QString ShapeRecognizer::nameOf(int pattern) const
{
    return m_shapes.recognise ? m_shapes.names[pattern] : QString();
}

void ShapeRecognizer::follow(const HandPose &pose, Clock::time_point at)
{
    int pattern = 0;
    for (int f = 0; f < HandShapes::Fingers; ++f) {
        if (!pose.calibrated[f]) {
            reset();
            return;
        }
        if (m_fingers[f].take(pose.bend(f)))
            pattern |= 1 << f;
    }
    if (pattern != m_current) {
        m_current = pattern;
        m_since = at;
    }
    if (m_current != m_held && at - m_since >= HandShapes::Hold) {
        m_held = m_current;
        report(nameOf(m_held));
    }
}
