#ifndef LINESETTINGS_H
#define LINESETTINGS_H

#include <QString>
#include <optional>

// A serial control's Settings text, such as "19200,N,8,1": baud rate, parity (N, E, O, M or
// S), data bits (5 to 8) and stop bits (1, 1.5 or 2).
struct LineSettings
{
    enum Parity { NoParity, EvenParity, OddParity, MarkParity, SpaceParity };
    enum StopBits { OneStop, OneAndHalfStop, TwoStop };

    qint32 baudRate = 19200;
    Parity parity = NoParity;
    int dataBits = 8;
    StopBits stopBits = OneStop;

    // The settings the text names, or nothing if any of its four fields is not valid.
    static std::optional<LineSettings> parse(const QString &text);

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

#endif // LINESETTINGS_H
