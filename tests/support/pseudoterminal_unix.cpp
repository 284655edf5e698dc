#include "pseudoterminal.h"

#include "devicelink.h"

#include "gloveend.h"

#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

struct PseudoTerminal::Backend
{
    GloveEnd end;
};

PseudoTerminal::PseudoTerminal() : d(new Backend)
{
    QString error;
    d->end = GloveEnd::openPseudoTerminal(&error);
    m_path = d->end.path();
}

PseudoTerminal::~PseudoTerminal() = default;

bool PseudoTerminal::isValid() const
{
    return d->end.isOpen();
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qsizetype n = d->end.isOpen() ? d->end.write(bytes.mid(done)) : -1;
        if (n < 0 || (n == 0 && !d->end.peerPresent()))
            return false;
        if (n == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        done += n;
    }
    return true;
}

void PseudoTerminal::closeMaster()
{
    d->end = GloveEnd();
}

bool PseudoTerminal::isDeviceOpen() const
{
    return d->end.peerPresent();
}

PseudoTerminal::LineState PseudoTerminal::lineState() const
{
    LineState state;
    termios tio{};
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return state;
    if (tcgetattr(fd, &tio) == 0) {
        const speed_t speed = cfgetispeed(&tio);
        for (const auto &[code, rate] : {std::pair<speed_t, int>{B9600, 9600},
                                         {B19200, 19200},
                                         {B38400, 38400},
                                         {B115200, 115200}})
            if (speed == code)
                state.baudRate = rate;
        const tcflag_t size = tio.c_cflag & CSIZE;
        state.dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
        state.parity = tio.c_cflag & PARENB;
        state.twoStopBits = tio.c_cflag & CSTOPB;
    }
    ::close(fd);
    return state;
}

DeviceLink::DeviceLink() : m_path(m_dir.filePath(QStringLiteral("glove"))) {}

DeviceLink::~DeviceLink() = default;

void DeviceLink::pointTo(const QString &target)
{
    unplug();
    QFile::link(target, m_path);
}

void DeviceLink::unplug()
{
    QFile::remove(m_path);
}
