#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "portdevices.h"

#include <QString>
#include <QStringList>

// What the command line asks for. Without options the program starts on the platform's
// default devices.
struct CommandLine
{
    enum Action { Run, ShowHelp, ShowVersion, Fail };

    Action action = Run;
    PortDevices devices = PortDevices::platformDefault();
    QString message; // help, version or error text, ready to print
    int exitStatus = 0;

    // arguments[0] is the program itself.
    static CommandLine parse(const QStringList &arguments);
};

#endif // COMMANDLINE_H
