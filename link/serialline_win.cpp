#include "serialline.h"

#include "serialdevices.h"

#include <QDeadlineTimer>
#include <QWinEventNotifier>
#include <algorithm>
#include <vector>
#include <windows.h>

// The line through Windows' serial API. One overlapped read is outstanding while the line is
// open: of one byte while nothing waits, so that it ends when the first byte comes, then of
// as many as the driver holds. Its event wakes the event loop through QWinEventNotifier; no
// timer looks and no thread waits.
//
// Wine on a pseudo-terminal differs from Windows in ways this handles too: a device that is
// gone still opens (as a file of unknown type whose comm calls fail), and an aborted read
// comes without a cause; the driver's state then tells whether the line is still there.

namespace {

// Bytes read at most per request.
constexpr DWORD ReadChunk = 4096;
// The arrived bytes kept for the reader at most; older ones give way.
constexpr std::size_t ArrivedLimit = 64 * 1024;
// How long the driver may take to hand over bytes it reported waiting, before the rest is
// left to the event loop.
constexpr DWORD HandOverWaitMs = 5;
// Aborted reads in a row, with nothing read, after which the line counts as lost.
constexpr int AbortedReadsLimit = 64;

QString systemMessage(DWORD error)
{
    return qt_error_string(int(error));
}

// "COM12" and "com12" are opened as "\\.\COM12", which is what COM ports past 9 need.
std::wstring deviceName(const QString &path)
{
    const QString port = comPortName(path);
    return (port.isEmpty() ? path : QStringLiteral("\\\\.\\") + port).toStdWString();
}

BYTE parityOf(LineSettings::Parity parity)
{
    switch (parity) {
    case LineSettings::EvenParity:
        return EVENPARITY;
    case LineSettings::OddParity:
        return ODDPARITY;
    case LineSettings::MarkParity:
        return MARKPARITY;
    case LineSettings::SpaceParity:
        return SPACEPARITY;
    case LineSettings::NoParity:
        break;
    }
    return NOPARITY;
}

BYTE stopBitsOf(LineSettings::StopBits stopBits)
{
    switch (stopBits) {
    case LineSettings::OneAndHalfStop:
        return ONE5STOPBITS;
    case LineSettings::TwoStop:
        return TWOSTOPBITS;
    case LineSettings::OneStop:
        break;
    }
    return ONESTOPBIT;
}

} // namespace

class SerialLinePrivate
{
public:
    explicit SerialLinePrivate(SerialLine *line) : q(line)
    {
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        notifier = new QWinEventNotifier(overlapped.hEvent, q);
        notifier->setEnabled(false);
        QObject::connect(notifier, &QWinEventNotifier::activated, q, [this] { onReadDone(); });
        chunk.resize(ReadChunk);
    }

    ~SerialLinePrivate()
    {
        closeHandle();
        CloseHandle(overlapped.hEvent);
    }

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }

    bool applySettings(const LineSettings &settings)
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb)) {
            q->m_errorString = systemMessage(GetLastError());
            return false;
        }
        dcb.BaudRate = DWORD(settings.baudRate);
        dcb.ByteSize = BYTE(settings.dataBits);
        dcb.Parity = parityOf(settings.parity);
        dcb.fParity = settings.parity != LineSettings::NoParity;
        dcb.StopBits = stopBitsOf(settings.stopBits);
        dcb.fBinary = TRUE;
        // No flow control; DTR and RTS raised, as a Linux serial device raises them on open,
        // for the adapters and gloves that draw their power from them.
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        // Line errors (a framing error on a loose cable) must not stop the reads.
        dcb.fAbortOnError = FALSE;
        if (!SetCommState(handle, &dcb)) {
            q->m_errorString = systemMessage(GetLastError());
            return false;
        }
        // A driver may take settings it cannot make (Wine's pseudo-terminals take parity):
        // what it reports back is what holds.
        DCB made{};
        made.DCBlength = sizeof made;
        if (!GetCommState(handle, &made) || made.BaudRate != dcb.BaudRate ||
            made.ByteSize != dcb.ByteSize || made.Parity != dcb.Parity ||
            made.StopBits != dcb.StopBits) {
            q->m_errorString = QStringLiteral("the device does not take %1 data bits, parity %2")
                                   .arg(settings.dataBits)
                                   .arg(settings.parity == LineSettings::NoParity ? "none" : "on");
            return false;
        }
        return true;
    }

    // How many bytes the driver holds, or -1 when the device is gone.
    long long queuedBytes()
    {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(handle, &errors, &status))
            return -1;
        return status.cbInQue;
    }

    // Keeps one read outstanding: takes what the driver holds now, then waits for the next
    // byte. Returns false when the line was lost on the way.
    bool readOn()
    {
        for (;;) {
            const long long queued = queuedBytes();
            if (queued < 0)
                return loseLine(GetLastError());
            const DWORD wanted = DWORD(std::clamp<long long>(queued, 1, ReadChunk));
            if (ReadFile(handle, chunk.data(), wanted, nullptr, &overlapped)) {
                // Done at once; the event it set is cleared by the next request.
                DWORD count = 0;
                GetOverlappedResult(handle, &overlapped, &count, FALSE);
                keep(count);
                continue;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return loseLine(error);
            readPending = true;
            // Bytes the driver said it holds come at once; anything else is left to the
            // event loop.
            if (queued == 0 ||
                WaitForSingleObject(overlapped.hEvent, HandOverWaitMs) != WAIT_OBJECT_0)
                return true;
            if (!finishRead())
                return false;
        }
    }

    // Takes the result of the outstanding read once its event is set. False when the line
    // was lost.
    bool finishRead()
    {
        DWORD count = 0;
        const BOOL done = GetOverlappedResult(handle, &overlapped, &count, FALSE);
        readPending = false;
        if (done) {
            abortedReads = count > 0 ? 0 : abortedReads + 1;
            keep(count);
            return true;
        }
        const DWORD error = GetLastError();
        // Windows aborts a read when the device goes; Wine at times for no reason. The
        // driver's state tells which.
        if (error == ERROR_OPERATION_ABORTED && ++abortedReads < AbortedReadsLimit &&
            queuedBytes() >= 0)
            return true;
        return loseLine(error);
    }

    void keep(DWORD count)
    {
        if (count == 0)
            return;
        if (head == arrived.size()) {
            arrived.clear();
            head = 0;
        }
        arrived.insert(arrived.end(), chunk.begin(), chunk.begin() + count);
        if (arrived.size() - head > ArrivedLimit)
            head = arrived.size() - ArrivedLimit;
    }

    std::size_t waiting() const { return arrived.size() - head; }

    void onReadDone()
    {
        if (!readPending || WaitForSingleObject(overlapped.hEvent, 0) != WAIT_OBJECT_0)
            return; // an event left set by a read that was done at once
        const std::size_t before = waiting();
        if (!finishRead() || !readOn())
            return;
        if (waiting() == before)
            return;
        // The notifier waits again only once this returns, unless told now: bytes that come
        // while a handler of readyRead lets events run are then announced inside it, as on
        // Linux.
        notifier->setEnabled(false);
        notifier->setEnabled(true);
        // Last: a handler may close or reopen the line.
        emit q->readyRead();
    }

    bool loseLine(DWORD error)
    {
        stopReading();
        q->fail(SerialLine::NoFailure, systemMessage(error));
        // Said once, and not while opening, where the failure is the open's own.
        if (!lost && !opening) {
            lost = true;
            emit q->lost();
        }
        return false;
    }

    void stopReading()
    {
        if (readPending) {
            // The read writes into chunk and overlapped until it has ended.
            DWORD count = 0;
            CancelIoEx(handle, &overlapped);
            GetOverlappedResult(handle, &overlapped, &count, TRUE);
            readPending = false;
        }
        ResetEvent(overlapped.hEvent);
        notifier->setEnabled(false);
    }

    void closeHandle()
    {
        if (!isOpen())
            return;
        stopReading();
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        arrived.clear();
        head = 0;
        lost = false;
        abortedReads = 0;
    }

    SerialLine *q;
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    QWinEventNotifier *notifier = nullptr;
    bool readPending = false;
    bool lost = false;
    bool opening = false;
    int abortedReads = 0;
    std::vector<char> chunk;
    std::vector<char> arrived;
    std::size_t head = 0;
};

SerialLine::SerialLine(QObject *parent) : QObject(parent), d(new SerialLinePrivate(this)) {}

SerialLine::~SerialLine() = default;

bool SerialLine::open(const QString &path, const LineSettings &settings)
{
    close();
    m_path = path;
    const std::wstring name = deviceName(path);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        QString reason = systemMessage(error);
        if (error == ERROR_ACCESS_DENIED)
            reason += QStringLiteral("; another program may be holding it");
        fail(missing ? DeviceMissing : Refused, reason);
        return false;
    }
    d->handle = handle;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        // A device that is gone but still named (Wine's link to a closed pseudo-terminal)
        // opens as a file of no known type.
        const DWORD error = GetLastError();
        const bool missing = GetFileType(handle) == FILE_TYPE_UNKNOWN;
        d->closeHandle();
        fail(missing ? DeviceMissing : Refused,
             missing ? QStringLiteral("the device does not answer (%1)").arg(systemMessage(error))
                     : QStringLiteral("not a serial port (%1)").arg(systemMessage(error)));
        return false;
    }
    if (!d->applySettings(settings)) {
        const QString reason = m_errorString;
        d->closeHandle();
        fail(SettingsRefused, reason);
        return false;
    }
    // Reads take what has arrived and return; the outstanding read is what waits.
    COMMTIMEOUTS timeouts{};
    SetCommTimeouts(handle, &timeouts);
    SetupComm(handle, ReadChunk, 0);
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_RXABORT);

    d->notifier->setEnabled(true);
    fail(NoFailure, {});
    d->opening = true;
    const bool reading = d->readOn();
    d->opening = false;
    if (!reading) {
        const QString reason = m_errorString;
        d->closeHandle();
        fail(DeviceMissing, reason);
        return false;
    }
    return true;
}

void SerialLine::close()
{
    d->closeHandle();
}

bool SerialLine::isOpen() const
{
    return d->isOpen();
}

bool SerialLine::apply(const LineSettings &settings)
{
    return !isOpen() || d->applySettings(settings);
}

qint64 SerialLine::read(char *data, qint64 size)
{
    const std::size_t count = std::min<std::size_t>(d->waiting(), std::size_t(size));
    std::copy_n(d->arrived.begin() + qsizetype(d->head), count, data);
    d->head += count;
    return qint64(count);
}

bool SerialLine::waitForReadyRead(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (isOpen() && !d->lost) {
        if (!d->readPending && !d->readOn())
            return false;
        const qint64 remaining = deadline.remainingTime();
        const DWORD waited =
            WaitForSingleObject(d->overlapped.hEvent, remaining < 0 ? INFINITE : DWORD(remaining));
        if (waited != WAIT_OBJECT_0)
            return false;
        const std::size_t before = d->waiting();
        if (!d->finishRead() || !d->readOn())
            return false;
        if (d->waiting() > before) {
            emit readyRead();
            return true;
        }
    }
    return false;
}
