#include "platform.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtGlobal>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

int signalPipe[2] = {-1, -1};

void noteSignal(int)
{
    // Only what is safe in a signal handler; the event loop reads the pipe.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void useStartingConsole() {}

bool canShowWindows(QString *why)
{
    // An explicit QT_QPA_PLATFORM (offscreen, say) is taken as it is.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        if (!wayland)
            *why = QStringLiteral(
                "Vantrel needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set. "
                "To see it without one, run `make demo` in its source tree, which runs it under "
                "Xvfb and saves a screenshot.");
        return wayland;
    }
    if (wayland && platform.isEmpty())
        return true;
    // Asked now, so that a display that cannot be reached is said plainly rather than by
    // Qt's abort.
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error)
        *why = QStringLiteral("Vantrel cannot reach the X display '%1' that DISPLAY names: it "
                              "is not running, or refuses this user (xcb error %2).")
                   .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")))
                   .arg(error);
    return !error;
}

void runOnEndRequests(void (*exitSequence)())
{
    // A file grown past its size limit makes its write fail, which the recording reports,
    // instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [exitSequence] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        exitSequence();
    });
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
