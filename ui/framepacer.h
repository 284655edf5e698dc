#ifndef FRAMEPACER_H
#define FRAMEPACER_H

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTimer>
#include <functional>

class QEvent;
class QWidget;

// Each frame the main window paints, one line each: when (CLOCK_MONOTONIC), how many samples
// have been presented so far and the newest one's auxiliary inputs. Off unless asked for
// with QT_LOGGING_RULES="vantrel.frames.debug=true"; the benchmarks read it.
Q_DECLARE_LOGGING_CATEGORY(lcFrames)

// Holds a window's painting to one frame per refresh of its screen. Qt asks a window to
// paint (an UpdateRequest) as soon as anything in it changed, which a glove does 213 times a
// second; the screen shows 60. The pacer lets one request through per refresh interval and
// puts the others off to the start of the next interval, when one frame paints everything
// that changed meanwhile. So a frame always shows the newest state, and nothing is painted,
// and no timer runs, while nothing changes.
//
// A frame put off is painted with the first sample written after its interval began, in the
// same wake of the program; its timer, a quarter of an interval later, paints it only when no
// sample comes. At the line's rate a sample comes every 4.7 ms, so the program is woken once
// per packet and not once more per frame.
class FramePacer
{
public:
    explicit FramePacer(QWidget *window);

    // Called with each UpdateRequest of the window: true when it may paint now, false when the
    // request is put off (the window then drops it; its changed areas stay marked).
    bool mayPaintNow();
    // Asks for a frame at the next refresh, for a change Qt does not know of yet.
    void requestFrame();
    // While held (a sample half written), no frame is painted; when released, a frame put off
    // that is due by then is painted at once.
    void hold(bool held);
    // How long until the frame put off is painted; -1 when none waits.
    qint64 nextFrameInMs() const;
    // Called after the window has painted and flushed a frame; the newest sample's description
    // is asked for only when the frame log is on.
    void framePainted(const std::function<QString()> &newestSample);

    int framesPainted() const { return m_frames; }
    qint64 intervalNs() const;

private:
    // How long until the next frame may be painted; 0 or less when it may be now.
    qint64 waitNs() const;
    void paintNow();

    QWidget *m_window;
    QElapsedTimer m_sinceFrame;
    QTimer m_nextFrame;
    int m_frames = 0;
    bool m_held = false;
};

#endif // FRAMEPACER_H
