#include "oscsender.h"

#include "sinkslog.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

bool socketsStarted()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

} // namespace

std::unique_ptr<OscSender> OscSender::connectTo(const QString &hostAndPort, QString *error)
{
    QString host;
    int port = 0;
    if (!splitHostAndPort(hostAndPort, &host, &port, error))
        return nullptr;
    if (!socketsStarted()) {
        *error = QStringLiteral("--osc: Windows Sockets cannot be started: %1")
                     .arg(qt_error_string(WSAGetLastError()));
        return nullptr;
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo *found = nullptr;
    const QByteArray portText = QByteArray::number(port);
    if (const int failed =
            getaddrinfo(host.toUtf8().constData(), portText.constData(), &hints, &found)) {
        *error = QStringLiteral("--osc: cannot find the host '%1': %2")
                     .arg(host, qt_error_string(failed));
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
    // Connected, so that a host with nobody listening is told apart; never waiting.
    const SOCKET handle = socket(chosen->ai_family, SOCK_DGRAM, IPPROTO_UDP);
    u_long nonBlocking = 1;
    const bool connected = handle != INVALID_SOCKET &&
                           ioctlsocket(handle, FIONBIO, &nonBlocking) == 0 &&
                           ::connect(handle, chosen->ai_addr, int(chosen->ai_addrlen)) == 0;
    const int why = WSAGetLastError();
    freeaddrinfo(found);
    if (!connected) {
        if (handle != INVALID_SOCKET)
            closesocket(handle);
        *error =
            QStringLiteral("--osc: cannot send to %1: %2").arg(hostAndPort, qt_error_string(why));
        return nullptr;
    }
    std::unique_ptr<OscSender> sender(new OscSender(qintptr(handle), hostAndPort));
    sender->m_waiting.reserve(MaxWaiting);
    return sender;
}

OscSender::~OscSender()
{
    closesocket(SOCKET(m_socket));
}

void OscSender::flush()
{
    if (m_flushTimer)
        m_flushTimer->stop();
    // Windows sends one datagram a call.
    for (const Message &message : m_waiting) {
        if (::send(SOCKET(m_socket), message.bytes.data(), int(message.size), 0) != SOCKET_ERROR)
            continue;
        const int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK)
            break; // the network is busy: the rest are dropped
        sayOnce(error);
    }
    m_waiting.clear();
}

void OscSender::sayOnce(int error)
{
    // An ICMP answer that nobody listens comes back on the send after it.
    const bool refused = error == WSAECONNRESET || error == WSAECONNREFUSED;
    bool &said = refused ? m_refusedSaid : m_failureSaid;
    if (!said)
        qCInfo(lcSinks, "OSC: %s: %s%s", qPrintable(m_target), qPrintable(qt_error_string(error)),
               refused ? " (nobody is listening there yet)" : "");
    said = true;
}
