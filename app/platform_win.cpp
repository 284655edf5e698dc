#include "platform.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <cstdio>
#include <windows.h>

namespace {

bool hasHandle(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void useStartingConsole()
{
    // Output sent to a file or a pipe already has its handles; a console must be joined.
    const bool hasOutput = hasHandle(STD_OUTPUT_HANDLE);
    const bool hasErrors = hasHandle(STD_ERROR_HANDLE);
    if ((!hasOutput || !hasErrors) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!hasOutput)
            std::freopen("CONOUT$", "w", stdout);
        if (!hasErrors)
            std::freopen("CONOUT$", "w", stderr);
    }
    // Qt sends its messages to the debugger unless told that stderr is read.
    if (hasHandle(STD_ERROR_HANDLE))
        qputenv("QT_FORCE_STDERR_LOGGING", QByteArrayLiteral("1"));
}

bool canShowWindows(QString *)
{
    return true;
}

namespace {

void (*endRequestedSequence)() = nullptr;

BOOL WINAPI consoleEvent(DWORD)
{
    // Called on a thread of its own; the Exit sequence runs on the user-interface thread and
    // ends the process there. Windows ends the process when this returns, so it waits.
    QMetaObject::invokeMethod(QCoreApplication::instance(), endRequestedSequence,
                              Qt::QueuedConnection);
    Sleep(INFINITE);
    return TRUE;
}

// The session ending (logging off, shutting down) reaches the windows as WM_ENDSESSION; the
// process is ended once they have answered it.
class SessionEnd : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam)
            endRequestedSequence();
        return false;
    }
};

} // namespace

void runOnEndRequests(void (*exitSequence)())
{
    endRequestedSequence = exitSequence;
    SetConsoleCtrlHandler(consoleEvent, TRUE);
    static SessionEnd sessionEnd;
    QCoreApplication::instance()->installNativeEventFilter(&sessionEnd);
}
