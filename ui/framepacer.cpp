#include "framepacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <ctime>

Q_LOGGING_CATEGORY(lcFrames, "vantrel.frames", QtWarningMsg)

FramePacer::FramePacer(QWidget *window) : m_window(window)
{
    m_nextFrame.setSingleShot(true);
    m_nextFrame.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_nextFrame, &QTimer::timeout, window, [this] { paintNow(); });
}

void FramePacer::paintNow()
{
    m_nextFrame.stop();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
}

qint64 FramePacer::intervalNs() const
{
    const QScreen *screen = m_window->screen();
    const qreal rate = screen && screen->refreshRate() >= 1 ? screen->refreshRate() : 60;
    return qint64(1e9 / rate);
}

qint64 FramePacer::waitNs() const
{
    return m_sinceFrame.isValid() ? intervalNs() - m_sinceFrame.nsecsElapsed() : 0;
}

bool FramePacer::mayPaintNow()
{
    if (waitNs() <= 0 && !m_held)
        return true;
    requestFrame();
    return false;
}

void FramePacer::requestFrame()
{
    if (m_nextFrame.isActive())
        return;
    const qint64 dueNs = std::max<qint64>(0, waitNs()) + intervalNs() / 4;
    m_nextFrame.start(std::chrono::milliseconds((dueNs + 999999) / 1000000));
}

void FramePacer::hold(bool held)
{
    m_held = held;
    if (!held && m_nextFrame.isActive() && waitNs() <= 0)
        paintNow();
}

qint64 FramePacer::nextFrameInMs() const
{
    return m_nextFrame.isActive() ? m_nextFrame.remainingTime() : -1;
}

void FramePacer::framePainted(const std::function<QString()> &newestSample)
{
    m_nextFrame.stop();
    m_sinceFrame.start();
    ++m_frames;
    if (lcFrames().isDebugEnabled()) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        qCDebug(lcFrames, "frame %lld %s", qint64(now.tv_sec) * 1000000000 + now.tv_nsec,
                qPrintable(newestSample()));
    }
}
