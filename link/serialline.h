#ifndef SERIALLINE_H
#define SERIALLINE_H

#include "linesettings.h"

#include <QObject>
#include <QString>
#include <memory>

class SerialLinePrivate;

// One serial device opened for reading: the part of the serial control that differs per
// platform. Qt SerialPort's QSerialPort stands behind it where Qt has that module; on Windows
// a backend of the program's own reads the COM port with overlapped I/O.
//
// Bytes that arrive are announced with readyRead on the event loop, never by a polling timer.
// A device that vanishes while open (a USB adapter pulled out) is announced once with lost();
// the line then reads nothing until it is closed and opened again.
class SerialLine : public QObject
{
    Q_OBJECT

public:
    enum OpenFailure {
        NoFailure,
        DeviceMissing,   // not there (now): worth waiting for
        Refused,         // there, but it cannot be had: held, no permission, not a serial device
        SettingsRefused, // opened, but it refused the line settings
    };

    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // Opens the device read-only and sets the line up; on failure the line stays closed and
    // failure() and errorString() say why.
    bool open(const QString &path, const LineSettings &settings);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }

    // Applies new settings to the open line; false, with the line as it was, if refused.
    bool apply(const LineSettings &settings);

    // Moves up to size arrived bytes into data; returns how many, 0 when none wait.
    qint64 read(char *data, qint64 size);
    // Blocks, handling no events, until bytes arrive, the line is lost or the time is up.
    // Returns whether bytes arrived; emits readyRead (and lost) as they happen.
    bool waitForReadyRead(int msecs);

    OpenFailure failure() const { return m_failure; }
    // Why the last open or setting failed, or how the device was lost, for a person.
    QString errorString() const { return m_errorString; }

signals:
    void readyRead();
    void lost();

private:
    friend class SerialLinePrivate;
    void fail(OpenFailure failure, const QString &reason);

    std::unique_ptr<SerialLinePrivate> d;
    QString m_path;
    OpenFailure m_failure = NoFailure;
    QString m_errorString;
};

#endif // SERIALLINE_H
