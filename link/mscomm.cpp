#include "mscomm.h"

#include <algorithm>
#include <utility>

MSComm::MSComm(QObject *parent) : QObject(parent)
{
    connect(m_port, &QSerialPort::readyRead, this, &MSComm::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &MSComm::onErrorOccurred);
}

bool MSComm::PortOpen() const
{
    return m_port->isOpen() && !m_lineLost;
}

int MSComm::setPortOpen(bool open)
{
    if (!open) {
        closeDevice();
        return commSucceeded;
    }
    if (PortOpen())
        return comPortAlreadyOpen;
    closeDevice(); // a vanished device may still hold its handle

    m_port->setPortName(m_devices.device(m_commPort));
    if (!m_port->open(QIODevice::ReadOnly))
        return comPortOpenFailed;
    if (!m_settings.applyTo(*m_port)) {
        m_port->close();
        return comSetCommStateFailed;
    }
    return commSucceeded;
}

int MSComm::setCommPort(int port)
{
    if (m_devices.device(port).isNull())
        return comPortInvalid;
    m_commPort = port;
    return commSucceeded;
}

int MSComm::setSettings(const QString &settings)
{
    const auto parsed = LineSettings::parse(settings);
    if (!parsed)
        return comInvalidPropertyValue;
    if (PortOpen() && !parsed->applyTo(*m_port)) {
        m_settings.applyTo(*m_port); // leave the line as it was
        return comSetCommStateFailed;
    }
    m_settings = *parsed;
    m_settingsText = settings;
    return commSucceeded;
}

int MSComm::setInputLen(int length)
{
    if (length < 0)
        return comInvalidPropertyValue;
    m_inputLen = length;
    return commSucceeded;
}

int MSComm::setInputMode(int mode)
{
    if (mode != comInputModeText && mode != comInputModeBinary)
        return comInvalidPropertyValue;
    m_inputMode = mode;
    return commSucceeded;
}

int MSComm::setRThreshold(int count)
{
    if (count < 0)
        return comInvalidPropertyValue;
    m_rThreshold = count;
    return commSucceeded;
}

QByteArray MSComm::Input()
{
    pullArrivedBytes();
    const std::size_t count =
        m_inputLen == 0 ? m_received.size() : std::min<std::size_t>(m_received.size(), m_inputLen);
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    std::copy_n(m_received.begin(), count, bytes.begin());
    m_received.erase(m_received.begin(), m_received.begin() + count);
    return bytes;
}

int MSComm::readCommEvent(int &code)
{
    code = m_commEvent;
    return commSucceeded;
}

int MSComm::readRThreshold(int &count)
{
    count = m_rThreshold;
    return commSucceeded;
}

int MSComm::takeByte(std::uint8_t &byte)
{
    if (!PortOpen())
        return comPortNotOpen;
    if (m_received.empty())
        pullArrivedBytes();
    if (m_received.empty())
        return commNoByteWaiting;
    byte = m_received.front();
    m_received.pop_front();
    return commSucceeded;
}

bool MSComm::waitForInput(QDeadlineTimer deadline)
{
    pullArrivedBytes();
    while (m_received.empty() && PortOpen() && !deadline.hasExpired()) {
        // Emits readyRead (and errorOccurred) synchronously; both only record what happened.
        if (!m_port->waitForReadyRead(int(deadline.remainingTime())))
            break;
        pullArrivedBytes();
    }
    return !m_received.empty();
}

void MSComm::onReadyRead()
{
    pullArrivedBytes();
    queueReceiveCheck();
}

void MSComm::onErrorOccurred()
{
    // A vanished device reports ReadError (ResourceError on a USB unplug) again and again while
    // the handle stays open; take it as closed at once. Other errors, such as modem-line
    // requests a pseudo-terminal does not support, leave the port as it is.
    const auto error = m_port->error();
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!m_port->isOpen() || m_lineLost)
        return;
    m_lineLost = true;
    m_received.clear();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_lineLost)
                closeDevice();
        },
        Qt::QueuedConnection);
}

void MSComm::pullArrivedBytes()
{
    if (!PortOpen() || m_port->bytesAvailable() == 0)
        return;
    const QByteArray arrived = m_port->readAll();
    m_received.insert(m_received.end(), arrived.begin(), arrived.end());
    if (m_received.size() > ReceiveBufferSize) {
        m_received.erase(m_received.begin(),
                         m_received.begin() + (m_received.size() - ReceiveBufferSize));
        m_overflowed = true;
    }
}

void MSComm::queueReceiveCheck()
{
    if (std::exchange(m_checkQueued, true))
        return;
    QMetaObject::invokeMethod(this, &MSComm::checkReceive, Qt::QueuedConnection);
}

void MSComm::checkReceive()
{
    m_checkQueued = false;
    pullArrivedBytes();
    if (std::exchange(m_overflowed, false))
        raise(comEventRxOver);
    if (receiveThresholdReached())
        raise(comEvReceive);
}

bool MSComm::receiveThresholdReached() const
{
    return PortOpen() && m_rThreshold > 0 && m_received.size() >= std::size_t(m_rThreshold);
}

void MSComm::raise(int code)
{
    // Too deep: the outer event checks again for waiting bytes when it ends.
    if (m_eventDepth > MaxNestedReceiveEvents)
        return;
    ++m_eventDepth;
    m_commEvent = code;
    emit OnComm();
    --m_eventDepth;

    // Bytes may have come while the handler ran without readyRead being emitted again; a
    // backlog gets further events until it is worked off.
    pullArrivedBytes();
    if (receiveThresholdReached())
        queueReceiveCheck();
}

void MSComm::closeDevice()
{
    if (m_port->isOpen())
        m_port->close();
    m_lineLost = false;
    m_received.clear();
    m_overflowed = false;
}
