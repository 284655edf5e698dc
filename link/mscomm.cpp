#include "mscomm.h"

#include "linklog.h"

#include <algorithm>
#include <utility>

MSComm::MSComm(QObject *parent) : QObject(parent)
{
    connect(m_line, &SerialLine::readyRead, this, &MSComm::onReadyRead);
    connect(m_line, &SerialLine::lost, this, &MSComm::onLineLost);
    m_receiveCheck->setSingleShot(true);
    m_receiveCheck->setInterval(0);
    connect(m_receiveCheck, &QTimer::timeout, this, &MSComm::checkReceive);
    m_devicePoll->setInterval(DevicePollInterval);
    connect(m_devicePoll, &QTimer::timeout, this, &MSComm::lookForDevice);
}

bool MSComm::PortOpen() const
{
    return m_line->isOpen() && !m_lineLost;
}

int MSComm::setPortOpen(bool open)
{
    if (!open) {
        stopWaiting();
        if (PortOpen())
            qCInfo(lcLink, "%s: closed %s", qPrintable(portName()), qPrintable(m_line->path()));
        const bool wasOpen = m_line->isOpen();
        closeDevice();
        if (wasOpen)
            emit linkChanged();
        return commSucceeded;
    }
    if (PortOpen())
        return comPortAlreadyOpen;
    stopWaiting();
    closeDevice(); // a vanished device may still hold its handle
    m_target = m_devices.target(m_commPort);
    return openTarget(false);
}

// Opens the device of the chosen port where it is now. A missing device is waited for; one
// that is there but refuses leaves the port closed.
int MSComm::openTarget(bool resuming)
{
    const std::optional<SerialDevice> device = m_devices.locate(*m_target);
    if (!device) {
        waitForDevice();
        return comPortOpenFailed;
    }
    if (!m_line->open(device->path, m_settings)) {
        if (m_line->failure() == SerialLine::DeviceMissing) {
            waitForDevice();
            return comPortOpenFailed;
        }
        stopWaiting();
        if (m_line->failure() == SerialLine::SettingsRefused) {
            qCInfo(lcLink, "%s: %s refused the line settings %s: %s", qPrintable(portName()),
                   qPrintable(device->path), qPrintable(m_settingsText),
                   qPrintable(m_line->errorString()));
            return comSetCommStateFailed;
        }
        qCInfo(lcLink, "%s: could not open %s: %s", qPrintable(portName()),
               qPrintable(device->path), qPrintable(m_line->errorString()));
        return comPortOpenFailed;
    }
    stopWaiting();
    // A named path stays that path; a device found by itself is waited for as itself.
    if (m_target->kind == PortTarget::Path)
        m_target->device = *device;
    else
        m_target = PortDevices::boundTo(*device);
    qCInfo(lcLink, "%s: %s %s at %s", qPrintable(portName()), resuming ? "resumed on" : "opened",
           qPrintable(device->label()), qPrintable(m_settingsText));
    emit linkChanged();
    return commSucceeded;
}

void MSComm::waitForDevice()
{
    if (m_devicePoll->isActive())
        return;
    qCInfo(lcLink, "%s: waiting for %s", qPrintable(portName()), qPrintable(m_target->label()));
    m_devicePoll->start();
    emit linkChanged();
}

void MSComm::stopWaiting()
{
    if (!m_devicePoll->isActive())
        return;
    m_devicePoll->stop();
    emit linkChanged();
}

void MSComm::lookForDevice()
{
    closeDevice(); // the handle of a vanished device, should it still be held
    openTarget(true);
}

QString MSComm::portName() const
{
    return QStringLiteral("ComPort %1").arg(m_commPort);
}

int MSComm::setCommPort(int port)
{
    if (!PortDevices::isPort(port))
        return comPortInvalid;
    stopWaiting(); // the port chosen before is no longer waited for
    m_commPort = port;
    return commSucceeded;
}

int MSComm::setSettings(const QString &settings)
{
    const auto parsed = LineSettings::parse(settings);
    if (!parsed)
        return comInvalidPropertyValue;
    if (PortOpen() && !m_line->apply(*parsed)) {
        m_line->apply(m_settings); // leave the line as it was
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
    const bool wasWaiting = std::exchange(m_waitingForInput, true);
    while (m_received.empty() && PortOpen() && !deadline.hasExpired()) {
        // Emits readyRead (and lost) synchronously; both only record what happened.
        if (!m_line->waitForReadyRead(int(deadline.remainingTime())))
            break;
        pullArrivedBytes();
    }
    m_waitingForInput = wasWaiting;
    return !m_received.empty();
}

void MSComm::onReadyRead()
{
    pullArrivedBytes();
    // The receive event is raised right here, in the pass of the event loop that brought the
    // bytes. A handler may close or reopen the port: the line emits readyRead last and touches
    // nothing the close takes away after it. Bytes that come while a handler runs are looked
    // for when its event ends.
    if (!m_waitingForInput)
        checkReceive();
}

void MSComm::onLineLost()
{
    // The device vanished; take the port as closed at once.
    if (!m_line->isOpen() || m_lineLost)
        return;
    m_lineLost = true;
    m_received.clear();
    qCInfo(lcLink, "%s: %s vanished (%s)", qPrintable(portName()), qPrintable(m_line->path()),
           qPrintable(m_line->errorString()));
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_lineLost)
                closeDevice();
        },
        Qt::QueuedConnection);
    waitForDevice();
}

void MSComm::pullArrivedBytes()
{
    if (!PortOpen())
        return;
    // Through a buffer on the stack: a packet's arrival allocates nothing.
    char arrived[512];
    qint64 count = 0;
    while ((count = m_line->read(arrived, sizeof arrived)) > 0)
        m_received.insert(m_received.end(), arrived, arrived + count);
    if (m_received.size() > ReceiveBufferSize) {
        m_received.erase(m_received.begin(),
                         m_received.begin() + (m_received.size() - ReceiveBufferSize));
        m_overflowed = true;
    }
}

void MSComm::queueReceiveCheck()
{
    // A zero-time timer rather than a posted call: it runs on the event loop's next pass just
    // the same, without waking the loop through its wake-up pipe.
    if (!m_receiveCheck->isActive())
        m_receiveCheck->start();
}

void MSComm::checkReceive()
{
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
    if (m_line->isOpen())
        m_line->close();
    m_lineLost = false;
    m_received.clear();
    m_overflowed = false;
}
