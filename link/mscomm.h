#ifndef MSCOMM_H
#define MSCOMM_H

#include "commcodes.h"
#include "gloveline.h"
#include "linesettings.h"
#include "portdevices.h"
#include "serialline.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <optional>

// The serial control: one port, chosen by number, read one byte at a time from a bounded
// receive buffer, with a receive event once enough bytes wait. Setters return 0 or a failure
// number (commcodes.h). Nothing is ever written to the line.
//
// When the chosen port's device is missing, or vanishes while open, the port stays chosen:
// the control looks for that same device once a second and opens it, with the last settings,
// as soon as it is back. Closing the port or choosing another one ends the wait.
//
// OnComm is raised when bytes arrive, from the line's readyRead, and for a backlog from
// the control's own zero-time timer; a handler may close or reopen the port.
class MSComm : public QObject, public GloveLine
{
    Q_OBJECT

public:
    // The newest bytes are kept when more than this many wait.
    static constexpr std::size_t ReceiveBufferSize = 4096;
    // A receive event may be raised inside a handler of another, but no deeper.
    static constexpr int MaxNestedReceiveEvents = 1;
    // How often a missing device is looked for.
    static constexpr std::chrono::milliseconds DevicePollInterval{1000};

    explicit MSComm(QObject *parent = nullptr);

    void setPortDevices(const PortDevices &devices) { m_devices = devices; }
    PortDevices portDevices() const { return m_devices; }

    bool PortOpen() const;
    int setPortOpen(bool open);

    int CommPort() const { return m_commPort; }
    int setCommPort(int port);

    QString Settings() const { return m_settingsText; }
    int setSettings(const QString &settings);

    int InputLen() const { return m_inputLen; }
    int setInputLen(int length);

    int InputMode() const { return m_inputMode; }
    int setInputMode(int mode);

    int RThreshold() const { return m_rThreshold; }
    int setRThreshold(int count);

    // Removes and returns up to InputLen waiting bytes (all of them when InputLen is 0).
    QByteArray Input();
    // How many bytes wait in the receive buffer.
    int InBufferCount() const { return int(m_received.size()); }

    int CommEvent() const { return m_commEvent; }

    // Whether the port waits for its device to be plugged in (PortOpen reads false meanwhile).
    bool isWaitingForDevice() const { return m_devicePoll->isActive(); }
    // The device the chosen port is on or waits for; nothing before a port is opened.
    std::optional<PortTarget> target() const { return m_target; }

    // GloveLine
    int readCommEvent(int &code) override;
    int readRThreshold(int &count) override;
    int takeByte(std::uint8_t &byte) override;
    bool waitForInput(QDeadlineTimer deadline) override;

signals:
    void OnComm();
    // The port opened or closed, or began or ended waiting for its device.
    void linkChanged();

private:
    void onReadyRead();
    void onLineLost();
    void pullArrivedBytes();
    void queueReceiveCheck();
    void checkReceive();
    void raise(int code);
    bool receiveThresholdReached() const;
    void closeDevice();
    int openTarget(bool resuming);
    void waitForDevice();
    void stopWaiting();
    void lookForDevice();
    QString portName() const;

    SerialLine *m_line = new SerialLine(this);
    PortDevices m_devices = PortDevices();
    std::optional<PortTarget> m_target;
    QTimer *m_devicePoll = new QTimer(this);
    int m_commPort = 1;
    QString m_settingsText = QStringLiteral("9600,N,8,1");
    LineSettings m_settings = *LineSettings::parse(m_settingsText);
    int m_inputLen = 0;
    int m_inputMode = comInputModeText;
    int m_rThreshold = 0;
    int m_commEvent = 0;

    std::deque<std::uint8_t> m_received;
    bool m_overflowed = false;
    // Set when the device vanished: the port counts as closed at once, and the handle is
    // released from the event loop rather than from inside the line's own signal.
    bool m_lineLost = false;
    QTimer *m_receiveCheck = new QTimer(this);
    int m_eventDepth = 0;
    // Inside waitForInput, where readyRead only records what arrived.
    bool m_waitingForInput = false;
};

#endif // MSCOMM_H
