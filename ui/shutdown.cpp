#include "shutdown.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_LEAK_CHECK 1
#endif
#endif
#ifdef VANTREL_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {
std::function<int()> lastStep;
std::function<void()> endProcessHandler;
} // namespace

void EndProcess()
{
    // The recording is completed first, whatever way the process ends.
    const int status = lastStep ? lastStep() : 0;
    if (endProcessHandler) {
        endProcessHandler();
        return;
    }
    std::fflush(nullptr);
#ifdef VANTREL_LEAK_CHECK
    // Ending at once skips the checker's usual run at exit; a leak ends the process with its
    // failure status instead.
    __lsan_do_leak_check();
#endif
    std::_Exit(status);
}

void setLastStep(std::function<int()> step)
{
    lastStep = std::move(step);
}

void setEndProcessHandler(std::function<void()> handler)
{
    endProcessHandler = std::move(handler);
}
