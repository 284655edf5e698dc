#include "pseudoterminal.h"

#include "devicelink.h"

#include <QFile>
#include <QMutex>
#include <QStringList>
#include <windows.h>

// Under Wine the line host (linehost.cpp) holds the pseudo-terminals; this asks it, through
// files in the folder that VANTREL_LINE_HOST names.

namespace {

QMutex requestLock;

QString ask(const QString &request)
{
    const QMutexLocker locked(&requestLock);
    const QString dir = qEnvironmentVariable("VANTREL_LINE_HOST");
    if (dir.isEmpty())
        return {};
    // The request appears whole, by a rename; the host removes it and answers the same way.
    const QString asked = dir + QStringLiteral("\\request");
    QFile next(asked + QStringLiteral(".new"));
    if (!next.open(QIODevice::WriteOnly)) {
        qWarning("line host: cannot write %s: %s", qPrintable(next.fileName()),
                 qPrintable(next.errorString()));
        return {};
    }
    next.write(request.toLatin1());
    next.close();
    // Wine's rename now and then reports a failure ("not enough memory") and yet has renamed
    // the file; otherwise it works when tried again.
    int tries = 0;
    while (!MoveFileExW(reinterpret_cast<const wchar_t *>(next.fileName().utf16()),
                        reinterpret_cast<const wchar_t *>(asked.utf16()),
                        MOVEFILE_REPLACE_EXISTING) &&
           next.exists()) {
        if (++tries == 1000) {
            qWarning("line host: cannot hand over %s: %s", qPrintable(asked),
                     qPrintable(qt_error_string(int(GetLastError()))));
            return {};
        }
        Sleep(1);
    }
    QFile reply(dir + QStringLiteral("\\reply"));
    for (tries = 0; !reply.exists(); ++tries) {
        if (tries == 60000)
            return {};
        Sleep(1);
    }
    reply.open(QIODevice::ReadOnly);
    const QString answer = QString::fromLatin1(reply.readAll()).trimmed();
    reply.close();
    reply.remove();
    return answer;
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
