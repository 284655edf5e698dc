#include "oscsender.h"

#include "oscmessage.h"

bool OscSender::splitHostAndPort(const QString &text, QString *host, int *port, QString *error)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool ok = colon > 0;
    if (ok) {
        *host = text.left(colon);
        if (host->startsWith(QLatin1Char('[')) && host->endsWith(QLatin1Char(']')))
            *host = host->mid(1, host->size() - 2);
        *port = text.mid(colon + 1).toInt(&ok);
        ok = ok && !host->isEmpty() && *port > 0 && *port < 65536;
    }
    if (!ok)
        *error = QStringLiteral("--osc takes HOST:PORT, a host name or address and a port from "
                                "1 to 65535 (localhost:9000, [::1]:9000), not '%1'")
                     .arg(text);
    return ok;
}

void OscSender::send(const GloveSample &sample, const HandPose &pose)
{
    Message made;
    OscMessage raw(made.bytes.data(), made.bytes.size(), OscAddress, "iiiiiiii");
    for (auto field : GlovePacket::Fields)
        raw.addInt32(sample.*field);
    queue(made, raw);
    OscMessage shown(made.bytes.data(), made.bytes.size(), PoseAddress, "ffffff");
    for (double value : pose.value)
        shown.addFloat(float(value));
    queue(made, shown);
    if (pose.shapeChanged) {
        OscMessage shape(made.bytes.data(), made.bytes.size(), GestureAddress, "s");
        shape.addString(pose.shape.toUtf8());
        queue(made, shape);
    }
}

void OscSender::queue(Message &made, const OscMessage &written)
{
    if (!written.fits())
        return;
    made.size = written.size();
    const auto now = std::chrono::steady_clock::now();
    if (m_waiting.empty()) {
        m_oldest = now;
        if (!m_flushTimer) {
            m_flushTimer = std::make_unique<QTimer>();
            m_flushTimer->setSingleShot(true);
            // Later than the next sample would come, which sends them without a wake-up of
            // their own; this is for the last ones when the glove stops.
            m_flushTimer->setInterval(MaxDelay + std::chrono::milliseconds(10));
            QObject::connect(m_flushTimer.get(), &QTimer::timeout, [this] { flush(); });
        }
        m_flushTimer->start();
    }
    m_waiting.push_back(made);
    if (now - m_oldest >= MaxDelay || m_waiting.size() >= MaxWaiting)
        flush();
}
