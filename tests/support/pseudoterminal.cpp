#include "pseudoterminal.h"

#include <chrono>
#include <thread>

PseudoTerminal::PseudoTerminal()
{
    QString error;
    m_end = GloveEnd::openPseudoTerminal(&error);
    m_path = m_end.path();
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qsizetype n = m_end.isOpen() ? m_end.write(bytes.mid(done)) : -1;
        if (n < 0 || (n == 0 && !m_end.peerPresent()))
            return false;
        if (n == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        done += n;
    }
    return true;
}
