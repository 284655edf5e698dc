#include "gloveend.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

GloveEnd::GloveEnd(GloveEnd &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_pseudoTerminal(other.m_pseudoTerminal),
      m_path(std::move(other.m_path))
{}

GloveEnd &GloveEnd::operator=(GloveEnd &&other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_pseudoTerminal, other.m_pseudoTerminal);
    std::swap(m_path, other.m_path);
    return *this;
}

GloveEnd::~GloveEnd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

GloveEnd GloveEnd::openPseudoTerminal(QString *error)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        *error = QStringLiteral("cannot create a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    ::close(slave); // the program at the other end opens it by its path
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // A program started later must not inherit the glove's end: a pulled plug would then
    // leave the line up in it.
    fcntl(master, F_SETFD, FD_CLOEXEC);

    GloveEnd end;
    end.m_fd = master;
    end.m_pseudoTerminal = true;
    end.m_path = QString::fromLocal8Bit(name);
    return end;
}

GloveEnd GloveEnd::openDevice(const QString &path, QString *error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot open %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    termios line{};
    if (tcgetattr(fd, &line) != 0) {
        *error = QStringLiteral("%1 is not a serial device").arg(path);
        ::close(fd);
        return {};
    }
    cfmakeraw(&line);
    cfsetispeed(&line, B19200);
    cfsetospeed(&line, B19200);
    line.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    if (tcsetattr(fd, TCSANOW, &line) != 0) {
        *error = QStringLiteral("cannot set %1 to 19200 8N1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return {};
    }
    GloveEnd end;
    end.m_fd = fd;
    end.m_path = path;
    return end;
}

bool GloveEnd::peerPresent() const
{
    if (m_fd < 0)
        return false;
    if (!m_pseudoTerminal)
        return true;
    // The master side reports a hang-up while no program holds the device open.
    pollfd fd{m_fd, POLLOUT, 0};
    return ::poll(&fd, 1, 0) >= 0 && !(fd.revents & POLLHUP);
}

qsizetype GloveEnd::write(const QByteArray &bytes)
{
    for (;;) {
        const ssize_t n = ::write(m_fd, bytes.constData(), size_t(bytes.size()));
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EIO)
            return 0; // nobody reads, or the line is full: the bytes are lost
        return -1;
    }
}
