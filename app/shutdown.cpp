#include "shutdown.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
std::function<void()> endProcessHandler;
} // namespace

void EndProcess()
{
    if (endProcessHandler) {
        endProcessHandler();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

void setEndProcessHandler(std::function<void()> handler)
{
    endProcessHandler = std::move(handler);
}
