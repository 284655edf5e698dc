#include "platform.h"

#include <QtGlobal>

void useStartingConsole() {}

bool hasGraphicalSession()
{
    // An explicit QT_QPA_PLATFORM (offscreen, say) is taken as it is.
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
