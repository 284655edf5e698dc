#include "pseudoterminal.h"

#include "devicelink.h"

#include <QMutex>
#include <QStringList>
#include <windows.h>

// Under Wine the line host (linehost.cpp) holds the pseudo-terminals; this asks it, through
// the two FIFOs in the folder that VANTREL_LINE_HOST names.

namespace {

QMutex requestLock;

HANDLE openFifo(const QString &path, DWORD access)
{
    return CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), access, 0, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

QString ask(const QString &request)
{
    const QMutexLocker locked(&requestLock);
    const QString dir = qEnvironmentVariable("VANTREL_LINE_HOST");
    if (dir.isEmpty())
        return {};
    // The host may not be listening yet: it is while it waits for the next request.
    HANDLE out = INVALID_HANDLE_VALUE;
    for (int tries = 0; out == INVALID_HANDLE_VALUE && tries < 30000; ++tries) {
        out = openFifo(dir + QStringLiteral("\\requests"), GENERIC_WRITE);
        if (out == INVALID_HANDLE_VALUE)
            Sleep(1);
    }
    if (out == INVALID_HANDLE_VALUE)
        return {};
    const QByteArray bytes = request.toLatin1();
    DWORD written = 0;
    WriteFile(out, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(out);

    // Wine opens a FIFO without waiting for the other end: until the host has written the
    // answer's closing newline, a read may find nothing.
    HANDLE in = openFifo(dir + QStringLiteral("\\replies"), GENERIC_READ);
    if (in == INVALID_HANDLE_VALUE)
        return {};
    QByteArray answer;
    char buffer[256];
    DWORD count = 0;
    for (int tries = 0; !answer.endsWith('\n') && tries < 60000; ++tries) {
        if (ReadFile(in, buffer, sizeof buffer, &count, nullptr) && count > 0)
            answer.append(buffer, count);
        else
            Sleep(1);
    }
    CloseHandle(in);
    return QString::fromLatin1(answer).trimmed();
}

} // namespace

struct PseudoTerminal::Backend
{
    QString slot; // the line's number at the host
};

PseudoTerminal::PseudoTerminal() : d(new Backend)
{
    const QString port = ask(QStringLiteral("open"));
    if (port.startsWith(QLatin1String("COM"))) {
        m_path = port;
        d->slot = port.mid(3);
    }
}

PseudoTerminal::~PseudoTerminal()
{
    if (isValid())
        ask(QStringLiteral("free ") + d->slot);
}

bool PseudoTerminal::isValid() const
{
    return !d->slot.isEmpty();
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    return ask(QStringLiteral("write %1 %2").arg(d->slot, QString::fromLatin1(bytes.toHex()))) ==
           QLatin1String("ok");
}

void PseudoTerminal::closeMaster()
{
    ask(QStringLiteral("close ") + d->slot);
}

bool PseudoTerminal::isDeviceOpen() const
{
    return ask(QStringLiteral("held ") + d->slot) == QLatin1String("1");
}

PseudoTerminal::LineState PseudoTerminal::lineState() const
{
    const QStringList fields = ask(QStringLiteral("state ") + d->slot).split(QLatin1Char(' '));
    LineState state;
    state.baudRate = fields.value(0).toInt();
    state.dataBits = fields.value(1).toInt();
    state.parity = fields.value(2) == QLatin1String("1");
    state.twoStopBits = fields.value(3) == QLatin1String("1");
    return state;
}

// A device link is a COM port of its own whose link the host points at another line's
// pseudo-terminal, or at nothing.
DeviceLink::DeviceLink()
{
    const QString port = ask(QStringLiteral("reserve"));
    if (port.startsWith(QLatin1String("COM")))
        m_path = port;
}

DeviceLink::~DeviceLink()
{
    if (!m_path.isEmpty())
        ask(QStringLiteral("free ") + m_path.mid(3));
}

void DeviceLink::pointTo(const QString &target)
{
    ask(QStringLiteral("link %1 %2").arg(m_path.mid(3), target.mid(3)));
}

void DeviceLink::unplug()
{
    ask(QStringLiteral("unlink ") + m_path.mid(3));
}
