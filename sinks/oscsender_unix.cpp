#include "oscsender.h"

#include "sinkslog.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

std::unique_ptr<OscSender> OscSender::connectTo(const QString &hostAndPort, QString *error)
{
    QString host;
    int port = 0;
    if (!splitHostAndPort(hostAndPort, &host, &port, error))
        return nullptr;
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    const QByteArray portText = QByteArray::number(port);
    if (const int failed =
            getaddrinfo(host.toUtf8().constData(), portText.constData(), &hints, &found)) {
        *error = QStringLiteral("--osc: cannot find the host '%1': %2")
                     .arg(host, QString::fromLocal8Bit(gai_strerror(failed)));
        return nullptr;
    }
    // Most OSC programs listen on IPv4 only; an IPv6 address is taken where there is no other.
    const addrinfo *chosen = found;
    for (const addrinfo *a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET) {
            chosen = a;
            break;
        }
    }
    // Connected, so that a host with nobody listening is told apart.
    const int fd = socket(chosen->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool connected = fd >= 0 && ::connect(fd, chosen->ai_addr, chosen->ai_addrlen) == 0;
    const int why = errno;
    freeaddrinfo(found);
    if (!connected) {
        if (fd >= 0)
            ::close(fd);
        *error = QStringLiteral("--osc: cannot send to %1: %2")
                     .arg(hostAndPort, QString::fromLocal8Bit(std::strerror(why)));
        return nullptr;
    }
    std::unique_ptr<OscSender> sender(new OscSender(fd, hostAndPort));
    sender->m_waiting.reserve(MaxWaiting);
    return sender;
}

OscSender::~OscSender()
{
    ::close(m_socket);
}

void OscSender::flush()
{
    if (m_flushTimer)
        m_flushTimer->stop();
    const auto count = unsigned(m_waiting.size());
    iovec parts[MaxWaiting];
    mmsghdr datagrams[MaxWaiting] = {};
    for (unsigned i = 0; i < count; ++i) {
        parts[i] = {m_waiting[i].bytes.data(), m_waiting[i].size};
        datagrams[i].msg_hdr.msg_iov = &parts[i];
        datagrams[i].msg_hdr.msg_iovlen = 1;
    }
    const int taken = sendmmsg(m_socket, datagrams, count, MSG_DONTWAIT);
    // A datagram that fails ends the call without saying why (nobody listening there, most
    // often); the rest go one by one, which tells.
    for (unsigned i = taken < 0 ? 0 : unsigned(taken); i < count; ++i) {
        if (::send(m_socket, m_waiting[i].bytes.data(), m_waiting[i].size, MSG_DONTWAIT) >= 0)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            break; // the network is busy: the rest are dropped
        sayOnce(errno);
    }
    m_waiting.clear();
}

void OscSender::sayOnce(int error)
{
    // An ICMP answer that nobody listens comes back on the send after it.
    bool &said = error == ECONNREFUSED ? m_refusedSaid : m_failureSaid;
    if (!said)
        qCInfo(lcSinks, "OSC: %s: %s%s", qPrintable(m_target), std::strerror(error),
               error == ECONNREFUSED ? " (nobody is listening there yet)" : "");
    said = true;
}
