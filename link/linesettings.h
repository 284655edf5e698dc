#ifndef LINESETTINGS_H
#define LINESETTINGS_H

#include <QSerialPort>
#include <QString>
#include <optional>

// A serial control's Settings text, such as "19200,N,8,1": baud rate, parity (N, E, O, M or
// S), data bits (5 to 8) and stop bits (1, 1.5 or 2).
struct LineSettings
{
    qint32 baudRate = 19200;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // The settings the text names, or nothing if any of its four fields is not valid.
    static std::optional<LineSettings> parse(const QString &text);

    // Applies all four to an open port; false if the device refuses any of them.
    bool applyTo(QSerialPort &port) const;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

#endif // LINESETTINGS_H
