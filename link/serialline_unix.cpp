#include "serialline.h"

#include <QFileInfo>
#include <QSerialPort>

namespace {

QSerialPort::Parity toQt(LineSettings::Parity parity)
{
    switch (parity) {
    case LineSettings::EvenParity:
        return QSerialPort::EvenParity;
    case LineSettings::OddParity:
        return QSerialPort::OddParity;
    case LineSettings::MarkParity:
        return QSerialPort::MarkParity;
    case LineSettings::SpaceParity:
        return QSerialPort::SpaceParity;
    case LineSettings::NoParity:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(LineSettings::StopBits stopBits)
{
    switch (stopBits) {
    case LineSettings::OneAndHalfStop:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::TwoStop:
        return QSerialPort::TwoStop;
    case LineSettings::OneStop:
        break;
    }
    return QSerialPort::OneStop;
}

bool applyTo(QSerialPort &port, const LineSettings &settings)
{
    return port.setBaudRate(settings.baudRate) && port.setParity(toQt(settings.parity)) &&
           port.setDataBits(QSerialPort::DataBits(settings.dataBits)) &&
           port.setStopBits(toQt(settings.stopBits)) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}

// Why a device that is there could not be opened, with the remedy where there is one.
QString openFailureReason(const QSerialPort &port)
{
    QString reason = port.errorString();
    if (port.error() == QSerialPort::PermissionError) {
        if (!QFileInfo(port.portName()).isReadable())
            reason += QStringLiteral(
                "; this user may not use serial devices: add it to the dialout group "
                "(sudo adduser $USER dialout) and log in again");
        else
            reason += QStringLiteral("; another program may be holding it");
    }
    return reason;
}

} // namespace

// The line through Qt SerialPort.
class SerialLinePrivate
{
public:
    explicit SerialLinePrivate(SerialLine *line) : q(line)
    {
        QObject::connect(&port, &QSerialPort::readyRead, q, &SerialLine::readyRead);
        QObject::connect(&port, &QSerialPort::errorOccurred, q, [this] { onError(); });
    }

    void onError()
    {
        // A vanished device reports ReadError (ResourceError on a USB unplug) again and again
        // while the handle stays open. Other errors, such as modem-line requests that a
        // pseudo-terminal does not support, leave the line as it is.
        const auto error = port.error();
        if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
            return;
        if (!port.isOpen() || lost)
            return;
        lost = true;
        q->fail(SerialLine::NoFailure, port.errorString());
        emit q->lost();
    }

    SerialLine *q;
    QSerialPort port;
    bool lost = false;
};

SerialLine::SerialLine(QObject *parent) : QObject(parent), d(new SerialLinePrivate(this)) {}

SerialLine::~SerialLine() = default;

bool SerialLine::open(const QString &path, const LineSettings &settings)
{
    close();
    m_path = path;
    d->port.setPortName(path);
    if (!d->port.open(QIODevice::ReadOnly)) {
        fail(d->port.error() == QSerialPort::DeviceNotFoundError ? DeviceMissing : Refused,
             openFailureReason(d->port));
        return false;
    }
    if (!applyTo(d->port, settings)) {
        fail(SettingsRefused, d->port.errorString());
        d->port.close();
        return false;
    }
    fail(NoFailure, {});
    return true;
}

void SerialLine::close()
{
    if (d->port.isOpen())
        d->port.close();
    d->lost = false;
}

bool SerialLine::isOpen() const
{
    return d->port.isOpen();
}

bool SerialLine::apply(const LineSettings &settings)
{
    if (applyTo(d->port, settings))
        return true;
    m_errorString = d->port.errorString();
    return false;
}

qint64 SerialLine::read(char *data, qint64 size)
{
    // An empty read costs QIODevice far more than asking first.
    if (d->port.bytesAvailable() <= 0)
        return 0;
    return std::max<qint64>(0, d->port.read(data, size));
}

bool SerialLine::waitForReadyRead(int msecs)
{
    return d->port.waitForReadyRead(msecs);
}
