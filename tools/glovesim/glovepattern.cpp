#include "glovepattern.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <numbers>

std::optional<GlovePattern> parseGlovePattern(const QString &name)
{
    if (name == QLatin1String("wave"))
        return GlovePattern::Wave;
    if (name == QLatin1String("static"))
        return GlovePattern::Static;
    if (name == QLatin1String("random"))
        return GlovePattern::Random;
    if (name == QLatin1String("sweep"))
        return GlovePattern::Sweep;
    return std::nullopt;
}

namespace {

std::uint8_t level(double value)
{
    return std::uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

GloveSample waveSample(quint64 index)
{
    // At the full line rate one packet is about 4.7 ms: a finger flexes in about 3 s and the
    // hand goes round its circle in about 6 s.
    const double t = double(index) / 213.0;
    const double flex = 2 * std::numbers::pi / 3.0;
    const double circle = 2 * std::numbers::pi / 6.0;
    GloveSample sample;
    sample.Thumb = level(128 + 120 * std::sin(flex * t));
    sample.Index = level(128 + 120 * std::sin(flex * t - 0.6));
    sample.Middle = level(128 + 120 * std::sin(flex * t - 1.2));
    sample.Ring = level(128 + 120 * std::sin(flex * t - 1.8));
    // The circle stays inside the panel: roll up to 245, pitch up to 253 keep the hand whole.
    sample.Roll = level(122 + 100 * std::cos(circle * t));
    sample.Pitch = level(126 + 100 * std::sin(circle * t));
    sample.Input1 = std::uint8_t(index / 213 % 256); // seconds since the start
    sample.Input2 = std::uint8_t(index / 640 % 2);   // a button pressed every other 3 s
    return sample;
}

} // namespace

GloveSample patternSample(GlovePattern pattern, quint64 index, QRandomGenerator &random)
{
    switch (pattern) {
    case GlovePattern::Wave:
        return waveSample(index);
    case GlovePattern::Static:
        return {128, 128, 128, 128, 128, 128, 128, 128};
    case GlovePattern::Random: {
        GloveSample sample;
        for (const auto field : GlovePacket::Fields)
            sample.*field = std::uint8_t(random.bounded(256));
        return sample;
    }
    case GlovePattern::Sweep: {
        const auto v = std::uint8_t(index % 256);
        return {v, v, v, v, v, v, v, v};
    }
    }
    return {};
}

std::optional<QByteArray> parseByteList(const QString &text)
{
    const QStringList fields =
        text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (fields.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    for (const QString &field : fields) {
        bool ok = false;
        const int value = field.toInt(&ok, 0); // 0xF5 works too
        if (!ok || value < 0 || value > 255)
            return std::nullopt;
        bytes.append(char(value));
    }
    return bytes;
}

char noiseByte(QRandomGenerator &random)
{
    const int value = int(random.bounded(255)); // 0..254
    return char(value >= GlovePacket::SyncByte ? value + 1 : value);
}
