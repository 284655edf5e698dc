#include "linesettings.h"

#include <QStringList>

namespace {

std::optional<LineSettings::Parity> parseParity(const QString &field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().toLatin1()) {
    case 'N':
        return LineSettings::NoParity;
    case 'E':
        return LineSettings::EvenParity;
    case 'O':
        return LineSettings::OddParity;
    case 'M':
        return LineSettings::MarkParity;
    case 'S':
        return LineSettings::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<LineSettings::StopBits> parseStopBits(const QString &field)
{
    if (field == QLatin1String("1"))
        return LineSettings::OneStop;
    if (field == QLatin1String("1.5"))
        return LineSettings::OneAndHalfStop;
    if (field == QLatin1String("2"))
        return LineSettings::TwoStop;
    return std::nullopt;
}

} // namespace

std::optional<LineSettings> LineSettings::parse(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return std::nullopt;

    LineSettings settings;
    bool ok = false;
    settings.baudRate = fields[0].trimmed().toInt(&ok);
    if (!ok || settings.baudRate <= 0)
        return std::nullopt;

    const auto parity = parseParity(fields[1].trimmed());
    if (!parity)
        return std::nullopt;
    settings.parity = *parity;

    const int dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return std::nullopt;
    settings.dataBits = dataBits;

    const auto stopBits = parseStopBits(fields[3].trimmed());
    if (!stopBits)
        return std::nullopt;
    settings.stopBits = *stopBits;
    return settings;
}
