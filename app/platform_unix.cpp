#include "platform.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtGlobal>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

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

bool hasGraphicalSession()
{
    // An explicit QT_QPA_PLATFORM (offscreen, say) is taken as it is.
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
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
